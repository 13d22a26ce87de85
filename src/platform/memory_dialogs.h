// Dialogs for tests: records every message box, file dialog, beep, shell
// open and clipboard text, and answers message boxes and file dialogs from a
// script.
#pragma once

#include <deque>
#include <optional>
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

  // Answers with the oldest queued path; with none queued, cancels.
  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
  bool ShellOpen(const std::string& target) override {
    shell_opened_.push_back(target);
    return shell_result_;
  }
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }

  void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
  void QueuePath(std::optional<std::string> path) { paths_.push_back(std::move(path)); }
  void SetShellResult(bool result) { shell_result_ = result; }
  const std::vector<FileDialogRequest>& file_dialogs() const { return file_dialogs_; }
  const std::vector<std::string>& shell_opened() const { return shell_opened_; }
  const std::string& clipboard() const { return clipboard_; }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  int beeps() const { return beeps_; }

 private:
  std::deque<MessageAnswer> answers_;
  std::deque<std::optional<std::string>> paths_;
  std::vector<FileDialogRequest> file_dialogs_;
  std::vector<std::string> shell_opened_;
  std::string clipboard_;
  bool shell_result_ = true;
  std::vector<ShownMessage> messages_;
  int beeps_ = 0;
};

}  // namespace cadenzio
