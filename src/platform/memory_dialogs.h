// Dialogs for tests: records every message box and beep, and answers message
// boxes from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace cadenzio {

struct ShownMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  bool operator==(const ShownMessage&) const = default;
};

class MemoryDialogs : public Dialogs {
 public:
  // Answers with the oldest queued answer; with none queued, OK for the OK
  // button sets and Yes for the Yes/No sets.
  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageIcon icon, MessageButtons buttons) override;
  void Beep() override { ++beeps_; }

  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  int beeps() const { return beeps_; }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<ShownMessage> messages_;
  int beeps_ = 0;
};

}  // namespace cadenzio
