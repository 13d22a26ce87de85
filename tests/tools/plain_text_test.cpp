// The bare caption text of a document: one caption a line, clears dropped.
#include "tools/plain_text.h"

#include <gtest/gtest.h>

namespace cadenzio {
namespace {

const std::string kHan = "\xC7\xD1";  // one CP949 character, two bytes
const std::string kHead =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

std::string TextOf(const std::string& body, int mode) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(kHead + body + "</BODY>\r\n</SAMI>\r\n", mode));
  return WriteCaptionTexts(doc);
}

TEST(PlainTextTest, OneCaptionALineWithoutSyncsTagsOrClears) {
  const std::string kr = "<SYNC Start=1><P Class=KRCC>", two_lines = kr + "\r\nfirst\r\nsecond\r\n";
  const struct { const char* what; std::string body; int mode; std::string expected; } cases[] = {
      {"two lines joined", two_lines, 0, "firstsecond\r\n"},
      {"break repair puts <br> in", two_lines, 1, "first<br>second\r\n"},
      {"a line-break tag stays in its line", kr + "a<br>\r\nb<BR>c\r\n", 0, "a<br>b<BR>c\r\n"},
      {"clears give nothing", kr + "&nbsp;\r\n<SYNC Start=2><P Class=KRCC>\r\n<SYNC Start=3><P Class=KRCC><BR>\r\n", 0,
       ""},
      {"classes in list order, a clear among them",
       "<SYNC Start=1><P Class=ENCC>Hello\r\n<P Class=KRCC>" + kHan +
           "\r\n<SYNC Start=2><P Class=ENCC>&nbsp;\r\n<P Class=KRCC>x\r\n",
       0, "Hello\r\n" + kHan + "\r\nx\r\n"},
      {"other tag attributes and comments", "<SYNC Start=1><P ID=a Class=KRCC>x\r\n<!-- c -->\r\n", 0, "x\r\n"},
      {"only CR LF pairs go: a bare LF or CR stays", kr + "a\nb\r\r\n", 0, "a\nb\r\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(TextOf(c.body, c.mode), c.expected) << c.what;
}

// Bodies built directly: the limit counts bytes after the tag, CR LF included.
TEST(PlainTextTest, LongBodiesAreWrittenAsTheyStand) {
  auto paragraph = [](std::string text, uint32_t clear = 0) {
    SamiNode node;
    node.kind = SamiNodeKind::Paragraph, node.text = std::move(text), node.clear_mask = clear;
    return node;
  };
  std::string hangul;  // 499 characters, 998 bytes
  for (int i = 0; i < 499; ++i) hangul += kHan;
  const std::string under = "x\r\n" + std::string(997, 'y');  // 1000 bytes
  const std::string at = "x\r\n" + std::string(998, 'y');     // 1001 bytes
  const std::string wide = kHan + "\r\n" + hangul;            // 1002 bytes, 502 characters
  SamiDocument doc;
  doc.nodes = {paragraph("<P Class=KRCC>" + under), paragraph("<P Class=KRCC>" + at),
               paragraph("<P Class=KRCC>next"), paragraph("<P Class=KRCC>" + wide),
               paragraph("<P Class=KRCC>&nbsp;", 1), paragraph("<P Class=KRCC no tag end"),
               paragraph("<P>last")};
  EXPECT_EQ(WriteCaptionTexts(doc), "x" + std::string(997, 'y') + "\r\n" + at + "next\r\n" +
                                        wide + "last\r\n");
}

}  // namespace
}  // namespace cadenzio
