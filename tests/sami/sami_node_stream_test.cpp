// The streamed analysis against the document's: the same nodes, field for
// field, and the same SRT bytes, in every analysis mode.
#include "sami/sami_node_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "sami/analysed.h"
#include "sami/sami_document.h"
#include "sami/sami_text.h"
#include "test_support.h"
#include "tools/srt_export.h"

namespace cadenzio {
namespace {

using namespace std::string_literals;

void ExpectSameAsDocument(const std::string& file, const CodePage& cp, const std::string& what) {
  for (const int mode : {kAnalysePlain, kAnalyseFixBreaks, kAnalyseKeepBlanks}) {
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
    EXPECT_EQ(got.has_sync, std::ranges::count(doc.nodes, SamiNodeKind::Sync, &SamiNode::kind) > 0);
    EXPECT_EQ(std::tie(got.srt.bytes, got.srt.error), std::tie(expected.bytes, expected.error));
  }
}

const std::string kHead = kTwoClassHead;

// Files the random bodies below do not make: empty, a head alone, a long
// paragraph (no masks) and a node past the text limit, more classes than a
// mask holds, a NUL.
TEST(SamiNodeStream, EdgeCasesMatchTheDocument) {
  const std::string long_text(3000, 'x');
  std::string many_classes = "<SAMI><HEAD><STYLE>\r\n";
  for (int i = 0; i < 34; ++i)
    many_classes += ".C" + std::string{static_cast<char>('A' + i % 26), static_cast<char>('a' + i / 26)} + " {lang:xx;}\r\n";
  const std::vector<std::string> files = {
      "", kHead,
      kHead + ("<SYNC Start=10><P Class=KRCC>" + long_text + "\r\n<SYNC Start=20><P Class=KRCC>\r\n<SYNC Start=30><!-- " +
               long_text + long_text + "\r\nrest\r\nmore"),
      many_classes + "</STYLE></HEAD><BODY>\r\n<SYNC Start=10><P Class=CAa>one\r\n<SYNC Start=20><P Class=CHb>\r\n",
      kHead + "<SYNC Start=1><P Class=KRCC>nul\0inside\r\n<SYNC Start=2>"s};
  for (std::size_t i = 0; i < files.size(); ++i)
    ExpectSameAsDocument(files[i], CodePage::Cp949(), "file " + std::to_string(i));
}

// Bodies of random markup pieces: every rule meets its neighbours in many
// orders; one in four is read as UTF-8.
TEST(SamiNodeStream, RandomBodiesMatchTheDocument) {
  const std::vector<std::string> pieces = {
      "<SYNC Start=", "<SYNC Start=1200>", "<sync start = 99ms >", "<SYNC Start=-3>",
      "<P Class=KRCC>", "<P Class=ENCC>", "<p class=zz>", "<P>", "<P Class=KRCC ID=a>",
      "&nbsp;", "&NBSP;", "<br>", "<BR>", "<SPANID=s>", "<font color=#ff>", "</font>",
      "<!-- c -->", "\r\n", "\n", " ", "\t", "text", "\xC7\xD1\xB1\xDB", "<", ">", "<b>",
      "</BODY>", "</SAMI>", "\r\n\r\n"};
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string file = kHead;
    for (int i = static_cast<int>(random() % 80); i > 0; --i) {
      file += pieces[random() % pieces.size()];
      if (random() % 4 == 0) file += std::to_string(random() % 5000) + ">";
    }
    ExpectSameAsDocument(file, round % 4 ? CodePage::Cp949() : CodePage::Utf8(), "round " + std::to_string(round));
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
