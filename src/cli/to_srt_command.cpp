// cadenzio-cli to-srt: analyses a SAMI file as the SRT export does (line-break
// repair when CHECKBR is on) and writes every caption as a SubRip entry.
#include "cli/to_srt_command.h"

#include <cstdio>
#include <string>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "sami/sami_document.h"
#include "settings/file_services.h"
#include "tools/srt_export.h"

namespace cadenzio::cli {
namespace {

// " 흠... 출력할 데이타가 없잖아요... "
constexpr char kNoDataMessage[] =
    " \xC8\xEC... \xC3\xE2\xB7\xC2\xC7\xD2 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 "
    "\xBE\xF8\xC0\xDD\xBE\xC6\xBF\xE4... ";
// " 데이타를 출력할 수 없습니다. (SMIDATA ERROR) "
constexpr char kInputMessage[] =
    " \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 \xC3\xE2\xB7\xC2\xC7\xD2 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9. (SMIDATA ERROR) ";
// "출력 화일을 열수가 없네요... (SRTFILE ERROR) "
constexpr char kOutputMessage[] =
    "\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 "
    "\xBE\xF8\xB3\xD7\xBF\xE4... (SRTFILE ERROR) ";
// "작업이 정상적으로 완료되었습니다.\r\n            %5.3f 초 걸림\r\n"
constexpr char kDoneFormat[] =
    "\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE "
    "\xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
    "            %5.3f \xC3\xCA \xB0\xC9\xB8\xB2\r\n";

int RunToSrt(std::span<const std::string> args) {
  const Stopwatch watch;
  static constexpr std::string_view kValued[] = {kSettingsOption, kEncodingOption,
                                                 kOutputEncodingOption};
  static constexpr std::string_view kFlags[] = {kNoSettingsFlag};
  const ParsedArgs parsed = Parse(args, kValued, kFlags);
  if (!parsed.error.empty()) return UsageError(kToSrtCommand, parsed.error);
  if (parsed.positional.size() != 2) return UsageError(kToSrtCommand, "expected IN and OUT");
  const std::string& in = parsed.positional[0];
  const std::string& out = parsed.positional[1];
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(kToSrtCommand, error);
  Settings settings;
  if (int status = LoadSettings(parsed, kToSrtCommand, settings); status != kExitOk) return status;

  const auto text = ReadCaptionText(in, encodings.input);
  if (!text) {
    PrintCp949Error(kInputMessage);
    return kExitFailed;
  }
  // An empty file, or one without a single sync (binary garbage, a text that
  // is no caption), has nothing to export: refused, so no empty SRT appears.
  // The export reads the nodes as the analysis finds them; no document is
  // kept, which spares a large file's million small strings.
  const CodePage& cp = text->code_page();
  const SrtTextExport exported = WriteSrtFromText(text->bytes, cp, settings.AnalysisMode());
  if (!exported.analysed) {
    PrintCp949Error(kAnalyseInitFailedMessage);
    return kExitFailed;
  }
  if (!exported.has_sync) {
    PrintCp949Error(kNoDataMessage);
    return kExitFailed;
  }

  // A caption left without an end is reported, but the entries before it are
  // written and the export still completes, as the editor's export does.
  const SrtExport& srt = exported.srt;
  if (!srt.error.empty()) PrintCp949Error(srt.error);
  const OutputEncoding target = encodings.For(*text);
  // CP949 working text written as CP949 is already the file's bytes.
  const bool as_is = target.encoding == CaptionEncoding::Cp949 && cp.kind() == CodePage::Kind::Cp949;
  const EncodedCaption encoded =
      as_is ? EncodedCaption{} : EncodeCaption(srt.bytes, cp, target.encoding, target.bom);
  if (!encoded.ok()) {
    PrintError("'" + out + "' not written: " + encoded.error);
    return kExitFailed;
  }
  if (!WriteWholeFileAtomic(out, as_is ? srt.bytes : encoded.bytes)) {
    PrintError("cannot write '" + out + "'");
    PrintCp949Error(kOutputMessage);
    return kExitFailed;
  }
  // Shown in UTF-8 with the terminal's line ends.
  char done[sizeof kDoneFormat + 32];
  std::snprintf(done, sizeof done, kDoneFormat, watch.Seconds());
  std::string shown = Cp949ToUtf8(done);
  std::erase(shown, '\r');
  std::fputs(shown.c_str(), stderr);
  return kExitOk;
}

}  // namespace

const Command kToSrtCommand = {
    "to-srt", "export a SAMI file as SubRip (SRT)",
    "Usage: cadenzio-cli to-srt [--settings FILE | --no-settings] [--encoding NAME]\n"
    "                           [--output-encoding NAME] IN OUT\n\n"
    "Writes every caption of the SAMI file IN, of all language classes together\n"
    "and in file order, to OUT as a numbered SubRip entry: its start, the time of\n"
    "the next sync as its end, and its text without the paragraph tag, with <br>\n"
    "turned into a line break and the last FONT or SPANID opening tag removed.\n"
    "With CHECKBR set in the settings, IN is analysed with line-break repair, which\n"
    "also turns <BR> into <br>.\n"
    "Entry lines end in LF, lines inside a caption in CR LF. A caption that no\n"
    "later sync ends is reported and left out; the entries before it are written.\n"
    "OUT is replaced only by a complete file.\n" CADENZIO_SETTINGS_HELP CADENZIO_ENCODING_HELP CADENZIO_OUTPUT_ENCODING_HELP,
    RunToSrt};

}  // namespace cadenzio::cli
