// The one place that knows how characters of a code page are laid out in bytes.
// The pattern matcher and the document step over multibyte text and compare
// letters without case only through this unit, so that another code page
// (UTF-8) needs no change to them.
#pragma once

#include <cstddef>
#include <string_view>

namespace cadenzio {

class CodePage {
 public:
  enum class Kind { Cp949, Utf8 };

  static const CodePage& Cp949();
  static const CodePage& Utf8();

  Kind kind() const { return kind_; }

  // Bytes taken by the character that starts at text[pos]: 1 for a single-byte
  // character, more for a complete multibyte one. A lead byte whose trail is
  // missing or invalid counts as one byte on its own, so a cut-off character
  // never swallows the byte after it (a '<', say). pos must be < text.size().
  std::size_t CharLength(std::string_view text, std::size_t pos) const {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) return 1;
    if (kind_ == Kind::Cp949) {
      if (c == 0x80 || c == 0xFF || pos + 1 >= text.size()) return 1;
      const auto t = static_cast<unsigned char>(text[pos + 1]);
      const bool trail = (t >= 0x41 && t <= 0x5A) || (t >= 0x61 && t <= 0x7A) || (t >= 0x81 && t <= 0xFE);
      return trail ? 2 : 1;
    }
    return MultibyteLength(text, pos);
  }

  // The analyser's limits are counted in the bytes a text takes in CP949, so
  // the same captions meet them at the same place in either code page: in
  // UTF-8 every complete multibyte character counts 2 (the CP949 size of
  // each non-ASCII character it holds), every other byte 1.
  std::size_t Cp949Width(std::string_view text) const {
    return kind_ == Kind::Cp949 ? text.size() : Utf8Width(text);
  }
  // Bytes of the characters of text that start within its first `width`
  // CP949 bytes. CP949 text is cut at exactly width bytes, which may part a
  // lead byte from its trail; UTF-8 text is never cut inside a character:
  // one that would be parted is taken whole and *overhang (when given) says
  // so, for the next piece starts one CP949 byte into it.
  std::size_t PrefixOfWidth(std::string_view text, std::size_t width,
                            bool* overhang = nullptr) const {
    if (kind_ == Kind::Cp949) {
      if (overhang) *overhang = false;
      return text.size() < width ? text.size() : width;
    }
    return Utf8PrefixOfWidth(text, width, overhang);
  }

  // Compares the first n bytes of a and b, folding only ASCII letters; a
  // multibyte character is compared exactly, as one unit. Both must hold at
  // least n bytes.
  bool EqualNoCase(const char* a, const char* b, std::size_t n) const;

 private:
  explicit constexpr CodePage(Kind kind) : kind_(kind) {}
  std::size_t MultibyteLength(std::string_view text, std::size_t pos) const;
  std::size_t Utf8Width(std::string_view text) const;
  std::size_t Utf8PrefixOfWidth(std::string_view text, std::size_t width, bool* overhang) const;
  Kind kind_;
};

constexpr unsigned char AsciiUpper(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// Case-ignoring equality of two byte strings under a code page (whole strings).
bool EqualNoCase(std::string_view a, std::string_view b,
                 const CodePage& cp = CodePage::Cp949());

}  // namespace cadenzio
