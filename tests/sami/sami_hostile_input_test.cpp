// Inputs that must neither crash nor hang nor lose bytes: what the document
// holds afterwards, for each.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "sami/analysed.h"
#include "sami/sami_document.h"

namespace cadenzio {
namespace {

TEST(SamiHostileInput, WithoutBody) {
  for (std::string text : {std::string(), std::string("<SAMI><BODY><P>no sync</P>"), std::string("\x81"),
                           std::string(20000, '\r'), std::string("abc\0<SYN\0C", 10)}) {
    const auto doc = Analysed(text);
    EXPECT_TRUE(doc.header == text && doc.nodes.empty() && doc.tail.empty() && doc.Write() == text) << text.size();
  }
}

// Each input's document, whole: no byte is lost, since the dump shows the
// header, every node's text and the tail that Write() joins.
TEST(SamiHostileInput, ExactDocuments) {
  using namespace std::string_literals;
  const std::string kNoHead = "header: \"\"\nOther line=0 start=0 class=0 clear=0 \"\"\n";
  const std::string kTail = "tail: \"\\r\\n</BODY>\\r\\n</SAMI>\"\n";
  const struct {
    std::string text, dump;
  } cases[] = {
      // A NUL ends what the patterns see, never what the document keeps.
      {"<SYNC Start=1>a\0b<P Class=KRCC>x\0y\r\n<SYNC Start=2>\0\r\n"s,
       kNoHead + "Sync line=1 start=1 class=4294967295 clear=0 \"<SYNC Start=1>a\\x00b\"\n"
                 "Paragraph line=1 start=0 class=0 clear=0 name=KRCC \"<P Class=KRCC>x\\x00y\\r\\n\"\n"
                 "Sync line=2 start=2 class=0 clear=0 \"<SYNC Start=2>\\x00\\r\\n\"\n" + kTail},
      // A lead byte at the end of a line or of the file stays with its line
      // and never joins the '<' of the next tag.
      {"<SYNC Start=1><P Class=A>\xB0\r\n<SYNC Start=2>\xB0<P>\xB0",
       kNoHead + "Sync line=1 start=1 class=4294967295 clear=0 \"<SYNC Start=1>\"\n"
                 "Paragraph line=1 start=0 class=0 clear=0 name=A \"<P Class=A>\\xB0\\r\\n\"\n"
                 "Sync line=2 start=2 class=1023 clear=0 \"<SYNC Start=2>\\xB0\"\n"
                 "Paragraph line=2 start=0 class=0 clear=0 \"<P>\\xB0\"\n" + kTail},
      // Truncated tags are text.
      {"<SYNC Start=1>x\r\n<SYNC Start=2",
       kNoHead + "Sync line=1 start=1 class=0 clear=0 \"<SYNC Start=1>x\\r\\n<SYNC Start=2\"\n" + kTail},
      // Starts past 32 bits saturate.
      {"<SYNC Start=99999999999><SYNC Start=-99999999999><SYNC Start=2147483648>",
       kNoHead + "Sync line=1 start=2147483647 class=0 clear=0 \"<SYNC Start=99999999999>\"\n"
                 "Sync line=1 start=-2147483648 class=0 clear=0 \"<SYNC Start=-99999999999>\"\n"
                 "Sync line=1 start=2147483647 class=0 clear=0 \"<SYNC Start=2147483648>\"\n" + kTail},
      // In the head a comment is plain text, so a sync tag inside it starts the body.
      {"<!-- <SYNC Start=5> -->\r\n<SYNC Start=9>",
       "header: \"<!-- \"\nOther line=0 start=0 class=0 clear=0 \"\"\n"
       "Sync line=1 start=5 class=0 clear=0 \"<SYNC Start=5> -->\\r\\n\"\n"
       "Sync line=2 start=9 class=0 clear=0 \"<SYNC Start=9>\"\n" + kTail},
  };
  for (const auto& c : cases) EXPECT_EQ(BodyDump(Analysed(c.text)), c.dump);
}

TEST(SamiHostileInput, GarbageKeepsItsSyncAndRewritesStably) {
  std::mt19937 rng(7);
  std::string garbage = "<SYNC Start=1>";
  static const char kBytes[] = "<>PSYNC=\r\n\x81\xB0\xA1\t -0123!";
  while (garbage.size() < 200000) garbage += rng() % 4 ? kBytes[rng() % (sizeof kBytes - 1)] : static_cast<char>(rng());
  for (int mode : {0, 1, 2}) EXPECT_GE(Analysed(garbage, mode).nodes.size(), 2u) << mode;
  const std::string once = Analysed(garbage).Write();
  EXPECT_EQ(Analysed(once).Write(), once);
}

TEST(SamiHostileInput, LineEnds) {
  // Only LF ends a line; a file of CR line ends is read in 1022-byte pieces,
  // where tags cut by a piece boundary are text.
  std::string cr, lf;
  for (int i = 0; i < 300; ++i) cr += "<SYNC Start=" + std::to_string(i) + ">\r", lf += "<SYNC Start=1>\n";
  const auto doc = Analysed(cr);
  const std::size_t pieces = (cr.size() + kBodyPieceLimit - 1) / kBodyPieceLimit;
  EXPECT_GE(doc.nodes.size(), 301u - (pieces - 1));
  EXPECT_LT(doc.nodes.size(), 301u);
  EXPECT_EQ(doc.nodes.back().line, static_cast<int>(pieces));
  EXPECT_EQ(doc.Write(), cr + "\r\n</BODY>\r\n</SAMI>");

  EXPECT_EQ(Analysed(lf).nodes.back().line, 300);
  EXPECT_EQ(Analysed(std::string(5000, '\n')).header, std::string(5000, '\n'));
}

// Large inputs finish and give the right document; the benchmark measures them.
TEST(SamiHostileInput, LargeInputs) {
  // 20 MB of 1 MB lines of tags and text without a line feed inside.
  const std::string unit = "<SYNC Start=10><P Class=KRCC>\xC7\xD1<font color=red>x</font>";
  std::string line, big;
  while (line.size() < (1u << 20)) line += unit;
  line += "\r\n";
  while (big.size() < 20 * line.size()) big += line;
  const auto doc = Analysed(big, kAnalyseFixBreaks);
  // Two nodes a unit, but for the tags that piece boundaries cut.
  const std::size_t units = 20 * (line.size() / unit.size());
  EXPECT_GT(doc.nodes.size(), 2 * units - 2 * (big.size() / kBodyPieceLimit + 1));
  EXPECT_LE(doc.nodes.size(), 2 * units + 1);
  EXPECT_EQ(doc.Write(), big + "\r\n</BODY>\r\n</SAMI>");
  EXPECT_EQ(doc.nodes.back().line, 20 * static_cast<int>((line.size() + kBodyPieceLimit - 1) / kBodyPieceLimit));

  // A million syncs.
  std::string many;
  for (int i = 0; i < 1000000; ++i) many += "<SYNC Start=" + std::to_string(i) + "><P>t\r\n";
  const auto syncs = Analysed(many);
  ASSERT_EQ(syncs.nodes.size(), 2000001u);
  EXPECT_EQ(syncs.nodes[1999999].start, 999999);

  // One paragraph of 5 MB: recognition stops past 2048 bytes, every line kept.
  std::string para = "<SYNC Start=1><P Class=KRCC>\r\n";
  while (para.size() < 5u * (1u << 20)) para += "\xC7\xD1\xB1\xDB text <i>line</i>\r\n";
  const auto one = Analysed(para);
  EXPECT_EQ(one.nodes.back().kind, SamiNodeKind::Overflow);
  EXPECT_EQ(one.Write(), para);
}

}  // namespace
}  // namespace cadenzio
