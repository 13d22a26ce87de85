// SRT files built from an SRT file and a text or IDX file, line by line.
#include "utility/srt_build.h"

#include <algorithm>
#include <cstdio>

#include "settings/file_services.h"
#include "tools/time_format.h"

namespace cadenzio {

// "화일을 열수가 없습니다."
const char kSrtBuildOpenFailedMessage[] =
    "\xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "생성 화일을 열수가 없습니다."
const char kSrtBuildCreateFailedMessage[] =
    "\xBB\xFD\xBC\xBA \xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "자막갯수가 두화일간 일치하지 않습니다.\r\n   SRT - %d,  TXT - %d"
const char kSrtTextCountMismatchFormat[] =
    "\xC0\xDA\xB8\xB7\xB0\xB9\xBC\xF6\xB0\xA1 \xB5\xCE\xC8\xAD\xC0\xCF\xB0\xA3 "
    "\xC0\xCF\xC4\xA1\xC7\xCF\xC1\xF6 \xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
    "   SRT - %d,  TXT - %d";

namespace {

constexpr char kEntryLineEnd[] = "\r\n";
constexpr int kSrtTimingFields = 8;

void AppendNumber(std::string& out, int number) {
  out += std::to_string(number);
  out += kEntryLineEnd;
}

// Copies the next text block: blank lines before it are skipped, the blank
// line after it is used up, and the end of the text ends it as well.
void CopyTextBlock(LineReader& text, std::string& out) {
  std::string_view line;
  bool in_block = false;
  while (text.Next(line, kSrtBuildLineLimit)) {
    if (IsSrtBlankLine(line)) {
      if (in_block) return;
      continue;
    }
    in_block = true;
    out += line;
  }
}

// Reads IDX lines up to and including the next complete timestamp.
std::optional<std::int32_t> NextIdxStart(LineReader& idx) {
  std::string_view line;
  while (idx.Next(line, kSrtBuildLineLimit)) {
    if (const auto start = ReadIdxTimestamp(line)) return start;
  }
  return std::nullopt;
}

}  // namespace

std::string SrtBuildOutputName(std::string_view srt_path) {
  return ReplaceExtension(srt_path, kSrtBuildOutputSuffix);
}

bool IsSrtBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(),
                     [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

int CountSrtTimingLines(std::string_view srt) {
  LineReader reader(srt);
  std::string_view line;
  int count = 0;
  while (reader.Next(line, kSrtBuildLineLimit))
    if (IsSrtTimingLine(line)) ++count;
  return count;
}

int CountTextBlocks(std::string_view text) {
  LineReader reader(text);
  std::string_view line;
  int count = 0;
  bool in_block = false;
  while (reader.Next(line, kSrtBuildLineLimit)) {
    const bool blank = IsSrtBlankLine(line);
    if (!blank && !in_block) ++count;
    in_block = !blank;
  }
  return count;
}

std::optional<std::int32_t> ReadIdxTimestamp(std::string_view line) {
  // The C library's own scan, on a copy that ends at the line's end (a NUL
  // byte inside the line ends it earlier, as it would for sscanf).
  const std::string copy(line);
  int hours = 0, minutes = 0, seconds = 0, millis = 0;
  if (std::sscanf(copy.c_str(), "timestamp: %2d:%2d:%2d:%3d", &hours, &minutes, &seconds,
                  &millis) != 4)
    return std::nullopt;
  // Widths of 2 and 3 digits keep the sum far inside 32 bits.
  const std::int64_t ms = ((std::int64_t{hours} * 60 + minutes) * 60 + seconds) * 1000 + millis;
  return static_cast<std::int32_t>(ms);
}

SrtBuildResult MergeSrtWithText(std::string_view srt, std::string_view text) {
  SrtBuildResult result;
  const int timings = CountSrtTimingLines(srt);
  const int blocks = CountTextBlocks(text);
  if (timings != blocks) {
    char message[256];
    std::snprintf(message, sizeof message, kSrtTextCountMismatchFormat, timings, blocks);
    result.error = message;
    return result;
  }
  std::string& out = result.bytes;
  out.reserve(srt.size() + text.size());
  LineReader srt_lines(srt), text_lines(text);
  std::string_view line;
  while (srt_lines.Next(line, kSrtBuildLineLimit)) {
    if (!IsSrtTimingLine(line)) continue;  // index numbers, old texts, blank lines
    AppendNumber(out, ++result.captions);
    out += line;
    CopyTextBlock(text_lines, out);
    out += kEntryLineEnd;
  }
  return result;
}

SrtBuildResult ApplyIdxStartTimes(std::string_view srt, std::string_view idx) {
  SrtBuildResult result;
  std::string& out = result.bytes;
  out.reserve(srt.size() + srt.size() / 8);
  LineReader srt_lines(srt), idx_lines(idx);
  std::string_view line;
  // The first non-blank line of the file and of each block is the entry's
  // old index number, which the new numbering replaces.
  bool block_start = true;
  while (srt_lines.Next(line, kSrtBuildLineLimit)) {
    if (!IsSrtTimingLine(line)) {
      const bool blank = IsSrtBlankLine(line);
      if (blank || !block_start) out += line;
      block_start = blank;
      continue;
    }
    block_start = false;
    const SrtTiming timing = ReadSrtTiming(line);
    const std::optional<std::int32_t> idx_start = NextIdxStart(idx_lines);
    AppendNumber(out, ++result.captions);
    if (timing.fields_read < kSrtTimingFields) {
      // Start and duration would be guesses; the line stays as the user wrote it.
      ++result.unreadable_timings;
      out += line;
      continue;
    }
    if (idx_start) ++result.idx_starts;
    const std::int64_t start = idx_start ? *idx_start : timing.start;
    const std::int64_t duration = std::int64_t{timing.end} - timing.start;
    out += FormatClockTime(static_cast<std::int32_t>(start));
    out += " --> ";
    out += FormatClockTime(static_cast<std::int32_t>(start + duration));
    out += kEntryLineEnd;
  }
  return result;
}

}  // namespace cadenzio
