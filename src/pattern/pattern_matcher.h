// The caption text matcher: a small regular-expression engine in Henry
// Spencer's design (a pattern compiles to a program of linked nodes; a
// backtracking matcher runs it), with three twists that caption files need:
// literal text ignores ASCII case while bracket sets do not, set spans step
// over multibyte characters as whole units, and Substitute() rebuilds text
// from the groups of the last match.
//
// Syntax: the metacharacters are ^ $ . [ ] ( ) | ? + * and backslash; a
// backslash quotes the next byte; ^ and $ match only at the ends of the whole
// subject; at most nine groups; alternation is leftmost-first and every
// quantifier greedy.
//
// Cost: the matcher runs on an explicit stack, so deep repetition never
// overflows the C++ stack, and once an attempt grows long it remembers which
// (node, position) pairs it has tried: every pair is explored at most once,
// so one Find() costs O(program size x subject length) at worst, whatever the
// pattern. tests/pattern/pattern_matcher_test.cpp checks it against a literal
// reference interpreter; pattern_matcher_stress_test.cpp covers the limits.
//
// A matcher is a value: it owns its program and the text of its last match.
// One caller at a time.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/code_page.h"

namespace cadenzio {

class PatternMatcher {
 public:
  static constexpr int kMaxGroups = 10;  // group 0 (whole match) and 1..9

  PatternMatcher() = default;
  explicit PatternMatcher(const CodePage& cp) : cp_(&cp) {}

  // Compiles a pattern; the pattern ends at its first NUL byte. On failure the
  // matcher has no program and every Find() gives -1.
  bool Compile(std::string_view pattern);
  bool compiled() const { return !program_.empty(); }

  // Byte offset of the leftmost match in subject, or -1. The subject ends at
  // its first NUL byte, which is where $ matches. A match leaves its groups
  // for Substitute() and Group(); a failed search leaves none.
  long Find(std::string_view subject);

  // New text from a template: & and \0 stand for the whole match, \1..\9 for
  // the groups, \\ and \& for the second byte. Groups that took no part in
  // the match, or matched nothing, give nothing. No value after a failed
  // search. The text is taken from a copy of the match, so the subject need
  // not outlive the search.
  std::optional<std::string> Substitute(std::string_view templ) const;

  // Text of group n of the last match ("" when unset): Substitute("\\n").
  std::string_view Group(int n) const;
  // Offset of group n's start from the match start, or -1 when unset.
  long GroupOffset(int n) const;
  bool matched() const { return matched_; }

  // Steps of work after which a search starts remembering what it tried
  // (default, -1: 256 + 8 per subject byte). Results never depend on it;
  // tests set 0 to run the remembering path on small inputs.
  void SetMemoThreshold(long steps) { memo_threshold_ = steps; }
  const std::string& found_text() const;

 private:
  struct Hints {
    unsigned char start_char = 0;   // first byte of the leading literal
    bool anchored = false;          // pattern begins with ^
    std::string must;               // literal every match contains
  };

  // Working memory of Find(), kept between searches to spare allocations.
  struct Choice {
    int node;           // BRANCH: next alternative to try; STAR/PLUS: the repetition
    std::size_t pos;    // where the choice was made
    long next_count;    // STAR/PLUS: the next count to try
    std::size_t trail;  // captures recorded before the choice
  };
  struct Span {  // the last run a repetition counted
    unsigned generation = 0;  // valid when equal to the search's
    std::size_t from = 0, end = 0;
    std::vector<int32_t> end_at;  // negated sets: span end from each character start
  };
  struct Interval {  // positions after a repetition already tried
    unsigned generation = 0;
    std::size_t lo = 0, hi = 0;
  };
  struct Scratch {
    unsigned generation = 0;  // one per search; stale spans and intervals are ignored
    std::vector<uint64_t> visited;
    std::vector<Span> spans;
    std::vector<Interval> tried;
    std::vector<Choice> stack;
    std::vector<std::pair<int, std::size_t>> trail;
  };

  const CodePage* cp_ = &CodePage::Cp949();
  std::vector<unsigned char> program_;
  std::vector<int> memo_id_;  // per program byte: number of a node where paths meet, or -1
  int memo_nodes_ = 0;
  long memo_threshold_ = -1;
  Hints hints_;
  Scratch scratch_;
  bool matched_ = false;
  std::string found_;  // text of the last match; its buffer is reused
  std::array<long, kMaxGroups> group_start_{};  // offsets from match start; -1 unset
  std::array<long, kMaxGroups> group_end_{};

  friend class PatternRunner;
};

// Position of the first occurrence of literal in text, comparing ASCII letters
// without case, or npos. An empty literal is found at 0.
std::size_t FindNoCase(std::string_view text, std::string_view literal,
                       const CodePage& cp = CodePage::Cp949());

}  // namespace cadenzio
