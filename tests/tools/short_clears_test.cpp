// Removal of clears that are followed too soon by the next caption.
#include "tools/short_clears.h"

#include <gtest/gtest.h>

namespace cadenzio {
namespace {

// A sync and its Korean paragraph, by default a clear; then an English one if given.
std::string S(long start, const std::string& kr = "&nbsp;", const std::string& en = "") {
  return "<SYNC Start=" + std::to_string(start) + "><P Class=KRCC>" + kr + "\r\n" +
         (en.empty() ? "" : "<P Class=ENCC>" + en + "\r\n");
}

TEST(ShortClearsTest, RemovesClearsFollowedWithinTheGap) {
  // Declared Korean first, so the classes array is ENCC (1), KRCC (2).
  const std::string head = "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n"
                           ".ENCC {Name:English; lang:en-US; }\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
  const std::string a = S(1000, "A"), en = "&nbsp;";
  const struct { int32_t gap; std::string in; int removed; std::string out; } cases[] = {
      {0, a + S(2000) + S(2000, "B") + S(3000) + S(3001, "C"), 1, a + S(2000, "B") + S(3000) + S(3001, "C")},
      {500, a + S(2000) + S(2500, "B") + S(3000) + S(3501, "C"), 1, a + S(2500, "B") + S(3000) + S(3501, "C")},
      {500, S(100) + S(200, "A") + S(2000) + S(2100) + S(2200, "B"), 2, S(200, "A") + S(2000) + S(2200, "B")},
      {500, a + S(2000) + "<!-- note -->\r\n" + S(2300, "B"), 1, a + S(2300, "B")},  // the comment goes along
      {999, S(-2147483648L) + S(2147483647, "A"), 0, S(-2147483648L) + S(2147483647, "A")},  // no wrap
      // The next Korean sync decides: the English sync between goes along.
      {500, S(1000, "A", "a") + S(2000) + "<SYNC Start=2100><P Class=ENCC>b\r\n" + S(2200, "B"), 1,
       S(1000, "A", "a") + S(2200, "B")},
      // The sync's whole mask counts: showing Korean and clearing English is a clear.
      {500, S(1000, "A", "a") + S(2000, "B", en) + S(2300, "C", "c"), 1, S(1000, "A", "a") + S(2300, "C", "c")},
  };
  for (const auto& c : cases) {
    SamiDocument doc;
    ASSERT_TRUE(doc.Analyse(head + c.in + "</BODY>\r\n</SAMI>\r\n", kAnalysePlain));
    EXPECT_EQ(RemoveShortClears(doc, c.gap), c.removed) << c.in;
    EXPECT_EQ(doc.Write(), head + c.out + "</BODY>\r\n</SAMI>\r\n") << c.in;
  }
  // 작업완료 - [3]개 클리어 싱크 삭제됨
  EXPECT_EQ(ShortClearsDoneMessage(3), "\xC0\xDB\xBE\xF7\xBF\xCF\xB7\xE1 - [3]\xB0\xB3 \xC5\xAC\xB8\xAE\xBE\xEE "
                                       "\xBD\xCC\xC5\xA9 \xBB\xE8\xC1\xA6\xB5\xCA");
}

}  // namespace
}  // namespace cadenzio
