// A second, deliberately naive implementation of the caption pattern language,
// for the tests only: the pattern is parsed into a tree by its grammar and run
// by plain recursive backtracking, each item handed what must follow it. No
// program, hints or memory of tried states, so it is exponential on hostile
// patterns: keep subjects small, or give a step limit and treat gave_up() as
// "no verdict".
#pragma once

#include <array>
#include <bitset>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/code_page.h"

namespace cadenzio::test {

inline std::size_t ReferenceFindNoCase(std::string_view text, std::string_view literal) {
  for (std::size_t pos = 0; pos + literal.size() <= text.size(); ++pos)
    if (CodePage::Cp949().EqualNoCase(text.data() + pos, literal.data(), literal.size())) return pos;
  return std::string_view::npos;
}

class ReferenceMatcher {
 public:
  // step_limit < 0: no limit; otherwise Find() gives up after that many item tries.
  explicit ReferenceMatcher(long step_limit = -1) : step_limit_(step_limit) {}

  bool Compile(std::string_view pattern) {
    pattern_ = pattern.substr(0, pattern.find('\0'));
    at_ = 0, groups_ = 1;
    top_ = Item{.kind = kGroup};  // group 0, the whole match
    bool width = false;
    return compiled_ = Alternatives(top_.alternatives, width) && at_ == pattern_.size();
  }

  long Find(std::string_view subject) {
    found_.reset();
    gave_up_ = false, steps_ = 0;
    subject_ = subject.substr(0, subject.find('\0'));
    for (std::size_t pos = 0; compiled_ && pos <= subject_.size() && !gave_up_; ++pos) {
      trail_.clear();
      auto done = [&](std::size_t end) {
        bounds_.fill(-1);
        for (auto [slot, at] : trail_) bounds_[slot] = static_cast<long>(at);  // the last one wins
        match_ = pos;
        found_ = subject_.substr(pos, end - pos);
        return true;
      };
      if (Match(top_, pos, done)) return static_cast<long>(pos);
    }
    return -1;
  }
  bool gave_up() const { return gave_up_; }

  std::optional<std::string> Substitute(std::string_view templ) const {
    if (!found_) return std::nullopt;
    templ = templ.substr(0, templ.find('\0'));
    std::string out;
    for (std::size_t i = 0; i < templ.size(); ++i) {
      const char after = i + 1 < templ.size() ? templ[i + 1] : '\0';
      if (templ[i] == '&') out += Group(0);
      else if (templ[i] != '\\') out += templ[i];
      else if (after >= '0' && after <= '9') out += Group(after - '0'), ++i;
      else if (after == '\\' || after == '&') out += after, ++i;
      else out += '\\';
    }
    return out;
  }
  long GroupOffset(int n) const {
    return found_ && bounds_[2 * n] >= 0 ? bounds_[2 * n] - static_cast<long>(match_) : -1;
  }
  std::string_view Group(int n) const {
    const long start = bounds_[2 * n], end = bounds_[2 * n + 1];
    if (!found_ || start < 0 || end <= start) return {};
    return std::string_view(*found_).substr(static_cast<std::size_t>(start) - match_,
                                            static_cast<std::size_t>(end - start));
  }
  const std::string& found_text() const {
    static const std::string kNoText;
    return found_ ? *found_ : kNoText;
  }

 private:
  enum Kind { kBol, kEol, kAny, kSet, kLiteral, kGroup };
  struct Item {
    Kind kind;
    std::string literal;
    std::bitset<128> members;  // of a set: single-byte characters only
    bool negated = false;
    int group = 0;
    std::vector<std::vector<Item>> alternatives;
    char quantifier = 0;
    bool Simple() const { return kind == kAny || kind == kSet || (kind == kLiteral && literal.size() == 1); }
  };
  using Next = const std::function<bool(std::size_t)>&;  // what to match after an item, from a position
  static bool IsQuantifier(char c) { return c == '*' || c == '+' || c == '?'; }
  char Cur() const { return at_ < pattern_.size() ? pattern_[at_] : '\0'; }

  // Alternatives up to a ')' or the end; `width`: every one consumes a byte.
  bool Alternatives(std::vector<std::vector<Item>>& out, bool& width) {
    width = true;
    for (bool more = true; more; more = Cur() == '|' && ++at_ > 0) {
      std::vector<Item>& sequence = out.emplace_back();
      bool any = false;
      while (Cur() != '\0' && Cur() != '|' && Cur() != ')') {
        bool piece_width = false;
        if (!Piece(sequence.emplace_back(), piece_width)) return false;
        any = any || piece_width;
      }
      width = width && any;
    }
    return true;
  }

  bool Piece(Item& item, bool& width) {
    if (!Atom(item, width)) return false;
    if (!IsQuantifier(Cur())) return true;
    item.quantifier = pattern_[at_++];
    if (!width && item.quantifier != '?') return false;  // a repetition that may match nothing
    width = item.quantifier == '+';
    return !IsQuantifier(Cur());
  }

