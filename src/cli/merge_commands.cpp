// cadenzio-cli merge, srt-text and srt-idx: the window's checks in the
// window's order with its messages, then the operation, then one atomic write
// of OUT, so a refused or failed run leaves every file as it was.
#include "cli/merge_commands.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "sami/sami_text.h"
#include "settings/file_services.h"
#include "utility/merge_sorted.h"
#include "utility/srt_build.h"
#include "utility/sync_utility_job.h"

namespace cadenzio::cli {
namespace {

int RunMerge(std::span<const std::string> args);
int RunSrtText(std::span<const std::string> args);
int RunSrtIdx(std::span<const std::string> args);

}  // namespace

#define CADENZIO_OUT_HELP                                                                  \
  "OUT is written only when the whole run succeeded; an existing OUT is replaced\n"       \
  "then and left as it was otherwise. OUT must not name one of the inputs.\n"

constinit const Command kMergeCommand = {
    "merge", "merge two one-language SAMI files in time order, or make a template",
    "Usage: cadenzio-cli merge FIRST SECOND OUT [--fix-br] [--encoding NAME]\n"
    "                          [--output-encoding NAME]\n\n"
    "Merges two SAMI files of one language class each into one two-language file\n"
    "whose syncs are in time order: the header declares FIRST's class, then\n"
    "SECOND's, and goes on with the rest of SECOND's header; the tail is FIRST's.\n"
    "Where both files have a sync at the same time, FIRST's sync line stands for\n"
    "both and is followed by FIRST's captions, then SECOND's; two clearing syncs\n"
    "become one with a single \"<P>&nbsp;\". No sync time is changed.\n"
    "When FIRST and SECOND are the same name (byte for byte), FIRST becomes a\n"
    "template: a KRCC class is declared before its own and every caption gets an\n"
    "empty KRCC caption before it. --fix-br analyses the files with line-break\n"
    "repair. The window writes to FIRST's name with \".Sorted\" appended; this\n"
    "command writes to OUT instead.\n" CADENZIO_OUT_HELP
    "--encoding auto|cp949|utf-8|utf-16le|utf-16be says how both files are read\n"
    "(auto, the default, tells each file's own). OUT is written in FIRST's\n"
    "encoding, with its byte order mark when it had one, or in --output-encoding\n"
    "cp949|utf-8|utf-8-bom|utf-16le|utf-16be; SECOND's text joins FIRST's, and a\n"
    "character FIRST's encoding cannot hold is refused, naming its line.\n",
    RunMerge};

constinit const Command kSrtTextCommand = {
    "srt-text", "pair the timing lines of an SRT file with the captions of a text file",
    "Usage: cadenzio-cli srt-text SRT TEXT OUT\n\n"
    "Writes an SRT file whose entries are numbered from 1 and hold, in order, each\n"
    "timing line of SRT (any line with \"-->\") and the next caption of TEXT, in\n"
    "which captions are separated by blank lines. Both files must hold the same\n"
    "number of captions. Lines are copied with their own line ends; numbers and\n"
    "the empty line after each entry end in CR LF. The window writes next to SRT,\n"
    "as NAME.Merged.SRT, replacing that file without asking; this command writes\n"
    "to OUT instead.\n" CADENZIO_OUT_HELP,
    RunSrtText};

constinit const Command kSrtIdxCommand = {
    "srt-idx", "give the captions of an SRT file the start times of an IDX file",
    "Usage: cadenzio-cli srt-idx SRT IDX OUT\n\n"
    "Writes SRT renumbered from 1, each caption starting at the time of the next\n"
    "\"timestamp: HH:MM:SS:mmm\" line of the VobSub index IDX and keeping its own\n"
    "duration. Captions beyond the last timestamp keep their own start (a notice\n"
    "says how many); a timing line whose times cannot be read is copied unchanged\n"
    "and still uses up its timestamp. An IDX without any timestamp line is\n"
    "refused. The window writes next to SRT, as NAME.Merged.SRT, replacing that\n"
    "file without asking; this command writes to OUT instead.\n" CADENZIO_OUT_HELP,
    RunSrtIdx};

#undef CADENZIO_OUT_HELP

namespace {

// Prints a CP949 message of the window and gives the failure status.
int Refuse(std::string_view cp949) {
  PrintCp949Error(cp949);
  return kExitFailed;
}

// The same file under two names (or one name twice).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return a == b || std::filesystem::equivalent(a, b, ec);
}

// The completion message as the window shows it, in UTF-8.
void PrintDone(const Stopwatch& watch) {
  std::fputs(Cp949ToUtf8(UtilityDoneMessage(watch.Seconds())).c_str(), stderr);
}

// Reads a file named by the user; prints the reason and the window's message
// when it cannot be read.
std::optional<std::string> ReadNamed(const std::string& path, const char* cp949_message) {
  std::optional<std::string> bytes = ReadInput(path);
  if (!bytes) PrintCp949Error(cp949_message);
  return bytes;
}

bool RefuseOutput(const std::string& out, const std::string& in1, const std::string& in2) {
  if (!SameFile(out, in1) && !SameFile(out, in2)) return false;
  PrintError("OUT '" + out + "' names one of the input files: give another output file");
  return true;
}

// A caption file named by the user, read and decoded; prints the reason and
// the window's message when it cannot be.
std::optional<DecodedCaption> ReadNamedCaption(const std::string& path, EncodingChoice choice,
                                               const char* cp949_message) {
  std::optional<DecodedCaption> text = ReadCaptionText(path, choice);
  if (!text) PrintCp949Error(cp949_message);
  return text;
}

int RunMerge(std::span<const std::string> args) {
  static constexpr std::string_view kFlags[] = {"--fix-br"};
  static constexpr std::string_view kValued[] = {kEncodingOption, kOutputEncodingOption};
  const ParsedArgs parsed = Parse(args, kValued, kFlags);
  if (!parsed.error.empty()) return UsageError(kMergeCommand, parsed.error);
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(kMergeCommand, error);
  if (parsed.positional.size() != 3)
    return UsageError(kMergeCommand, "expected FIRST, SECOND and OUT");
  const std::string& first = parsed.positional[0];
  const std::string& second = parsed.positional[1];
  const std::string& out = parsed.positional[2];
  if (first.empty()) return Refuse(kUtilityNoSourceMessage);
  if (second.empty()) return Refuse(kUtilityNoSecondNameMessage);
  if (out.empty()) return UsageError(kMergeCommand, "OUT is empty");
  if (RefuseOutput(out, first, second)) return kExitFailed;

  const Stopwatch watch;
  const auto first_text = ReadNamedCaption(first, encodings.input, kUtilitySourceUnreadableMessage);
  if (!first_text) return kExitFailed;
  // The same name twice (byte for byte) asks for the template of one file.
  std::optional<std::string> second_bytes;  // SECOND in FIRST's code page
  if (second != first) {
    const auto second_text =
        ReadNamedCaption(second, encodings.input, kUtilitySecondUnreadableMessage);
    if (!second_text) return kExitFailed;
    EncodedCaption joined = ConvertWorkingText(second_text->bytes, second_text->code_page(),
                                               first_text->code_page());
    if (!joined.ok()) {
      PrintError("'" + second + "' cannot join '" + first + "' (" +
                 std::string(EncodingDisplayName(first_text->encoding, first_text->bom)) +
                 "): " + joined.error);
      return kExitFailed;
    }
    second_bytes = std::move(joined.bytes);
  }
  SamiDocument first_doc(first_text->code_page());
  const MergeResult merged =
      MergeSorted(first_text->bytes,
                  second_bytes ? std::optional<std::string_view>(*second_bytes) : std::nullopt,
                  parsed.Flag("--fix-br"), &first_doc);
  if (!merged.ok()) return Refuse(merged.error);
  const OutputEncoding target = encodings.For(*first_text);
  const EncodedCaption encoded =
      EncodeCaption(merged.bytes, first_doc.code_page(), target.encoding, target.bom);
  if (!encoded.ok()) {
    PrintError("'" + out + "' not written: " + encoded.error);
    return kExitFailed;
  }
  if (!WriteOutput(out, encoded.bytes)) return Refuse(kMergeOutputOpenFailedMessage);
  PrintDone(watch);
  return kExitOk;
}

// IDX lines (read as the conversion reads them) that give a whole timestamp.
int CountIdxTimestamps(std::string_view idx) {
  LineReader reader(idx);
  std::string_view line;
  int count = 0;
  while (reader.Next(line, kSrtBuildLineLimit)) count += ReadIdxTimestamp(line).has_value();
  return count;
}

// srt-text and srt-idx: the same checks, then one of the two builders.
int RunSrtBuild(const Command& self, std::span<const std::string> args, bool with_idx) {
  const ParsedArgs parsed = Parse(args, {});
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 3)
    return UsageError(self, with_idx ? "expected SRT, IDX and OUT" : "expected SRT, TEXT and OUT");
  if (parsed.positional[0].empty()) return Refuse(kUtilityNoSourceMessage);
  // The window strips blanks from both names and compares them byte for byte.
  const std::string srt_name(TrimSpace(parsed.positional[0]));
  const std::string second_name(TrimSpace(parsed.positional[1]));
  const std::string& out = parsed.positional[2];
  if (second_name.empty()) return Refuse(kUtilityNoSecondFileMessage);
  if (second_name == srt_name) return Refuse(kUtilitySameFilesMessage);
  if (out.empty()) return UsageError(self, "OUT is empty");
  if (RefuseOutput(out, srt_name, second_name)) return kExitFailed;

