// The pattern matcher against worked cases and against the naive reference
// interpreter in reference_matcher.h: every table case runs through both (the
// matcher also remembering visited states from its first step), and random
// patterns over a tiny alphabet must leave the same outcome in both.
#include "pattern/pattern_matcher.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/reference_matcher.h"
#include "sami/sami_text.h"

namespace cadenzio {
namespace {

using test::ReferenceFindNoCase;
using test::ReferenceMatcher;

const std::string kGa = "\xB0\xA1";  // a Korean syllable in CP949
const std::string kNa = "\xB3\xAA";

// " \i=offset:'text'" for a group that took part (offset from the match start).
std::string GroupText(int i, long offset, std::string_view text) {
  if (offset < 0 && text.empty()) return "";
  return " \\" + std::to_string(i) + "=" + std::to_string(offset) + ":'" + Escape(text) + "'";
}

// Everything a search leaves for the caller, as one comparable line.
template <class Matcher>
std::string Outcome(Matcher& m, std::string_view subject) {
  const long at = m.Find(subject);
  std::string out = (at < 0 ? "none" : "at " + std::to_string(at)) + " '" + Escape(m.found_text()) + "'";
  for (int i = 0; i < PatternMatcher::kMaxGroups; ++i) out += GroupText(i, m.GroupOffset(i), m.Group(i));
  if (at < 0 && m.Substitute("&")) out += " but substitutes";
  return out;
}

// A worked case: the expected match, and groups 1.. as (offset from the match
// start, text); (-1, "") is a group that took no part.
struct FindCase {
  std::string pattern, subject;
  long at;
  std::string found = "";
  std::vector<std::pair<long, std::string>> groups = {};
};

void ExpectFinds(const std::vector<FindCase>& cases) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE("'" + Escape(c.pattern) + "' on '" + Escape(c.subject) + "'");
    std::string expected = "none ''";
    if (c.at >= 0) {
      expected = "at " + std::to_string(c.at) + " '" + Escape(c.found) + "'" + GroupText(0, 0, c.found);
      for (std::size_t i = 0; i < c.groups.size(); ++i)
        expected += GroupText(static_cast<int>(i + 1), c.groups[i].first, c.groups[i].second);
    }
    PatternMatcher m, remembering;
    remembering.SetMemoThreshold(0);
    ReferenceMatcher ref;
    ASSERT_TRUE(m.Compile(c.pattern) && remembering.Compile(c.pattern) && ref.Compile(c.pattern));
    EXPECT_EQ(Outcome(m, c.subject), expected);
    EXPECT_EQ(Outcome(remembering, c.subject), expected) << "remembering";
    EXPECT_EQ(Outcome(ref, c.subject), expected) << "reference";
  }
}

TEST(PatternMatcherTest, RejectsMalformedPatterns) {
  const std::vector<std::string> bad = {
      "a**", "a*?", "a+*", "a??", "*a", "+", "?", "a|*b", "(*a)", "(|?)", "(ab", "((a)", "ab)",
      "a)b(", "[ab", "[", "[^", "[]", "[z-a]", "[a-c-b]", "[\x01-\xB0]", "a\\", "\\",
      "^*", "$+", "(a*)+", "(b?)*", "()*", "(|a)+", "(a|)*", "(^)*", "(a?b*)+",
      std::string(10, '(') + std::string(10, ')'), "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"};
  const std::vector<std::string> good = {
      "", "|", "a|", "()", "(|)", "^", "$", "^$", "]", "}{", "a-b", "[]a]", "[a-]", "[^]a]",
      "[--/]", "[\\]", "\\t", "a{2}", "(a?)?", "(^a)*", "(a|$b)+", "[\xB0-a]", "(a?b)*",
      "(((((((((a)))))))))", "(a)(b)(c)(d)(e)(f)(g)(h)(i)", std::string("ab\0)", 4)};
  for (const std::string& p : bad) {
    PatternMatcher m;
    EXPECT_FALSE(m.Compile(p) || ReferenceMatcher().Compile(p)) << Escape(p);
    EXPECT_EQ(Outcome(m, "a"), "none ''") << Escape(p);
  }
  for (const std::string& p : good)
    EXPECT_TRUE(PatternMatcher().Compile(p) && ReferenceMatcher().Compile(p)) << Escape(p);

  // A failed compile leaves nothing to search with, not the old program.
  PatternMatcher m;
  EXPECT_EQ(m.Find("abc"), -1);
  ASSERT_TRUE(m.Compile("b"));
  EXPECT_EQ(m.Find("abc"), 1);
  EXPECT_FALSE(m.Compile("b("));
  EXPECT_EQ(m.Find("abc"), -1);
}

