#include "app/report_window.h"

#include <cstdio>

#include "app/product.h"
#include "settings/file_services.h"

namespace cadenzio {

FileDialogRequest ReportSaveRequest() {
  FileDialogRequest request;
  request.save = true;
  // "텍스트 화일(*.txt)"
  request.filters = {{"\xC5\xD8\xBD\xBA\xC6\xAE \xC8\xAD\xC0\xCF(*.txt)", "*.txt"}};
  request.confirm_overwrite = true;
  return request;
}

void CopyReportToClipboard(Dialogs& dialogs, const std::string& text) {
  dialogs.SetClipboardText(text);
  dialogs.ShowMessage(std::string(kReportCopied), std::string(kProgramName), MessageIcon::None,
                      MessageButtons::Ok);
}

void SaveReportToFile(Dialogs& dialogs, std::string_view text) {
  const std::optional<std::string> path = dialogs.ShowFileDialog(ReportSaveRequest());
  if (!path) return;
  UniqueFile file = OpenFile(*path, "wb");
  if (!file) {
    dialogs.ShowMessage(std::string(kReportOpenFailed), std::string(kProgramName),
                        MessageIcon::Error, MessageButtons::Ok);
    return;
  }
  // Only the opening decides between the two messages.
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), file.get());
  CloseFile(std::move(file));
  dialogs.ShowMessage(std::string(kReportSaved), std::string(kProgramName), MessageIcon::None,
                      MessageButtons::Ok);
}

}  // namespace cadenzio
