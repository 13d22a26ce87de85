// cadenzio-cli check: analyses a caption file keeping its empty paragraphs,
// runs the sync error check and hands over the report.
#include "cli/check_command.h"

#include <cstdio>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "tools/sync_check.h"

namespace cadenzio::cli {
namespace {

int RunCheck(std::span<const std::string> args);

bool HasSync(const SamiDocument& doc) {
  for (const SamiNode& node : doc.nodes)
    if (node.kind == SamiNodeKind::Sync) return true;
  return false;
}

// Messages for a person: UTF-8 with plain line feeds.
void PrintCp949Lines(std::string_view cp949) {
  std::string text = Cp949ToUtf8(cp949);
  std::erase(text, '\r');
  std::fputs(text.c_str(), stderr);
}

}  // namespace

extern const Command kCheckCommand = {
    "check", "check the syncs of a SAMI file and report the timing faults",
    "Usage: cadenzio-cli check IN [-o REPORT] [--settings FILE | --no-settings]\n"
    "                          [--encoding NAME] [--output-encoding NAME]\n\n"
    "Checks the SAMI file IN language class by language class and reports syncs\n"
    "with negative times, syncs that run backwards, captions shown for less than\n"
    "MIN or more than MAX milliseconds (the settings of those names; 0 stands for\n"
    "800 and 8000) and syncs whose caption is empty. Empty paragraphs are kept as\n"
    "written for the check, so a paragraph of its tag alone is reported.\n\n"
    "The report goes to stdout in UTF-8, or with -o byte for byte (CR LF, in IN's\n"
    "encoding or --output-encoding's) into REPORT, which is replaced only by a\n"
    "complete report.\n\n"
    "The editor window checks its own unsaved text and shows the report in a window\n"
    "that ends with the completion message and the time taken; this command checks\n"
    "the file as saved and prints the completion message and time on stderr, so a\n"
    "report holds the same bytes on every run. Faults in the captions are the\n"
    "report, not a failure (exit 0); an empty file, or one without a single sync\n"
    "tag of the form <SYNC Start=digits>, has nothing to check (exit 1).\n"
    CADENZIO_SETTINGS_HELP CADENZIO_ENCODING_HELP,
    RunCheck};

namespace {

int RunCheck(std::span<const std::string> args) {
  const Command& self = kCheckCommand;
  static constexpr std::string_view kValued[] = {"-o", kSettingsOption, kEncodingOption,
                                                 kOutputEncodingOption};
  static constexpr std::string_view kFlags[] = {kNoSettingsFlag};
  const ParsedArgs parsed = Parse(args, kValued, kFlags);
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 1) return UsageError(self, "expected IN");
  const std::string& in = parsed.positional[0];
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(self, error);

  Settings settings;
  if (int status = LoadSettings(parsed, self, settings); status != kExitOk) return status;

  const auto text = ReadCaptionText(in, encodings.input);
  if (!text) return kExitFailed;
  if (text->bytes.empty()) {
    PrintCp949Error(kSyncCheckNoDataMessage);
    PrintError("'" + in + "' is empty: nothing to check");
    return kExitFailed;
  }

  const Stopwatch clock;
  SamiDocument doc(text->code_page());
  if (!doc.Analyse(text->bytes, kAnalyseKeepBlanks)) {
    PrintCp949Error(kAnalyseInitFailedMessage);
    return kExitFailed;
  }
  if (!HasSync(doc)) {
    PrintCp949Error(kSyncCheckNoDataMessage);
    PrintError("'" + in + "' holds no sync of the form <SYNC Start=digits>: nothing to check");
    return kExitFailed;
  }
  const SyncCheckResult result = CheckSyncErrors(doc, settings.min_interval, settings.max_interval);
  const double seconds = clock.Seconds();

  if (const std::string* report = parsed.Option("-o")) {
    if (!WriteCaptionOutput(*report, result.report, doc.code_page(), encodings.For(*text)))
      return kExitFailed;
  } else {
    // The report is in the document's code page.
    const std::string utf8 = doc.code_page().kind() == CodePage::Kind::Cp949
                                 ? Cp949ToUtf8(result.report)
                                 : result.report;
    if (std::fwrite(utf8.data(), 1, utf8.size(), stdout) != utf8.size() ||
        std::fflush(stdout) != 0) {
      PrintError("cannot write the report to stdout");
      return kExitFailed;
    }
  }
  PrintCp949Lines(SyncCheckCompletionText(seconds));
  return kExitOk;
}

}  // namespace
}  // namespace cadenzio::cli