TEST(PatternMatcherTest, FindsAnchorsAndEmptyMatches) {
  ExpectFinds({
      {"", "abc", 0, ""},
      {"$", "abc", 3, ""},
      {"^b", "abc", -1},
      {"a^", "aa", -1},
      {"x|^b", "ab", -1},          // ^ holds at the subject start only, also unanchored
      {"^b|a", "ba", 0, "b"},
      {"a$|b", "ab", 1, "b"},
      {"b$", "ab\nb\n", -1},       // no multi-line mode
      {"^$", "", 0, ""},
      {"^$", "\n", -1},
      {"|a", "xa", 0, ""},         // an empty alternative matches at once
      {"()", "x", 0, "", {{0, ""}}},
      {"(a*)b", "b", 0, "b", {{0, ""}}},
      {std::string("a\0b", 3), "xab", 1, "a"},  // the pattern ends at a NUL
      {"b", std::string("a\0b", 3), -1},        // so does the subject
      {"$", std::string("ab\0cd", 5), 2, ""},
  });
}

TEST(PatternMatcherTest, FindsLiteralsAndSingleBytes) {
  ExpectFinds({
      {".", "", -1},
      {"SYNC", "<sync start=1>", 1, "sync"},  // literal text ignores ASCII case
      {"\\T", "xt", 1, "t"},                  // so does an escaped byte
      {"\\t", "\tt", 1, "t"},                 // \t is the letter, not a tab
      {"\\\\", "a\\b", 1, "\\"},
      {"{[^{}]*}", "x{ab}y", 1, "{ab}"},      // braces are ordinary bytes
      {"a]b-c", "a]b-c", 0, "a]b-c"},
      {"@", "`", -1},                         // only letters fold
      {"\xC1", "\xE1", -1},
      {kGa, "a" + kGa, 1, kGa},
  });
}

TEST(PatternMatcherTest, RepeatsGreedilyWithLiteralRunsCutBeforeQuantifiers) {
  ExpectFinds({
      {"ab*c", "ac", 0, "ac"},
      {"ab*", "abbbc", 0, "abbb"},             // 'ab*' is "a" then 'b*'
      {"ab+", "abab", 0, "ab"},
      {"abc?", "abd", 0, "ab"},
      {"a*", "AAab", 0, "AAa"},                // a repeated literal ignores case too
      {"a*B", "aaab", 0, "aaab"},              // look-ahead byte compared upper-cased
      {"a?a", "a", 0, "a"},
      {".*", "a\r\nb", 0, "a\r\nb"},
      {"(ab)*c", "ababc", 0, "ababc", {{2, "ab"}}},
      {"(ab)?b", "abb", 0, "abb", {{0, "ab"}}},
      {"(ab)?b", "b", 0, "b", {{-1, ""}}},
      {"(a|b)*(b)", "abab", 0, "abab", {{2, "a"}, {3, "b"}}},
      // Former bugs of the remembering search: a repetition followed by
      // another repetition or a choice.
      {"^.*x+", "ax", 0, "ax"},
      {"a*b?$", "aaaaaaaaaax", 11, ""},
      {"a*(bc)*$", "aaax", 4, ""},
      {"(.*)(x*)x", "axxx", 0, "axxx", {{0, "axx"}, {3, ""}}},
      {"^(.*[\r\n]+[^\\.]+)\\.([a-zA-Z]+)", "x\r\nP\r\n.K", 0, "x\r\nP\r\n.K",
       {{0, "x\r\nP\r\n"}, {7, "K"}}},
  });
}

TEST(PatternMatcherTest, ChoosesTheFirstAlternativeAndRecordsGroupsFromTheLastIteration) {
  ExpectFinds({
      {"(a|ab)c", "abc", 0, "abc", {{0, "ab"}}},
      {"-?[0-9]+|-?[0-9]+MS", "120MS", 0, "120"},
      {"a|ab", "ab", 0, "a"},
      {"(a|b|c)+", "cba", 0, "cba", {{2, "a"}}},
      {"(a|ab)(c|bcd)(d*)", "abcd", 0, "abcd", {{0, "a"}, {1, "bcd"}, {4, ""}}},
      {"(a)|(b)", "b", 0, "b", {{-1, ""}, {0, "b"}}},
      {"((a)|(b))+", "ab", 0, "ab", {{1, "b"}, {0, "a"}, {1, "b"}}},  // (a) keeps its old iteration
      {"(a(b)?)+", "aba", 0, "aba", {{2, "a"}, {1, "b"}}},
  });
}

