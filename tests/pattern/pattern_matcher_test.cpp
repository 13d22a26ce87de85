// The pattern matcher against worked cases and against the naive reference
// interpreter in reference_matcher.h: every table case runs through both, and
// random patterns over a tiny alphabet must give the same verdict, offsets,
// groups and substitutions from both.
#include "pattern/pattern_matcher.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/reference_matcher.h"

namespace cadenzio {
namespace {

using test::ReferenceFindNoCase;
using test::ReferenceMatcher;

constexpr std::string_view kGa = "\xB0\xA1";  // a Korean syllable in CP949
constexpr std::string_view kNa = "\xB3\xAA";

std::string Escape(std::string_view bytes) {
  std::string out;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", c);
    out += c == '\\' ? "\\\\" : c < 0x20 || c >= 0x7F ? std::string(hex) : std::string(1, ch);
  }
  return out;
}

// Everything a search leaves behind that a caller can see.
struct Outcome {
  long at = -1;
  std::string found;
  std::array<long, PatternMatcher::kMaxGroups> offsets{};
  std::array<std::string, PatternMatcher::kMaxGroups> groups;
  std::optional<std::string> substituted;
  bool operator==(const Outcome&) const = default;
};

std::string Describe(const Outcome& o) {
  if (o.at < 0) return "no match" + std::string(o.substituted ? " (but a substitution!)" : "");
  std::string out = "at " + std::to_string(o.at) + " '" + Escape(o.found) + "'";
  for (int i = 1; i < PatternMatcher::kMaxGroups; ++i) {
    if (o.offsets[i] < 0 && o.groups[i].empty()) continue;
    out += " \\" + std::to_string(i) + "=" + std::to_string(o.offsets[i]) + ":'" +
           Escape(o.groups[i]) + "'";
  }
  return out + " subst '" + Escape(o.substituted.value_or("<none>")) + "'";
}

template <class Matcher>
Outcome Search(Matcher& m, std::string_view subject, std::string_view templ = "&\\1\\2\\3") {
  Outcome o;
  o.at = m.Find(subject);
  o.found = m.found_text();
  for (int i = 0; i < PatternMatcher::kMaxGroups; ++i) {
    o.offsets[i] = m.GroupOffset(i);
    o.groups[i] = std::string(m.Group(i));
  }
  o.substituted = m.Substitute(templ);
  return o;
}

// A worked case: the expected match, and groups 1.. as (offset from the
// match start, text); an offset of -1 is a group that took no part.
struct FindCase {
  std::string pattern;
  std::string subject;
  long at;
  std::string found = "";
  std::vector<std::pair<long, std::string>> groups = {};
};

template <class Matcher>
void ExpectFinds(const std::vector<FindCase>& cases, const char* engine) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE(std::string(engine) + ": '" + Escape(c.pattern) + "' on '" + Escape(c.subject) +
                 "'");
    Matcher m;
    ASSERT_TRUE(m.Compile(c.pattern));
    EXPECT_EQ(m.Find(c.subject), c.at);
    if (c.at < 0) {
      EXPECT_FALSE(m.Substitute("&").has_value());
      continue;
    }
    EXPECT_EQ(m.found_text(), c.found);
    EXPECT_EQ(m.GroupOffset(0), 0);
    for (int i = 1; i < PatternMatcher::kMaxGroups; ++i) {
      SCOPED_TRACE("group " + std::to_string(i));
      const std::size_t slot = static_cast<std::size_t>(i - 1);
      const long offset = slot < c.groups.size() ? c.groups[slot].first : -1;
      EXPECT_EQ(m.GroupOffset(i), offset);
      EXPECT_EQ(m.Group(i), slot < c.groups.size() ? c.groups[slot].second : "");
    }
  }
}

void ExpectFindsBoth(const std::vector<FindCase>& cases) {
  ExpectFinds<PatternMatcher>(cases, "matcher");
  ExpectFinds<ReferenceMatcher>(cases, "reference");
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
    SCOPED_TRACE("'" + Escape(p) + "'");
    PatternMatcher m;
    ReferenceMatcher ref;
    EXPECT_FALSE(m.Compile(p));
    EXPECT_FALSE(ref.Compile(p));
    EXPECT_EQ(m.Find("a"), -1);
    EXPECT_FALSE(m.Substitute("&").has_value());
  }
  for (const std::string& p : good) {
    PatternMatcher m;
    ReferenceMatcher ref;
    EXPECT_TRUE(m.Compile(p) && ref.Compile(p)) << Escape(p);
  }
}

