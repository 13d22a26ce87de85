// cadenzio-cli plain-text IN OUT: one caption a line, without syncs and tags.
#include "cli/plain_text_command.h"

#include "cli/cli_support.h"
#include "tools/plain_text.h"

namespace cadenzio::cli {
namespace {

int RunPlainText(std::span<const std::string> args);

}  // namespace

constinit const Command kPlainTextCommand = {
    "plain-text", "write the bare caption text of a SAMI file, one caption a line",
    "Usage: cadenzio-cli plain-text IN OUT [--settings FILE | --no-settings]\n"
    "                               [--encoding NAME] [--output-encoding NAME]\n\n"
    "Writes the caption texts of IN to OUT, one caption a line ending in CR LF,\n"
    "without syncs and paragraph tags, for proof-reading or translation. Clears\n"
    "give no line; a caption written over several lines becomes one line; <br> and\n"
    "FONT tags stay. A caption of 1001 bytes or more is written as it stands,\n"
    "without a line end of its own. IN is analysed with line-break repair when\n"
    "CHECKBR is on in the settings. An empty file, one holding NUL bytes or one\n"
    "without a single sync tag is refused (exit 1).\n"
    CADENZIO_SETTINGS_HELP CADENZIO_ENCODING_HELP CADENZIO_OUTPUT_ENCODING_HELP,
    RunPlainText};

namespace {

int RunPlainText(std::span<const std::string> args) {
  const Command& self = kPlainTextCommand;
  static constexpr std::string_view kValued[] = {kSettingsOption, kEncodingOption,
                                                 kOutputEncodingOption};
  static constexpr std::string_view kFlags[] = {kNoSettingsFlag};
  const ParsedArgs parsed = Parse(args, kValued, kFlags);
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 2) return UsageError(self, "expected IN and OUT");
  const std::string& in = parsed.positional[0];
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(self, error);
  Settings settings;
  if (int status = LoadSettings(parsed, self, settings); status != kExitOk) return status;

  // An empty file, bytes that are no text, or a file without a single sync
  // tag would give an empty "caption text" that looks like a result.
  const auto input = ReadCaptionDocument(in, settings.AnalysisMode(), encodings.input);
  if (!input) return kExitFailed;
  return WriteCaptionOutput(parsed.positional[1], WriteCaptionTexts(input->doc),
                            input->doc.code_page(), encodings.For(input->text))
             ? kExitOk
             : kExitFailed;
}

}  // namespace
}  // namespace cadenzio::cli
