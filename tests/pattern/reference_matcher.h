// A deliberately naive second implementation of the caption pattern language,
// used only by the tests to check PatternMatcher, with the same outward
// interface. It follows Henry Spencer's design to the letter: two compile
// passes (measure, then emit) into a byte program of three-byte nodes with
// 16-bit links and NUL-terminated operands, run by a plainly recursive
// matcher. Nothing here is clever, so it is exponential on hostile patterns
// and deep on long subjects: keep subjects small, or give a step limit and
// treat gave_up() as "no verdict".
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/code_page.h"

namespace cadenzio::test {

// First occurrence of literal in text, ASCII letters compared without case.
inline std::size_t ReferenceFindNoCase(std::string_view text, std::string_view literal) {
  if (literal.empty()) return 0;
  if (literal.size() > text.size()) return std::string_view::npos;
  const CodePage& cp = CodePage::Cp949();
  for (std::size_t pos = 0; pos + literal.size() <= text.size(); ++pos) {
    if (AsciiUpper(static_cast<unsigned char>(text[pos])) ==
            AsciiUpper(static_cast<unsigned char>(literal[0])) &&
        cp.EqualNoCase(text.data() + pos, literal.data(), literal.size()))
      return pos;
  }
  return std::string_view::npos;
}

class ReferenceMatcher {
 public:
  // step_limit < 0: no limit. Otherwise Find() gives up (returns -1 with
  // gave_up() set) after that many node visits.
  explicit ReferenceMatcher(long step_limit = -1) : step_limit_(step_limit) {}

  bool Compile(std::string_view pattern) {
    compiled_ = false;
    pattern_.assign(pattern.substr(0, pattern.find('\0')));
    int flags = 0;
    // Measuring pass: nodes go to the scratch node, only the size counts.
    emit_ = false;
    parse_ = 0;
    npar_ = 1;
    size_ = 0;
    if (Reg(false, flags) == kFail) return false;
    if (size_ >= 0x7FFF) return false;  // out of reach of a 16-bit link
    // Emitting pass into a program of exactly the measured size.
    program_.assign(static_cast<std::size_t>(size_), 0);
    emit_ = true;
    parse_ = 0;
    npar_ = 1;
    code_ = 0;
    if (Reg(false, flags) == kFail || code_ != size_) return false;  // passes disagree: a bug here
    // Hints, from a single top-level alternative only.
    start_ = 0;
    anchored_ = false;
    must_ = kNone;
    if (Op(Next(0)) == kEnd) {
      int scan = Operand(0);
      if (Op(scan) == kExactly) start_ = program_[Operand(scan)];
      else if (Op(scan) == kBol) anchored_ = true;
      if (flags & kSpStart) {
        std::size_t longest = 0;
        for (; scan != kNone; scan = Next(scan)) {
          if (Op(scan) != kExactly) continue;
          const std::size_t len = std::strlen(OperandText(scan));
          if (len >= longest) must_ = scan, longest = len;
        }
      }
    }
    compiled_ = true;
    return true;
  }

  long Find(std::string_view subject) {
    found_.reset();
    gave_up_ = false;
    steps_ = 0;
    if (!compiled_) return -1;
    subject_.assign(subject.substr(0, subject.find('\0')));
    if (must_ != kNone &&
        ReferenceFindNoCase(subject_, OperandText(must_)) == std::string_view::npos)
      return -1;
    const std::size_t n = subject_.size();
    if (anchored_) return Try(0) ? 0 : -1;
    if (start_ != 0) {
      if (Try(0)) return 0;
      for (std::size_t pos = 1; pos < n && !gave_up_; ++pos) {
        if (AsciiUpper(Subject(pos)) == AsciiUpper(start_) && Try(pos))
          return static_cast<long>(pos);
      }
      return -1;
    }
    for (std::size_t pos = 0; pos <= n && !gave_up_; ++pos) {
      if (Try(pos)) return static_cast<long>(pos);
    }
    return -1;
  }

  bool gave_up() const { return gave_up_; }

  std::optional<std::string> Substitute(std::string_view templ) const {
    if (!found_) return std::nullopt;
    templ = templ.substr(0, templ.find('\0'));
    std::string out;
    for (std::size_t i = 0; i < templ.size(); ++i) {
      char c = templ[i];
      const char after = i + 1 < templ.size() ? templ[i + 1] : '\0';
      int no = -1;
      if (c == '&') {
        no = 0;
      } else if (c == '\\' && after >= '0' && after <= '9') {
        no = after - '0';
        ++i;
      }
      if (no < 0) {
        if (c == '\\' && (after == '\\' || after == '&')) c = after, ++i;
        out += c;
      } else {
        out += Group(no);
      }
    }
    return out;
  }

