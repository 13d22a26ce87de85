// cadenzio-cli shift, scale and add-clears: one sync utility job per run, its
// fields taken from the arguments, its messages printed.
#include "cli/utility_commands.h"

#include <cstdio>
#include <optional>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "tools/time_format.h"
#include "utility/sync_utility_job.h"

namespace cadenzio::cli {
namespace {

int RunShift(std::span<const std::string> args);
int RunScale(std::span<const std::string> args);
int RunAddClears(std::span<const std::string> args);

}  // namespace

#define CADENZIO_TIMES_HELP                                                                  \
  "Times are whole milliseconds from -2147483647 to 2147483647, or clock times\n"           \
  "HH:MM:SS,mmm (a '-' in front for a negative one).\n"
#define CADENZIO_OUT_HELP                                                                    \
  "OUT must name another file than IN: where the window, given no output name or\n"         \
  "the input's own name (in any letter case), asks whether to rewrite the input\n"          \
  "in place, the command refuses; write to a new file and move it over IN. OUT\n"           \
  "is written only when the whole run succeeded; an existing OUT is replaced\n"             \
  "then and left as it was otherwise. --fix-br analyses IN with line-break repair\n"        \
  "(doubled <br> removed, <br> added where a caption line continues). An empty\n"          \
  "IN, one holding NUL bytes or one without a single sync tag is refused.\n"           \
  CADENZIO_ENCODING_HELP                                                                    \
  "OUT is written in IN's encoding, with its byte order mark when it had one.\n"

constinit const Command kShiftCommand = {
    "shift", "shift the syncs of a time range by a value",
    "Usage: cadenzio-cli shift IN OUT --from MS --to MS --by MS [--fix-br]\n"
    "                          [--encoding NAME]\n\n"
    "Adds --by (which may be negative) to the start of every sync of IN from\n"
    "--from (included) up to --to (excluded) and writes the file to OUT. --to 0,\n"
    "or a --to before --from, leaves the range open to the end of the file; --to\n"
    "equal to --from selects nothing. A start moved below zero is written with a\n"
    "minus sign and can be shifted back.\n" CADENZIO_TIMES_HELP CADENZIO_OUT_HELP,
    RunShift};

constinit const Command kScaleCommand = {
    "scale", "scale the syncs of a time range onto a new range",
    "Usage: cadenzio-cli scale IN OUT --from MS --to MS --new-from MS --new-to MS\n"
    "                          [--whole] [--fix-br] [--encoding NAME]\n\n"
    "Maps every sync of IN from --from to --to (both included) linearly onto\n"
    "--new-from .. --new-to and writes the file to OUT; with --whole every sync of\n"
    "the file is mapped by the same line, also those outside the range. The range\n"
    "and the new range must each end after they start, and the new range must not\n"
    "be negative.\n" CADENZIO_TIMES_HELP CADENZIO_OUT_HELP,
    RunScale};

constinit const Command kAddClearsCommand = {
    "add-clears", "move blank syncs by a value, or add one before every caption",
    "Usage: cadenzio-cli add-clears IN OUT --from MS --to MS --by MS [--fix-br]\n"
    "                          [--encoding NAME]\n\n"
    "With --by other than 0, moves every clearing (&nbsp;) sync of IN from --from\n"
    "(included) up to --to (excluded; 0 for the end of the file) later by --by,\n"
    "but to at most 50 ms before the next sync with paragraphs (a caption or\n"
    "another clearing sync). A negative --by is made positive, with the window's\n"
    "notice. With --by 0, which needs a file of one language and ignores the\n"
    "range, puts a blank sync 50 ms before every caption that follows another\n"
    "sync: the clearing sync just before the caption is moved there when it\n"
    "stands no more than 50 ms earlier (or later), else a new one is added.\n"
    CADENZIO_TIMES_HELP CADENZIO_OUT_HELP,
    RunAddClears};

#undef CADENZIO_TIMES_HELP
#undef CADENZIO_OUT_HELP

namespace {

// The window's edits accept -2147483647..2147483647 (not -2147483648).
constexpr int64_t kLargestTime = 2147483647;
constexpr std::size_t kMaxDigits = 10;

bool AllDigits(std::string_view s, std::size_t min, std::size_t max) {
  if (s.size() < min || s.size() > max) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A clock time the scan reads whole: H:M:S,m with at most 2, 2, 2, 3 digits.
bool IsClockText(std::string_view s) {
  const std::size_t c1 = s.find(':');
  const std::size_t c2 = s.find(':', c1 + 1);
  const std::size_t comma = s.find(',');
  if (c1 == std::string_view::npos || c2 == std::string_view::npos ||
      comma == std::string_view::npos || comma < c2)
    return false;
  return AllDigits(s.substr(0, c1), 1, 2) && AllDigits(s.substr(c1 + 1, c2 - c1 - 1), 1, 2) &&
         AllDigits(s.substr(c2 + 1, comma - c2 - 1), 1, 2) && AllDigits(s.substr(comma + 1), 1, 3);
}

std::optional<int32_t> ParseTime(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view body = text.substr(!text.empty() && (text[0] == '-' || text[0] == '+'));
  int64_t value = 0;
  if (IsClockText(body)) {
    value = ParseClockTime(body);
  } else if (AllDigits(body, 1, kMaxDigits)) {
    for (char c : body) value = value * 10 + (c - '0');
    if (value > kLargestTime) return std::nullopt;
  } else {
    return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

// Reads the named time option into *out; false after printing why.
bool TimeOption(const ParsedArgs& parsed, std::string_view name, int32_t* out) {
  const std::string* value = parsed.Option(name);
  const std::optional<int32_t> time = value ? ParseTime(*value) : std::nullopt;
  if (!time) {
    PrintError(std::string(name) + " takes whole milliseconds from -2147483647 to 2147483647 "
               "or a clock time HH:MM:SS,mmm, not '" + (value ? *value : "") + "'");
    return false;
  }
  *out = *time;
  return true;
}

// A message box of the job on the terminal, its text as the box shows it.
void PrintMessage(const UtilityMessage& message) {
  if (message.icon != MessageIcon::Information) return PrintCp949Error(message.text);
  std::string text = Cp949ToUtf8(message.text);
  if (text.empty() || text.back() != '\n') text += '\n';
  std::fputs(text.c_str(), stderr);
}

int RunJob(const Command& self, std::span<const std::string> args, int option) {
  const bool scale = option == kOptionRatioScale;
  static constexpr std::string_view kShiftValued[] = {"--from", "--to", "--by", kEncodingOption};
  static constexpr std::string_view kScaleValued[] = {"--from", "--to", "--new-from", "--new-to",
                                                      kEncodingOption};
  static constexpr std::string_view kShiftFlags[] = {"--fix-br"};
  static constexpr std::string_view kScaleFlags[] = {"--fix-br", "--whole"};
  const ParsedArgs parsed = scale ? Parse(args, kScaleValued, kScaleFlags)
                                  : Parse(args, kShiftValued, kShiftFlags);
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 2) return UsageError(self, "expected IN and OUT");
  const std::span<const std::string_view> valued =
      scale ? std::span<const std::string_view>(kScaleValued) : kShiftValued;
  for (std::string_view name : valued)
    if (name != kEncodingOption && !parsed.Option(name))
      return UsageError(self, std::string(name) + " is required");
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(self, error);

  SyncUtilityJob job;
  job.source_name = parsed.positional[0];
  job.output_name = parsed.positional[1];
  job.option = option;
  job.break_repair = parsed.Flag("--fix-br");
  job.ratio_over_whole = parsed.Flag("--whole");
  job.strict_input = true;
  job.encoding = encodings.input;
  if (!TimeOption(parsed, "--from", &job.start_position) ||
      !TimeOption(parsed, "--to", &job.end_position))
    return kExitFailed;
  if (scale) {
    if (!TimeOption(parsed, "--new-from", &job.start_change) ||
        !TimeOption(parsed, "--new-to", &job.end_change))
      return kExitFailed;
  } else if (!TimeOption(parsed, "--by", &job.start_change)) {
    return kExitFailed;
  }

  bool asked = false;
  const UtilityRunResult result = job.Run([&asked](const UtilityMessage&) {
    asked = true;
    return false;
  });
  for (const UtilityMessage& message : result.messages)
    PrintMessage(message);
  if (asked) {
    PrintError("OUT '" + job.output_name + "' names IN '" + job.source_name +
               "' (letter case aside): give another output file");
  }
  return result.completed ? kExitOk : kExitFailed;
}

int RunShift(std::span<const std::string> args) {
  return RunJob(kShiftCommand, args, kOptionRangeShift);
}
int RunScale(std::span<const std::string> args) {
  return RunJob(kScaleCommand, args, kOptionRatioScale);
}
int RunAddClears(std::span<const std::string> args) {
  return RunJob(kAddClearsCommand, args, kOptionClearSyncs);
}

}  // namespace
}  // namespace cadenzio::cli
