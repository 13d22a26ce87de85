// The analyser and its post-processing, checked through the document dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "sami/analysed.h"
#include "sami/sami_document.h"
#include "sami/sami_text.h"

namespace cadenzio {
namespace {

constexpr char kHead[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { margin-left:8pt; color: Yellow ; background-color:black; }\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; color:red; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

TEST(SamiAnalyser, CutsBodyIntoNodes) {
  // Text lines join the paragraph before them; tags in any case; a head of
  // three lines puts the first sync on line 4; comments are Other nodes. A
  // class is read only as a plain first attribute, and every tag whose name
  // begins with P is a paragraph.
  EXPECT_EQ(BodyDump(Analysed(
                "a\nb\nc\n<sync start=5><p class=encc>one\ntwo <i>x</i>\n<!-- note -->\n"
                "<SYNC Start=1500MS><P>z\n<SYNC Start=-20>\n<SYNC Start=abc>\n<SYNC Start=9>"
                "<P Class=\"KRCC\">q\n<P Class=KRCC ID=a>c\n<Pre>d\n"
                "</BODY>\n</SAMI>\n")),
            "header: \"a\\nb\\nc\\n\"\n"
            "Other line=0 start=0 class=0 clear=0 \"\"\n"
            "Sync line=4 start=5 class=4294967295 clear=0 \"<sync start=5>\"\n"
            "Paragraph line=4 start=0 class=0 clear=0 name=encc \"<p class=encc>one\\ntwo <i>x</i>\\n\"\n"
            "Other line=0 start=0 class=0 clear=0 \"<!-- note -->\\n\"\n"
            "Sync line=7 start=1500 class=1023 clear=0 \"<SYNC Start=1500MS>\"\n"
            "Paragraph line=7 start=0 class=0 clear=0 \"<P>z\\n\"\n"
            "Sync line=8 start=-20 class=0 clear=0 \"<SYNC Start=-20>\\n<SYNC Start=abc>\\n\"\n"
            "Sync line=10 start=9 class=1023 clear=0 \"<SYNC Start=9>\"\n"
            "Paragraph line=10 start=0 class=0 clear=0 \"<P Class=\\\"KRCC\\\">q\\n\"\n"
            "Paragraph line=11 start=0 class=0 clear=0 \"<P Class=KRCC ID=a>c\\n\"\n"
            "Paragraph line=12 start=0 class=0 clear=0 \"<Pre>d\\n\"\n"
            "tail: \"</BODY>\\n</SAMI>\\n\"\n");
}

TEST(SamiAnalyser, LimitsAndClosingTags) {
  // Blanks inside a closing tag end the body, but only the literal "</SAMI"
  // counts as a closing SAMI tag in the tail.
  EXPECT_EQ(Analysed("<SYNC Start=1>x\r\n</SAMI>\r\nrest").tail, "</BODY>\r\n</SAMI>\r\nrest");
  EXPECT_EQ(Analysed("<SYNC Start=1>x\r\n< / sami >\r\n").tail, "</BODY>\r\n< / sami >\r\n\r\n</SAMI>");

  // A doubled '<' takes the second '<' as the byte looked at: no body. A
  // sync tag at offset 8190 starts the body; one at 8191 leaves it all header.
  EXPECT_EQ(Analysed("<<SYNC Start=1>x\r\n").header, "<<SYNC Start=1>x\r\n");
  const std::string sync = "<SYNC Start=7>x\r\n", at_8191 = std::string(8191, 'h') + sync;
  EXPECT_EQ(Analysed(std::string(8190, 'h') + sync).nodes.size(), 2u);
  EXPECT_TRUE(Analysed(at_8191).nodes.empty() && Analysed(at_8191).header == at_8191);

  // 2,500 bytes without a line feed are three pieces, each counted as a line.
  std::string line;
  while (line.size() < 2490) line += "<SYNC Start=1>x";
  line += std::string(2500 - 2 - line.size(), 'y') + "\r\n";
  const auto doc = Analysed(line + "<SYNC Start=2>");
  EXPECT_EQ(doc.nodes.back().line, 4);
  EXPECT_EQ(doc.Write(), line + "<SYNC Start=2>\r\n</BODY>\r\n</SAMI>");

  // Every line after the one that passed 2048 bytes of a paragraph is an overflow node.
  std::string text = "<SYNC Start=1><P Class=KRCC>\r\n";
  for (int i = 0; i < 30; ++i) text += std::string(80, 'a' + i % 26) + "\r\n";
  text += "<SYNC Start=2><P Class=KRCC>b\r\n</BODY>\r\n</SAMI>\r\n";
  const auto long_paragraph = Analysed(text);
  EXPECT_EQ(std::ranges::count(long_paragraph.nodes, SamiNodeKind::Overflow, &SamiNode::kind), 8);
  EXPECT_EQ(long_paragraph.Write(), text);  // the closing tags are in the last overflow node, not the tail
}

TEST(SamiAnalyser, ClassesColourAndMasks) {
  const auto doc = Analysed(std::string(kHead) +
                            "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n<P Class=ENCC>\r\n"
                            "<SYNC Start=2000><P Class=krcc>&nbsp;\r\n<P Class=JPCC>x\r\n"
                            "<SYNC Start=3000><P>all\r\n</BODY>\r\n</SAMI>\r\n");
  ASSERT_EQ(doc.classes, (std::vector<std::string>{"ENCC", "KRCC"}));
  EXPECT_EQ(doc.colour, "yellow");  // not the red of the class declaration
  EXPECT_EQ(std::tuple(doc.ClassMask(" krcc\t"), doc.ClassMask(" \r\n"), doc.ClassMask("JPCC")),
            std::tuple(2u, kAllClasses, kUndeclaredClass));
  EXPECT_EQ(std::pair(doc.ClassIndex(" KRCC"), doc.ClassIndex("encc")), std::pair(-1, 0));
  EXPECT_EQ(BodyDump(doc),
            "header: \"" + Escape(kHead) + "\"\n"
            "Other line=0 start=0 class=0 clear=0 \"\"\n"
            "Sync line=12 start=1000 class=3 clear=1 \"<SYNC Start=1000>\"\n"
            "Paragraph line=12 start=0 class=0 clear=0 name=KRCC \"<P Class=KRCC>\\xC7\\xD1\\r\\n\"\n"
            "Paragraph line=13 start=0 class=0 clear=1 name=ENCC \"<P Class=ENCC>&nbsp;\\r\\n\"\n"
            "Sync line=14 start=2000 class=4294967295 clear=2 \"<SYNC Start=2000>\"\n"
            "Paragraph line=14 start=0 class=0 clear=2 name=krcc \"<P Class=krcc>&nbsp;\\r\\n\"\n"
            "Paragraph line=15 start=0 class=0 clear=0 name=JPCC \"<P Class=JPCC>x\\r\\n\"\n"
            "Sync line=16 start=3000 class=1023 clear=0 \"<SYNC Start=3000>\"\n"
            "Paragraph line=16 start=0 class=0 clear=0 \"<P>all\\r\\n\"\n"
            "tail: \"</BODY>\\r\\n</SAMI>\\r\\n\"\n");

  // A declaration needs a line break and a byte before its dot, but no blank
  // before the brace. The LF of a CR LF pair is such a byte; a bare LF is not.
  for (auto [head, count] : {std::pair{"<STYLE>\r\n.KRCC{lang:ko-KR;}\r\n.X {Name:x}\r\n", 1u},
                             {"<STYLE>\n.KRCC {lang:ko-KR;}\n", 0u}, {"<STYLE>\n .KRCC {lang:ko-KR;}\n", 1u}})
    EXPECT_EQ(Analysed(head + std::string("<SYNC Start=1>")).classes.size(), count) << head;
  // The only colour inside a declaration does not count; background-color does.
  EXPECT_EQ(Analysed("\r\n.KRCC {lang:ko; color:red;}\r\n<SYNC Start=1>").colour, "white");
  EXPECT_EQ(Analysed("P {background-color: #00FF00;}<SYNC Start=1>").colour, "#00ff00");
}

TEST(SamiAnalyser, BlankParagraphsPerMode) {
  const std::string head = "\r\n.KRCC {lang:ko-KR;}\r\n";
  const struct {
    const char *paragraph, *text;
    int mode;
    bool clear;
  } cases[] = {
      {"<P Class=KRCC>\r\n", "<P Class=KRCC>&nbsp;\r\n", 0, true},
      {"<P Class=KRCC>\r\n", "<P Class=KRCC>\r\n", 2, false},
      {"<P Class=KRCC><br>\r\n", "<P Class=KRCC>&nbsp;\r\n", 2, true},
      {"<P Class=KRCC><SPANID=x>\r\n", "<P Class=KRCC>&nbsp;\r\n", 1, true},
      // Only <SPANID and <FONT are known after a paragraph tag; any other tag is caption text.
      {"<P Class=KRCC><SPAN ID=x>\r\n", "<P Class=KRCC><SPAN ID=x>\r\n", 0, false},
  };
  for (const auto& c : cases) {
    const auto doc = Analysed(head + "<SYNC Start=5000>" + c.paragraph, c.mode);
    ASSERT_EQ(doc.nodes.size(), 3u);
    EXPECT_EQ(std::tie(doc.nodes[2].text, doc.nodes[1].class_mask, doc.nodes[1].clear_mask),
              std::tuple(c.text, 1u, c.clear ? 1u : 0u)) << c.paragraph << " mode " << c.mode;
  }
  // A paragraph of 300 bytes or more takes no part in masks.
  EXPECT_EQ(Analysed(head + "<SYNC Start=1><P Class=KRCC>" + std::string(284, ' ') + "\r\n").nodes[1].class_mask, 0u);
}

// Mode 1 repairs line breaks and is idempotent; a well-formed file comes back unchanged in every mode.
TEST(SamiAnalyser, Mode1RepairsLineBreaks) {
  const struct {
    const char *in, *out;
  } cases[] = {
      {"<P Class=KRCC>\r\nfirst line\r\nsecond line\r\n",
       "<P Class=KRCC>\r\nfirst line<br>\r\nsecond line\r\n"},
      {"<P Class=KRCC>a<BR><br>\r\n\r\nb\r\n", "<P Class=KRCC>a<br>\r\nb\r\n"},
      {"<P Class=KRCC>a  \r\n b<Br>\r\nc\r\n", "<P Class=KRCC>a  <br>\r\n b<Br>\r\nc\r\n"},
  };
  for (const auto& c : cases) {
    const auto doc = Analysed(std::string("<SYNC Start=1>") + c.in + "</BODY>", kAnalyseFixBreaks);
    ASSERT_EQ(doc.nodes.size(), 3u);
    EXPECT_EQ(doc.nodes[2].text, c.out) << c.in;
    EXPECT_EQ(Analysed(doc.Write(), kAnalyseFixBreaks).Write(), doc.Write()) << "again: " << c.in;
    EXPECT_EQ(Analysed(std::string("<SYNC Start=1>") + c.in + "</BODY>").nodes[2].text, c.in);  // mode 0
  }
  const std::string file = std::string(kHead) +
                           "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB<br>\r\nline\r\n"
                           "<P Class=ENCC>text\r\n<!-- c -->\r\n"
                           "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
  for (int mode : {0, 1, 2}) EXPECT_EQ(Analysed(file, mode).Write(), file) << mode;
}

}  // namespace
}  // namespace cadenzio
