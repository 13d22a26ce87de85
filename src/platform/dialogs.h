// Message boxes, file dialogs, beeps and the shell as the system's logic sees
// them. Texts and captions are CP949 bytes; paths are native file-system bytes
// (UTF-8 here). The implementation converts texts for display.
//
// Implemented by Qt in the window and by MemoryDialogs for tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cadenzio {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// One entry of a file dialog's type list: "Caption File(*.smi, *.sami)" with
// "*.smi; *.sami". The first entry is preselected.
struct FileFilter {
  std::string description;
  std::string patterns;
  bool operator==(const FileFilter&) const = default;
};

struct FileDialogRequest {
  bool save = false;             // the mode text "SAVE" (exactly) asks for a save dialog
  std::string title;             // CP949
  std::string default_extension; // added to a name typed without one; may be empty
  std::vector<FileFilter> filters;
  std::string initial_path;      // the dialog starts in its folder, with its name
  bool confirm_overwrite = false;
  bool operator==(const FileDialogRequest&) const = default;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) = 0;
  virtual void Beep() = 0;

  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) = 0;
  // Opens a document or an address with the desktop's handler; false when it
  // could not be started.
  virtual bool ShellOpen(const std::string& target) = 0;
  virtual void SetClipboardText(const std::string& text) = 0;  // CP949
};

}  // namespace cadenzio