TEST(PatternMatcherTest, MatchesSetsExactly) {
  ExpectFinds({
      {"[A-Z]+", "abc", -1},  // sets do not ignore case
      {"[a-c]+", "ABCabc", 3, "abc"},
      {"[]a]+", "x]a]", 1, "]a]"},
      {"[a-]+", "x-a-", 1, "-a-"},
      {"[^]a]+", "]]bc", 2, "bc"},
      {"[--/]+", "a-./", 1, "-./"},            // a range from '-'
      {"[a-c-e]+", "-dx", 1, "d"},             // "c-e" reuses the end of "a-c"
      {"[\\]+", "a\\\\b", 1, "\\\\"},          // a backslash is an ordinary member
      {"[^^]", "^^a", 2, "a"},
      {"[^\r\n]*", "ab\r\ncd", 0, "ab"},
      {"[\xB0\xA1" "a]+", "\xB0\xA1" "a", 2, "a"},  // bytes of 0x80 and above are never members
      {"[^\xB0]", "\xB0", 0, "\xB0"},
  });
}

TEST(PatternMatcherTest, StepsOverDoubleByteCharactersInSpans) {
  ExpectFinds({
      {"[^<]*<", kGa + "x" + kNa + "<b", 0, kGa + "x" + kNa + "<"},
      {"[A-Za-z]+", kGa + "abc", 2, "abc"},
      // A span never splits a double-byte character, even one whose second
      // byte is an ASCII letter ...
      {"[A-Za-z]+", "ab\x81" "Acd", 0, "ab"},
      {"[^a]+", "\x81" "ab", 0, "\x81" "ab"},
      {"[a-z]+$", "\x81zz", 1, "zz"},
      // ... but a search tries every byte position, so a match may start on
      // the second byte of one, and a single set test sees one byte.
      {"[A-Za-z]+", "\x81\x41\x5A", 1, "AZ"},
      {"[^a]b", "\x81" "b", 0, "\x81" "b"},
      {"[^a]b", "\x81" "ab", -1},
      {"[^a]ab", "\x81" "ab", 0, "\x81" "ab"},
      {"a", "\x81" "a", 1, "a"},
      // A lead byte without a valid trail byte stands alone.
      {"[^<]+", "\x81<", 0, "\x81"},
      {"[^a]*a", "\x81" "aa", 0, "\x81" "aa"},
      // Backing off gives back one byte at a time, into a character.
      {"([^<]*)\xA1<", kGa + kGa + "<", 0, kGa + kGa + "<", {{0, kGa + "\xB0"}}},
      {".+", kGa, 0, kGa},
      {"." + kGa, "x" + kGa, 0, "x" + kGa},
  });
}

TEST(PatternMatcherTest, Substitutes) {
  struct Case {
    std::string pattern, subject, templ;
    std::optional<std::string> expected;
  };
  const std::string p = "^(<P)(.*)$", s = "<P Class=KRCC>";
  const std::vector<Case> cases = {
      {p, s, "\\2\\1", " Class=KRCC><P"},     {p, s, "[&|\\0]", "[<P Class=KRCC>|<P Class=KRCC>]"},
      {p, s, "\\&\\\\", "&\\"},               {p, s, "\\3\\9", ""},
      {p, s, "\\x\\", "\\x\\"},               {p, s, "\\\\1", "\\1"},
      {p, s, "\\\\\\1", "\\<P"},              {p, s, "", ""},
      {p, s, std::string("\\1\0\\2", 5), "<P"},
      {"(a)|(b)", "b", "[\\1][\\2]", "[][b]"},
      {"(x*)y", "y", "[\\1]", "[]"},
      {"x*", "abc", "[&]", "[]"},            // an empty match is still a match
      {"(sync)", "<SYNC>", "\\1", "SYNC"},   // the subject's bytes, not the pattern's
      {"a", "b", "&", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + Escape(c.pattern) + "' '" + Escape(c.templ) + "'");
    PatternMatcher m;
    ReferenceMatcher ref;
    ASSERT_TRUE(m.Compile(c.pattern) && ref.Compile(c.pattern));
    m.Find(c.subject);
    ref.Find(c.subject);
    EXPECT_EQ(m.Substitute(c.templ), c.expected);
    EXPECT_EQ(ref.Substitute(c.templ), c.expected);
  }

  // The groups outlive the subject; a failed search leaves nothing, even
  // after a success.
  PatternMatcher m;
  ASSERT_TRUE(m.Compile(p));
  {
    std::string subject = s;
    ASSERT_EQ(m.Find(subject), 0);
    subject.assign(subject.size(), 'x');
  }
  EXPECT_EQ(m.Substitute("\\2\\1"), " Class=KRCC><P");
  EXPECT_EQ(m.Find("ac"), -1);
  EXPECT_FALSE(m.Substitute("").has_value());
}

