// Searches that a plain backtracker could not finish: exponential choices
// inside repetitions, and scans that restart at every position of a long
// subject, where a quadratic search would need 10^9 steps or more. A hundred
// thousand iterations and up are also far deeper than the C++ stack could
// follow with a frame per repetition.
#include "pattern/pattern_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace cadenzio {
namespace {

constexpr std::size_t kKilobyte = 1024;

// unit repeated up to at least size bytes.
std::string Fill(std::string_view unit, std::size_t size) {
  std::string out;
  while (out.size() < size) out += unit;
  return out;
}

TEST(PatternMatcherStressTest, ChoicesInsideRepetitions) {
  const std::string as(100 * kKilobyte, 'a');
  const long n = static_cast<long>(as.size());
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("(a|aa)*c"));
  ASSERT_EQ(m.Find(as + "c"), 0);
  EXPECT_EQ(m.GroupOffset(1), n - 1);  // the first alternative wins every time
  EXPECT_EQ(m.Group(1), "a");
  // Every start from 0 to n fails, each after trying a Fibonacci number of
  // ways to cut the a's into "a" and "aa".
  ASSERT_TRUE(m.Compile("(a|aa)*b"));
  EXPECT_EQ(m.Find(as + "cb"), n + 1);
  EXPECT_EQ(m.found_text(), "b");
}

// The SAMI analyser's class-declaration pattern over a long text without a
// declaration: from each of its 40,000 line breaks "[^\\.]+" would run to the
// end of the text and give it back byte by byte.
TEST(PatternMatcherStressTest, ClassDeclarationOverALongHeader) {
  const std::string lines = Fill("x\r\n", 128 * kKilobyte);
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("^(.*[\r\n]+[^\\.]+)\\.([a-zA-Z]+)[ \t]*{[^{}]*LANG[^{}]*}(.+)$"));
  EXPECT_EQ(m.Find(lines), -1);
  ASSERT_EQ(m.Find(lines + "\r\n  .ENCC {Name:English; lang: en-US;}\r\n-->"), 0);
  EXPECT_EQ(m.Group(1), lines + "\r\n  ");
  EXPECT_EQ(m.Group(2), "ENCC");
}

// Korean text without '<': the span from every start runs to the end, by characters.
TEST(PatternMatcherStressTest, SpansOverKoreanText) {
  const std::string korean = Fill("\xB0\xA1\xB3\xAA \xC7\xD1\xB1\xDB ", 128 * kKilobyte);
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("[^<]*<X"));
  EXPECT_EQ(m.Find(korean + "<Y<X"), static_cast<long>(korean.size()) + 1);
}

// Repetitions inside repetitions, matched and then given back over the whole text.
TEST(PatternMatcherStressTest, NestedRepetitions) {
  const std::string text = Fill("abcab", 256 * kKilobyte);
  const long n = static_cast<long>(text.size());
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("^(((a|b)+)(c)?)+$"));
  ASSERT_EQ(m.Find(text), 0);
  EXPECT_EQ(m.Group(2), "ab");  // the last "ab", without a c after it
  EXPECT_EQ(m.GroupOffset(2), n - 2);
  EXPECT_EQ(m.GroupOffset(4), n - 3);  // the c of the iteration before
  ASSERT_TRUE(m.Compile("^((a|b)(c|d)?)*e"));
  EXPECT_EQ(m.Find(text), -1);
}

}  // namespace
}  // namespace cadenzio
