// cadenzio-cli remove-short-clears IN OUT: deletes every clear sync followed by
// the next caption of its class within DELCLEAR milliseconds.
#include "cli/remove_short_clears_command.h"

#include <cstdio>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "tools/short_clears.h"

namespace cadenzio::cli {
namespace {

int RunRemoveShortClears(std::span<const std::string> args);

}  // namespace

constinit const Command kRemoveShortClearsCommand = {
    "remove-short-clears", "delete clear syncs that are followed by a caption too soon",
    "Usage: cadenzio-cli remove-short-clears IN OUT [--gap MS]\n"
    "                          [--settings FILE | --no-settings]\n"
    "                          [--encoding NAME] [--output-encoding NAME]\n\n"
    "Deletes every clear sync of IN that is followed by the next caption of the\n"
    "same class within MS milliseconds (DELCLEAR of the settings when --gap is not\n"
    "given; 0 to 999), together with everything between that clear and the\n"
    "caption, so the caption before stays on screen instead of blinking off. OUT\n"
    "receives the cleaned file, or IN's bytes unchanged when no clear was deleted.\n"
    "The count of deleted clears is reported on stderr. IN is analysed with\n"
    "line-break repair when CHECKBR is on in the settings. An empty file, one\n"
    "holding NUL bytes or one without a single sync tag is refused (exit 1).\n"
    CADENZIO_SETTINGS_HELP CADENZIO_ENCODING_HELP CADENZIO_OUTPUT_ENCODING_HELP,
    RunRemoveShortClears};

namespace {

int RunRemoveShortClears(std::span<const std::string> args) {
  const Command& self = kRemoveShortClearsCommand;
  static constexpr std::string_view kValued[] = {"--gap", kSettingsOption, kEncodingOption,
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
  // --gap is read as the settings dialog reads its DELCLEAR box (0 to 999).
  if (const std::string* value = parsed.Option("--gap")) {
    if (const auto refusal = ReadSettingsField(SettingsField::kDelClear, *value, settings))
      return UsageError(self, "--gap: " + Cp949ToUtf8(refusal->message));
  }

  // An empty file, bytes that are no text, or a file without a single sync
  // tag is no caption file to clean.
  auto input = ReadCaptionDocument(in, settings.AnalysisMode(), encodings.input);
  if (!input) return kExitFailed;

  const int removed = RemoveShortClears(input->doc, settings.del_clear);
  // Nothing removed leaves the text as it was: no normalisation of the analyser.
  const std::string out = removed != 0 ? input->doc.Write() : input->text.bytes;
  if (!WriteCaptionOutput(parsed.positional[1], out, input->doc.code_page(),
                          encodings.For(input->text)))
    return kExitFailed;
  const std::string message = Cp949ToUtf8(ShortClearsDoneMessage(removed));
  std::fprintf(stderr, "%s\n", message.c_str());
  return kExitOk;
}

}  // namespace
}  // namespace cadenzio::cli