TEST(PatternMatcherTest, FindsLiteralsWithoutCase) {
  struct Case {
    std::string text, literal;
    std::size_t at;
  };
  constexpr std::size_t kNo = std::string_view::npos;
  const std::vector<Case> cases = {
      {"abc", "", 0},         {"", "", 0},         {"", "a", kNo},     {"ab", "abc", kNo},
      {"<SyNc Start=1>", "sync", 1},               {"abab", "BA", 1},  {"aaab", "aab", 1},
      {"abc", "cd", kNo},     {"@", "`", kNo},     // only letters fold
      {"[x]", "{X}", kNo},    {"\xC1", "\xE1", kNo},                   {"a" + kGa + "b", kGa + "B", 1},
      {"\x81" "a", "A", 1},   // every byte position, inside a character too
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + Escape(c.literal) + "' in '" + Escape(c.text) + "'");
    EXPECT_EQ(FindNoCase(c.text, c.literal), c.at);
    EXPECT_EQ(ReferenceFindNoCase(c.text, c.literal), c.at);
  }
}

// Random subjects: letters of both cases, tag brackets, a blank, a Korean
// syllable, a lone lead byte (pairs with a following letter) and a lone 0xB0.
const std::vector<std::string> kSubjectPieces = {"a", "b", "A", "<", ">", " ",
                                                 "\xB0\xA1", "\x81", "\xB0", "a", "b"};

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  std::size_t Below(std::size_t n) { return rng_() % n; }
  bool Chance(int percent) { return Below(100) < static_cast<std::size_t>(percent); }
  template <class T>
  const T& Pick(const std::vector<T>& v) { return v[Below(v.size())]; }

  // Mostly well-formed patterns: alternatives of up to three pieces, some
  // quantified (now and then twice), groups two deep.
  std::string Pattern(int depth = 0) {
    std::string out;
    for (bool first = true; first || Chance(25); first = false) {
      if (!first) out += "|";
      for (std::size_t n = Below(4); n > 0; --n) {
        out += Atom(depth);
        if (Chance(35)) out += Pick(std::vector<std::string>{"*", "+", "?"});
        if (Chance(2)) out += "*";
      }
    }
    return out;
  }

  // Any string of pattern tokens, so that most of them fail to compile.
  std::string Tokens() {
    static const std::vector<std::string> tokens = {
        "a", "b", "A", "<", "\xB0\xA1", "\x81", " ", "(", ")", "|", "?", "*", "+", ".",
        "[", "]", "^", "$", "\\", "-", "[a-b]", "[^<]"};
    std::string out;
    for (std::size_t n = 1 + Below(8); n > 0; --n) out += Pick(tokens);
    return out;
  }

  std::string Subject(std::size_t pieces) {
    std::string out;
    for (; pieces > 0; --pieces) out += Pick(kSubjectPieces);
    return out;
  }

  // 100 to 200 bytes: a short motif repeated, with some noise, so that
  // patterns find work to do all along it.
  std::string LongSubject() {
    const std::string motif = Subject(1 + Below(5));
    std::string out;
    const std::size_t target = 100 + Below(100);
    while (out.size() < target) out += Chance(8) ? Pick(kSubjectPieces) : motif;
    if (Chance(50)) out += Subject(Below(4));
    return out;
  }

 private:
  std::string Atom(int depth) {
    static const std::vector<std::string> literals = {
        "a", "b", "A", "<", ">", " ", "\xB0\xA1", "\x81", "ab", "aA", "<a", "a\xB0\xA1"};
    static const std::vector<std::string> escapes = {"\\.", "\\a", "\\*", "\\\\", "\\\x81",
                                                     "\\[", "\\B"};
    switch (Below(12)) {
      case 0: return ".";
      case 1: return Chance(50) ? "^" : "$";
      case 2: return Pick(escapes);
      case 3: case 4: return Set();
      case 5: case 6:
        if (depth < 2) return "(" + Pattern(depth + 1) + ")";
        [[fallthrough]];
      default: return Pick(literals);
    }
  }

  std::string Set() {
    static const std::vector<std::string> members = {
        "a", "b", "A", "<", ">", " ", "a-b", "A-Z", "a-z", "\x81", "\xB0", "\\", "^", "-", "]"};
    std::string out = "[";
    if (Chance(40)) out += "^";
    if (Chance(10)) out += Chance(50) ? "]" : "-";
    for (std::size_t n = 1 + Below(3); n > 0; --n) out += Pick(members);
    if (Chance(10)) out += "-";
    return out + "]";
  }

  std::mt19937 rng_;
};

