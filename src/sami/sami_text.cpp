#include "sami/sami_text.h"

#include <cstdio>

namespace cadenzio {

std::string_view TrimSpace(std::string_view s) {
  std::size_t b = 0;
  while (b < s.size() && IsSpace(static_cast<unsigned char>(s[b]))) ++b;
  return TrimSpaceRight(s.substr(b));
}

std::string_view TrimSpaceRight(std::string_view s) {
  std::size_t e = s.size();
  while (e > 0 && IsSpace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(0, e);
}

std::string AsciiLower(std::string_view s, const CodePage& cp) {
  std::string out(s);
  for (std::size_t i = 0; i < out.size();) {
    const std::size_t len = cp.CharLength(out, i);
    if (len == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    i += len;
  }
  return out;
}

std::size_t ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
  if (from.empty()) return 0;
  std::size_t count = 0;
  std::string out;
  std::size_t at = 0;
  for (std::size_t hit; (hit = s.find(from, at)) != std::string::npos; at = hit + from.size()) {
    out.append(s, at, hit - at);
    out += to;
    ++count;
  }
  if (count == 0) return 0;
  out.append(s, at, std::string::npos);
  s = std::move(out);
  return count;
}

std::string Escape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (unsigned char c : s) {
    switch (c) {
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char hex[5];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          out += hex;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

}  // namespace cadenzio
