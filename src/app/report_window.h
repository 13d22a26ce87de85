// The buttons of the report window in which the sync error check shows its
// findings: copy everything to the clipboard, save it to a text file.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialogs.h"

namespace cadenzio {

// "전체 내용이 클립보드로 복사 되었습니다.  " (two blanks at the end).
inline constexpr std::string_view kReportCopied =
    "\xC0\xFC\xC3\xBC \xB3\xBB\xBF\xEB\xC0\xCC \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xB7\xCE "
    "\xBA\xB9\xBB\xE7 \xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.  ";
// "저장 완료!      " (six blanks at the end).
inline constexpr std::string_view kReportSaved = "\xC0\xFA\xC0\xE5 \xBF\xCF\xB7\xE1!      ";
// "기록을 위해서 화일을 여는데 실패했습니다."
inline constexpr std::string_view kReportOpenFailed =
    "\xB1\xE2\xB7\xCF\xC0\xBB \xC0\xA7\xC7\xD8\xBC\xAD \xC8\xAD\xC0\xCF\xC0\xBB "
    "\xBF\xA9\xB4\xC2\xB5\xA5 \xBD\xC7\xC6\xD0\xC7\xDF\xBD\xC0\xB4\xCF\xB4\xD9.";

// The save dialog of "화일로 저장": type list "텍스트 화일(*.txt)" / "*.txt",
// no default extension, no initial name, asking before overwriting.
FileDialogRequest ReportSaveRequest();

// "내용 전체 클립보드로 복사": the whole text (as the window holds it now,
// edits included) to the clipboard, then the message without icon.
void CopyReportToClipboard(Dialogs& dialogs, const std::string& text);

// "화일로 저장": asks for a path; on OK creates or empties the file and writes
// the text's bytes. "저장 완료!" when the file opened, else the error message.
// Nothing happens when the user cancels.
void SaveReportToFile(Dialogs& dialogs, std::string_view text);

}  // namespace cadenzio
