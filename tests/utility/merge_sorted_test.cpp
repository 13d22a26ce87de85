// Merging two one-language SAMI files in time order, and the template made from one.
#include "utility/merge_sorted.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "platform/text_encoding.h"

namespace cadenzio {
namespace {

constexpr char kHeadA[] = "<SAMI>\r\n<HEAD><TITLE>A</TITLE>\r\n<STYLE>\r\n<!--\r\n";
constexpr char kDeclA[] = ".ENCC {Name:English; lang:en-US;}\r\n";
constexpr char kRestA[] = "-->\r\n</STYLE></HEAD>\r\n<BODY>\r\n";
constexpr char kDeclB[] = ".KRCC {Name:Korean; lang:ko-KR;}\r\n";
constexpr char kRestB[] = "-->\r\n</STYLE></HEAD>\r\n<BODY Class=b>\r\n";
constexpr char kTailA[] = "</BODY>\r\n</SAMI>\r\n";

std::string FileA(const std::string& body) { return std::string(kHeadA) + kDeclA + kRestA + body + kTailA; }
// Blanks before the declaration go to the greedy first group, which the merge
// never takes from the second file.
std::string FileB(const std::string& body) {
  return "<SAMI><HEAD><TITLE>B</TITLE><STYLE>\r\n  " + std::string(kDeclB) + kRestB + body +
         "</BODY>B\r\n";
}
std::string Merged(const std::string& body) { return std::string(kHeadA) + kDeclA + kDeclB + kRestB + body + kTailA; }
std::string Sync(int start, const std::string& cls, const std::string& text) {
  return "<SYNC Start=" + std::to_string(start) + "><P Class=" + cls + ">" + text + "\r\n";
}

TEST(MergeSorted, TwoFilesInTimeOrder) {
  const std::string a = Sync(1000, "ENCC", "a1") + Sync(3000, "ENCC", "a3") + "<!-- a -->\r\n" +
                        Sync(5000, "ENCC", "&nbsp;") + Sync(6000, "ENCC", "a6") +
                        Sync(7000, "ENCC", "&nbsp;");
  const std::string b = Sync(2000, "KRCC", "b2") + Sync(3000, "KRCC", "b3") +
                        Sync(5000, "KRCC", "&nbsp;") + Sync(6000, "KRCC", "&nbsp;");
  const struct { std::string a, b, expected; } cases[] = {
      // Equal starts keep A's sync line; two clears become one plain blank;
      // B ends first and the rest of A follows.
      {a, b,
       "<SYNC Start=1000><P Class=ENCC>a1\r\n<SYNC Start=2000><P Class=KRCC>b2\r\n"
       "<SYNC Start=3000><P Class=ENCC>a3\r\n<!-- a -->\r\n<P Class=KRCC>b3\r\n"
       "<SYNC Start=5000><P>&nbsp;\r\n"
       "<SYNC Start=6000><P Class=ENCC>a6\r\n<P Class=KRCC>&nbsp;\r\n"
       "<SYNC Start=7000><P Class=ENCC>&nbsp;\r\n"},
      // Only the current syncs are compared: a file out of order stays so.
      {Sync(3000, "ENCC", "x") + Sync(1000, "ENCC", "y"), Sync(2000, "KRCC", "z"),
       Sync(2000, "KRCC", "z") + Sync(3000, "ENCC", "x") + Sync(1000, "ENCC", "y")},
      // Starts compare as signed numbers; A ends first.
      {Sync(-5, "ENCC", "n"), Sync(-7, "KRCC", "m") + Sync(9, "KRCC", "k"),
       Sync(-7, "KRCC", "m") + Sync(-5, "ENCC", "n") + Sync(9, "KRCC", "k")},
  };
  for (const auto& c : cases) {
    const MergeResult r = MergeSorted(FileA(c.a), FileB(c.b), false);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.bytes, Merged(c.expected));
  }
  // Break repair analyses both files in mode 1.
  const std::string two_lines = Sync(10, "ENCC", "two\r\nlines"), b20 = Sync(20, "KRCC", "k");
  EXPECT_EQ(MergeSorted(FileA(two_lines), FileB(b20), true).bytes,
            Merged(Sync(10, "ENCC", "two<br>\r\nlines") + b20));
  EXPECT_EQ(MergeSorted(FileA(two_lines), FileB(b20), false).bytes, Merged(two_lines + b20));
}

TEST(MergeSorted, OneFileBecomesTemplate) {
  SamiDocument first;
  const MergeResult r =
      MergeSorted(FileA(Sync(1000, "ENCC", "one") + "<!-- c -->\r\n" + Sync(2000, "ENCC", "") +
                        Sync(3000, "ENCC", "last")),
                  std::nullopt, false, &first);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(first.classes.size(), 1u);
  EXPECT_EQ(r.bytes, std::string(kHeadA) + kTemplateClassDeclaration + kDeclA + kRestA +
                         "<SYNC Start=1000><P Class=KRCC>\r\n\r\n<P Class=ENCC>one\r\n"
                         "<!-- c -->\r\n<SYNC Start=2000><P>&nbsp;\r\n"
                         "<SYNC Start=3000><P Class=KRCC>\r\n\r\n<P Class=ENCC>last\r\n" +
                         kTailA);
}

TEST(MergeSorted, RefusesFilesWithoutExactlyOneFoundClass) {
  const std::string one = FileA(Sync(1, "ENCC", "x"));
  const std::string two = "<STYLE>.A {lang:a;}\r\n.B {lang:b;}\r\n</STYLE>" + Sync(1, "A", "x");
  // The analyser accepts these declarations; the header pattern wants a blank
  // before the brace and a byte between it and LANG, and no header is built
  // without its groups.
  const std::string tight = "<STYLE>\r\n.ENCC{N:E; lang:en;}\r\n</STYLE>" + Sync(1, "ENCC", "x");
  const std::string bare = "<STYLE>\r\n.ENCC {lang:en;}\r\n</STYLE>" + Sync(1, "ENCC", "x");
  const std::string rest = "번째 자막이 맘에 안 드네요 -_-\r\n한가지 언어를 포함하고 있는 자막이여야 합니다.\r\n"
                           "헤드부에 언어클래스 정의부가 없다면 추가하시고...   ";
  const std::string first = "첫" + rest, second = "두" + rest;
  const struct { std::string first; std::optional<std::string> second; const std::string& message; } cases[] = {
      {two, one, first}, {"", one, first}, {two, std::nullopt, first}, {one, two, second}, {tight, one, first}, {one, tight, second},
      {bare, one, first},  // LANG needs a byte after the brace
  };
  for (const auto& c : cases) {
    const MergeResult r = MergeSorted(c.first, c.second, false);
    EXPECT_EQ(Cp949ToUtf8(r.error), c.message) << c.first;
    EXPECT_EQ(r.bytes, "");
  }
}

// Two files of real size, interleaved every 200 and 300 ms, meeting every
// 600 ms; the expectation is built per time, not by walking the files.
TEST(MergeSorted, RealSizedFilesKeepOrderAndBytes) {
  struct Block { std::string sync, body; bool clear; };
  std::map<int, std::pair<std::optional<Block>, std::optional<Block>>> by_time;
  std::string body_a, body_b;
  const std::string caption(120, 'x');
  for (int i = 1; i <= 6000; ++i) {
    const int t = i * 200;
    for (int side = 0; side < 2; ++side) {
      const int step = side == 0 ? 300 : 200;
      if (t % step != 0 || (side == 0 && t > 6000 * 300 / 2)) continue;
      const bool clear = (t / step) % (side == 0 ? 4 : 3) == 0;
      const std::string cls = side == 0 ? "ENCC" : "KRCC";
      const Block block{"<SYNC Start=" + std::to_string(t) + ">",
                        "<P Class=" + cls + ">" + (clear ? "&nbsp;" : "\xC7\xD1" + caption) + "\r\n", clear};
      (side == 0 ? body_a : body_b) += block.sync + block.body;
      (side == 0 ? by_time[t].first : by_time[t].second) = block;
    }
  }
  std::string expected;
  for (const auto& [t, pair] : by_time) {
    const auto& [a, b] = pair;
    if (a && b) expected += a->sync + (a->clear && b->clear ? kMergeBlankParagraph : a->body + b->body);
    else expected += a ? a->sync + a->body : b->sync + b->body;
  }
  const MergeResult r = MergeSorted(FileA(body_a), FileB(body_b), false);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.bytes, Merged(expected));
}

}  // namespace
}  // namespace cadenzio
