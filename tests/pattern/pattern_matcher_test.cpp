// The pattern matcher on worked cases and against the naive reference in
// reference_matcher.h: every table case runs through both (the matcher also
// remembering from its first step), and so do random patterns and subjects.
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

using test::ReferenceMatcher;

const std::string kGa = "\xB0\xA1";  // a Korean syllable in CP949
const std::string kNa = "\xB3\xAA";

// " \i=offset:'text'" for a group that took part (offset from the match start).
std::string GroupText(int i, long offset, std::string_view text) {
  return offset < 0 && text.empty() ? "" : " \\" + std::to_string(i) + "=" + std::to_string(offset) + ":'" + Escape(text) + "'";
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

// The expected match, and groups 1.. as (offset from the match start, text);
// (-1, "") is a group that took no part.
struct FindCase {
  std::string pattern, subject;
  long at;
  std::string found = "";
  std::vector<std::pair<long, std::string>> groups = {};
};

void ExpectFinds(const std::vector<FindCase>& cases) {
  for (const FindCase& c : cases) {
    SCOPED_TRACE("'" + Escape(c.pattern) + "' on '" + Escape(c.subject) + "'");
    std::string expected = c.at < 0 ? "none ''" : "at " + std::to_string(c.at) + " '" + Escape(c.found) + "'";
    if (c.at >= 0) expected += GroupText(0, 0, c.found);
    for (std::size_t i = 0; i < c.groups.size(); ++i)
      expected += GroupText(static_cast<int>(i + 1), c.groups[i].first, c.groups[i].second);
    PatternMatcher m, remembering;
    remembering.SetMemoThreshold(0);
    ReferenceMatcher ref;
    ASSERT_TRUE(m.Compile(c.pattern) && remembering.Compile(c.pattern) && ref.Compile(c.pattern));
    EXPECT_EQ(Outcome(m, c.subject) + Outcome(remembering, c.subject) + Outcome(ref, c.subject),
              expected + expected + expected);
  }
}

TEST(PatternMatcherTest, RejectsMalformedPatterns) {
  const std::vector<std::string> bad = {
      "a**", "a*?", "*a", "a|*b", "(ab", "ab)", "[ab", "[z-a]", "[a-c-b]", "[\x01-\xB0]", "a\\",
      "^*", "(a*)+", "(b?)*", "(|a)+", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)"};
  const std::vector<std::string> good = {"", "|", "()", "]", "[]a]", "[a-]", "[--/]", "[\\]", "(a?)?",
                                         "(^a)*", "(a|$b)+", "(a)(b)(c)(d)(e)(f)(g)(h)(i)",
                                         std::string("ab\0)", 4)};
  for (const std::string& p : bad) {
    PatternMatcher m;
    EXPECT_FALSE(m.Compile(p) || ReferenceMatcher().Compile(p) || m.Find("a") >= 0) << Escape(p);
  }
  for (const std::string& p : good)
    EXPECT_TRUE(PatternMatcher().Compile(p) && ReferenceMatcher().Compile(p)) << Escape(p);

  // A failed compile leaves nothing to search with, not the old program.
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("b") && m.Find("abc") == 1);
  EXPECT_FALSE(m.Compile("b("));
  EXPECT_EQ(m.Find("abc"), -1);
}

TEST(PatternMatcherTest, FindsWorkedCases) {
  ExpectFinds({
      {"$", "abc", 3, ""},
      {"x|^b", "ab", -1},                      // ^ holds at the subject start only
      {"b$", "ab\nb\n", -1},                   // no multi-line mode
      {"$", std::string("ab\0cd", 5), 2, ""},  // the subject ends at a NUL
      {"SYNC", "<sync start=1>", 1, "sync"},   // literal text ignores ASCII case
      {"\\t", "\tt", 1, "t"},                  // \t is the letter, not a tab
      {".*", "a\r\nb", 0, "a\r\nb"},
      {"ab*", "abbbc", 0, "abbb"},             // 'ab*' is "a" then 'b*'
      {"a*B", "AAab", 0, "AAab"},              // a repeated literal ignores case too
      {"(a)+", "aaa", 0, "aaa", {{2, "a"}}},
      {"(a|ab)c", "abc", 0, "abc", {{0, "ab"}}},
      {"-?[0-9]+|-?[0-9]+MS", "120MS", 0, "120"},
      {"((a)|(b))+", "ab", 0, "ab", {{1, "b"}, {0, "a"}, {1, "b"}}},  // (a) keeps its old iteration
      // Former bugs of the remembering search: a repetition followed by
      // another repetition or a choice.
      {"^.*x+", "ax", 0, "ax"},
      {"a*b?$", "aaaaaaaaaax", 11, ""},
      {"a*(bc)*$", "aaax", 4, ""},
      {"(.*)(x*)x", "axxx", 0, "axxx", {{0, "axx"}, {3, ""}}},
      {"^(.*[\r\n]+[^\\.]+)\\.([a-zA-Z]+)", "x\r\nP\r\n.K", 0, "x\r\nP\r\n.K", {{0, "x\r\nP\r\n"}, {7, "K"}}},
  });
}

