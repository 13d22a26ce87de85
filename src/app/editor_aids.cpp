// The caption editor's smaller tools: find and replace, the header insertion,
// reflecting unsaved edits in the preview, the editor font, and help.
#include "app/cadenzio_dlg.h"
#include "app/cadenzio_dlg_support.h"
#include "app/product.h"
#include "pattern/pattern_matcher.h"
#include "settings/cp949_conversion.h"

namespace cadenzio {
namespace {

// "더 이상 존재하지 않습니다."
constexpr char kNotFound[] =
    "\xB4\xF5 \xC0\xCC\xBB\xF3 \xC1\xB8\xC0\xE7\xC7\xCF\xC1\xF6 \xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.";
// "모두 %d 개의 내용이 교체되었습니다."
constexpr char kReplacedCount[] =
    "\xB8\xF0\xB5\xCE %d \xB0\xB3\xC0\xC7 \xB3\xBB\xBF\xEB\xC0\xCC "
    "\xB1\xB3\xC3\xBC\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";
// "수정데이타 재생창에 반영 - 임시파일 생성 실패"
constexpr char kReflectNoWorkFile[] =
    "\xBC\xF6\xC1\xA4\xB5\xA5\xC0\xCC\xC5\xB8 \xC0\xE7\xBB\xFD\xC3\xA2\xBF\xA1 \xB9\xDD\xBF\xB5 - "
    "\xC0\xD3\xBD\xC3\xC6\xC4\xC0\xCF \xBB\xFD\xBC\xBA \xBD\xC7\xC6\xD0";
// "도움말 파일이 없는듯 하네요 ^^  "
constexpr char kNoHelpFile[] =
    "\xB5\xB5\xBF\xF2\xB8\xBB \xC6\xC4\xC0\xCF\xC0\xCC \xBE\xF8\xB4\xC2\xB5\xED "
    "\xC7\xCF\xB3\xD7\xBF\xE4 ^^  ";

constexpr long kHeaderProbeLines = 10;
constexpr long kFoundLineFromTop = 10;  // a found line is shown as the eleventh

FindOptions OptionsOf(const FindReplaceRequest& request, bool down) {
  return {.down = down,
          .whole_word = (request.flags & kFrWholeWord) != 0,
          .match_case = (request.flags & kFrMatchCase) != 0};
}

}  // namespace

void CCadenzioDlg::ShowFind() { view_.ShowFindReplace(false); }

void CCadenzioDlg::ShowReplace() { view_.ShowFindReplace(true); }

void CCadenzioDlg::OnFindReplace(const FindReplaceRequest& typed) {
  if (typed.flags & kFrDialogTerm) return;
  // The dialog's texts are UTF-8: a UTF-8 caption takes every character
  // typed; in a CP949 caption one that CP949 cannot hold becomes '?'.
  FindReplaceRequest request = typed;
  if (editor_.code_page().kind() == CodePage::Kind::Cp949) {
    request.find_text = Utf8ToCp949Lossy(request.find_text);
    request.replace_text = Utf8ToCp949Lossy(request.replace_text);
  }
  if (request.flags & kFrFindNext) {
    FindNext(request);
  } else if (request.flags & kFrReplace) {
    editor_.ReplaceSelection(request.replace_text, true);
    editor_.Focus();
  } else if (request.flags & kFrReplaceAll) {
    ReplaceAll(request);
  }
}

std::string CCadenzioDlg::ForEditor(const std::string& cp949) const {
  if (editor_.code_page().kind() == CodePage::Kind::Cp949) return cp949;
  return ConvertWorkingText(cp949, CodePage::Cp949(), editor_.code_page()).bytes;
}

void CCadenzioDlg::ScrollToEleventhLine(long line) {
  editor_.LineScroll(line - editor_.FirstVisibleLine() - kFoundLineFromTop);
}

void CCadenzioDlg::FindNext(const FindReplaceRequest& request) {
  const bool down = (request.flags & kFrDown) != 0;
  const CharRange selection = editor_.GetSelection();
  // Upwards the search starts one character before the selection, so the
  // selected match itself is not found again.
  // A selection at the very start has nothing above it.
  const CharRange range = down ? CharRange{selection.end, -1} : CharRange{selection.start - 1, 0};
  const CharRange found = range.start < 0
                              ? CharRange{-1, -1}
                              : editor_.FindText(range, request.find_text, OptionsOf(request, down));
  if (found.start < 0) {
    Message(kNotFound, MessageIcon::None, MessageButtons::Ok);
    return;
  }
  editor_.SetSelection(found);
  ScrollToEleventhLine(editor_.LineFromChar(found.start));
  editor_.Focus();
}

// Each search starts after the text just inserted, where the replacement
// leaves the caret, so a replacement that contains the searched text (a by
// ab) is never searched again and the loop ends. The caret, not a count of
// the replacement's characters, says where: the control may count a
// character beyond the basic plane as two positions.
void CCadenzioDlg::ReplaceAll(const FindReplaceRequest& request) {
  const FindOptions options = OptionsOf(request, true);
  CharRange range{0, -1};
  int count = 0;
  for (;;) {
    const CharRange found = editor_.FindText(range, request.find_text, options);
    if (found.start < 0) break;
    editor_.SetSelection(found);
    editor_.ReplaceSelection(request.replace_text, false);
    range.start = editor_.GetSelection().end;
    ++count;
  }
  // The last, failed search reports no range: the selection is dropped at the
  // caret (after the last replacement) and the caret's line is scrolled into view.
  const long caret = editor_.GetSelection().end;
  editor_.SetSelection({caret, caret});
  ScrollToEleventhLine(editor_.LineFromChar(caret));
  editor_.Focus();
  view_.SetStatusText(Format(kReplacedCount, count));
}

// A text whose first ten lines hold "<SAMI" (any case) at a line start has a
// header already. Without "<BODY>" in the inserted header the caret stays
// after the closing tags.
void CCadenzioDlg::InsertHeader() {
  const long probe = std::min(kHeaderProbeLines, editor_.LineCount());
  for (long line = 0; line < probe; ++line) {
    const std::string text = editor_.GetLine(line, 5);
    if (text.size() >= 5 && FindNoCase(text, "<SAMI") == 0) return;
  }
  editor_.SetSelection({0, 0});
  editor_.ReplaceSelection(ForEditor(settings_.header_template), true);
  long last = editor_.LineCount() - 1;
  const long end = editor_.LineIndex(last) + editor_.LineLength(last);
  editor_.SetSelection({end, end});
  editor_.ReplaceSelection("\r\n</BODY>\r\n</SAMI>", true);
  last = editor_.LineCount() - 1;
  editor_.LineScroll(-last);
  const CharRange body = editor_.FindText({0, -1}, "<BODY>", FindOptions{});
  if (body.start >= 0) editor_.SetSelection({body.start + 7, body.start + 7});
  editor_.Focus();
  dialogs_.Beep();
}

// The preview and the class combo follow the text being edited; nothing is
// saved and the editor stays modified.
void CCadenzioDlg::ReflectEdits() {
  UniqueFile work = files_.OpenWorkFile();
  if (!work) {
    ShowError(kReflectNoWorkFile);
    return;
  }
  OpenStatePause pause(open_state_);
  files_.WriteWorkFile(work.get(), editor_.Text());
  std::fflush(work.get());
  document_.Analyse(work.get(), settings_.AnalysisMode());
  DocumentChanged();
  work.reset();
  RefillClassCombo();
  ShowStatus();
}

// Only the face changes; the size, style and colour chosen are not applied.
void CCadenzioDlg::ChangeEditorFont() {
  const std::optional<std::string> face = view_.ChooseFontFace(editor_.FaceName());
  if (face) editor_.SetFaceName(*face);
}

void CCadenzioDlg::OpenHelp() {
  if (!dialogs_.ShellOpen(app_.help_path()))
    Message(kNoHelpFile, MessageIcon::Information, MessageButtons::Ok);
}

void CCadenzioDlg::OpenHomePage() { dialogs_.ShellOpen(std::string(kProductHomePage)); }

}  // namespace cadenzio