  // Offset of group n's start from the start of the match, or -1 when unset.
  long GroupOffset(int n) const {
    if (!found_ || starts_[n] < 0) return -1;
    return starts_[n] - static_cast<long>(match_);
  }
  // Text of group n, "" when unset or empty; taken from the found text.
  std::string_view Group(int n) const {
    if (!found_ || starts_[n] < 0 || ends_[n] < 0 || ends_[n] <= starts_[n]) return {};
    return std::string_view(*found_).substr(static_cast<std::size_t>(starts_[n]) - match_,
                                            static_cast<std::size_t>(ends_[n] - starts_[n]));
  }
  const std::string& found_text() const {
    static const std::string kNoText;
    return found_ ? *found_ : kNoText;
  }

 private:
  // Node kinds.
  static constexpr unsigned char kEnd = 0, kBol = 1, kEol = 2, kAny = 3, kAnyOf = 4,
                                 kAnyBut = 5, kBranch = 6, kBack = 7, kExactly = 8,
                                 kNothing = 9, kStar = 10, kPlus = 11, kOpen = 20, kClose = 30;
  static constexpr int kHasWidth = 1, kSimple = 2, kSpStart = 4;
  static constexpr int kNone = -1;     // no node
  static constexpr int kScratch = -2;  // the scratch node of the measuring pass
  static constexpr int kFail = -3;     // a syntax error

  static bool IsMult(char c) { return c == '*' || c == '+' || c == '?'; }
  static int Operand(int p) { return p + 3; }

  unsigned char Op(int p) const { return p < 0 ? kNothing : program_[p]; }
  const char* OperandText(int p) const {
    return reinterpret_cast<const char*>(&program_[Operand(p)]);
  }
  int Next(int p) const {
    if (p < 0) return kNone;
    const auto offset = static_cast<int16_t>(program_[p + 1] | program_[p + 2] << 8);
    if (offset == 0) return kNone;
    return Op(p) == kBack ? p - offset : p + offset;
  }

  char Cur() const { return pattern_.c_str()[parse_]; }
  void Emit(unsigned char b) {
    if (emit_) program_.at(static_cast<std::size_t>(code_++)) = b;
    else ++size_;
  }
  int Node(unsigned char op) {
    if (!emit_) {
      size_ += 3;
      return kScratch;
    }
    const int at = code_;
    Emit(op), Emit(0), Emit(0);
    return at;
  }
  void Insert(unsigned char op, int opnd) {
    if (!emit_) {
      size_ += 3;
      return;
    }
    program_.at(static_cast<std::size_t>(code_ + 2));  // room for three more bytes
    std::memmove(&program_[opnd + 3], &program_[opnd], static_cast<std::size_t>(code_ - opnd));
    code_ += 3;
    program_[opnd] = op;
    program_[opnd + 1] = program_[opnd + 2] = 0;
  }
  void Tail(int p, int val) {
    if (p < 0) return;  // the scratch node keeps its zero link
    int scan = p;
    for (int t; (t = Next(scan)) != kNone;) scan = t;
    const int offset = Op(scan) == kBack ? scan - val : val - scan;
    program_[scan + 1] = static_cast<unsigned char>(offset & 0xFF);
    program_[scan + 2] = static_cast<unsigned char>((offset >> 8) & 0xFF);
  }
  void OpTail(int p, int val) {
    if (p < 0 || Op(p) != kBranch) return;
    Tail(Operand(p), val);
  }
  void Member(unsigned char c) {
    if (c >= 0x01 && c <= 0x7F) Emit(c);  // set members are single-byte characters
  }

  int Reg(bool paren, int& flags) {
    flags = kHasWidth;
    int ret = kNone, parno = 0, branch_flags = 0;
    if (paren) {
      if (npar_ >= 10) return kFail;
      parno = npar_++;
      ret = Node(static_cast<unsigned char>(kOpen + parno));
    }
    int br = Branch(branch_flags);
    if (br == kFail) return kFail;
    if (ret != kNone) Tail(ret, br);
    else ret = br;
    if (!(branch_flags & kHasWidth)) flags &= ~kHasWidth;
    flags |= branch_flags & kSpStart;
    while (Cur() == '|') {
      ++parse_;
      br = Branch(branch_flags);
      if (br == kFail) return kFail;
      Tail(ret, br);
      if (!(branch_flags & kHasWidth)) flags &= ~kHasWidth;
      flags |= branch_flags & kSpStart;
    }
    const int ender = Node(paren ? static_cast<unsigned char>(kClose + parno) : kEnd);
    Tail(ret, ender);
    for (int br2 = ret; br2 != kNone; br2 = Next(br2)) OpTail(br2, ender);
    if (paren) {
      if (Cur() != ')') return kFail;
      ++parse_;
    } else if (Cur() != '\0') {
      return kFail;
    }
    return ret;
  }