TEST(PatternMatcherTest, SearchesWithoutACompiledPattern) {
  PatternMatcher m;
  EXPECT_EQ(m.Find("abc"), -1);
  EXPECT_FALSE(m.Substitute("&").has_value());

  // A failed compile leaves nothing to search with, not the old program.
  ASSERT_TRUE(m.Compile("b"));
  EXPECT_EQ(m.Find("abc"), 1);
  EXPECT_FALSE(m.Compile("b("));
  EXPECT_EQ(m.Find("abc"), -1);
  ASSERT_TRUE(m.Compile("c"));
  EXPECT_EQ(m.Find("abc"), 2);
}

TEST(PatternMatcherTest, FindsAnchorsAndEmptyMatches) {
  ExpectFindsBoth({
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
  ExpectFindsBoth({
      {".", "", -1},
      {"SYNC", "<sync start=1>", 1, "sync"},  // literal text ignores ASCII case
      {"\\T", "xt", 1, "t"},                  // so does an escaped byte
      {"\\t", "\tt", 1, "t"},                 // \t is the letter, not a tab
      {"\\\\", "a\\b", 1, "\\"},
      {"{[^{}]*}", "x{ab}y", 1, "{ab}"},      // braces are ordinary bytes
      {"a]b-c", "a]b-c", 0, "a]b-c"},
      {"@", "`", -1},                         // only letters fold
      {"\xC1", "\xE1", -1},
      {std::string(kGa), "a" + std::string(kGa), 1, std::string(kGa)},
  });
}

TEST(PatternMatcherTest, RepeatsGreedilyWithLiteralRunsCutBeforeQuantifiers) {
  ExpectFindsBoth({
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
  });
}

TEST(PatternMatcherTest, ChoosesTheFirstAlternativeAndRecordsGroupsFromTheLastIteration) {
  ExpectFindsBoth({
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
  ExpectFindsBoth({
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
  const std::string ga(kGa), na(kNa);
  ExpectFindsBoth({
      {"[^<]*<", ga + "x" + na + "<b", 0, ga + "x" + na + "<"},
      {"[A-Za-z]+", ga + "abc", 2, "abc"},
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
      {"([^<]*)\xA1<", ga + ga + "<", 0, ga + ga + "<", {{0, ga + "\xB0"}}},
      {".+", ga, 0, ga},
      {"." + ga, "x" + ga, 0, "x" + ga},
  });
}

TEST(PatternMatcherTest, RemembersGroupsFromADroppedSubject) {
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("^(<P)(.*)$"));
  {
    std::string subject = "<P Class=KRCC>";
    ASSERT_EQ(m.Find(subject), 0);
    subject.assign(subject.size(), 'x');
  }
  EXPECT_EQ(m.Substitute("\\2\\1"), " Class=KRCC><P");
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
    ASSERT_TRUE(m.Compile(c.pattern));
    ASSERT_TRUE(ref.Compile(c.pattern));
    m.Find(c.subject);
    ref.Find(c.subject);
    EXPECT_EQ(m.Substitute(c.templ), c.expected);
    EXPECT_EQ(ref.Substitute(c.templ), c.expected);
  }

  // A failed search leaves nothing to substitute from, even after a success.
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("b+"));
  ASSERT_EQ(m.Find("abbc"), 1);
  EXPECT_EQ(m.Substitute("&"), "bb");
  EXPECT_EQ(m.Find("ac"), -1);
  EXPECT_FALSE(m.Substitute("").has_value());
}

// Former bugs of the remembering search, run with remembering from the
// first step: a repetition followed by another repetition or a choice.
TEST(PatternMatcherTest, RememberingKeepsEveryMatch) {
  const struct {
    const char* pattern;
    const char* subject;
    long at;
    const char* found;
  } cases[] = {
      {"^.*x+", "ax", 0, "ax"},
      {"a*b?$", "aaaaaaaaaax", 11, ""},
      {"a*(bc)*$", "aaax", 4, ""},
      {"(.*)(x*)x", "axxx", 0, "axxx"},
      {"^(.*[\r\n]+[^\\.]+)\\.([a-zA-Z]+)", "x\r\nP\r\n.K", 0, "x\r\nP\r\n.K"},
  };
  for (const auto& c : cases) {
    PatternMatcher m;
    m.SetMemoThreshold(0);
    ASSERT_TRUE(m.Compile(c.pattern));
    EXPECT_EQ(m.Find(c.subject), c.at) << c.pattern;
    EXPECT_EQ(m.found_text(), c.found) << c.pattern;
  }
}

TEST(PatternMatcherTest, FindsLiteralsWithoutCase) {
  struct Case {
    std::string text, literal;
    std::size_t at;
  };
  constexpr std::size_t kNo = std::string_view::npos;
  const std::string ga(kGa);
  const std::vector<Case> cases = {
      {"abc", "", 0},         {"", "", 0},         {"", "a", kNo},     {"ab", "abc", kNo},
      {"<SyNc Start=1>", "sync", 1},               {"abab", "BA", 1},  {"aaab", "aab", 1},
      {"abc", "cd", kNo},     {"@", "`", kNo},     // only letters fold
      {"[x]", "{X}", kNo},    {"\xC1", "\xE1", kNo},                   {"a" + ga + "b", ga + "B", 1},
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

  // Mostly well-formed patterns: alternatives of pieces, groups two deep.
  std::string Pattern(int depth = 0) {
    std::string out = Alternative(depth);
    while (Chance(25)) out += "|" + Alternative(depth);
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
  std::string Alternative(int depth) {
    std::string out;
    for (std::size_t n = Below(4); n > 0; --n) out += Piece(depth);
    return out;
  }

  std::string Piece(int depth) {
    std::string out = Atom(depth);
    if (Chance(35)) out += Pick(std::vector<std::string>{"*", "+", "?"});
    if (Chance(2)) out += "*";  // a doubled quantifier now and then
    return out;
  }

  std::string Atom(int depth) {
    static const std::vector<std::string> literals = {
        "a", "b", "A", "<", ">", " ", "\xB0\xA1", "\x81", "ab", "aA", "<a", "a\xB0\xA1"};
    static const std::vector<std::string> escapes = {"\\.", "\\a", "\\*", "\\\\", "\\\x81",
                                                     "\\[", "\\B"};
    switch (Below(12)) {
      case 0: return ".";
      case 1: return Chance(50) ? "^" : "$";
      case 2: return Pick(escapes);
      case 3:
      case 4: return Set();
      case 5:
      case 6:
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

// Compares the matcher with the reference on one pattern over the given
// subjects, twice: as it runs by default, and remembering visited (node,
// position) pairs from its first step. Every disagreement is counted and the
// first few reported; searches on which the reference gives up are skipped.
class Differential {
 public:
  explicit Differential(long step_limit) : step_limit_(step_limit) {
    remembering_.SetMemoThreshold(0);
  }

  void Compare(const std::string& pattern, const std::vector<std::string>& subjects) {
    const bool compiled = matcher_.Compile(pattern);
    if (remembering_.Compile(pattern) != compiled) Report("'" + Escape(pattern) + "' compiled once");
    ReferenceMatcher ref(step_limit_);
    if (compiled != ref.Compile(pattern)) {
      Report("compile of '" + Escape(pattern) + "': matcher " + (compiled ? "ok" : "fails") +
             ", reference " + (compiled ? "fails" : "ok"));
      return;
    }
    ++patterns_;
    if (!compiled) {
      if (matcher_.Find("a") != -1) Report("'" + Escape(pattern) + "' failed but finds");
      return;
    }
    ++compiled_;
    for (const std::string& subject : subjects) {
      const Outcome expected = Search(ref, subject);
      if (ref.gave_up()) {
        ++gave_up_;
        continue;
      }
      ++searches_;
      if (expected.at >= 0) ++matches_;
      for (PatternMatcher* m : {&matcher_, &remembering_}) {
        const Outcome actual = Search(*m, subject);
        if (actual != expected)
          Report("'" + Escape(pattern) + "' on '" + Escape(subject) + "'\n  matcher" +
                 (m == &remembering_ ? " (remembering)" : "") + ": " + Describe(actual) +
                 "\n  reference: " + Describe(expected));
      }
    }
  }

  void Report(const std::string& what) {
    if (++failures_ <= 12) ADD_FAILURE() << what;
  }

  long step_limit_;
  PatternMatcher matcher_, remembering_;  // each reused for every pattern
  int patterns_ = 0, compiled_ = 0, searches_ = 0, matches_ = 0, gave_up_ = 0, failures_ = 0;
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

// Over subjects of 100 to 200 bytes, with the patterns put between a leading
// span and a trailing anchor or literal, about a third of the searches
// spend more than the matcher's 256 + 8 x length steps, after which it starts
// remembering visited (node, position) pairs part-way through the search.
// The reference gives up on some of these (for it they are polynomial of a
// high degree, or exponential); those are skipped.
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