// Compares the matcher, as it runs by default and remembering from its first
// step, with the reference on one pattern over the given subjects. The first
// few disagreements are reported; searches on which the reference gives up
// are skipped.
class Differential {
 public:
  explicit Differential(long step_limit) : step_limit_(step_limit) {
    remembering_.SetMemoThreshold(0);
  }

  void Compare(const std::string& pattern, const std::vector<std::string>& subjects) {
    ReferenceMatcher ref(step_limit_);
    const bool compiled = ref.Compile(pattern);
    if (matcher_.Compile(pattern) != compiled || remembering_.Compile(pattern) != compiled)
      return Report("compile of '" + Escape(pattern) + "' differs; reference: " + (compiled ? "ok" : "fails"));
    compiled_ += compiled;
    for (const std::string& subject : subjects) {
      const std::string expected = Outcome(ref, subject) + Substituted(ref);
      if (ref.gave_up()) {
        ++gave_up_;
        continue;
      }
      if (compiled) ++searches_, matches_ += expected.starts_with("at");
      for (PatternMatcher* m : {&matcher_, &remembering_}) {
        const std::string actual = Outcome(*m, subject) + Substituted(*m);
        if (actual != expected)
          Report("'" + Escape(pattern) + "' on '" + Escape(subject) + "'\n  matcher" +
                 (m == &remembering_ ? " (remembering): " : ": ") + actual + "\n  reference: " + expected);
      }
    }
  }

  template <class Matcher>
  static std::string Substituted(const Matcher& m) {
    return " -> '" + Escape(m.Substitute("&\\1\\2\\3").value_or("<none>")) + "'";
  }
  void Report(const std::string& what) {
    if (++failures_ <= 12) ADD_FAILURE() << what;
  }

  long step_limit_;
  PatternMatcher matcher_, remembering_;  // each reused for every pattern
  int compiled_ = 0, searches_ = 0, matches_ = 0, gave_up_ = 0, failures_ = 0;
};

TEST(PatternMatcherTest, AgreesWithReferenceOnRandomShortSubjects) {
  Generator gen(20240611);
  Differential diff(200000);
  for (int i = 0; i < 4000; ++i) {
    const std::string pattern = i % 4 == 0 ? gen.Tokens() : gen.Pattern();
    std::vector<std::string> subjects = {""};
    for (int k = 0; k < 8; ++k) subjects.push_back(gen.Subject(1 + gen.Below(10)));
    diff.Compare(pattern, subjects);
  }
  EXPECT_EQ(diff.failures_, 0);
  // The generators must keep producing work worth comparing.
  EXPECT_GT(diff.compiled_, 2500);
  EXPECT_GT(diff.matches_, diff.searches_ / 4);
  EXPECT_LT(diff.matches_, diff.searches_ * 9 / 10);
  EXPECT_EQ(diff.gave_up_, 0);
}

// Subjects of 100 to 200 bytes, the patterns put between a leading span and a
// trailing anchor or literal: about a third of the searches pass the
// matcher's 256 + 8 x length steps and start remembering part-way through.
// The reference gives up on some of these (polynomial of a high degree, or
// exponential for it); those are skipped.
TEST(PatternMatcherTest, AgreesWithReferenceOnRandomLongSubjects) {
  static const std::vector<std::string> spans = {".*",     "[^<]*",  "[^>]*", "(a|b)*",
                                                 "[ab ]*", "(<|a)+", "a*",    ""};
  static const std::vector<std::string> ends = {"$", "", ">", "b$", "<"};
  Generator gen(777);
  Differential diff(60000);
  for (int i = 0; i < 600; ++i) {
    const std::string pattern = gen.Pick(spans) + "(" + gen.Pattern() + ")" + gen.Pick(ends);
    diff.Compare(pattern, {gen.LongSubject(), gen.LongSubject()});
  }
  EXPECT_EQ(diff.failures_, 0);
  EXPECT_GT(diff.searches_, 800);
  EXPECT_LT(diff.gave_up_, diff.searches_ / 8);
  EXPECT_GT(diff.matches_, diff.searches_ / 4);
  EXPECT_LT(diff.matches_, diff.searches_ * 9 / 10);
}

}  // namespace
}  // namespace cadenzio
