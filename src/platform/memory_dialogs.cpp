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

}  // namespace cadenzio