  bool Atom(Item& item, bool& width) {
    width = true;
    const char c = Cur();
    ++at_;
    switch (c) {
      case '\0': case '?': case '+': case '*': return false;
      case '^': item.kind = kBol, width = false; return true;
      case '$': item.kind = kEol, width = false; return true;
      case '.': item.kind = kAny; return true;
      case '[': return Set(item);
      case '(':
        if (groups_ > 9) return false;
        item.kind = kGroup, item.group = groups_++;
        if (!Alternatives(item.alternatives, width) || Cur() != ')') return false;
        ++at_;
        return true;
      case '\\':
        if (Cur() == '\0') return false;
        item.kind = kLiteral, item.literal = pattern_[at_++];
        return true;
      default: {  // a run up to a metacharacter, cut one byte short before a quantifier
        std::size_t end = --at_;
        while (end < pattern_.size() && !std::strchr("^$.[()|?+*\\", pattern_[end]))
          end += CodePage::Cp949().CharLength(pattern_, end);
        if (end - at_ > 1 && end < pattern_.size() && IsQuantifier(pattern_[end])) --end;
        item.kind = kLiteral, item.literal = pattern_.substr(at_, end - at_);
        at_ = end;
        return true;
      }
    }
  }

  bool Set(Item& item) {
    item.kind = kSet;
    item.negated = Cur() == '^';
    if (item.negated) ++at_;
    auto add = [&](int c) { if (c >= 0x01 && c <= 0x7F) item.members.set(static_cast<std::size_t>(c)); };
    if (Cur() == ']' || Cur() == '-') add(pattern_[at_++]);
    while (Cur() != '\0' && Cur() != ']') {
      if (pattern_[at_++] != '-') {
        add(pattern_[at_ - 1]);
      } else if (Cur() == ']' || Cur() == '\0') {
        add('-');
      } else {  // a range from the byte before the '-', bytes compared signed
        const int from = static_cast<signed char>(pattern_[at_ - 2]);
        const int to = static_cast<signed char>(pattern_[at_++]);
        if (from > to) return false;
        for (int b = from; b <= to; ++b) add(b);
      }
    }
    return Cur() == ']' && ++at_ > 0;
  }

  unsigned char Byte(std::size_t pos) const { return static_cast<unsigned char>(subject_[pos]); }
  bool IsMember(const Item& set, std::size_t pos) const { return Byte(pos) < 128 && set.members[Byte(pos)]; }

  bool Step() { return !(gave_up_ = gave_up_ || (step_limit_ >= 0 && ++steps_ > step_limit_)); }

  // The item with its quantifier from pos, then `next`.
  bool Match(const Item& item, std::size_t pos, Next next) {
    if (!Step()) return false;
    if (item.quantifier == 0) return Once(item, pos, next);
    if (item.quantifier == '?') return Once(item, pos, next) || next(pos);
    if (item.Simple()) {  // counted, then given back one byte at a time
      for (long n = Count(item, pos); n >= (item.quantifier == '+' ? 1 : 0); --n)
        if (next(pos + static_cast<std::size_t>(n))) return true;
      return false;
    }
    if (item.quantifier == '*') return Repeat(item, pos, next);
    return Once(item, pos, [&](std::size_t p) { return Repeat(item, p, next); });
  }
  // Another iteration before the rest.
  bool Repeat(const Item& item, std::size_t pos, Next next) {
    return Step() && (Once(item, pos, [&](std::size_t p) { return Repeat(item, p, next); }) || next(pos));
  }

  bool Once(const Item& item, std::size_t pos, Next next) {
    const std::size_t n = subject_.size();
    switch (item.kind) {
      case kBol: return pos == 0 && next(pos);
      case kEol: return pos == n && next(pos);
      case kAny: return pos < n && next(pos + 1);
      case kSet: return pos < n && IsMember(item, pos) != item.negated && next(pos + 1);
      case kLiteral:
        return pos + item.literal.size() <= n &&
               CodePage::Cp949().EqualNoCase(item.literal.data(), subject_.data() + pos, item.literal.size()) &&
               next(pos + item.literal.size());
      case kGroup: {
        auto close = [&](std::size_t end) {
          trail_.push_back({2 * item.group + 1, end});
          return next(end) || (trail_.pop_back(), false);
        };
        trail_.push_back({2 * item.group, pos});
        for (const std::vector<Item>& sequence : item.alternatives)
          if (Sequence(sequence, 0, pos, close)) return true;
        trail_.pop_back();
        return false;
      }
    }
    return false;
  }

  bool Sequence(const std::vector<Item>& items, std::size_t i, std::size_t pos, Next next) {
    if (i == items.size()) return next(pos);
    return Match(items[i], pos, [&](std::size_t p) { return Sequence(items, i + 1, p, next); });
  }

  // Bytes a simple item matches in a row; sets step over double-byte characters.
  long Count(const Item& item, std::size_t pos) const {
    const std::size_t n = subject_.size();
    std::size_t end = item.kind == kAny ? n : pos;
    while (item.kind == kLiteral && end < n &&
           AsciiUpper(Byte(end)) == AsciiUpper(static_cast<unsigned char>(item.literal[0])))
      ++end;
    while (item.kind == kSet && end < n) {
      const std::size_t length = CodePage::Cp949().CharLength(subject_, end);
      if ((length == 1 && IsMember(item, end)) == item.negated) break;
      end += length;
    }
    return static_cast<long>(end - pos);
  }

  std::string pattern_, subject_;
  std::size_t at_ = 0, match_ = 0;
  int groups_ = 1;
  bool compiled_ = false, gave_up_ = false;
  Item top_{.kind = kGroup};
  std::vector<std::pair<int, std::size_t>> trail_;  // group bounds set on the path tried
  std::array<long, 20> bounds_{};                    // start, end of each group; -1 unset
  std::optional<std::string> found_;
  long step_limit_, steps_ = 0;
};

}  // namespace cadenzio::test
