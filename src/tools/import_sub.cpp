// SUB import: frame numbers read in place, each caption followed by its clear.
#include "tools/import_sub.h"

#include <algorithm>
#include <cstdint>

#include "settings/file_services.h"
#include "tools/time_format.h"

namespace cadenzio {
namespace {

constexpr std::string_view kSubLineBreak = "<br>\r\n";
constexpr int kSubMaxBreaks = 2;

struct FrameNumber {
  long value = 0;
  std::size_t end = 0;  // first byte after the number; where reading began when none
};

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtol(line + pos, &end, 10) with a 32-bit long.
FrameNumber ReadFrameNumber(std::string_view line, std::size_t pos) {
  constexpr std::int64_t kMax = INT32_MAX;
  constexpr std::int64_t kMinMagnitude = -static_cast<std::int64_t>(INT32_MIN);
  if (pos >= line.size()) return {0, line.size()};
  std::size_t i = pos;
  while (i < line.size() && IsCSpace(line[i])) ++i;
  bool negative = false;
  if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
  const std::size_t digits = i;
  std::int64_t magnitude = 0;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
    magnitude = std::min<std::int64_t>(magnitude * 10 + (line[i] - '0'), kMinMagnitude);
  if (i == digits) return {0, pos};
  const std::int64_t value = negative ? -magnitude : std::min(magnitude, kMax);
  return {static_cast<long>(value), i};
}

}  // namespace

std::string SplitSubLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2 * kSubLineBreak.size());
  int breaks = 0;
  for (char c : text) {
    if (c == '|' && breaks < kSubMaxBreaks) {
      out.append(kSubLineBreak);
      ++breaks;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

void ConvertSub(std::string_view input, std::string& output, double frame_rate) {
  LineReader reader(input);
  std::string_view piece;
  while (reader.Next(piece, kSubLineLimit)) {
    const std::string_view line = piece.substr(0, piece.find_first_of("\r\n"));
    if (line.empty() || line[0] != '{') continue;
    const FrameNumber start = ReadFrameNumber(line, 1);
    const FrameNumber end = ReadFrameNumber(line, start.end + 2);  // past "}{"
    const std::string_view text = line.substr(std::min(end.end + 1, line.size()));  // past "}"
    output.append("<SYNC Start=")
        .append(std::to_string(SubFrameToMs(start.value, frame_rate)))
        .append("><P Class=ENCC>\r\n")
        .append(SplitSubLines(text))
        .append("\r\n<SYNC Start=")
        .append(std::to_string(SubFrameToMs(end.value, frame_rate)))
        .append("><P Class=ENCC>&nbsp;\r\n");
  }
}

}  // namespace cadenzio
