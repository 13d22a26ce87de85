// cadenzio-cli split IN BASE: writes the files of the split by language,
// all of them or none.
#include "cli/split_command.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "settings/file_services.h"
#include "tools/split_language.h"

namespace cadenzio::cli {
namespace {

// What an output path held before this run, so a failed run can put it back.
struct Snapshot {
  std::string path;
  std::optional<std::string> before;  // none: the file did not exist
};

// Writes the files in order. When one fails, every file this run wrote is
// taken back (a new one removed, a replaced one given its old bytes), so the
// folder holds either the whole set or what it held before.
bool WriteAll(const std::vector<SplitOutput>& files) {
  std::vector<Snapshot> snapshots;
  for (const auto& file : files) {
    Snapshot s{file.name, std::nullopt};
    std::error_code ec;
    if (std::filesystem::is_directory(file.name, ec)) {
      PrintError("'" + file.name + "' is a folder, not a file");
      return false;
    }
    if (std::filesystem::exists(file.name, ec)) {
      std::string old;
      if (!ReadWholeFile(file.name, old)) {
        PrintError("cannot read '" + file.name + "', which the split would replace");
        return false;
      }
      s.before = std::move(old);
    }
    snapshots.push_back(std::move(s));
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (WriteOutput(files[i].name, files[i].bytes)) continue;
    for (std::size_t j = 0; j < i; ++j) {
      const Snapshot& s = snapshots[j];
      std::error_code ec;
      if (!s.before) {
        const bool gone = std::filesystem::remove(s.path, ec);
        PrintError((gone ? "removed '" : "could not remove '") + s.path + "', written before the failure");
      } else {
        const bool back = WriteWholeFileAtomic(s.path, *s.before);
        PrintError((back ? "restored '" : "could not restore '") + s.path + "' as it was before");
      }
    }
    return false;
  }
  return true;
}

// The completion message for the terminal: UTF-8, with the terminal's line ends.
void PrintDone(double seconds) {
  char text[256];
  std::snprintf(text, sizeof text, kSplitDoneFormat, seconds);
  std::string shown = Cp949ToUtf8(text);
  std::erase(shown, '\r');
  std::fputs(shown.c_str(), stderr);
}

int RunSplit(std::span<const std::string> args) {
  static constexpr std::string_view kValued[] = {kSettingsOption, kEncodingOption,
                                                 kOutputEncodingOption};
  static constexpr std::string_view kFlags[] = {kNoSettingsFlag};
  const ParsedArgs parsed = Parse(args, kValued, kFlags);
  if (!parsed.error.empty()) return UsageError(kSplitCommand, parsed.error);
  if (parsed.positional.size() != 2) return UsageError(kSplitCommand, "expected IN and BASE");
  const std::string& in = parsed.positional[0];
  const std::string& base = parsed.positional[1];
  if (base.empty()) return UsageError(kSplitCommand, "BASE is empty");
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(kSplitCommand, error);

  Settings settings;
  if (int status = LoadSettings(parsed, kSplitCommand, settings); status != kExitOk) return status;
  const Stopwatch watch;
  const auto input = ReadCaptionText(in, encodings.input);
  if (!input) return kExitFailed;
  SamiDocument doc(input->code_page());
  doc.Analyse(input->bytes, SplitAnalysisMode(settings.check_br));
  SplitResult result = SplitDocument(doc, base);
  if (!result.ok()) {
    PrintCp949Error(result.error);
    PrintCp949Error(kSplitFailedMessage);
    return kExitFailed;
  }
  // The split itself succeeds with no files for a document without classes;
  // here that is an input that cannot be split, and the user should hear so.
  if (result.files.empty()) {
    PrintError("'" + in + "' declares no language class: nothing to split");
    PrintCp949Error(kSplitFailedMessage);
    return kExitFailed;
  }
  // Every file is encoded before the first is written: all of them or none.
  const OutputEncoding target = encodings.For(*input);
  for (SplitOutput& file : result.files) {
    EncodedCaption encoded = EncodeCaption(file.bytes, doc.code_page(), target.encoding, target.bom);
    if (!encoded.ok()) {
      PrintError("'" + file.name + "' not written: " + encoded.error);
      PrintCp949Error(kSplitFailedMessage);
      return kExitFailed;
    }
    file.bytes = std::move(encoded.bytes);
  }
  if (!WriteAll(result.files)) {
    PrintCp949Error(kSplitFailedMessage);
    return kExitFailed;
  }
  for (const auto& file : result.files) std::printf("%s\n", file.name.c_str());
  PrintDone(watch.Seconds());
  return kExitOk;
}

}  // namespace

const Command kSplitCommand = {
    "split", "write one SAMI file per language class",
    "Usage: cadenzio-cli split IN BASE [--settings FILE | --no-settings]\n"
    "                          [--encoding NAME] [--output-encoding NAME]\n\n"
    "Writes one SAMI file per language class declared in IN. Each holds the header\n"
    "with only its own class declaration, the syncs and captions of its class, the\n"
    "comments and the captions without a class, and the tail. The names come from\n"
    "BASE: every \".smi\" in it, in any case, becomes \".CLASS.smi\" (movie.smi gives\n"
    "movie.KRCC.smi and movie.ENCC.smi); a BASE without \".smi\" gets \".CLASS\"\n"
    "appended. IN is analysed with line-break repair when the CHECKBR setting is\n"
    "not 0. The names written are printed on stdout. When a file cannot be written,\n"
    "the ones already written are removed (or restored, if they existed before).\n"
    "At most 10 classes.\n" CADENZIO_SETTINGS_HELP CADENZIO_ENCODING_HELP CADENZIO_OUTPUT_ENCODING_HELP,
    RunSplit};

}  // namespace cadenzio::cli
