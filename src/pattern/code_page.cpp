#include "pattern/code_page.h"

namespace cadenzio {
namespace {

std::size_t Utf8Length(std::string_view text, std::size_t pos) {
  const auto c = static_cast<unsigned char>(text[pos]);
  std::size_t need;
  unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    need = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    need = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    need = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 1;
  }
  if (pos + need > text.size()) return 1;
  for (std::size_t i = 1; i < need; ++i) {
    const auto t = static_cast<unsigned char>(text[pos + i]);
    const unsigned char tlo = i == 1 ? lo : 0x80, thi = i == 1 ? hi : 0xBF;
    if (t < tlo || t > thi) return 1;
  }
  return need;
}

}  // namespace

const CodePage& CodePage::Cp949() {
  static constexpr CodePage cp(Kind::Cp949);
  return cp;
}

const CodePage& CodePage::Utf8() {
  static constexpr CodePage cp(Kind::Utf8);
  return cp;
}

std::size_t CodePage::MultibyteLength(std::string_view text, std::size_t pos) const {
  return Utf8Length(text, pos);
}

std::size_t CodePage::Utf8Width(std::string_view text) const {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++width;
      ++i;
      continue;
    }
    const std::size_t length = Utf8Length(text, i);
    width += length > 1 ? 2 : 1;
    i += length;
  }
  return width;
}

std::size_t CodePage::Utf8PrefixOfWidth(std::string_view text, std::size_t width,
                                        bool* overhang) const {
  std::size_t used = 0, i = 0;
  while (i < text.size() && used < width) {
    const std::size_t length =
        static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Utf8Length(text, i);
    used += length > 1 ? 2 : 1;
    i += length;
  }
  if (overhang) *overhang = used > width;
  return i;
}

bool CodePage::EqualNoCase(const char* a, const char* b, std::size_t n) const {
  const std::string_view av(a, n), bv(b, n);
  std::size_t i = 0;
  while (i < n) {
    const std::size_t len = CharLength(av, i);
    if (len > 1) {
      if (av.substr(i, len) != bv.substr(i, len)) return false;
    } else if (AsciiUpper(static_cast<unsigned char>(a[i])) !=
               AsciiUpper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
    i += len;
  }
  return true;
}

bool EqualNoCase(std::string_view a, std::string_view b, const CodePage& cp) {
  return a.size() == b.size() && cp.EqualNoCase(a.data(), b.data(), a.size());
}

}  // namespace cadenzio
