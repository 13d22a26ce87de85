// Inputs that must neither crash nor hang nor lose bytes: what the document
// holds afterwards, for each.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "sami/analysed.h"
#include "sami/sami_document.h"

namespace cadenzio {
namespace {

std::vector<SamiNodeKind> Kinds(const SamiDocument& doc) {
  std::vector<SamiNodeKind> kinds;
  for (const auto& node : doc.nodes) kinds.push_back(node.kind);
  return kinds;
}

using K = SamiNodeKind;

TEST(SamiHostileInput, WithoutBody) {
  for (std::string text : {std::string(), std::string("<SAMI><BODY><P>no sync</P>"),
                           std::string("\x81"), std::string("<SY"), std::string(20000, '\r'),
                           std::string("abc\0<SYN\0C", 10)}) {
    const auto doc = Analysed(text);
    EXPECT_EQ(doc.header, text);
    EXPECT_TRUE(doc.nodes.empty());
    EXPECT_EQ(doc.tail, "");
    EXPECT_EQ(doc.Write(), text);
  }
}

TEST(SamiHostileInput, NulBytesAndGarbageAreKept) {
  // A NUL ends what the patterns see, never what the document keeps.
  const std::string text("<SYNC Start=1>a\0b<P Class=KRCC>x\0y\r\n<SYNC Start=2>\0\r\n", 51);
  const auto doc = Analysed(text);
  ASSERT_EQ(Kinds(doc), (std::vector<K>{K::Other, K::Sync, K::Paragraph, K::Sync}));
  EXPECT_EQ(doc.nodes[1].text, std::string("<SYNC Start=1>a\0b", 17));
  EXPECT_EQ(doc.nodes[2].class_name, "KRCC");
  EXPECT_EQ(doc.nodes[2].text, std::string("<P Class=KRCC>x\0y\r\n", 19));
  EXPECT_EQ(doc.Write(), text + "\r\n</BODY>\r\n</SAMI>");
  // A NUL inside a tag hides the rest of it: the tag is text.
  const std::string cut("<SYNC Start=1><P Class=K\0RCC>x", 30);
  const auto hidden = Analysed(cut);
  ASSERT_EQ(Kinds(hidden), (std::vector<K>{K::Other, K::Sync}));
  EXPECT_EQ(hidden.nodes[1].text, cut);

  std::mt19937 rng(7);
  std::string garbage = "<SYNC Start=1>";
  for (int i = 0; i < 200000; ++i) {
    static const char kBytes[] = "<>PSYNC=\r\n\x81\xB0\xA1\t -0123!";
    garbage += rng() % 4 ? kBytes[rng() % (sizeof kBytes - 1)] : static_cast<char>(rng());
  }
  for (int mode : {0, 1, 2}) {
    const auto doc = Analysed(garbage, mode);
    EXPECT_GE(doc.nodes.size(), 2u);
    if (mode == kAnalyseKeepBlanks) continue;
    // Rewriting again changes nothing in mode 0.
    if (mode == kAnalysePlain) EXPECT_EQ(Analysed(doc.Write()).Write(), doc.Write());
  }
}

TEST(SamiHostileInput, LeadBytesAndTruncatedTags) {
  // A lead byte at the end of a line or of the file stays with its line and
  // never joins the '<' of the next tag.
  const std::string text = "<SYNC Start=1><P Class=A>\xB0\r\n<SYNC Start=2>\xB0<P>\xB0";
  const auto doc = Analysed(text);
  ASSERT_EQ(Kinds(doc), (std::vector<K>{K::Other, K::Sync, K::Paragraph, K::Sync, K::Paragraph}));
  EXPECT_EQ(doc.nodes[3].text, "<SYNC Start=2>\xB0");
  EXPECT_EQ(doc.nodes[4].text, "<P>\xB0");

  const auto cut = Analysed("<SYNC Start=1>x\r\n<SYNC Start=2");
  ASSERT_EQ(Kinds(cut), (std::vector<K>{K::Other, K::Sync}));
  EXPECT_EQ(cut.nodes[1].text, "<SYNC Start=1>x\r\n<SYNC Start=2");
  const auto cut_comment = Analysed("<SYNC Start=1>x\r\n<!--");
  EXPECT_EQ(cut_comment.nodes.back().text, "<SYNC Start=1>x\r\n<!--");
}

TEST(SamiHostileInput, StartValues) {
  const auto doc = Analysed(
      "<SYNC Start=99999999999><SYNC Start=-99999999999><SYNC Start=2147483648>"
      "<SYNC Start=-2147483648><SYNC Start=-0><SYNC Start=007>");
  std::vector<int32_t> starts;
  for (const auto& node : doc.nodes)
    if (node.kind == K::Sync) starts.push_back(node.start);
  EXPECT_EQ(starts, (std::vector<int32_t>{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, 0, 7}));
}

TEST(SamiHostileInput, SyncInsideComments) {
  // In the head a comment is plain text, so a sync tag inside it starts the
  // body; in the body a comment ends at the next '<'.
  const auto head = Analysed("<!-- <SYNC Start=5> -->\r\n<SYNC Start=9>");
  EXPECT_EQ(head.header, "<!-- ");
  EXPECT_EQ(head.nodes[1].start, 5);
  const auto body = Analysed("<SYNC Start=1>\r\n<!-- old <SYNC Start=2> -->\r\n");
  ASSERT_EQ(Kinds(body), (std::vector<K>{K::Other, K::Sync, K::Other, K::Sync}));
  EXPECT_EQ(body.nodes[2].text, "<!-- old ");
  EXPECT_EQ(body.nodes[3].text, "<SYNC Start=2> -->\r\n");
}

TEST(SamiHostileInput, LineEnds) {
  // Only LF ends a line; a file of CR line ends is read in 1022-byte pieces.
  std::string cr;
  for (int i = 0; i < 300; ++i) cr += "<SYNC Start=" + std::to_string(i) + ">\r";
  const auto doc = Analysed(cr);
  // Tags cut by a piece boundary are text; the rest are syncs.
  const std::size_t pieces = (cr.size() + kBodyPieceLimit - 1) / kBodyPieceLimit;
  EXPECT_GE(doc.nodes.size(), 301u - (pieces - 1));
  EXPECT_LT(doc.nodes.size(), 301u);
  EXPECT_EQ(doc.nodes.back().line, static_cast<int>(pieces));
  EXPECT_EQ(doc.Write(), cr + "\r\n</BODY>\r\n</SAMI>");

  std::string lf;
  for (int i = 0; i < 300; ++i) lf += "<SYNC Start=" + std::to_string(i) + ">\n";
  EXPECT_EQ(Analysed(lf).nodes.back().line, 300);
  const std::string only_lf(5000, '\n');
  EXPECT_EQ(Analysed(only_lf).header, only_lf);
}

// Large inputs finish and give the right document; the benchmark measures them.
TEST(SamiHostileInput, LargeInputs) {
  // 20 MB of 1 MB lines of tags and text without a line feed inside.
  const std::string unit = "<SYNC Start=10><P Class=KRCC>\xC7\xD1<font color=red>x</font>";
  std::string line;
  while (line.size() < (1u << 20)) line += unit;
  line += "\r\n";
  std::string big;
  for (int i = 0; i < 20; ++i) big += line;
  const auto doc = Analysed(big, kAnalyseFixBreaks);
  // Two nodes a unit, but for the tags that piece boundaries cut.
  const std::size_t units = 20 * (line.size() / unit.size());
  EXPECT_GT(doc.nodes.size(), 2 * units - 2 * (big.size() / kBodyPieceLimit + 1));
  EXPECT_LE(doc.nodes.size(), 2 * units + 1);
  EXPECT_EQ(doc.Write(), big + "\r\n</BODY>\r\n</SAMI>");
  EXPECT_EQ(doc.nodes.back().line, static_cast<int>(big.size() / line.size()) *
                                       static_cast<int>((line.size() + kBodyPieceLimit - 1) /
                                                        kBodyPieceLimit));

  // A million syncs.
  std::string many;
  for (int i = 0; i < 1000000; ++i) many += "<SYNC Start=" + std::to_string(i) + "><P>t\r\n";
  const auto syncs = Analysed(many);
  ASSERT_EQ(syncs.nodes.size(), 2000001u);
  EXPECT_EQ(syncs.nodes[1999999].start, 999999);
  EXPECT_EQ(syncs.nodes[1999999].line, 1000000);

  // One paragraph of 5 MB: recognition stops past 2048 bytes, every line kept.
  std::string para = "<SYNC Start=1><P Class=KRCC>\r\n";
  while (para.size() < 5u * (1u << 20)) para += "\xC7\xD1\xB1\xDB text <i>line</i>\r\n";
  const auto one = Analysed(para);
  EXPECT_EQ(one.nodes.back().kind, K::Overflow);
  EXPECT_EQ(one.Write(), para);
}

}  // namespace
}  // namespace cadenzio
