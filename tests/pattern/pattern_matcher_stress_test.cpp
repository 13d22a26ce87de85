// Searches that a plain backtracker could not finish: exponential choices
// inside repetitions, and scans that restart at every position of a long
// subject. Each takes about a second in the sanitizer build, where a quadratic
// search over these subjects would need 10^9 steps or more and an exponential
// one would never end; a hundred thousand iterations and up are also far
// deeper than the C++ stack could follow with a frame per repetition.
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
  EXPECT_EQ(m.found_text().size(), as.size() + 1);
  EXPECT_EQ(m.GroupOffset(1), n - 1);  // the first alternative wins every time
  EXPECT_EQ(m.Group(1), "a");
  // Every start from 0 to n fails, each after trying a Fibonacci number of
  // ways to cut the a's into "a" and "aa".
  ASSERT_TRUE(m.Compile("(a|aa)*b"));
  EXPECT_EQ(m.Find(as + "cb"), n + 1);
  EXPECT_EQ(m.found_text(), "b");

  ASSERT_TRUE(m.Compile("^(aa|a)+(b|ab)$"));
  ASSERT_EQ(m.Find(as + "b"), 0);
  EXPECT_EQ(m.Group(1), "aa");
  EXPECT_EQ(m.GroupOffset(2), n);
  EXPECT_EQ(m.Find(as + "bb"), -1);
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
  EXPECT_EQ(m.Group(3), "\r\n-->");
}

// Korean syllables and blanks without '<': the span from every start runs to
// the end.
TEST(PatternMatcherStressTest, SpansOverKoreanText) {
  const std::string korean = Fill("\xB0\xA1\xB3\xAA \xC7\xD1\xB1\xDB ", 128 * kKilobyte);
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("[^<]*[<>]"));
  EXPECT_EQ(m.Find(korean), -1);
  ASSERT_TRUE(m.Compile("[^<]*<X"));
  EXPECT_EQ(m.Find(korean), -1);
  // Only the start just after "<Y" sees "<X" after its span.
  EXPECT_EQ(m.Find(korean + "<Y<X"), static_cast<long>(korean.size()) + 1);
  EXPECT_EQ(m.found_text(), "Y<X");
  ASSERT_EQ(m.Find(korean + "<X"), 0);
  EXPECT_EQ(m.found_text().size(), korean.size() + 2);
}

TEST(PatternMatcherStressTest, AlternationRepeatedOverALongText) {
  const std::string ab = Fill("abbaab", 192 * kKilobyte);
  const long n = static_cast<long>(ab.size());
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("(a|b)*c"));
  ASSERT_EQ(m.Find(ab + "c"), 0);
  EXPECT_EQ(m.GroupOffset(1), n - 1);
  EXPECT_EQ(m.Group(1), "b");
  EXPECT_EQ(m.Find(ab + "dc"), n + 1);  // every earlier start runs to the 'd'
  EXPECT_EQ(m.Find(ab + "d"), -1);
}

// Repetitions inside repetitions, matched and then given back over the whole
// text: one C++ frame per iteration would overflow the stack long before the
// end.
TEST(PatternMatcherStressTest, NestedRepetitions) {
  const std::string text = Fill("abcab", 256 * kKilobyte);
  const long n = static_cast<long>(text.size());
  PatternMatcher m;
  ASSERT_TRUE(m.Compile("^(((a|b)+)(c)?)+$"));
  ASSERT_EQ(m.Find(text), 0);
  EXPECT_EQ(m.found_text().size(), text.size());
  EXPECT_EQ(m.Group(2), "ab");  // the last "ab", without a c after it
  EXPECT_EQ(m.GroupOffset(2), n - 2);
  EXPECT_EQ(m.GroupOffset(4), n - 3);  // the c of the iteration before

  const std::string shorter = Fill("abcab", 128 * kKilobyte);
  ASSERT_TRUE(m.Compile("^((a|b)(c|d)?)*e"));
  EXPECT_EQ(m.Find(shorter), -1);
  ASSERT_EQ(m.Find(shorter + "e"), 0);
  EXPECT_EQ(m.Group(1), "b");
  EXPECT_EQ(m.Group(3), "c");  // from an earlier iteration
}

}  // namespace
}  // namespace cadenzio
