#include "sami/sami_tags.h"

#include "pattern/code_page.h"

namespace cadenzio {
namespace {

// A cursor over the text as the patterns see it.
class Cursor {
 public:
  // A NUL byte ends the text; no test below accepts a NUL, so only the run
  // to the next tag needs to look for one.
  explicit Cursor(std::string_view text) : s_(text) {}

  bool Byte(char c) {
    if (pos_ < s_.size() && s_[pos_] == c) return ++pos_, true;
    return false;
  }
  // A literal in any ASCII case.
  bool Word(std::string_view upper) {
    if (s_.size() - pos_ < upper.size()) return false;
    for (std::size_t i = 0; i < upper.size(); ++i)
      if (AsciiUpper(static_cast<unsigned char>(s_[pos_ + i])) != upper[i]) return false;
    pos_ += upper.size();
    return true;
  }
  std::size_t Blanks() {
    const std::size_t from = pos_;
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    return pos_ - from;
  }
  template <typename Pred>
  std::size_t While(Pred pred) {
    const std::size_t from = pos_;
    while (pos_ < s_.size() && pred(s_[pos_])) ++pos_;
    return pos_ - from;
  }
  // [^<]*: a '<' is never the second byte of a double-byte character, so
  // the run ends at the first '<' byte.
  void ToNextTag() {
    std::size_t end = s_.find('<', pos_);
    if (end == std::string_view::npos) end = s_.size();
    const std::size_t nul = s_.substr(0, end).find('\0', pos_);
    pos_ = nul == std::string_view::npos ? end : nul;
  }
  std::size_t pos() const { return pos_; }
  std::string_view Slice(std::size_t from, std::size_t to) const { return s_.substr(from, to - from); }

 private:
  std::string_view s_;
  std::size_t pos_ = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "[ \t]*>[^<]*" and the always-matching ".*$" after it.
std::size_t CloseAndText(Cursor& c) {
  c.Blanks();
  if (!c.Byte('>')) return 0;
  c.ToNextTag();
  return c.pos();
}

}  // namespace

TagMatch MatchSyncTag(std::string_view text) {
  Cursor c(text);
  if (!c.Byte('<')) return {};
  c.Blanks();
  if (!c.Word("SYNC") || c.Blanks() == 0 || !c.Word("START")) return {};
  c.Blanks();
  if (!c.Byte('=')) return {};
  c.Blanks();
  const std::size_t value_from = c.pos();
  c.Byte('-');
  if (c.While(IsDigit) == 0) return {};
  std::size_t value_to = c.pos();
  // The first alternative needs the close right after the digits; the
  // second takes "MS" before it.
  Cursor after_digits = c;
  std::size_t end = CloseAndText(c);
  if (end == 0) {
    c = after_digits;
    if (!c.Word("MS")) return {};
    value_to = c.pos();
    end = CloseAndText(c);
    if (end == 0) return {};
  }
  return {end, c.Slice(value_from, value_to)};
}

TagMatch MatchClassParagraph(std::string_view text) {
  Cursor c(text);
  if (!c.Byte('<')) return {};
  c.Blanks();
  if (!c.Word("P") || c.Blanks() == 0 || !c.Word("CLASS")) return {};
  c.Blanks();
  if (!c.Byte('=')) return {};
  c.Blanks();
  const std::size_t name_from = c.pos();
  if (c.While(IsLetter) == 0) return {};
  const std::size_t name_to = c.pos();
  const std::size_t end = CloseAndText(c);
  if (end == 0) return {};
  return {end, c.Slice(name_from, name_to)};
}

bool MatchNbspParagraph(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  Cursor c(text);
  auto line_blanks = [](char b) { return b == ' ' || b == '\t' || b == '\r' || b == '\n'; };
  if (!c.Byte('<')) return false;
  c.Blanks();
  if (!c.Word("P")) return false;
  // [^>]*> ends at the first '>'.
  c.While([](char b) { return b != '>'; });
  if (!c.Byte('>')) return false;
  c.While(line_blanks);
  if (!c.Word("&NBSP;")) return false;
  c.While(line_blanks);
  // The optional tag: if the rest is not all blanks it must be one tag, as
  // nothing but blanks may follow it.
  if (c.Byte('<')) {
    if (!c.Word("SPANID") && !c.Word("FONT")) return false;
    c.While([](char b) { return b != '>'; });
    if (!c.Byte('>')) return false;
    c.While(line_blanks);
  }
  return c.pos() == text.size();
}

}  // namespace cadenzio
