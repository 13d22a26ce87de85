// Clock text and foreign timing lines; the readers share one small scanner
// that behaves as sscanf does for "%Nd" fields, blanks and literal bytes.
#include "tools/time_format.h"

#include <cmath>
#include <cstdio>
#include <span>

#include "pattern/pattern_matcher.h"

namespace cadenzio {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Scans text with a format made of "%Nd" fields (N digits of width, a leading
// 0 being one of them), white space and literal bytes, as sscanf would; a NUL
// byte matches nothing, so the text in effect ends there. Returns the number
// of fields converted; fields after the first mismatch keep their values. The
// callers' widths are at most 3, so no value can overflow.
int ScanFields(std::string_view text, std::string_view format, std::span<int> fields) {
  std::size_t in = 0;
  int count = 0;
  auto skip_space = [&] {
    while (in < text.size() && IsSpace(text[in])) ++in;
  };
  for (std::size_t f = 0; f < format.size();) {
    const char fc = format[f];
    if (IsSpace(fc)) {  // any run of white space, none included
      skip_space();
      ++f;
      continue;
    }
    if (fc != '%') {
      if (in >= text.size() || text[in] != fc) break;
      ++in;
      ++f;
      continue;
    }
    int width = 0;
    for (++f; f < format.size() && IsDigit(format[f]); ++f) width = width * 10 + (format[f] - '0');
    ++f;  // the 'd'
    skip_space();
    bool negative = false;
    if (in < text.size() && (text[in] == '+' || text[in] == '-')) {
      negative = text[in] == '-';
      ++in;
      --width;  // the sign takes a place of the width
    }
    int value = 0, digits = 0;
    for (; width > 0 && in < text.size() && IsDigit(text[in]); --width, ++in, ++digits)
      value = value * 10 + (text[in] - '0');
    if (digits == 0) break;
    fields[static_cast<std::size_t>(count++)] = negative ? -value : value;
  }
  return count;
}

std::int32_t ClockToMs(std::int64_t h, std::int64_t m, std::int64_t s, std::int64_t ms) {
  return static_cast<std::int32_t>(((h * 60 + m) * 60 + s) * 1000 + ms);
}

}  // namespace

std::string FormatClockTime(std::int32_t ms) {
  if (ms <= 0) return {};
  const std::int32_t hours = ms / 3600000;
  const std::int32_t minutes = (ms - hours * 3600000) / 60000;
  const std::int32_t total_minutes = hours * 60 + minutes;
  const std::int32_t seconds = (ms - total_minutes * 60000) / 1000;
  const std::int32_t millis = ms - (total_minutes * 60 + seconds) * 1000;
  // "%02d:%02d:%02d,%03d" by hand: the SRT export formats two times an
  // entry, and printf was a third of its cost. All four fields are >= 0.
  std::string out = std::to_string(hours);
  if (hours < 10) out.insert(0, 1, '0');
  const auto put = [&out](char sep, int value, int width) {
    out += sep;
    char digits[3];
    for (int i = width - 1; i >= 0; --i, value /= 10) digits[i] = static_cast<char>('0' + value % 10);
    out.append(digits, static_cast<std::size_t>(width));
  };
  put(':', minutes, 2);
  put(':', seconds, 2);
  put(',', millis, 3);
  return out;
}

std::int32_t ParseClockTime(std::string_view text) {
  int f[4] = {0, 0, 0, 0};
  ScanFields(text, "%02d:%02d:%02d,%03d", f);
  auto field = [&](int i) { return static_cast<std::int16_t>(f[i]); };
  return ClockToMs(field(0), field(1), field(2), field(3));
}

bool IsSrtTimingLine(std::string_view line) {
  return line.find("-->") != std::string_view::npos;
}

SrtTiming ReadSrtTiming(std::string_view line) {
  int f[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  SrtTiming t;
  t.fields_read = ScanFields(line, "%2d:%2d:%2d,%3d --> %2d:%2d:%2d,%3d", f);
  t.start = ClockToMs(f[0], f[1], f[2], f[3]);
  t.end = ClockToMs(f[4], f[5], f[6], f[7]);
  return t;
}

std::optional<std::string> SubripToSrtTiming(std::string_view line) {
  PatternMatcher m;
  m.Compile("^([0-9]+:[0-9]+:[0-9]+).([0-9]+),([0-9]+:[0-9]+:[0-9]+).([0-9]+)");
  if (m.Find(line) < 0) return std::nullopt;
  std::string out;
  out.append(m.Group(1)).append(",").append(m.Group(2)).append("0 --> ");
  out.append(m.Group(3)).append(",").append(m.Group(4)).append("0\r\n");
  return out;
}

std::int32_t SubFrameToMs(long frame, double rate) {
  // The product wraps at 32 bits; unsigned arithmetic keeps that defined.
  const auto scaled = static_cast<std::int32_t>(static_cast<std::uint32_t>(frame) * 1000u);
  const double ms = std::trunc(scaled / rate);
  if (!(ms >= -2147483648.0 && ms <= 2147483647.0)) return INT32_MIN;
  return static_cast<std::int32_t>(ms);
}

}  // namespace cadenzio
