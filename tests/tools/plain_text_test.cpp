// The bare caption text of a document: one caption a line, clears dropped.
#include "tools/plain_text.h"

#include <gtest/gtest.h>

namespace cadenzio {
namespace {

TEST(PlainTextTest, OneCaptionALineWithoutSyncsTagsOrClears) {
  const std::string head = "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n"
                           ".ENCC {Name:English; lang:en-US; }\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
  const std::string kr = "<SYNC Start=1><P Class=KRCC>", two_lines = kr + "\r\nfirst\r\nsecond\r\n";
  const struct { std::string body; int mode; std::string expected; } cases[] = {
      {two_lines, 0, "firstsecond\r\n"},
      {two_lines, 1, "first<br>second\r\n"},  // break repair
      {kr + "a\nb<BR>c\r\r\n<!-- c -->\r\n", 0, "a\nb<BR>c\r\r\n"},  // only CR LF pairs go
      {"<SYNC Start=1><P Class=ENCC>Hello\r\n<P Class=KRCC>\xC7\xD1\r\n"
       "<SYNC Start=2><P Class=ENCC>&nbsp;\r\n<P ID=a Class=KRCC>x\r\n<SYNC Start=3><P Class=KRCC><BR>\r\n",
       0, "Hello\r\n\xC7\xD1\r\nx\r\n"},  // classes in list order, clears give nothing
  };
  for (const auto& c : cases) {
    SamiDocument doc;
    EXPECT_TRUE(doc.Analyse(head + c.body + "</BODY>\r\n</SAMI>\r\n", c.mode));
    EXPECT_EQ(WriteCaptionTexts(doc), c.expected) << c.body;
  }
}

}  // namespace
}  // namespace cadenzio
