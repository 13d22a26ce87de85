// The main window's halves of the caption tools.
#include "app/tool_commands.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <utility>
#include <vector>

#include "app/cadenzio_dlg_support.h"
#include "app/product.h"
#include "settings/file_services.h"
#include "tools/import_captions.h"
#include "tools/plain_text.h"
#include "tools/short_clears.h"
#include "tools/split_language.h"
#include "tools/srt_export.h"
#include "tools/sync_check.h"
#include "tools/stopwatch.h"

namespace cadenzio {
namespace {

// " 임시 화일을 생성할 수 없습니다. (SMIDATA ERROR) "
constexpr char kNoWorkFileMessage[] =
    " \xC0\xD3\xBD\xC3 \xC8\xAD\xC0\xCF\xC0\xBB \xBB\xFD\xBC\xBA\xC7\xD2 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9. (SMIDATA ERROR) ";
// " 흠... 출력할 데이타가 없잖아요... "
constexpr char kExportNoDataMessage[] =
    " \xC8\xEC... \xC3\xE2\xB7\xC2\xC7\xD2 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 "
    "\xBE\xF8\xC0\xDD\xBE\xC6\xBF\xE4... ";
// " 데이타를 출력할 수 없습니다. (SMIDATA ERROR) "
constexpr char kExportNoInputMessage[] =
    " \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC3\xE2\xB7\xC2\xC7\xD2 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9. (SMIDATA ERROR) ";
// "출력 화일을 열수가 없네요... (SRTFILE ERROR) "
constexpr char kExportOutputMessage[] =
    "\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 "
    "\xBE\xF8\xB3\xD7\xBF\xE4... (SRTFILE ERROR) ";
// "작업이 정상적으로 완료되었습니다.\r\n            %5.3f 초 걸림\r\n"
constexpr char kExportDoneFormat[] =
    "\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE "
    "\xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
    "            %5.3f \xC3\xCA \xB0\xC9\xB8\xB2\r\n";
constexpr char kDoneCaption[] = "\xC0\xDB\xBE\xF7 \xBF\xCF\xB7\xE1";  // 작업 완료
constexpr char kErrorCaption[] = "\xBF\xC0 \xB7\xF9";                 // 오 류
// " 수정중인 데이타를 저장하시겠습니까?"
constexpr char kSaveFirstQuestion[] =
    " \xBC\xF6\xC1\xA4\xC1\xDF\xC0\xCE \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 "
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "SRT, SUB, SUBRIP 자막(*.srt,*.sub,*.txt)"
constexpr char kImportFilter[] = "SRT, SUB, SUBRIP \xC0\xDA\xB8\xB7(*.srt,*.sub,*.txt)";
// "타이틀 입력을 취소하셨네요... 작업 종료 "
constexpr char kTitleCancelledMessage[] =
    "\xC5\xB8\xC0\xCC\xC6\xB2 \xC0\xD4\xB7\xC2\xC0\xBB \xC3\xEB\xBC\xD2\xC7\xCF\xBC\xCC"
    "\xB3\xD7\xBF\xE4... \xC0\xDB\xBE\xF7 \xC1\xBE\xB7\xE1 ";
// " 흠... 자막 데이타가 없잖아요... "
constexpr char kSplitNoDataMessage[] =
    " \xC8\xEC... \xC0\xDA\xB8\xB7 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 "
    "\xBE\xF8\xC0\xDD\xBE\xC6\xBF\xE4... ";
// "분할될 대표 이름을 지정하세요 ..."
constexpr char kSplitDialogTitle[] =
    "\xBA\xD0\xC7\xD2\xB5\xC9 \xB4\xEB\xC7\xA5 \xC0\xCC\xB8\xA7\xC0\xBB "
    "\xC1\xF6\xC1\xA4\xC7\xCF\xBC\xBC\xBF\xE4 ...";
// "데이타가 수정중입니다.\r\n수정중인 데이타가 없어집니다.\r\n저장 후 사용하세요"
constexpr char kPlainTextModifiedMessage[] =
    "\xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 \xBC\xF6\xC1\xA4\xC1\xDF\xC0\xD4\xB4\xCF\xB4\xD9.\r\n"
    "\xBC\xF6\xC1\xA4\xC1\xDF\xC0\xCE \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 "
    "\xBE\xF8\xBE\xEE\xC1\xFD\xB4\xCF\xB4\xD9.\r\n\xC0\xFA\xC0\xE5 \xC8\xC4 "
    "\xBB\xE7\xBF\xEB\xC7\xCF\xBC\xBC\xBF\xE4";

std::string FormatSeconds(const char* format, double seconds) {
  char text[512];  // room for any finite double in %5.3f
  const int n = std::snprintf(text, sizeof text, format, seconds);
  return n > 0 && static_cast<std::size_t>(n) < sizeof text ? std::string(text, n) : std::string();
}

void Inform(ToolContext& c, const std::string& text) {
  c.dialogs.ShowMessage(text, std::string(kProgramName), MessageIcon::Information,
                        MessageButtons::Ok);
}
void Stop(ToolContext& c, const std::string& text,
          const std::string& caption = std::string(kProgramName)) {
  c.dialogs.ShowMessage(text, caption, MessageIcon::Error, MessageButtons::Ok);
}

// The tool's input: the editor's text while it is being edited, else the
// caption file as saved. Nothing when the file cannot be read.
std::optional<std::string> ToolInput(const ToolContext& c) {
  if (c.editor.IsModified()) return c.editor.Text();
  std::string bytes;
  if (c.caption_path.empty() || !ReadWholeFile(c.caption_path, bytes)) return std::nullopt;
  if (c.encoding == CaptionEncoding::Cp949) return bytes;
  const EncodingChoice choice = c.encoding == CaptionEncoding::Utf8      ? EncodingChoice::Utf8
                                : c.encoding == CaptionEncoding::Utf16Le ? EncodingChoice::Utf16Le
                                                                         : EncodingChoice::Utf16Be;
  DecodedCaption decoded = DecodeCaption(bytes, choice);
  if (!decoded.ok()) return std::nullopt;
  return std::move(decoded.bytes);
}

const CodePage& WorkingPage(const ToolContext& c) { return WorkingCodePage(c.encoding); }

// A tool's output file in the caption's own encoding. The working text of a
// UTF-16 caption is UTF-8 and goes back to UTF-16; CP949 and UTF-8 keep their
// bytes, and a UTF-8 caption's BOM is kept.
std::string InCaptionEncoding(const ToolContext& c, std::string working) {
  if (c.encoding == CaptionEncoding::Cp949) return working;
  EncodedCaption encoded = EncodeCaption(working, c.encoding, c.bom);
  return encoded.error.empty() ? std::move(encoded.bytes) : working;
}

bool NothingToWorkOn(const ToolContext& c) {
  return !c.editor.IsModified() && c.caption_path.empty();
}

// The analyser fails only when its own patterns cannot be prepared.
bool AnalyseInto(ToolContext& c, SamiDocument& doc, std::string_view input, int mode) {
  if (doc.Analyse(input, mode)) return true;
  Stop(c, kAnalyseInitFailedMessage);
  return false;
}

void ShowStatus(ToolContext& c) {
  if (c.show_status) {
    c.show_status();
    return;
  }
  char text[96];
  std::snprintf(text, sizeof text, "Line: %ld, Contents: %ld bytes", c.editor.LineCount(),
                c.editor.TextLength());
  c.view.SetStatusText(text);
}

// Sets the open state to 0 for the life of a command that rebuilds the
// document and the editor text, and puts it back however the command ends.
class TimerPause {
 public:
  explicit TimerPause(int& state) : state_(state), saved_(state) { state_ = 0; }
  ~TimerPause() { state_ = saved_; }
  TimerPause(const TimerPause&) = delete;
  TimerPause& operator=(const TimerPause&) = delete;

