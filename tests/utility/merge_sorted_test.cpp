// Merging two one-language SAMI files in time order, and the template made from one.
#include "utility/merge_sorted.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <tuple>

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
  return "<SAMI><HEAD><TITLE>B</TITLE><STYLE>\r\n  " + std::string(kDeclB) + kRestB + body + "</BODY>B\r\n";
}
std::string Merged(const std::string& body) { return std::string(kHeadA) + kDeclA + kDeclB + kRestB + body + kTailA; }
std::string Sync(int start, const std::string& cls, const std::string& text) {
  return "<SYNC Start=" + std::to_string(start) + "><P Class=" + cls + ">" + text + "\r\n";
}

TEST(MergeSorted, TwoFilesInTimeOrder) {
  // Equal starts keep A's sync line; two clears become one plain blank; B ends
  // first and the rest of A follows.
  const std::string a = Sync(1000, "ENCC", "a1") + Sync(3000, "ENCC", "a3") + "<!-- a -->\r\n" +
                        Sync(5000, "ENCC", "&nbsp;") + Sync(6000, "ENCC", "a6") + Sync(7000, "ENCC", "&nbsp;");
  const std::string b = Sync(2000, "KRCC", "b2") + Sync(3000, "KRCC", "b3") + Sync(5000, "KRCC", "&nbsp;") +
                        Sync(6000, "KRCC", "&nbsp;");
  EXPECT_EQ(MergeSorted(FileA(a), FileB(b), false).bytes,
            Merged("<SYNC Start=1000><P Class=ENCC>a1\r\n<SYNC Start=2000><P Class=KRCC>b2\r\n"
                   "<SYNC Start=3000><P Class=ENCC>a3\r\n<!-- a -->\r\n<P Class=KRCC>b3\r\n"
                   "<SYNC Start=5000><P>&nbsp;\r\n<SYNC Start=6000><P Class=ENCC>a6\r\n<P Class=KRCC>&nbsp;\r\n"
                   "<SYNC Start=7000><P Class=ENCC>&nbsp;\r\n"));
  // Break repair analyses both files in mode 1.
  EXPECT_EQ(MergeSorted(FileA(Sync(10, "ENCC", "two\r\nlines")), FileB(Sync(20, "KRCC", "k")), true).bytes,
            Merged(Sync(10, "ENCC", "two<br>\r\nlines") + Sync(20, "KRCC", "k")));
}

TEST(MergeSorted, OneFileBecomesTemplate) {
  SamiDocument first;
  const MergeResult r = MergeSorted(FileA(Sync(1000, "ENCC", "one") + "<!-- c -->\r\n" + Sync(2000, "ENCC", "")),
                                    std::nullopt, false, &first);
  EXPECT_EQ(first.classes.size(), 1u);
  EXPECT_EQ(r.bytes, std::string(kHeadA) + kTemplateClassDeclaration + kDeclA + kRestA +
                         "<SYNC Start=1000><P Class=KRCC>\r\n\r\n<P Class=ENCC>one\r\n"
                         "<!-- c -->\r\n<SYNC Start=2000><P>&nbsp;\r\n" + kTailA);
}

TEST(MergeSorted, RefusesFilesWithoutExactlyOneFoundClass) {
  const std::string one = FileA(Sync(1, "ENCC", "x"));
  const std::string two = "<STYLE>.A {lang:a;}\r\n.B {lang:b;}\r\n</STYLE>" + Sync(1, "A", "x");
  // The analyser accepts this declaration; the header pattern wants a blank
  // before the brace, and no header is built without its groups.
  const std::string tight = "<STYLE>\r\n.ENCC{N:E; lang:en;}\r\n</STYLE>" + Sync(1, "ENCC", "x");
  const std::string rest = "번째 자막이 맘에 안 드네요 -_-\r\n한가지 언어를 포함하고 있는 자막이여야 합니다.\r\n"
                           "헤드부에 언어클래스 정의부가 없다면 추가하시고...   ";
  const std::string first = "첫" + rest, second = "두" + rest;
  for (const auto& [a, b, message] : {std::tuple{two, one, first}, {one, two, second}, {tight, one, first}}) {
    const MergeResult r = MergeSorted(a, b, false);
    EXPECT_EQ(Cp949ToUtf8(r.error) + r.bytes, message) << a;  // nothing written
  }
}

// Two files of real size, interleaved every 200 and 300 ms, meeting every
// 600 ms; the expectation is built per time, not by walking the files.
TEST(MergeSorted, RealSizedFilesKeepOrderAndBytes) {
  std::map<int, std::pair<std::string, std::string>> by_time;  // each file's paragraph at a time
  std::string body_a, body_b;
  for (int t = 200; t <= 1200000; t += 200) {
    for (int side = 0; side < 2; ++side) {
      const int step = side == 0 ? 300 : 200;
      if (t % step != 0 || (side == 0 && t > 900000)) continue;
      const bool clear = (t / step) % (side == 0 ? 4 : 3) == 0;
      const std::string p = std::string(side == 0 ? "<P Class=ENCC>" : "<P Class=KRCC>") +
                            (clear ? "&nbsp;" : "\xC7\xD1" + std::string(120, 'x')) + "\r\n";
      (side == 0 ? body_a : body_b) += "<SYNC Start=" + std::to_string(t) + ">" + p;
      (side == 0 ? by_time[t].first : by_time[t].second) = p;
    }
  }
  std::string expected;
  for (const auto& [t, p] : by_time) {
    const bool both_clear = p.first.ends_with("&nbsp;\r\n") && p.second.ends_with("&nbsp;\r\n");
    expected += "<SYNC Start=" + std::to_string(t) + ">" + (both_clear ? kMergeBlankParagraph : p.first + p.second);
  }
  EXPECT_EQ(MergeSorted(FileA(body_a), FileB(body_b), false).bytes, Merged(expected));
}

}  // namespace
}  // namespace cadenzio
