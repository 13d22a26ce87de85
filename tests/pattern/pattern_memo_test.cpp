// The remembering path of the matcher, checked against the ordinary path: a
// matcher told to remember tried (node, position) pairs from its first step
// must find exactly what a default matcher finds, on many small random
// patterns and subjects.
#include "pattern/pattern_matcher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cadenzio {
namespace {

// Printable form of a byte string for failure messages.
std::string Escaped(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '"') {
      out += "\\\"";
    } else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// Small random patterns and subjects over a few bytes.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  std::string Literal() {
    static const char* const kLiterals[] = {"a", "b", "x", ".", "\n", "<", ">", "\xB0\xA1"};
    return kLiterals[Pick(8)];
  }

  std::string Subject() {
    const int len = Pick(41);
    std::string s;
    while (static_cast<int>(s.size()) < len) {
      // Mostly a, b, x so that patterns built from them find something.
      if (Pick(3) != 0) {
        s += "abx"[Pick(3)];
      } else {
        s += Literal();
      }
    }
    return s;
  }

  // Either a well-formed pattern from a small grammar or a raw token soup
  // (which may or may not compile).
  std::string Pattern() {
    for (;;) {
      std::string p = Pick(5) == 0 ? Soup() : Grammar();
      // A pattern with no choice to make says little about remembered
      // choices; keep only a few of those.
      if (p.find_first_of("*+?|") != std::string::npos || Pick(5) == 0) return p;
    }
  }

 private:
  std::string Atom(int depth) {
    switch (Pick(depth < 2 ? 10 : 8)) {
      case 0:
      case 1:
      case 2:
        return std::string(1, "abx"[Pick(3)]);
      case 3:
        return ".";
      case 4: {
        const std::string lit = Literal();
        if (lit == ".") return "\\.";
        return lit;
      }
      case 5: {
        static const char* const kSets[] = {"[ab]", "[^<]", "[\n.]", "[^a]", "[x]", "[^\xB0\xA1]",
                                            "[a-b]", "[<>]", "[\xB0\xA1x]", "[^\n]"};
        return kSets[Pick(10)];
      }
      case 6: {
        static const char* const kQuoted[] = {"\\(", "\\)", "\\|", "\\*", "\\+", "\\?",
                                              "\\[", "\\]", "\\^", "\\$", "\\\\", "\\a"};
        return kQuoted[Pick(12)];
      }
      case 7:
        return std::string(1, "abx"[Pick(3)]);
      default:
        return "(" + Alternation(depth + 1) + ")";
    }
  }

  std::string Piece(int depth) {
    std::string a = Atom(depth);
    switch (Pick(7)) {
      case 0:
        return a + "*";
      case 1:
        return a + "+";
      case 2:
        return a + "?";
      default:
        return a;
    }
  }

  std::string Concatenation(int depth) {
    std::string s;
    const int n = Pick(5);  // 0..4 pieces; empty branches allowed
    for (int i = 0; i < n; ++i) s += Piece(depth);
    return s;
  }

  std::string Alternation(int depth) {
    std::string s = Concatenation(depth);
    while (Pick(depth == 0 ? 4 : 3) == 0) s += "|" + Concatenation(depth);
    return s;
  }

  std::string Soup() {
    static const char* const kTokens[] = {
        "a", "b", "x", ".", "\n", "<", ">", "\xB0\xA1", "(", ")", "|", "?", "*", "+",
        "[", "]", "^", "$", "\\", "[ab]", "[^<]", "[\n.]", "\\.", "a", "b", "x"};
    constexpr int kCount = sizeof kTokens / sizeof kTokens[0];
    std::string s;
    const int n = 1 + Pick(10);
    for (int i = 0; i < n; ++i) s += kTokens[Pick(kCount)];
    return s;
  }

  std::string Grammar() {
    std::string p;
    if (Pick(4) == 0) p += '^';
    p += Alternation(0);
    if (Pick(4) == 0) p += '$';
    return p;
  }

  std::mt19937 rng_;
};

TEST(PatternMemoTest, RememberingFromTheFirstStepFindsTheSameMatches) {
  Generator gen(20240611u);
  constexpr int kPatterns = 20000;
  constexpr int kSubjectsPerPattern = 1;
  int compiled = 0, found = 0, failures = 0;
  // A few known shapes first, then random ones.
  const std::vector<std::pair<std::string, std::string>> fixed = {
      {"^.*x+", "ax"}, {"a*b+x?", "aabbx"}, {"(a|ab)*(b+)", "abab"}, {"(.*)(x*)x", "axxx"}};

  for (int i = 0; i < static_cast<int>(fixed.size()) + kPatterns && failures < 20; ++i) {
    const bool known = i < static_cast<int>(fixed.size());
    const std::string pattern = known ? fixed[i].first : gen.Pattern();
    PatternMatcher fresh;
    if (!fresh.Compile(pattern)) {
      EXPECT_FALSE(known) << "pattern " << Escaped(pattern);
      continue;
    }
    ++compiled;
    // Two copies of one freshly compiled matcher: the same program, at a
    // fraction of the cost of compiling it twice.
    PatternMatcher plain = fresh, memo = std::move(fresh);
    memo.SetMemoThreshold(0);

    for (int j = 0; j < (known ? 1 : kSubjectsPerPattern); ++j) {
      const std::string subject = known ? fixed[i].second : gen.Subject();
      const long want = plain.Find(subject);
      const long got = memo.Find(subject);
      if (want >= 0) ++found;

      bool same = want == got && plain.matched() == memo.matched() &&
                  plain.found_text() == memo.found_text();
      for (int g = 1; g <= 3; ++g) {
        same = same && plain.Group(g) == memo.Group(g) &&
               plain.GroupOffset(g) == memo.GroupOffset(g);
      }
      if (same) continue;

      ++failures;
      std::string detail;
      for (int g = 1; g <= 3; ++g) {
        detail += "\n  group " + std::to_string(g) + ": default " +
                  Escaped(plain.Group(g)) + " at " + std::to_string(plain.GroupOffset(g)) +
                  ", remembering " + Escaped(memo.Group(g)) + " at " +
                  std::to_string(memo.GroupOffset(g));
      }
      ADD_FAILURE() << "pattern " << Escaped(pattern) << " on subject " << Escaped(subject)
                    << "\n  Find: default " << want << ", remembering " << got
                    << "\n  found_text: default " << Escaped(plain.found_text())
                    << ", remembering " << Escaped(memo.found_text()) << detail;
    }
  }

  // The generator must produce enough usable cases for the comparison to mean
  // something.
  EXPECT_GT(compiled, kPatterns / 2);
  EXPECT_GT(found, compiled * kSubjectsPerPattern / 3);
}

}  // namespace
}  // namespace cadenzio
