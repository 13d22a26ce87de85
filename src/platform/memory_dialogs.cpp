// Scripted message boxes; see memory_dialogs.h.
#include "platform/memory_dialogs.h"

namespace cadenzio {

MessageAnswer MemoryDialogs::ShowMessage(const std::string& text, const std::string& caption,
                                         MessageIcon icon, MessageButtons buttons) {
  messages_.push_back({text, caption, icon, buttons});
  if (!answers_.empty()) {
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  const bool ok_set = buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel;
  return ok_set ? MessageAnswer::Ok : MessageAnswer::Yes;
}

std::optional<std::string> MemoryDialogs::ShowFileDialog(const FileDialogRequest& request) {
  file_dialogs_.push_back(request);
  if (paths_.empty()) return std::nullopt;
  std::optional<std::string> path = std::move(paths_.front());
  paths_.pop_front();
  return path;
}

}  // namespace cadenzio