 private:
  int& state_;
  int saved_;
};

// Writes every file of a split or none: when one write fails, the files
// written before it are taken back (removed when new, given their old bytes
// when they existed).
bool WriteSplitFiles(const std::vector<SplitOutput>& files) {
  std::vector<std::optional<std::string>> before;
  for (const SplitOutput& file : files) {
    std::string old;
    if (FileExists(file.name)) {
      if (!ReadWholeFile(file.name, old)) return false;
      before.emplace_back(std::move(old));
    } else {
      before.emplace_back(std::nullopt);
    }
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (WriteWholeFileAtomic(files[i].name, files[i].bytes)) continue;
    for (std::size_t j = 0; j < i; ++j) {
      if (before[j])
        WriteWholeFileAtomic(files[j].name, *before[j]);
      else
        std::remove(files[j].name.c_str());
    }
    return false;
  }
  return true;
}

}  // namespace

void CheckSyncCommand(ToolContext& context) {
  if (NothingToWorkOn(context)) {
    Inform(context, kSyncCheckNoDataMessage);
    return;
  }
  const std::optional<std::string> input = ToolInput(context);
  if (!input) {
    Stop(context, kNoWorkFileMessage);
    return;
  }
  const Stopwatch clock;
  SamiDocument doc(WorkingPage(context));
  if (!AnalyseInto(context, doc, *input, kAnalyseKeepBlanks)) return;
  SyncCheckResult result =
      CheckSyncErrors(doc, context.settings.min_interval, context.settings.max_interval);
  // The report window shows CP949; a UTF-8 caption's quoted lines are made
  // so, a character CP949 lacks shown as '?'.
  if (doc.code_page().kind() == CodePage::Kind::Utf8) result.report = DisplayPath(result.report);
  result.report += SyncCheckCompletionText(clock.Seconds());
  context.view.ShowReport(result.report);
}

void ExportSrtCommand(ToolContext& context) {
  if (NothingToWorkOn(context)) {
    Inform(context, kExportNoDataMessage);
    return;
  }
  const std::optional<std::string> input = ToolInput(context);
  if (!input) {
    Stop(context, kExportNoInputMessage);
    return;
  }
  // movie.smi proposes movie.srt: the last three characters give way.
  const std::string& path = context.caption_path;
  const std::string proposed =
      path.empty() ? std::string()
                   : path.substr(0, path.size() - std::min<std::size_t>(3, path.size())) + "srt";
  FileDialogRequest request;
  request.save = true;
  request.title = "Save As SRT ...";
  request.default_extension = "srt";
  request.filters = {{"SRT File (*.srt, *.txt)", "*.srt;*.txt"}};
  request.initial_path = proposed;
  request.confirm_overwrite = true;
  const std::optional<std::string> chosen = context.dialogs.ShowFileDialog(request);
  if (!chosen || chosen->empty()) return;

  const Stopwatch clock;
  SamiDocument doc(WorkingPage(context));
  if (!AnalyseInto(context, doc, *input, context.settings.AnalysisMode())) return;
  const SrtExport srt = WriteSrt(doc);
  if (!WriteWholeFileAtomic(*chosen, InCaptionEncoding(context, srt.bytes))) {
    Stop(context, kExportOutputMessage);
    return;
  }
  // A caption left without an end: the entries before it are in the file,
  // and the export still completes.
  if (!srt.error.empty()) Stop(context, srt.error);
  context.dialogs.ShowMessage(FormatSeconds(kExportDoneFormat, clock.Seconds()), kDoneCaption,
                              MessageIcon::Information, MessageButtons::Ok);
  context.editor.Focus();
}

void ImportCaptionsCommand(ToolContext& context) {
  if (context.editor.IsModified()) {
    const MessageAnswer answer =
        context.dialogs.ShowMessage(kSaveFirstQuestion, std::string(kProgramName),
                                    MessageIcon::Question, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel) return;
    if (answer == MessageAnswer::Yes && !(context.save_caption && context.save_caption())) return;
  }

  FileDialogRequest request;
  request.save = false;
  request.title = "Import SRT, SUB, SUBRIP";
  request.default_extension.assign(1, '*');  // not = "*": a false -Wrestrict in GCC 12
  request.filters = {{kImportFilter, "*.srt;*.sub;*.txt"}};
  request.initial_path = context.caption_path;
  const std::optional<std::string> chosen = context.dialogs.ShowFileDialog(request);
  if (!chosen || chosen->empty()) return;

  std::string bytes;
  if (!ReadWholeFile(*chosen, bytes)) {
    Stop(context, std::string(kImportOpenFailedMessage));
    return;
  }
  // Read as a caption is, and opened in the same encoding.
  const DecodedCaption decoded = DecodeCaption(bytes);
  if (!decoded.ok()) {
    Stop(context, DisplayPath(decoded.error));
    return;
  }
  const FormatDetection detection = DetectForeignFormat(decoded.bytes);
  if (!detection.format) {
    Stop(context, std::string(detection.message));
    return;
  }
  const std::optional<TitleAndRate> answer =
      context.view.AskTitleAndRate(*detection.format == ForeignFormat::Sub);
  if (!answer) {
    Inform(context, kTitleCancelledMessage);
    return;
  }
  // The dialog accepts only rates it can read; the rate serves SUB only.
  const double rate = ReadFrameRate(answer->rate).value_or(kDefaultFrameRate);

  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const CodePage& cp = decoded.code_page();
  const std::string sami =
      ConvertForeignCaptions(decoded.bytes, answer->title, rate, *detection.format, local, cp);
  const std::string name = ImportedCaptionPath(*chosen);
  if (context.open_caption_text) {
    context.open_caption_text(name, EncodeCaption(sami, cp, decoded.encoding, decoded.bom).bytes,
                              decoded.encoding);
  } else {
    context.editor.SetText(sami);
    context.caption_path = name;
  }
  context.editor.Focus();
}

void SplitByLanguageCommand(ToolContext& context) {
  if (NothingToWorkOn(context)) {
    Inform(context, kSplitNoDataMessage);
    return;
  }
  const std::optional<std::string> input = ToolInput(context);
  if (!input) {
    Stop(context, kNoWorkFileMessage);
    return;
  }
  FileDialogRequest request;
  request.save = true;
  request.title = kSplitDialogTitle;
  request.default_extension = "smi";
  request.filters = {{"SMI File (*.smi)", "*.smi"}};
  request.initial_path = context.caption_path;
  const std::optional<std::string> base = context.dialogs.ShowFileDialog(request);
  if (!base || base->empty()) return;

  const Stopwatch clock;
  SamiDocument doc(WorkingPage(context));
  doc.Analyse(*input, SplitAnalysisMode(context.settings.check_br ? 1 : 0));
  SplitResult result = SplitDocument(doc, *base);
  for (SplitOutput& file : result.files) file.bytes = InCaptionEncoding(context, std::move(file.bytes));
  if (!result.ok()) Stop(context, result.error);
  if (!result.ok() || !WriteSplitFiles(result.files)) {
    Stop(context, kSplitFailedMessage, kErrorCaption);
    return;
  }
  context.dialogs.ShowMessage(FormatSeconds(kSplitDoneFormat, clock.Seconds()), kDoneCaption,
                              MessageIcon::Information, MessageButtons::Ok);
}

void PlainTextCommand(ToolContext& context) {
  if (context.editor.IsModified()) {
    Stop(context, kPlainTextModifiedMessage);
    return;
  }
  const TimerPause pause(context.open_state);
  if (!AnalyseInto(context, context.document, context.editor.Text(),
                   context.settings.AnalysisMode()))
    return;
  context.editor.SetText(WriteCaptionTexts(context.document));
  ShowStatus(context);

  if (!context.caption_path.empty()) {
    context.caption_path = ReplaceExtension(context.caption_path, ".txt");
    if (context.update_title) context.update_title();
  }
  // The text is no caption any more: nothing left to preview.
  context.document = SamiDocument(context.document.code_page());
  context.view.ClearClassCombo();
  context.view.SetCaptionOnChecked(false);
  if (context.apply_caption_on) context.apply_caption_on();
}

void RemoveShortClearsCommand(ToolContext& context) {
  const TimerPause pause(context.open_state);
  if (!AnalyseInto(context, context.document, context.editor.Text(),
                   context.settings.AnalysisMode()))
    return;
  const int removed = RemoveShortClears(context.document, context.settings.del_clear);
  if (removed != 0) {
    context.editor.SetText(context.document.Write());
    ShowStatus(context);
  }
  context.dialogs.ShowMessage(ShortClearsDoneMessage(removed), std::string(kProgramName),
                              MessageIcon::None, MessageButtons::Ok);
}

}  // namespace cadenzio
