// Removal of clears that are followed too soon by the next caption.
#include "tools/short_clears.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace cadenzio {
namespace {

const std::string kOneClass =
    "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
// Declared Korean first, so the classes array is ENCC (1), KRCC (2).
const std::string kTwoClasses =
    "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n"
    ".ENCC {Name:English; lang:en-US; }\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kEnd = "</BODY>\r\n</SAMI>\r\n";

// "1000 A E:a, 2000 _, <!-- c -->": a sync line per item, its paragraphs
// KRCC unless marked E: (ENCC), J: (undeclared JPCC) or P: (no class); "_" is
// &nbsp;, "1500 " an empty paragraph, "=2100" a sync without paragraph; an
// item opening with '<' is a line as it stands.
std::string Body(const std::string& list) {
  std::string out;
  std::stringstream items(list);
  for (std::string item; std::getline(items >> std::ws, item, ',');) {
    if (item[0] == '<' || item[0] == '=') {
      out += (item[0] == '<' ? item : "<SYNC Start=" + item.substr(1) + ">") + "\r\n";
      continue;
    }
    std::stringstream words(item);
    std::string start, text;
    words >> start;
    out += "<SYNC Start=" + start + ">";
    std::vector<std::string> paragraphs;
    while (words >> text) paragraphs.push_back(text);
    if (paragraphs.empty()) paragraphs.emplace_back();  // "1500 "
    for (const std::string& p : paragraphs) {
      const bool marked = p.size() > 1 && p[1] == ':';
      const char mark = marked ? p[0] : 'K';
      const std::string body = p.substr(marked ? 2 : 0);
      out += mark == 'P' ? "<P>" : mark == 'E' ? "<P Class=ENCC>" : mark == 'J' ? "<P Class=JPCC>" : "<P Class=KRCC>";
      out += (body == "_" ? "&nbsp;" : body) + "\r\n";
    }
  }
  return out;
}

TEST(ShortClearsTest, RemovesClearsFollowedWithinTheGap) {
  struct Case {
    const char* what;
    const std::string& head;
    int32_t gap;
    std::string in;
    int removed;
    std::string out;
  };
  const Case cases[] = {
      {"gap 0: a caption earlier than the clear", kOneClass, 0, "1000 A, 2000 _, 1990 B", 1, "1000 A, 1990 B"},
      {"gap 0: a caption at the clear's time", kOneClass, 0, "1000 A, 2000 _, 2000 B", 1, "1000 A, 2000 B"},
      {"gap 0: one millisecond later keeps it", kOneClass, 0, "1000 A, 2000 _, 2001 B", 0, "1000 A, 2000 _, 2001 B"},
      {"gap 500: 400 ms goes, 600 ms stays", kOneClass, 500, "9000 A, 10000 _, 10400 B, 12000 _, 12600 C", 1,
       "9000 A, 10400 B, 12000 _, 12600 C"},
      {"gap 500: exactly 500 goes, 501 stays", kOneClass, 500, "0 A, 1000 _, 1500 B, 3000 _, 3501 C", 1,
       "0 A, 1500 B, 3000 _, 3501 C"},
      {"a clear before a clear stays", kOneClass, 500, "1000 A, 2000 _, 2100 _, 2200 B", 1, "1000 A, 2000 _, 2200 B"},
      {"a chain loses every short clear", kOneClass, 500, "1000 A, 2000 _, 2100 B, 3000 _, 3100 C", 2,
       "1000 A, 2100 B, 3100 C"},
      {"the caption after a removed clear is the previous sync", kOneClass, 500, "1000 A, 2000 _, 2400 B, 2450 C",
       1, "1000 A, 2400 B, 2450 C"},
      {"a first clear goes too", kOneClass, 500, "100 _, 200 A", 1, "200 A"},
      {"a comment between goes with the clear", kOneClass, 500, "1000 A, 2000 _, <!-- note -->, 2300 B", 1,
       "1000 A, 2300 B"},
      {"an empty paragraph is a clear", kOneClass, 500, "1000 A, 1500 , 1600 B", 1, "1000 A, 1600 B"},
      {"starts end to end of 32 bits: the gap does not wrap", kOneClass, 999, "-2147483648 _, 2147483647 A", 0,
       "-2147483648 _, 2147483647 A"},
      {"a sync without paragraph is passed over", kOneClass, 500, "1000 A, 2000 _, =2100, 2200 B", 1,
       "1000 A, 2200 B"},
      // The next Korean sync decides: the English sync between goes along.
      {"a Korean clear takes the English sync after it", kTwoClasses, 500,
       "1000 A E:a, 2000 _, 2100 E:b, 2200 B", 1, "1000 A E:a, 2200 B"},
      // The English walk takes its short clear; the Korean walk then takes its
      // clear and the English caption after it.
      {"both walks count", kTwoClasses, 500, "1000 A, 1100 E:a, 2000 _, 2050 E:_, 2200 E:b, 2300 B", 2,
       "1000 A, 1100 E:a, 2300 B"},
      // The sync's whole mask counts: showing Korean and clearing English is a clear.
      {"a sync that clears any class is a clear", kTwoClasses, 500, "1000 A E:a, 2000 B E:_, 2300 C E:c", 1,
       "1000 A E:a, 2300 C E:c"},
      {"no classes declared: one walk", "<SAMI><BODY>\r\n", 500, "1000 P:A, 2000 P:_, 2400 P:B", 1,
       "1000 P:A, 2400 P:B"},
      {"an undeclared class joins every walk", kTwoClasses, 500, "1000 J:A, 2000 J:_, 2400 J:B", 1,
       "1000 J:A, 2400 J:B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SamiDocument doc;
    ASSERT_TRUE(doc.Analyse(c.head + Body(c.in) + kEnd, kAnalysePlain));
    EXPECT_EQ(RemoveShortClears(doc, c.gap), c.removed);
    EXPECT_EQ(doc.Write(), c.head + Body(c.out) + kEnd);
  }
  // 작업완료 - [3]개 클리어 싱크 삭제됨
  EXPECT_EQ(ShortClearsDoneMessage(3),
            "\xC0\xDB\xBE\xF7\xBF\xCF\xB7\xE1 - [3]\xB0\xB3 \xC5\xAC\xB8\xAE\xBE\xEE "
            "\xBD\xCC\xC5\xA9 \xBB\xE8\xC1\xA6\xB5\xCA");
}

}  // namespace
}  // namespace cadenzio