TEST(PatternMatcherTest, MatchesSetsByteWiseAndSpansByCharacters) {
  ExpectFinds({
      {"[A-Z]+", "abc", -1},                        // sets do not ignore case
      {"[]a]+", "x]a]", 1, "]a]"},
      {"[a-c-e]+", "-dx", 1, "d"},                  // "c-e" reuses the end of "a-c"
      {"[\xB0\xA1" "a]+", kGa + "a", 2, "a"},       // bytes of 0x80 and above are never members
      {"[^<]*<", kGa + "x" + kNa + "<b", 0, kGa + "x" + kNa + "<"},
      // A span never splits a double-byte character, even one whose second
      // byte is an ASCII letter, but a search tries every byte position, and
      // a single set test sees one byte.
      {"[A-Za-z]+", "ab\x81" "Acd", 0, "ab"},
      {"[A-Za-z]+", "\x81\x41\x5A", 1, "AZ"},
      {"[^a]ab", "\x81" "ab", 0, "\x81" "ab"},
      // Backing off gives back one byte at a time, into a character.
      {"([^<]*)\xA1<", kGa + kGa + "<", 0, kGa + kGa + "<", {{0, kGa + "\xB0"}}},
  });
}

TEST(PatternMatcherTest, Substitutes) {
  const std::string p = "^(<P)(.*)$", s = "<P Class=KRCC>";
  const struct {
    std::string pattern, subject, templ;
    std::optional<std::string> expected;
  } cases[] = {
      {p, s, "\\2\\1", " Class=KRCC><P"}, {p, s, "[&|\\0]", "[<P Class=KRCC>|<P Class=KRCC>]"},
      {p, s, "\\&\\\\", "&\\"},           {p, s, "\\3\\x\\", "\\x\\"},
      {p, s, std::string("\\1\0\\2", 5), "<P"},
      {"(a)|(b)", "b", "[\\1][\\2]", "[][b]"},
      {"x*", "abc", "[&]", "[]"},            // an empty match is still a match
      {"(sync)", "<SYNC>", "\\1", "SYNC"},   // the subject's bytes, not the pattern's
      {"a", "b", "&", std::nullopt},
  };
  for (const auto& c : cases) {
    PatternMatcher m;
    ReferenceMatcher ref;
    ASSERT_TRUE(m.Compile(c.pattern) && ref.Compile(c.pattern));
    m.Find(c.subject), ref.Find(c.subject);
    EXPECT_EQ(std::pair(m.Substitute(c.templ), ref.Substitute(c.templ)), std::pair(c.expected, c.expected))
        << Escape(c.pattern) << " " << Escape(c.templ);
  }
  // The groups outlive the subject; a failed search leaves nothing, even after a success.
  PatternMatcher m;
  std::string subject = s;
  ASSERT_TRUE(m.Compile(p) && m.Find(subject) == 0);
  subject.assign(subject.size(), 'x');
  EXPECT_EQ(m.Substitute("\\2\\1"), " Class=KRCC><P");
  EXPECT_EQ(m.Find("ac"), -1);
  EXPECT_FALSE(m.Substitute("").has_value());
}

TEST(PatternMatcherTest, FindsLiteralsWithoutCase) {
  constexpr std::size_t kNo = std::string_view::npos;
  for (const auto& [text, literal, at] : {std::tuple{"abc", "", 0ul}, {"ab", "abc", kNo}, {"<SyNc Start=1>", "sync", 1ul},
                                          {"aaab", "aab", 1ul}, {"@", "`", kNo}, {"\x81" "a", "A", 1ul}})
    EXPECT_EQ(std::pair(FindNoCase(text, literal), test::ReferenceFindNoCase(text, literal)), std::pair(at, at)) << text;
}

