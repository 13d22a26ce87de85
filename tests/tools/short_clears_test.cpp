// Removal of clears that are followed too soon by the next caption.
#include "tools/short_clears.h"

#include <gtest/gtest.h>

namespace cadenzio {
namespace {

const std::string kOneClass =
    "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n</STYLE>\r\n"
    "</HEAD>\r\n<BODY>\r\n";
// Declared Korean first, so the classes array is ENCC (1), KRCC (2).
const std::string kTwoClasses =
    "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n"
    ".ENCC {Name:English; lang:en-US; }\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kEnd = "</BODY>\r\n</SAMI>\r\n";

std::string Kr(int start, const std::string& text) {
  return "<SYNC Start=" + std::to_string(start) + "><P Class=KRCC>" + text + "\r\n";
}
std::string KrClear(int start) { return Kr(start, "&nbsp;"); }

struct Outcome { int removed; std::string body; };  // body: written back, head and end taken off

Outcome Clean(const std::string& head, const std::string& body, int32_t gap) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(head + body + kEnd, kAnalysePlain));
  const int removed = RemoveShortClears(doc, gap);
  std::string out = doc.Write();
  EXPECT_EQ(out.substr(0, head.size()), head);
  EXPECT_EQ(out.substr(out.size() - kEnd.size()), kEnd);
  return {removed, out.substr(head.size(), out.size() - head.size() - kEnd.size())};
}

TEST(ShortClearsTest, OneClass) {
  struct Case { const char* what; int32_t gap; std::string body; int removed; std::string expected; };
  const Case cases[] = {
      {"gap 0: caption earlier than the clear", 0, Kr(1000, "A") + KrClear(2000) + Kr(1990, "B"), 1,
       Kr(1000, "A") + Kr(1990, "B")},
      {"gap 0: a caption at the same time as the clear", 0,
       Kr(1000, "A") + KrClear(2000) + Kr(2000, "B"), 1, Kr(1000, "A") + Kr(2000, "B")},
      {"gap 500: 400 ms after goes, 600 ms after stays", 500,
       Kr(9000, "A") + KrClear(10000) + Kr(10400, "B") + KrClear(12000) + Kr(12600, "C"), 1,
       Kr(9000, "A") + Kr(10400, "B") + KrClear(12000) + Kr(12600, "C")},
      {"gap 0: one millisecond later keeps the clear", 0,
       Kr(1000, "A") + KrClear(2000) + Kr(2001, "B"), 0,
       Kr(1000, "A") + KrClear(2000) + Kr(2001, "B")},
      {"gap 500: exactly 500 goes, 501 stays", 500,
       Kr(0, "A") + KrClear(1000) + Kr(1500, "B") + KrClear(3000) + Kr(3501, "C"), 1,
       Kr(0, "A") + Kr(1500, "B") + KrClear(3000) + Kr(3501, "C")},
      {"a clear before a clear stays; the later one goes", 500,
       Kr(1000, "A") + KrClear(2000) + KrClear(2100) + Kr(2200, "B"), 1,
       Kr(1000, "A") + KrClear(2000) + Kr(2200, "B")},
      {"a chain loses every short clear in one run", 500,
       Kr(1000, "A") + KrClear(2000) + Kr(2100, "B") + KrClear(3000) + Kr(3100, "C"), 2,
       Kr(1000, "A") + Kr(2100, "B") + Kr(3100, "C")},
      {"the caption after a removed clear is the previous sync", 500,
       Kr(1000, "A") + KrClear(2000) + Kr(2400, "B") + Kr(2450, "C"), 1,
       Kr(1000, "A") + Kr(2400, "B") + Kr(2450, "C")},
      {"a first clear has no caption before it but still goes", 500,
       KrClear(100) + Kr(200, "A"), 1, Kr(200, "A")},
      {"a comment between clear and caption goes with the clear", 500,
       Kr(1000, "A") + KrClear(2000) + "<!-- note -->\r\n" + Kr(2300, "B"), 1,
       Kr(1000, "A") + Kr(2300, "B")},
      // An empty paragraph is a clear once analysed, rewritten to "&nbsp;".
      {"an empty paragraph is a clear", 500, Kr(1000, "A") + Kr(1500, "") + Kr(1600, "B"), 1,
       Kr(1000, "A") + Kr(1600, "B")},
      // Starts from end to end of the 32-bit range: the gap is not wrapped.
      {"extreme starts", 999, KrClear(-2147483647 - 1) + Kr(2147483647, "A"), 0,
       KrClear(-2147483647 - 1) + Kr(2147483647, "A")},
      {"a sync without paragraph is passed over", 500,
       Kr(1000, "A") + KrClear(2000) + "<SYNC Start=2100>\r\n" + Kr(2200, "B"), 1,
       Kr(1000, "A") + Kr(2200, "B")},
  };
  for (const Case& c : cases) {
    const Outcome got = Clean(kOneClass, c.body, c.gap);
    EXPECT_EQ(got.removed, c.removed) << c.what;
    EXPECT_EQ(got.body, c.expected) << c.what;
  }
}

