#include "app/time_convert.h"

#include <cstdint>
#include <limits>

#include "tools/time_format.h"

namespace cadenzio {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atol on a 32-bit long: blanks, a sign, digits; a value past the range
// sticks at its end instead of wrapping.
std::int32_t ReadLeadingInteger(std::string_view text) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kMax + 1) value = kMax + 1;  // -2147483648 still reachable
  }
  value = negative ? -value : value;
  return static_cast<std::int32_t>(value > kMax ? kMax : value < kMin ? kMin : value);
}

}  // namespace

std::string ConvertTimeText(std::string_view input) {
  if (input.find(':') != std::string_view::npos) return std::to_string(ParseClockTime(input));
  return FormatClockTime(ReadLeadingInteger(input));  // "" for 0 or less
}

}  // namespace cadenzio