  int Branch(int& flags) {
    flags = 0;
    const int ret = Node(kBranch);
    int chain = kNone;
    while (Cur() != '\0' && Cur() != '|' && Cur() != ')') {
      int piece_flags = 0;
      const int latest = Piece(piece_flags);
      if (latest == kFail) return kFail;
      flags |= piece_flags & kHasWidth;
      if (chain == kNone) flags |= piece_flags & kSpStart;
      else Tail(chain, latest);
      chain = latest;
    }
    if (chain == kNone) Node(kNothing);
    return ret;
  }

  int Piece(int& flags) {
    int atom_flags = 0;
    int ret = Atom(atom_flags);
    if (ret == kFail) return kFail;
    const char op = Cur();
    if (!IsMult(op)) {
      flags = atom_flags;
      return ret;
    }
    if (!(atom_flags & kHasWidth) && op != '?') return kFail;
    flags = op == '*' ? kSpStart : op == '+' ? (kHasWidth | kSpStart) : 0;
    if (op == '*' && (atom_flags & kSimple)) {
      Insert(kStar, ret);
    } else if (op == '*') {
      Insert(kBranch, ret);
      OpTail(ret, Node(kBack));
      OpTail(ret, ret);
      Tail(ret, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else if (op == '+' && (atom_flags & kSimple)) {
      Insert(kPlus, ret);
    } else if (op == '+') {
      const int next = Node(kBranch);
      Tail(ret, next);
      Tail(Node(kBack), ret);
      Tail(next, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else {
      Insert(kBranch, ret);
      Tail(ret, Node(kBranch));
      const int next = Node(kNothing);
      Tail(ret, next);
      OpTail(ret, next);
    }
    ++parse_;
    if (IsMult(Cur())) return kFail;
    return ret;
  }

  int Atom(int& flags) {
    flags = 0;
    const char c = pattern_[parse_++];
    switch (c) {
      case '^': return Node(kBol);
      case '$': return Node(kEol);
      case '.':
        flags |= kHasWidth | kSimple;
        return Node(kAny);
      case '[': {
        const bool negated = Cur() == '^';
        if (negated) ++parse_;
        const int ret = Node(negated ? kAnyBut : kAnyOf);
        if (Cur() == ']' || Cur() == '-') Member(static_cast<unsigned char>(pattern_[parse_++]));
        while (Cur() != '\0' && Cur() != ']') {
          if (Cur() != '-') {
            Member(static_cast<unsigned char>(pattern_[parse_++]));
            continue;
          }
          ++parse_;
          if (Cur() == ']' || Cur() == '\0') {
            Member('-');
          } else {
            int from = static_cast<signed char>(pattern_[parse_ - 2]) + 1;
            const int to = static_cast<signed char>(pattern_[parse_]);
            if (from > to + 1) return kFail;
            for (; from <= to; ++from) Member(static_cast<unsigned char>(from));
            ++parse_;
          }
        }
        if (Cur() != ']') return kFail;
        ++parse_;
        Emit(0);
        flags |= kHasWidth | kSimple;
        return ret;
      }
      case '(': {
        int group_flags = 0;
        const int ret = Reg(true, group_flags);
        if (ret == kFail) return kFail;
        flags |= group_flags & (kHasWidth | kSpStart);
        return ret;
      }
      case '\0': case '|': case ')': case '?': case '+': case '*':
        return kFail;
      case '\\': {
        if (Cur() == '\0') return kFail;
        const int ret = Node(kExactly);
        Emit(static_cast<unsigned char>(pattern_[parse_++]));
        Emit(0);
        flags |= kHasWidth | kSimple;
        return ret;
      }
      default: {
        --parse_;
        // The run ends at the first metacharacter, stepping by characters.
        const std::string_view pat(pattern_);
        std::size_t end = parse_;
        while (end < pat.size() && !std::strchr("^$.[()|?+*\\", pat[end]))
          end += CodePage::Cp949().CharLength(pat, end);
        std::size_t len = end - parse_;
        if (len > 1 && IsMult(pattern_.c_str()[end])) --len;
        flags |= kHasWidth;
        if (len == 1) flags |= kSimple;
        const int ret = Node(kExactly);
        for (std::size_t i = 0; i < len; ++i) Emit(static_cast<unsigned char>(pattern_[parse_++]));
        Emit(0);
        return ret;
      }
    }
  }

  unsigned char Subject(std::size_t pos) const {
    return static_cast<unsigned char>(subject_.c_str()[pos]);
  }
  bool IsMember(int set, unsigned char c) const {
    return c != 0 && std::strchr(OperandText(set), c) != nullptr;
  }

  bool Try(std::size_t pos) {
    starts_.fill(-1);
    ends_.fill(-1);
    input_ = pos;
    if (!Match(0)) return false;
    starts_[0] = static_cast<long>(pos);
    ends_[0] = static_cast<long>(input_);
    match_ = pos;
    found_ = subject_.substr(pos, input_ - pos);
    return true;
  }

  bool Match(int scan) {
    while (scan != kNone) {
      if (step_limit_ >= 0 && ++steps_ > step_limit_) gave_up_ = true;
      if (gave_up_) return false;
      int next = Next(scan);
      const unsigned char op = Op(scan);
      switch (op) {
        case kEnd: return true;
        case kBol:
          if (input_ != 0) return false;
          break;
        case kEol:
          if (Subject(input_) != 0) return false;
          break;
        case kAny:
          if (Subject(input_) == 0) return false;
          ++input_;
          break;
        case kAnyOf:
        case kAnyBut:
          if (Subject(input_) == 0 || IsMember(scan, Subject(input_)) != (op == kAnyOf))
            return false;
          ++input_;
          break;
        case kExactly: {
          const char* lit = OperandText(scan);
          const std::size_t len = std::strlen(lit);
          if (AsciiUpper(static_cast<unsigned char>(lit[0])) != AsciiUpper(Subject(input_)))
            return false;
          if (len > 1 && (input_ + len > subject_.size() ||
                          !CodePage::Cp949().EqualNoCase(lit, subject_.data() + input_, len)))
            return false;
          input_ += len;
          break;
        }
        case kNothing: case kBack: break;
        case kBranch:
          if (Op(next) != kBranch) {
            next = Operand(scan);  // a single alternative: no choice
            break;
          }
          do {
            const std::size_t save = input_;
            if (Match(Operand(scan))) return true;
            input_ = save;
            scan = Next(scan);
          } while (scan != kNone && Op(scan) == kBranch);
          return false;
        case kStar:
        case kPlus: {
          int lookahead = -1;
          if (next != kNone && Op(next) == kExactly)
            lookahead = AsciiUpper(static_cast<unsigned char>(OperandText(next)[0]));
          const long min = op == kStar ? 0 : 1;
          const std::size_t save = input_;
          for (long no = Repeat(Operand(scan)); no >= min; --no) {
            input_ = save + static_cast<std::size_t>(no);
            if (lookahead >= 0 && AsciiUpper(Subject(input_)) != lookahead) continue;
            if (Match(next)) return true;
          }
          return false;
        }
        default: {  // OPEN n, CLOSE n: set on the way back, so the last iteration wins
          const bool open = op > kOpen && op < kOpen + 10;
          if (!open && !(op > kClose && op < kClose + 10)) return false;
          const std::size_t save = input_;
          if (!Match(next)) return false;
          long& at = open ? starts_[op - kOpen] : ends_[op - kClose];
          if (at < 0) at = static_cast<long>(save);
          return true;
        }
      }
      scan = next;
    }
    return false;
  }

  // How many bytes from the input position the node p matches in a row.
  long Repeat(int p) const {
    const CodePage& cp = CodePage::Cp949();
    std::size_t pos = input_;
    const std::size_t n = subject_.size();
    switch (Op(p)) {
      case kAny:
        pos = n;
        break;
      case kExactly:
        while (pos < n && AsciiUpper(Subject(pos)) ==
                              AsciiUpper(static_cast<unsigned char>(OperandText(p)[0])))
          ++pos;
        break;
      case kAnyOf:  // a double-byte character is never a member
        while (pos < n && cp.CharLength(subject_, pos) == 1 && IsMember(p, Subject(pos))) ++pos;
        break;
      case kAnyBut:
        while (pos < n) {
          const std::size_t len = cp.CharLength(subject_, pos);
          if (len == 1 && IsMember(p, Subject(pos))) break;
          pos += len;
        }
        break;
      default:
        break;
    }
    return static_cast<long>(pos - input_);
  }

  // compiled state
  bool compiled_ = false, anchored_ = false;
  std::vector<unsigned char> program_;
  unsigned char start_ = 0;
  int must_ = kNone;
  // compile-time state
  bool emit_ = false;
  std::string pattern_;
  std::size_t parse_ = 0;
  int npar_ = 1, code_ = 0, size_ = 0;
  // match-time state
  std::string subject_;
  std::size_t input_ = 0, match_ = 0;
  std::array<long, 10> starts_{}, ends_{};
  std::optional<std::string> found_;
  long step_limit_, steps_ = 0;
  bool gave_up_ = false;
};

}  // namespace cadenzio::test
