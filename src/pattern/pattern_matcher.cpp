// Compiler and matcher of the caption pattern language (see the header).
#include "pattern/pattern_matcher.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace cadenzio {
namespace {

// Node kinds of the compiled program.
enum Op : unsigned char {
  kEnd = 0,
  kBol = 1,
  kEol = 2,
  kAny = 3,
  kAnyOf = 4,
  kAnyBut = 5,
  kBranch = 6,
  kBack = 7,
  kExactly = 8,
  kNothing = 9,
  kStar = 10,
  kPlus = 11,
  kOpen = 20,   // kOpen + n, n = 1..9
  kClose = 30,  // kClose + n
};

// A node is its kind and a 32-bit link (forwards, or backwards for kBack;
// 0 = no next node), followed by its operand: for kExactly a 32-bit length
// and the literal bytes, for the sets a 128-bit membership map of the
// single-byte characters, for kStar/kPlus the node they repeat, for kBranch
// the first node of its alternative.
constexpr int kNodeSize = 5;
constexpr int kSetSize = 16;

constexpr std::string_view kMeta = "^$.[()|?+*\\";

// Item properties gathered while compiling.
constexpr int kWorst = 0;
constexpr int kHasWidth = 1;  // never matches the empty string
constexpr int kSimple = 2;    // always matches exactly one byte
constexpr int kSpStart = 4;   // starts with a repetition

bool IsRepeat(char c) { return c == '*' || c == '+' || c == '?'; }

int32_t ReadInt(const unsigned char* p) {
  int32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void WriteInt(unsigned char* p, int32_t v) { std::memcpy(p, &v, sizeof v); }

int Next(const unsigned char* prog, int node) {
  const int32_t link = ReadInt(prog + node + 1);
  if (link == 0) return -1;
  return prog[node] == kBack ? node - link : node + link;
}

int Next(const std::vector<unsigned char>& prog, int node) { return Next(prog.data(), node); }

bool SetHas(const unsigned char* set, unsigned char c) {
  return c < 0x80 && (set[c >> 3] >> (c & 7) & 1);
}

// Recursive-descent compiler in one pass over the pattern. It fails on the
// first syntax error; nesting depth is bounded by the nine groups.
class Compiler {
 public:
  Compiler(std::string_view pattern, const CodePage& cp) : pat_(pattern), cp_(cp) {}

  bool Run(std::vector<unsigned char>& prog, int& flags) {
    const int top = Reg(false, flags);
    if (top < 0) return false;
    prog = std::move(prog_);
    return true;
  }

 private:
  char Peek() const { return pos_ < pat_.size() ? pat_[pos_] : '\0'; }
  bool AtEnd() const { return pos_ >= pat_.size(); }

  int Node(Op op) {
    const int at = static_cast<int>(prog_.size());
    prog_.push_back(op);
    prog_.insert(prog_.end(), 4, 0);
    return at;
  }

  // Moves the item at `at` forward and puts a new node in front of it.
  void Insert(Op op, int at) {
    const unsigned char node[kNodeSize] = {op, 0, 0, 0, 0};
    prog_.insert(prog_.begin() + at, node, node + kNodeSize);
  }

  void Tail(int p, int val) {
    int scan = p;
    for (int next; (next = Next(prog_, scan)) >= 0;) scan = next;
    const int offset = prog_[scan] == kBack ? scan - val : val - scan;
    WriteInt(&prog_[scan + 1], offset);
  }

  // Links the end of the alternative of a BRANCH node.
  void OpTail(int p, int val) {
    if (p < 0 || prog_[p] != kBranch) return;
    Tail(p + kNodeSize, val);
  }

  int Reg(bool paren, int& flags) {
    flags = kHasWidth;
    int ret = -1;
    int group = 0;
    if (paren) {
      if (groups_ >= PatternMatcher::kMaxGroups) return -1;  // a tenth group
      group = groups_++;
      ret = Node(static_cast<Op>(kOpen + group));
    }
    int branch_flags;
    int br = Branch(branch_flags);
    if (br < 0) return -1;
    if (ret >= 0) Tail(ret, br);
    else ret = br;
    if (!(branch_flags & kHasWidth)) flags &= ~kHasWidth;
    flags |= branch_flags & kSpStart;
    while (Peek() == '|' && !AtEnd()) {
      ++pos_;
      br = Branch(branch_flags);
      if (br < 0) return -1;
      Tail(ret, br);
      if (!(branch_flags & kHasWidth)) flags &= ~kHasWidth;
      flags |= branch_flags & kSpStart;
    }
    const int ender = Node(paren ? static_cast<Op>(kClose + group) : kEnd);
    Tail(ret, ender);
    for (int b = ret; b >= 0; b = Next(prog_, b)) OpTail(b, ender);
    if (paren) {
      if (AtEnd() || pat_[pos_] != ')') return -1;  // '(' without ')'
      ++pos_;
    } else if (!AtEnd()) {
      return -1;  // a ')' without its '('
    }
    return ret;
  }

  int Branch(int& flags) {
    flags = kWorst;
    const int ret = Node(kBranch);
    int chain = -1;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      int piece_flags;
      const int latest = Piece(piece_flags);
      if (latest < 0) return -1;
      flags |= piece_flags & kHasWidth;
      if (chain < 0) flags |= piece_flags & kSpStart;
      else Tail(chain, latest);
      chain = latest;
    }
    if (chain < 0) Node(kNothing);
    return ret;
  }

  int Piece(int& flags) {
    int atom_flags;
    const int ret = Atom(atom_flags);
    if (ret < 0) return -1;
    const char op = Peek();
    if (AtEnd() || !IsRepeat(op)) {
      flags = atom_flags;
      return ret;
    }
    if (!(atom_flags & kHasWidth) && op != '?') return -1;  // x* with x possibly empty
    flags = op == '*' ? (kWorst | kSpStart) : op == '+' ? (kHasWidth | kSpStart) : kWorst;

    if (op == '*' && (atom_flags & kSimple)) {
      Insert(kStar, ret);
    } else if (op == '*') {
      // x* as (x&|): x then a loop back, or nothing.
      Insert(kBranch, ret);
      OpTail(ret, Node(kBack));
      OpTail(ret, ret);
      Tail(ret, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else if (op == '+' && (atom_flags & kSimple)) {
      Insert(kPlus, ret);
    } else if (op == '+') {
      // x+ as x(&|): x, then loop back to x, or nothing.
      const int next = Node(kBranch);
      Tail(ret, next);
      Tail(Node(kBack), ret);
      Tail(next, Node(kBranch));
      Tail(ret, Node(kNothing));
    } else {
      // x? as (x|).
      Insert(kBranch, ret);
      Tail(ret, Node(kBranch));
      const int next = Node(kNothing);
      Tail(ret, next);
      OpTail(ret, next);
    }
    ++pos_;
    if (!AtEnd() && IsRepeat(Peek())) return -1;  // a quantifier after another
    return ret;
  }

  int Set(int& flags) {
    const bool negated = Peek() == '^' && !AtEnd();
    if (negated) ++pos_;
    const int ret = Node(negated ? kAnyBut : kAnyOf);
    unsigned char set[kSetSize] = {};
    auto add = [&set](unsigned char c) {
      if (c < 0x80) set[c >> 3] |= static_cast<unsigned char>(1u << (c & 7));
    };
    if (!AtEnd() && (Peek() == ']' || Peek() == '-')) add(pat_[pos_++]);
    while (!AtEnd() && Peek() != ']') {
      if (Peek() == '-') {
        ++pos_;
        if (AtEnd() || Peek() == ']') {
          add('-');
        } else {
          // Range ends are compared as signed bytes.
          int from = static_cast<signed char>(pat_[pos_ - 2]) + 1;
          const int to = static_cast<signed char>(pat_[pos_]);
          if (from > to + 1) return -1;
          for (; from <= to; ++from) add(static_cast<unsigned char>(from));
          ++pos_;
        }
      } else {
        add(static_cast<unsigned char>(pat_[pos_++]));
      }
    }
    if (AtEnd()) return -1;  // '[' without ']'
    ++pos_;
    prog_.insert(prog_.end(), set, set + kSetSize);
    flags |= kHasWidth | kSimple;
    return ret;
  }

  int Literal(std::size_t len) {
    const int ret = Node(kExactly);
    unsigned char size[4];
    WriteInt(size, static_cast<int32_t>(len));
    prog_.insert(prog_.end(), size, size + 4);
    prog_.insert(prog_.end(), pat_.begin() + pos_, pat_.begin() + pos_ + len);
    pos_ += len;
    return ret;
  }

  int Atom(int& flags) {
    flags = kWorst;
    const char c = pat_[pos_++];
    switch (c) {
      case '^': return Node(kBol);
      case '$': return Node(kEol);
      case '.':
        flags |= kHasWidth | kSimple;
        return Node(kAny);
      case '[': return Set(flags);
      case '(': {
        int group_flags;
        const int ret = Reg(true, group_flags);
        if (ret < 0) return -1;
        flags |= group_flags & (kHasWidth | kSpStart);
        return ret;
      }
      case '|':
      case ')':
      case '?':
      case '+':
      case '*':
        return -1;  // a quantifier with nothing before it
      case '\\': {
        if (AtEnd()) return -1;
        flags |= kHasWidth | kSimple;
        return Literal(1);
      }
      default: {
        --pos_;
        // A run of ordinary bytes; a multibyte character never ends it.
        std::size_t end = pos_;
        while (end < pat_.size() && kMeta.find(pat_[end]) == std::string_view::npos)
          end += cp_.CharLength(pat_, end);
        std::size_t len = end - pos_;
        // A quantifier after the run applies to its last byte alone.
        if (len > 1 && end < pat_.size() && IsRepeat(pat_[end])) --len;
        flags |= kHasWidth;
        if (len == 1) flags |= kSimple;
        return Literal(len);
      }
    }
  }

  std::string_view pat_;
  const CodePage& cp_;
  std::size_t pos_ = 0;
  int groups_ = 1;
  std::vector<unsigned char> prog_;
};

}  // namespace

// One search of a compiled program over one subject: a backtracking
// interpreter with an explicit stack. Once the work of a search passes a
// small multiple of the subject length it starts remembering the (node,
// position) pairs it has entered at choice points; a pair entered again can
// only fail (nothing but the node and the position decide the outcome of the
// rest of the program), which bounds the search.
class PatternRunner {
 public:
  using Choice = PatternMatcher::Choice;
  using Span = PatternMatcher::Span;
  using Interval = PatternMatcher::Interval;

  PatternRunner(PatternMatcher& m, std::string_view subject)
      : prog_(m.program_.data()),
        s_(subject),
        n_(subject.size()),
        cp_(*m.cp_),
        memo_id_(m.memo_id_),
        memo_nodes_(m.memo_nodes_),
        visited_(m.scratch_.visited),
        spans_(m.scratch_.spans),
        tried_(m.scratch_.tried),
        stack_(m.scratch_.stack),
        trail_(m.scratch_.trail),
        generation_(++m.scratch_.generation) {
    visited_.clear();
    if (spans_.size() != static_cast<std::size_t>(memo_nodes_) || generation_ == 0) {
      spans_.assign(static_cast<std::size_t>(memo_nodes_), Span{});
      tried_.assign(static_cast<std::size_t>(memo_nodes_), Interval{});
      generation_ = m.scratch_.generation = 1;
    }
    budget_ = m.memo_threshold_ >= 0 ? m.memo_threshold_ : 256 + 8 * static_cast<long>(n_);
  }

  // Numbers the nodes where paths meet: choice points and the nodes after a
  // repetition.
  static int NumberMeetingNodes(const std::vector<unsigned char>& prog, std::vector<int>& ids) {
    ids.assign(prog.size(), -1);
    int count = 0;
    for (int node = 0; node < static_cast<int>(prog.size()); node += NodeLength(prog, node)) {
      const unsigned char op = prog[node];
      if (op != kBranch && op != kStar && op != kPlus) continue;
      if (ids[node] < 0) ids[node] = count++;
      const int next = Next(prog, node);
      if ((op == kStar || op == kPlus) && next >= 0 && ids[next] < 0) ids[next] = count++;
    }
    return count;
  }

  // Runs the program from position pos; on success fills the group offsets
  // (absolute positions) and returns true.
  bool Try(std::size_t pos, std::array<long, PatternMatcher::kMaxGroups>& starts,
           std::array<long, PatternMatcher::kMaxGroups>& ends) {
    trail_.clear();
    stack_.clear();
    std::size_t end;
    if (!Run(0, pos, end)) return false;
    starts.fill(-1);
    ends.fill(-1);
    for (const auto& [slot, at] : trail_) {
      if (slot < PatternMatcher::kMaxGroups) starts[slot] = static_cast<long>(at);
      else ends[slot - PatternMatcher::kMaxGroups] = static_cast<long>(at);
    }
    starts[0] = static_cast<long>(pos);
    ends[0] = static_cast<long>(end);
    return true;
  }

 private:
  static int NodeLength(const std::vector<unsigned char>& prog, int node) {
    switch (prog[node]) {
      case kExactly: return kNodeSize + 4 + ReadInt(&prog[node + kNodeSize]);
      case kAnyOf:
      case kAnyBut: return kNodeSize + kSetSize;
      default: return kNodeSize;
    }
  }

  unsigned char Byte(std::size_t pos) const {
    return pos < n_ ? static_cast<unsigned char>(s_[pos]) : 0;
  }

  bool Memoizing() const { return !visited_.empty(); }

  // True when (node, pos) was entered before; marks it otherwise.
  bool Seen(int node, std::size_t pos) {
    if (!Memoizing()) return false;
    const std::size_t bit = static_cast<std::size_t>(memo_id_[node]) * (n_ + 1) + pos;
    uint64_t& word = visited_[bit >> 6];
    const uint64_t mask = uint64_t{1} << (bit & 63);
    if (word & mask) return true;
    word |= mask;
    return false;
  }

  void Spend(long work) {
    budget_ -= work;
    if (budget_ < 0 && !Memoizing()) StartMemo();
  }

  [[gnu::noinline, gnu::cold]] void StartMemo() {
    const std::size_t bits = static_cast<std::size_t>(memo_nodes_) * (n_ + 1);
    visited_.assign(bits / 64 + 1, 0);
    for (Span& span : spans_) span.end_at.clear();
  }

  // Length of the run of bytes that the repeated node accepts from pos.
  // End of the run that a repeated node accepts from pos, scanned afresh.
  std::size_t Scan(unsigned char op, const unsigned char* operand, std::size_t pos) const {
    std::size_t end = pos;
    switch (op) {
      case kExactly: {
        const unsigned char c = AsciiUpper(operand[4]);
        while (end < n_ && AsciiUpper(Byte(end)) == c) ++end;
        break;
      }
      case kAnyOf:
        while (end < n_ && SetHas(operand, Byte(end))) ++end;
        break;
      case kAnyBut:
        while (end < n_ && !SetHas(operand, Byte(end))) end += cp_.CharLength(s_, end);
        break;
    }
    return end;
  }

  // Length of the run of bytes that the repeated node accepts from pos. A
  // short search scans; a long one remembers runs, since it may ask again
  // from every position inside one.
  std::size_t Repeat(int star, int node, std::size_t pos) {
    const unsigned char op = prog_[node];
    if (op == kAny) return n_ - pos;
    if (!Memoizing()) {
      const std::size_t end = Scan(op, &prog_[node + kNodeSize], pos);
      Spend(static_cast<long>(end - pos));
      return end - pos;
    }
    Span& span = spans_[memo_id_[star]];
    const bool negated = op == kAnyBut;
    if (span.generation != generation_) {
      span.generation = generation_;
      span.from = n_ + 1;  // empty
      span.end = 0;
      span.end_at.clear();
    }
    if (!negated && pos >= span.from && pos <= span.end) return span.end - pos;
    const unsigned char* operand = &prog_[node + kNodeSize];
    std::size_t end = pos;
    if (op == kExactly) {
      const unsigned char c = AsciiUpper(operand[4]);
      while (end < n_ && AsciiUpper(Byte(end)) == c) ++end;
    } else if (op == kAnyOf) {
      // Members are single-byte characters, so a byte-wise scan is a
      // character-wise one here.
      while (end < n_ && SetHas(operand, Byte(end))) ++end;
    } else if (op == kAnyBut) {
      if (Memoizing() && span.end_at.empty()) span.end_at.assign(n_ + 1, -1);
      std::vector<std::size_t> starts;
      while (end < n_) {
        if (!span.end_at.empty() && span.end_at[end] >= 0) {
          end = static_cast<std::size_t>(span.end_at[end]);
          break;
        }
        if (SetHas(operand, Byte(end))) break;
        if (!span.end_at.empty()) starts.push_back(end);
        end += cp_.CharLength(s_, end);
      }
      for (std::size_t at : starts) span.end_at[at] = static_cast<int32_t>(end);
      Spend(static_cast<long>(span.end_at.empty() ? end - pos : starts.size()));
      return end - pos;
    } else {
      return 0;
    }
    Spend(static_cast<long>(end - pos));
    span.from = pos;
    span.end = end;
    return end - pos;
  }

  // Whether count n of a repetition at pos is worth running the rest for:
  // the look-ahead byte agrees and (next, pos + n) has not failed before.
  // Records the position as tried either way.
  bool Candidate(int star, int next, std::size_t pos, long n, int lookahead) {
    const std::size_t at = pos + static_cast<std::size_t>(n);
    if (Memoizing()) {
      Interval& iv = tried_[memo_id_[star]];
      if (iv.generation != generation_ || at + 1 < iv.lo || at > iv.hi + 1) iv = {generation_, at, at};
      else iv.lo = std::min(iv.lo, at), iv.hi = std::max(iv.hi, at);
    }
    if (lookahead >= 0 && AsciiUpper(Byte(at)) != lookahead) return false;
    // A choice point remembers itself when it is entered.
    return MarksItself(next) || !Seen(next, at);
  }

  bool MarksItself(int node) const {
    const unsigned char op = prog_[node];
    if (op == kStar || op == kPlus) return true;
    const int next = Next(prog_, node);
    return op == kBranch && next >= 0 && prog_[next] == kBranch;
  }

  // Next count to try, from n downwards to min, or min - 1 when none is left.
  long NextCount(int star, int next, std::size_t pos, long n, long min, int lookahead) {
    if (!Memoizing()) {
      for (; n >= min; --n) {
        Spend(1);
        if (lookahead < 0 || AsciiUpper(Byte(pos + static_cast<std::size_t>(n))) == lookahead)
          return n;
      }
      return n;
    }
    for (; n >= min; --n) {
      Spend(1);
      const std::size_t at = pos + static_cast<std::size_t>(n);
      if (Memoizing()) {
        const Interval& iv = tried_[memo_id_[star]];
        if (iv.generation == generation_ && at >= iv.lo && at <= iv.hi) {
          // This stretch was tried by an earlier visit: jump below it.
          const long below = static_cast<long>(iv.lo) - static_cast<long>(pos) - 1;
          if (below < n) {
            n = below + 1;
            continue;
          }
        }
      }
      if (Candidate(star, next, pos, n, lookahead)) return n;
    }
    return n;
  }

  bool Run(int node, std::size_t pos, std::size_t& end) {
    for (;;) {
      bool ok = Step(node, pos, end);
      if (ok) return true;
      if (!Backtrack(node, pos)) return false;
    }
  }

  // Runs forward from (node, pos) until the program ends (true) or a node
  // fails (false), pushing a choice at every point that has alternatives.
  bool Step(int& node, std::size_t& pos, std::size_t& end) {
    for (;;) {
      if (node < 0) return false;
      Spend(1);
      const unsigned char op = prog_[node];
      int next = Next(prog_, node);
      const unsigned char* operand = &prog_[node + kNodeSize];
      switch (op) {
        case kEnd:
          end = pos;
          return true;
        case kBol:
          if (pos != 0) return false;
          break;
        case kEol:
          if (pos != n_) return false;
          break;
        case kAny:
          if (pos >= n_) return false;
          ++pos;
          break;
        case kAnyOf:
          if (pos >= n_ || !SetHas(operand, Byte(pos))) return false;
          ++pos;
          break;
        case kAnyBut:
          if (pos >= n_ || SetHas(operand, Byte(pos))) return false;
          ++pos;
          break;
        case kExactly: {
          const std::size_t len = static_cast<std::size_t>(ReadInt(operand));
          const char* lit = reinterpret_cast<const char*>(operand + 4);
          if (AsciiUpper(static_cast<unsigned char>(lit[0])) != AsciiUpper(Byte(pos)))
            return false;
          if (len > 1 && (pos + len > n_ || !cp_.EqualNoCase(lit, s_.data() + pos, len)))
            return false;
          pos += len;
          break;
        }
        case kNothing:
        case kBack:
          break;
        case kBranch:
          if (next < 0 || prog_[next] != kBranch) {
            next = node + kNodeSize;  // a single alternative: no choice
          } else {
            if (Seen(node, pos)) return false;
            stack_.push_back({next, pos, 0, trail_.size()});
            next = node + kNodeSize;
          }
          break;
        case kStar:
        case kPlus: {
          if (Seen(node, pos)) return false;
          const long min = op == kStar ? 0 : 1;
          const long count = static_cast<long>(Repeat(node, node + kNodeSize, pos));
          const int lookahead = Lookahead(next);
          const long n = NextCount(node, next, pos, count, min, lookahead);
          if (n < min) return false;
          if (n > min) stack_.push_back({node, pos, n - 1, trail_.size()});
          pos += static_cast<std::size_t>(n);
          break;
        }
        default:
          if (op > kOpen && op < kOpen + PatternMatcher::kMaxGroups) {
            trail_.emplace_back(op - kOpen, pos);
          } else if (op > kClose && op < kClose + PatternMatcher::kMaxGroups) {
            trail_.emplace_back(PatternMatcher::kMaxGroups + op - kClose, pos);
          } else {
            return false;  // unknown node
          }
          break;
      }
      node = next;
    }
  }

  int Lookahead(int next) const {
    if (next < 0 || prog_[next] != kExactly) return -1;
    return AsciiUpper(prog_[next + kNodeSize + 4]);
  }

  // Resumes the most recent choice that has an untried way left.
  bool Backtrack(int& node, std::size_t& pos) {
    while (!stack_.empty()) {
      Choice& c = stack_.back();
      trail_.resize(c.trail);
      const unsigned char op = prog_[c.node];
      if (op == kBranch) {
        const int alt = c.node;
        pos = c.pos;
        const int after = Next(prog_, alt);
        if (after >= 0 && prog_[after] == kBranch) c.node = after;
        else stack_.pop_back();
        node = alt + kNodeSize;
        return true;
      }
      // A repetition: give back bytes until the rest may follow.
      const long min = op == kStar ? 0 : 1;
      const int next = Next(prog_, c.node);
      const long n = NextCount(c.node, next, c.pos, c.next_count, min, Lookahead(next));
      if (n < min) {
        stack_.pop_back();
        continue;
      }
      pos = c.pos + static_cast<std::size_t>(n);
      if (n > min) c.next_count = n - 1;
      else stack_.pop_back();
      node = next;
      return true;
    }
    return false;
  }

  const unsigned char* prog_;  // the matcher's program, which outlives the runner
  std::string_view s_;
  std::size_t n_;
  const CodePage& cp_;
  const std::vector<int>& memo_id_;
  int memo_nodes_;
  std::vector<uint64_t>& visited_;
  std::vector<Span>& spans_;
  std::vector<Interval>& tried_;
  std::vector<Choice>& stack_;
  std::vector<std::pair<int, std::size_t>>& trail_;
  unsigned generation_;
  long budget_;
};

bool PatternMatcher::Compile(std::string_view pattern) {
  // The last match stays for Substitute(): compiling replaces only the program.
  program_.clear();
  hints_ = {};
  pattern = pattern.substr(0, pattern.find('\0'));
  Compiler compiler(pattern, *cp_);
  int flags = 0;
  std::vector<unsigned char> prog;
  if (!compiler.Run(prog, flags)) return false;
  program_ = std::move(prog);
  memo_nodes_ = PatternRunner::NumberMeetingNodes(program_, memo_id_);

  // Hints, only for a pattern of one top-level alternative.
  const int first = 0;  // the first BRANCH
  const int after = Next(program_, first);
  if (after >= 0 && program_[after] == kEnd) {
    int scan = first + kNodeSize;
    if (program_[scan] == kExactly) hints_.start_char = program_[scan + kNodeSize + 4];
    else if (program_[scan] == kBol) hints_.anchored = true;
    if (flags & kSpStart) {
      for (; scan >= 0; scan = Next(program_, scan)) {
        if (program_[scan] != kExactly) continue;
        const auto len = static_cast<std::size_t>(ReadInt(&program_[scan + kNodeSize]));
        if (len >= hints_.must.size())
          hints_.must.assign(reinterpret_cast<const char*>(&program_[scan + kNodeSize + 4]), len);
      }
    }
  }
  return true;
}

long PatternMatcher::Find(std::string_view subject) {
  matched_ = false;
  group_start_.fill(-1);
  group_end_.fill(-1);
  if (program_.empty()) return -1;
  subject = subject.substr(0, subject.find('\0'));
  if (!hints_.must.empty() && FindNoCase(subject, hints_.must, *cp_) == std::string_view::npos)
    return -1;
  PatternRunner runner(*this, subject);
  std::array<long, kMaxGroups> starts{}, ends{};
  auto attempt = [&](std::size_t pos) {
    if (!runner.Try(pos, starts, ends)) return false;
    const long base = static_cast<long>(pos);
    found_.assign(subject.substr(pos, static_cast<std::size_t>(ends[0]) - pos));
    matched_ = true;
    for (int i = 0; i < kMaxGroups; ++i) {
      group_start_[i] = starts[i] < 0 ? -1 : starts[i] - base;
      group_end_[i] = ends[i] < 0 ? -1 : ends[i] - base;
    }
    return true;
  };
  if (hints_.anchored) return attempt(0) ? 0 : -1;
  if (hints_.start_char != 0) {
    if (attempt(0)) return 0;
    const unsigned char c = AsciiUpper(hints_.start_char);
    for (std::size_t pos = 1; pos < subject.size(); ++pos) {
      if (AsciiUpper(static_cast<unsigned char>(subject[pos])) == c && attempt(pos))
        return static_cast<long>(pos);
    }
    return -1;
  }
  for (std::size_t pos = 0; pos <= subject.size(); ++pos) {
    if (attempt(pos)) return static_cast<long>(pos);
  }
  return -1;
}

std::string_view PatternMatcher::Group(int n) const {
  if (!matched_ || n < 0 || n >= kMaxGroups) return {};
  const long s = group_start_[n], e = group_end_[n];
  if (s < 0 || e < 0 || e <= s) return {};
  return std::string_view(found_).substr(static_cast<std::size_t>(s),
                                          static_cast<std::size_t>(e - s));
}

long PatternMatcher::GroupOffset(int n) const {
  if (!matched_ || n < 0 || n >= kMaxGroups) return -1;
  return group_start_[n];
}

const std::string& PatternMatcher::found_text() const {
  static const std::string kNone;
  return matched_ ? found_ : kNone;
}

std::optional<std::string> PatternMatcher::Substitute(std::string_view templ) const {
  if (!matched_) return std::nullopt;
  templ = templ.substr(0, templ.find('\0'));
  std::string out;
  for (std::size_t i = 0; i < templ.size(); ++i) {
    const char c = templ[i];
    int group = -1;
    if (c == '&') {
      group = 0;
    } else if (c == '\\' && i + 1 < templ.size() && templ[i + 1] >= '0' && templ[i + 1] <= '9') {
      group = templ[++i] - '0';
    } else if (c == '\\' && i + 1 < templ.size() && (templ[i + 1] == '\\' || templ[i + 1] == '&')) {
      out += templ[++i];
      continue;
    }
    if (group < 0) out += c;
    else out += Group(group);
  }
  return out;
}

std::size_t FindNoCase(std::string_view text, std::string_view literal, const CodePage& cp) {
  if (literal.empty()) return 0;
  if (literal.size() > text.size()) return std::string_view::npos;
  const unsigned char first = AsciiUpper(static_cast<unsigned char>(literal[0]));
  const unsigned char other = static_cast<unsigned char>(std::tolower(first));
  const std::size_t last = text.size() - literal.size();
  for (std::size_t pos = 0; pos <= last; ++pos) {
    // Jump to the next byte that may start the literal, in either case.
    const void* hit = std::memchr(text.data() + pos, first, last - pos + 1);
    std::size_t at = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
                         : std::string_view::npos;
    if (other != first) {
      const void* low = std::memchr(text.data() + pos, other, (hit ? at : last + 1) - pos);
      if (low) at = static_cast<std::size_t>(static_cast<const char*>(low) - text.data());
    }
    if (at == std::string_view::npos) return at;
    if (cp.EqualNoCase(text.data() + at, literal.data(), literal.size())) return at;
    pos = at;
  }
  return std::string_view::npos;
}

}  // namespace cadenzio
