// The bare caption text of a document: one caption a line, clears dropped.
#include "tools/plain_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

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
  struct Case {
    const char* what;
    std::string body;
    int mode;
    std::string expected;
  };
  const Case cases[] = {
      {"one line", "<SYNC Start=1000><P Class=KRCC>" + kHan + "\r\n", 0, kHan + "\r\n"},
      {"two lines joined", "<SYNC Start=1><P Class=KRCC>\r\nfirst\r\nsecond\r\n", 0,
       "firstsecond\r\n"},
      {"break repair puts <br> in", "<SYNC Start=1><P Class=KRCC>\r\nfirst\r\nsecond\r\n", 1,
       "first<br>second\r\n"},
      {"a line-break tag stays in its line", "<SYNC Start=1><P Class=KRCC>a<br>\r\nb<BR>c\r\n", 0,
       "a<br>b<BR>c\r\n"},
      {"clears give nothing",
       "<SYNC Start=1><P Class=KRCC>&nbsp;\r\n<SYNC Start=2><P Class=KRCC>\r\n"
       "<SYNC Start=3><P Class=KRCC><BR>\r\n",
       0, ""},
      {"classes in list order, a clear among them",
       "<SYNC Start=1><P Class=ENCC>Hello\r\n<P Class=KRCC>" + kHan +
           "\r\n<SYNC Start=2><P Class=ENCC>&nbsp;\r\n<P Class=KRCC>x\r\n",
       0, "Hello\r\n" + kHan + "\r\nx\r\n"},
      {"other tag attributes and comments", "<SYNC Start=1><P ID=a Class=KRCC>x\r\n<!-- c -->\r\n", 0,
       "x\r\n"},
      // Only CR LF pairs go: a bare LF or CR stays in the line.
      {"bare LF and CR stay", "<SYNC Start=1><P Class=KRCC>a\nb\r\r\n", 0, "a\nb\r\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextOf(c.body, c.mode), c.expected) << c.what;
}

// Bodies built directly: the limit counts bytes after the tag, CR LF included.
TEST(PlainTextTest, LongBodiesAreWrittenAsTheyStand) {
  auto paragraph = [](std::string text, uint32_t clear = 0) {
    SamiNode node;
    node.kind = SamiNodeKind::Paragraph;
    node.text = std::move(text);
    node.clear_mask = clear;
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

// A real CP949 file with CR LF line ends, its captions on the line after
// the tag: each caption becomes one line, the clears vanish.
TEST(PlainTextTest, RealFile) {
  const std::string samples = cadenzio::test::SamplesDir();
  const std::string path = samples + "/subbake-sample.smi";
  if (samples.empty() || !std::filesystem::exists(path)) GTEST_SKIP() << "sample absent";
  const std::string file = cadenzio::test::ReadFile(path);
  SamiDocument doc;
  ASSERT_TRUE(doc.Analyse(file, kAnalysePlain));
  const std::string text = WriteCaptionTexts(doc);
  long captions = 0, line_ends = 0;
  for (const auto& node : doc.nodes)
    captions += node.kind == SamiNodeKind::Paragraph && node.clear_mask == 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++line_ends;
  EXPECT_EQ(line_ends, captions);
  EXPECT_GT(captions, 200);
  EXPECT_EQ(text.find("&nbsp;"), std::string::npos);
}

}  // namespace
}  // namespace cadenzio