// Random patterns and subjects over a tiny alphabet: letters of both cases,
// tag brackets, a blank, a Korean syllable, a lone lead byte and a lone 0xB0.
class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}

  std::size_t Below(std::size_t n) { return rng_() % n; }
  bool Chance(std::size_t percent) { return Below(100) < percent; }
  const std::string& Pick(const std::vector<std::string>& v) { return v[Below(v.size())]; }

  // Mostly well-formed: alternatives of up to three pieces, some quantified
  // (now and then twice), groups two deep.
  std::string Pattern(int depth = 0) {
    static const std::vector<std::string> literals = {"a", "b", "A", "<", ">", " ", kGa, "\x81", "ab", "aA",
                                                      "<a", "a" + kGa, "\\.", "\\a", "\\*", "\\\\", "\\\x81"};
    static const std::vector<std::string> members = {"a", "b", "A", "<", ">", " ", "a-b", "A-Z",
                                                     "\x81", "\xB0", "\\", "^", "-", "]"};
    std::string out;
    for (bool first = true; first || Chance(25); first = false) {
      out += first ? "" : "|";
      for (std::size_t n = Below(4); n > 0; --n) {
        const std::size_t kind = Below(12);
        if (kind == 0) out += Chance(50) ? "." : Chance(50) ? "^" : "$";
        else if (kind < 4) out += (Chance(40) ? "[^" : "[") + Pick(members) + Pick(members) + "]";
        else if (kind < 6 && depth < 2) out += "(" + Pattern(depth + 1) + ")";
        else out += Pick(literals);
        if (Chance(35)) out += Pick({"*", "+", "?"});
        if (Chance(2)) out += "*";
      }
    }
    return out;
  }
  // Any string of pattern tokens, so that most of them fail to compile.
  std::string Tokens() {
    static const std::vector<std::string> tokens = {"a", "A", "<", kGa, "\x81", "(", ")", "|", "?", "*",
                                                    "+", ".", "[", "]", "^", "$", "\\", "-", "[a-b]", "[^<]"};
    std::string out;
    for (std::size_t n = 1 + Below(8); n > 0; --n) out += Pick(tokens);
    return out;
  }
  std::string Subject(std::size_t pieces) {
    std::string out;
    while (pieces-- > 0) out += Pick({"a", "b", "A", "<", ">", " ", kGa, "\x81", "\xB0", "a", "b"});
    return out;
  }
  // 100 to 200 bytes: a short motif repeated, with some noise.
  std::string LongSubject() {
    const std::string motif = Subject(1 + Below(5));
    std::string out;
    for (const std::size_t target = 100 + Below(100); out.size() < target;) out += Chance(8) ? Subject(1) : motif;
    return out + Subject(Below(4));
  }

 private:
  std::mt19937 rng_;
};

// The matcher, as it runs by default and remembering from its first step,
// against the reference. Searches on which the reference gives up are
// skipped; the first few disagreements are reported.
struct Differential {
  template <class Matcher>
  static std::string Result(Matcher& m, const std::string& subject) {
    return Outcome(m, subject) + " -> '" + Escape(m.Substitute("&\\1\\2\\3").value_or("<none>")) + "'";
  }

  void Compare(const std::string& pattern, const std::vector<std::string>& subjects, long step_limit) {
    ReferenceMatcher ref(step_limit);
    const bool compiled = ref.Compile(pattern);
    remembering.SetMemoThreshold(0);
    if (matcher.Compile(pattern) != compiled || remembering.Compile(pattern) != compiled)
      return Report("compile of '" + Escape(pattern) + "' differs");
    for (const std::string& subject : subjects) {
      const std::string expected = Result(ref, subject);
      if (ref.gave_up() || !compiled) {
        gave_up += ref.gave_up();
        continue;
      }
      ++searches, matches += expected.starts_with("at");
      for (PatternMatcher* m : {&matcher, &remembering})
        if (const std::string actual = Result(*m, subject); actual != expected)
          Report("'" + Escape(pattern) + "' on '" + Escape(subject) + "'\n  matcher" +
                 (m == &remembering ? " (remembering): " : ": ") + actual + "\n  reference: " + expected);
    }
  }
  void Report(const std::string& what) {
    if (++failures <= 12) ADD_FAILURE() << what;
  }
  // No disagreement, and the generators keep producing work worth comparing.
  void ExpectUsefulWork(int min_searches) const {
    EXPECT_EQ(failures, 0);
    EXPECT_GT(searches, min_searches);
    EXPECT_TRUE(matches > searches / 4 && matches < searches * 9 / 10 && gave_up < searches / 8)
        << matches << " matches, " << gave_up << " given up in " << searches;
  }

  PatternMatcher matcher, remembering;  // each reused for every pattern
  int searches = 0, matches = 0, gave_up = 0, failures = 0;
};

// Short subjects, and subjects of 100 to 200 bytes after a leading span: on
// these many searches pass the matcher's 256 + 8 x length steps and start
// remembering part-way through.
TEST(PatternMatcherTest, AgreesWithReferenceOnRandomPatterns) {
  Generator gen(20240611);
  Differential diff;
  for (int i = 0; i < 4000; ++i) {
    std::vector<std::string> subjects = {""};
    for (int k = 0; k < 8; ++k) subjects.push_back(gen.Subject(1 + gen.Below(10)));
    diff.Compare(i % 4 == 0 ? gen.Tokens() : gen.Pattern(), subjects, 200000);
  }
  diff.ExpectUsefulWork(20000);
  EXPECT_EQ(diff.gave_up, 0);

  diff = Differential();
  for (int i = 0; i < 600; ++i) {
    const std::string pattern = gen.Pick({".*", "[^<]*", "[^>]*", "(a|b)*", "[ab ]*", "(<|a)+", "a*", ""}) +
                                "(" + gen.Pattern() + ")" + gen.Pick({"$", "", ">", "b$", "<"});
    diff.Compare(pattern, {gen.LongSubject(), gen.LongSubject()}, 60000);
  }
  diff.ExpectUsefulWork(800);
}

}  // namespace
}  // namespace cadenzio
