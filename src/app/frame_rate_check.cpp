#include "app/frame_rate_check.h"

#include <charconv>

namespace cadenzio {

bool IsAcceptedFrameRate(std::string_view text) {
  int digits = 0;
  int points = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.') ++points;
    else return false;
  }
  if (digits == 0 || points > 1) return false;
  double rate = 0;
  // from_chars reads the same text whatever LC_NUMERIC says (mpv sets "C",
  // but the check must not depend on it).
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  return rate >= 10.0 && rate <= 50.0;
}

}  // namespace cadenzio