  const Stopwatch watch;
  const auto srt = ReadNamed(srt_name, kSrtBuildOpenFailedMessage);
  if (!srt) return kExitFailed;
  const auto second = ReadNamed(second_name, kSrtBuildOpenFailedMessage);
  if (!second) return kExitFailed;
  const SrtBuildResult built =
      with_idx ? ApplyIdxStartTimes(*srt, *second) : MergeSrtWithText(*srt, *second);
  if (!built.ok()) return Refuse(built.error);
  // The window would write an SRT without entries, or the SRT only renumbered;
  // here these are inputs given by mistake.
  if (built.captions == 0) {
    PrintError("'" + srt_name + "' holds no SRT timing line (\"-->\"): nothing to build");
    return kExitFailed;
  }
  if (with_idx && CountIdxTimestamps(*second) == 0) {
    PrintError("'" + second_name +
               "' holds no \"timestamp: HH:MM:SS:mmm\" line: not a VobSub index");
    return kExitFailed;
  }
  if (!WriteOutput(out, built.bytes)) return Refuse(kSrtBuildCreateFailedMessage);
  if (built.unreadable_timings > 0)
    PrintError(std::to_string(built.unreadable_timings) +
               " timing line(s) could not be read and were copied unchanged");
  const int kept = built.captions - built.unreadable_timings - built.idx_starts;
  if (with_idx && kept > 0)
    PrintError(std::to_string(kept) +
               " caption(s) past the IDX file's last timestamp kept their own start");
  PrintDone(watch);
  return kExitOk;
}

int RunSrtText(std::span<const std::string> args) {
  return RunSrtBuild(kSrtTextCommand, args, false);
}
int RunSrtIdx(std::span<const std::string> args) { return RunSrtBuild(kSrtIdxCommand, args, true); }

}  // namespace
}  // namespace cadenzio::cli