TEST(ShortClearsTest, ClassesAreWalkedOneByOne) {
  auto sync = [](int start) { return "<SYNC Start=" + std::to_string(start) + ">"; };
  const std::string kr = "<P Class=KRCC>", en = "<P Class=ENCC>", nbsp = "&nbsp;\r\n";
  struct Case { const char* what; std::string head, body; int removed; std::string expected; };
  const Case cases[] = {
      // The next Korean sync decides: the English sync between goes along.
      {"a Korean clear takes the English sync after it", kTwoClasses,
       sync(1000) + kr + "A\r\n" + en + "a\r\n" + sync(2000) + kr + nbsp + sync(2100) + en +
           "b\r\n" + sync(2200) + kr + "B\r\n",
       1, sync(1000) + kr + "A\r\n" + en + "a\r\n" + sync(2200) + kr + "B\r\n"},
      // The English walk takes the short English clear; the Korean walk then
      // takes its clear and the English caption that follows it.
      {"both walks count", kTwoClasses,
       sync(1000) + kr + "A\r\n" + sync(1100) + en + "a\r\n" + sync(2000) + kr + nbsp +
           sync(2050) + en + nbsp + sync(2200) + en + "b\r\n" + sync(2300) + kr + "B\r\n",
       2, sync(1000) + kr + "A\r\n" + sync(1100) + en + "a\r\n" + sync(2300) + kr + "B\r\n"},
      // The masks tested are the syncs' whole masks: a sync that shows a
      // Korean caption and clears the English one counts as a clear.
      {"a sync that clears any class is a clear", kTwoClasses,
       sync(1000) + kr + "A\r\n" + en + "a\r\n" + sync(2000) + kr + "B\r\n" + en + nbsp +
           sync(2300) + kr + "C\r\n" + en + "c\r\n",
       1, sync(1000) + kr + "A\r\n" + en + "a\r\n" + sync(2300) + kr + "C\r\n" + en + "c\r\n"},
      {"no classes declared: one walk over unnamed paragraphs", "<SAMI><BODY>\r\n",
       sync(1000) + "<P>A\r\n" + sync(2000) + "<P>&nbsp;\r\n" + sync(2400) + "<P>B\r\n", 1,
       sync(1000) + "<P>A\r\n" + sync(2400) + "<P>B\r\n"},
      {"an undeclared class joins every walk", kTwoClasses,
       sync(1000) + "<P Class=JPCC>A\r\n" + sync(2000) + "<P Class=JPCC>&nbsp;\r\n" + sync(2400) +
           "<P Class=JPCC>B\r\n",
       1, sync(1000) + "<P Class=JPCC>A\r\n" + sync(2400) + "<P Class=JPCC>B\r\n"},
  };
  for (const Case& c : cases) {
    const Outcome got = Clean(c.head, c.body, 500);
    EXPECT_EQ(got.removed, c.removed) << c.what;
    EXPECT_EQ(got.body, c.expected) << c.what;
  }
}

TEST(ShortClearsTest, DoneMessage) {
  // 작업완료 - [3]개 클리어 싱크 삭제됨
  EXPECT_EQ(ShortClearsDoneMessage(3),
            "\xC0\xDB\xBE\xF7\xBF\xCF\xB7\xE1 - [3]\xB0\xB3 \xC5\xAC\xB8\xAE\xBE\xEE "
            "\xBD\xCC\xC5\xA9 \xBB\xE8\xC1\xA6\xB5\xCA");
}

}  // namespace
}  // namespace cadenzio
