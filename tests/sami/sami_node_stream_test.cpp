// The streamed analysis against the document's: the same nodes, field for
// field, and the same SRT bytes, on hand-made edge cases, random bodies built
// from caption markup, and the real sample files, in every analysis mode.
#include "sami/sami_node_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "sami/sami_document.h"
#include "sami/sami_text.h"
#include "test_support.h"
#include "tools/srt_export.h"

namespace cadenzio {
namespace {

using namespace std::string_literals;

constexpr int kModes[] = {kAnalysePlain, kAnalyseFixBreaks, kAnalyseKeepBlanks};

void ExpectSameAsDocument(const std::string& file, const CodePage& cp, const std::string& what) {
  for (const int mode : kModes) {
    SCOPED_TRACE(what + ", mode " + std::to_string(mode));
    SamiDocument doc(cp);
    ASSERT_TRUE(doc.Analyse(file, mode));
    std::vector<SamiNode> streamed;
    ASSERT_TRUE(StreamSamiNodes(file, cp, mode, [&](const SamiNodeView& v) {
      streamed.push_back({.kind = v.kind, .text = std::string(v.text), .line = v.line,
                          .clear_mask = v.clear_mask, .class_mask = v.class_mask,
                          .start = v.start, .class_name = std::string(v.class_name)});
    }));
    ASSERT_EQ(streamed.size(), doc.nodes.size());
    for (std::size_t i = 0; i < streamed.size(); ++i)
      ASSERT_EQ(streamed[i], doc.nodes[i]) << "node " << i << ": " << Escape(doc.nodes[i].text);

    const SrtExport expected = WriteSrt(doc);
    const SrtTextExport got = WriteSrtFromText(file, cp, mode);
    EXPECT_TRUE(got.analysed);
    EXPECT_EQ(got.has_sync, std::ranges::any_of(doc.nodes, [](const SamiNode& n) {
                return n.kind == SamiNodeKind::Sync;
              }));
    EXPECT_EQ(std::tie(got.srt.bytes, got.srt.error), std::tie(expected.bytes, expected.error));
  }
}

constexpr char kHead[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nP { color:Yellow; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

TEST(SamiNodeStream, EdgeCasesMatchTheDocument) {
  const std::string long_text(3000, 'x');
  std::string many_classes = "<SAMI><HEAD><STYLE>\r\n";
  for (int i = 0; i < 34; ++i)
    many_classes += ".C" + std::string(1, static_cast<char>('A' + i % 26)) +
                    std::string(1, static_cast<char>('a' + i / 26)) + " {lang:xx;}\r\n";
  many_classes += "</STYLE></HEAD><BODY>\r\n<SYNC Start=10><P Class=CAa>one\r\n"
                  "<SYNC Start=20><P Class=CHb>\r\n<SYNC Start=30><P Class=CAa>&nbsp;\r\n";
  const std::vector<std::string> files = {
      "",
      "no body at all",
      kHead,
      // Text and paragraphs before the first real sync; a sync without start.
      std::string(kHead) + "<SYNC>\r\n<P Class=KRCC>\r\nearly\r\n<SYNC Start=100><P Class=KRCC>a\r\n"
                           "<SYNC Start=200><P Class=KRCC>\r\n</BODY></SAMI>",
      // Blank, broken and nbsp paragraphs, with and without span tags; <BR>.
      std::string(kHead) + "<SYNC Start=1><P Class=KRCC>line one\r\nline two<BR>\r\nthree\r\n"
                           "<P Class=ENCC>  <SPANID=x>  \r\n<SYNC Start=2><P Class=KRCC><br>\r\n"
                           "<P Class=ENCC>&NBSP; <font color=red>\r\n<SYNC Start=3>"
                           "<P Class=XX>\r\n<P>\r\n<SYNC Start=4ms><p class = encc >z\r\n"
                           "<SYNC Start=-5><P Class=KRCC>&nbsp;</SAMI>",
      // A caption that nothing ends; a comment; no closing tags.
      std::string(kHead) + "<SYNC Start=10><P Class=KRCC>open <!-- note -->\r\n",
      // A long paragraph (no masks), then a node past the text limit.
      std::string(kHead) + "<SYNC Start=10><P Class=KRCC>" + long_text + "\r\n<SYNC Start=20>" +
          "<P Class=KRCC>\r\n<SYNC Start=30><!-- " + long_text + long_text + "\r\nrest\r\nmore",
      many_classes,
      std::string(kHead) + "<SYNC Start=1><P Class=KRCC>nul\0inside\r\n<SYNC Start=2>"s,
  };
  for (std::size_t i = 0; i < files.size(); ++i)
    ExpectSameAsDocument(files[i], CodePage::Cp949(), "file " + std::to_string(i));
  ExpectSameAsDocument(files[4], CodePage::Utf8(), "file 4 as UTF-8");
}

// Bodies of random markup pieces: every recogniser and post-processing rule
// meets its neighbours in many orders, line breaks inside and between.
TEST(SamiNodeStream, RandomBodiesMatchTheDocument) {
  const std::vector<std::string> pieces = {
      "<SYNC Start=", "<SYNC Start=1200>", "<sync start = 99ms >", "<SYNC Start=-3>",
      "<P Class=KRCC>", "<P Class=ENCC>", "<p class=zz>", "<P>", "<P Class=KRCC ID=a>",
      "&nbsp;", "&NBSP;", "<br>", "<BR>", "<SPANID=s>", "<font color=#ff>", "</font>",
      "<!-- c -->", "\r\n", "\n", " ", "\t", "text", "\xC7\xD1\xB1\xDB", "<", ">", "<b>",
      "</BODY>", "</SAMI>", "\r\n\r\n"};
  std::mt19937 random(7);
  for (int round = 0; round < 400; ++round) {
    std::string file = kHead;
    const int count = static_cast<int>(random() % 80);
    for (int i = 0; i < count; ++i) {
      file += pieces[random() % pieces.size()];
      if (random() % 4 == 0) file += std::to_string(random() % 5000) + ">";
    }
    ExpectSameAsDocument(file, CodePage::Cp949(), "round " + std::to_string(round));
    if (HasFailure()) return;
  }
}

TEST(SamiNodeStream, SampleFilesMatchTheDocument) {
  const std::string dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no samples folder";
  int seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const auto ext = entry.path().extension().string();
    if (ext != ".smi" && ext != ".sami") continue;
    ExpectSameAsDocument(test::ReadFile(entry.path().string()), CodePage::Cp949(),
                         entry.path().filename().string());
    ++seen;
  }
  EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace cadenzio
