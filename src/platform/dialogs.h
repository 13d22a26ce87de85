// Message boxes as the system's logic sees them. Texts and captions are CP949
// bytes; the implementation converts them for display.
//
// Implemented by Qt message boxes in the window and by MemoryDialogs for tests.
#pragma once

#include <string>

namespace cadenzio {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  virtual void Beep() = 0;
};

}  // namespace cadenzio
