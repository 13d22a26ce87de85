// The same captions in CP949 and in UTF-8 analyse to the same document, and
// their SRT export and sync check report are the same text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "sami/sami_document.h"
#include "settings/cp949_conversion.h"
#include "test_support.h"
#include "tools/srt_export.h"
#include "tools/sync_check.h"

namespace cadenzio {
namespace {

std::string ToCp949(std::string_view utf8) {
  const Cp949Text t = Utf8ToCp949(utf8);
  EXPECT_TRUE(t.ok()) << "test text has no CP949 form";
  return t.bytes;
}

SamiDocument AnalyseIn(const CodePage& cp, std::string_view text, int mode) {
  SamiDocument doc(cp);
  EXPECT_TRUE(doc.Analyse(text, mode));
  return doc;
}

// The document's dump with its texts in UTF-8. Overflow nodes hold pieces of
// a line, which CP949 may cut inside a character where UTF-8 keeps it whole,
// so each run of them has its texts joined into its first node.
std::string Utf8Dump(SamiDocument doc, bool is_cp949) {
  SamiNode* run = nullptr;
  for (SamiNode& node : doc.nodes) {
    if (node.kind != SamiNodeKind::Overflow) run = nullptr;
    else if (run == nullptr) run = &node;
    else run->text += std::exchange(node.text, "");
  }
  if (!is_cp949) return doc.Dump();
  for (std::string* text : {&doc.colour, &doc.header, &doc.tail}) *text = Cp949ToUtf8(*text);
  for (std::string& name : doc.classes) name = Cp949ToUtf8(name);
  for (SamiNode& node : doc.nodes) node.text = Cp949ToUtf8(node.text), node.class_name = Cp949ToUtf8(node.class_name);
  return doc.Dump();
}

// Documents in every mode, the SRT export and the check report of each.
void ExpectSameResults(std::string_view cp949, std::string_view utf8, const std::string& what) {
  for (int mode : {kAnalysePlain, kAnalyseFixBreaks, kAnalyseKeepBlanks}) {
    const SamiDocument a = AnalyseIn(CodePage::Cp949(), cp949, mode);
    const SamiDocument b = AnalyseIn(CodePage::Utf8(), utf8, mode);
    EXPECT_EQ(Utf8Dump(a, true), Utf8Dump(b, false)) << what << ", mode " << mode;
    const SrtExport srt_a = WriteSrt(a), srt_b = WriteSrt(b);
    EXPECT_EQ(std::pair(Cp949ToUtf8(srt_a.bytes), srt_a.error), std::pair(srt_b.bytes, srt_b.error)) << what;
    const SyncCheckResult check_a = CheckSyncErrors(a, 0, 0), check_b = CheckSyncErrors(b, 0, 0);
    EXPECT_EQ(std::pair(Cp949ToUtf8(check_a.report), check_a.errors), std::pair(check_b.report, check_b.errors))
        << what;
  }
}

// Korean right before a tag, one to three characters of it: every tag is
// found, read in its own code page or (UTF-8) stepped over as CP949 pairs.
TEST(SamiEncoding, KoreanRightBeforeATagHidesNoTag) {
  for (const std::string korean : {"\xED\x95\x9C", "\xED\x95\x9C\xEA\xB8\x80",
                                   "\xED\x95\x9C\xEA\xB8\x80\xEC\x9E\x90"}) {  // 한, 한글, 한글자
    const std::string utf8 =
        "<SAMI><HEAD><STYLE>\r\n.KRCC {Name:Korean; lang:ko-KR; SAMIType:CC;}\r\n</STYLE></HEAD><BODY>\r\n"
        "<SYNC Start=1000><P Class=KRCC>" + korean + "<br>" + korean + "<font color=red>" + korean +
        "</font>" + korean + "<SYNC Start=2000><P Class=KRCC>" + korean + "<P Class=ENCC>x" + korean +
        "<!-- " + korean + "-->" + korean + "<SYNC Start=3000><P Class=KRCC>&nbsp;" + korean +
        "</BODY></SAMI>";
    for (const auto& [cp, text] : {std::pair{&CodePage::Utf8(), utf8}, {&CodePage::Cp949(), ToCp949(utf8)},
                                   {&CodePage::Cp949(), utf8}}) {
      const SamiDocument doc = AnalyseIn(*cp, text, kAnalysePlain);
      std::string kinds;
      for (const SamiNode& n : doc.nodes) kinds += "SOPV"[static_cast<int>(n.kind)];
      ASSERT_EQ(kinds, "OSPSPPOSP") << korean;  // the comment is an Other node of its own
      EXPECT_EQ(doc.nodes[3].class_mask, 1u | kUndeclaredClass);  // KRCC, and ENCC undeclared
    }
    ExpectSameResults(ToCp949(utf8), utf8, korean);
  }
}

// The analyser's limits count CP949 bytes, so a caption meets them at the
// same character in either code page: a paragraph of 299 CP949 bytes takes
// part in the masks, one of 300 does not, and a head of 8191 bytes ends
// before or after the first sync.
TEST(SamiEncoding, LimitsFallOnTheSameCharacter) {
  std::string ga;  // 가 repeated: 2 bytes each in CP949, 3 in UTF-8
  for (int i = 0; i < 4082; ++i) ga += "\xEA\xB0\x80";
  const std::string head = "<SAMI><HEAD>\r\n.KRCC {Name:K; lang:ko-KR;}\r\n</HEAD><BODY>\r\n<SYNC Start=1><P Class=KRCC>";
  for (const std::string end : {"a", "ab"}) {  // 14 + 282 + 1 or 2 + 2 bytes
    const std::string utf8 = head + ga.substr(0, 141 * 3) + end + "\r\n<SYNC Start=2><P Class=KRCC>\r\n";
    ExpectSameResults(ToCp949(utf8), utf8, end);
    EXPECT_EQ(AnalyseIn(CodePage::Utf8(), utf8, 0).nodes[1].class_mask, end == "a" ? 1u : 0u);
  }
  for (int n : {4081, 4082}) {
    const std::string utf8 = "<SAMI><HEAD><TITLE>" + ga.substr(0, n * 3) + "</TITLE><SYNC Start=7><P>z";
    ExpectSameResults(ToCp949(utf8), utf8, std::to_string(n));
  }
}

// Generated captions: Korean, tags, blank and empty paragraphs, comments,
// starts that go back, and in one caption of twenty a run of text long enough
// to pass the mask and overflow limits (and cut characters at piece ends).
TEST(SamiEncoding, GeneratedCaptionsGiveTheSameResults) {
  static const char* const kPieces[] = {
      "\xEC\x95\x88\xEB\x85\x95", "\xED\x95\x9C\xEA\xB8\x80", "\xEA\xB0\x80",
      "\xE3\x81\x82", "abc", " ", "!", "<br>", "<BR>", "<font color=#ff0000>", "</font>", "<i>",
      "\r\n",  // 안녕 한글 가 あ; text pieces end here
      "&nbsp;", "<P Class=KRCC>", "<P Class=ENCC>", "<P>", "<!-- \xEC\xA3\xBC\xEC\x84\x9D -->\r\n"};
  std::mt19937 rng(20240611);
  auto pick = [&](std::size_t n) { return rng() % n; };
  for (int file = 0; file < 8; ++file) {
    std::string out =
        "<SAMI>\r\n<HEAD>\r\n<TITLE>\xEC\xA0\x9C\xEB\xAA\xA9</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
        "P { color: white; }\r\n.KRCC {Name:\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4; lang:ko-KR; SAMIType:CC;}\r\n"
        ".ENCC {Name:English; lang:en-US; SAMIType:CC;}\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
    int start = 0;
    for (std::size_t syncs = 40 + pick(40); syncs > 0; --syncs) {
      start += pick(5) == 0 ? -300 : 100 + static_cast<int>(pick(9000));
      out += "<SYNC Start=" + std::to_string(start) + ">" + kPieces[14 + pick(3)];
      const bool long_run = pick(20) == 0;
      for (std::size_t n = long_run ? 200 + pick(700) : pick(20); n > 0; --n)
        out += kPieces[pick(long_run ? 13 : std::size(kPieces))];
      out += "\r\n";
    }
    if (pick(4) != 0) out += "</BODY>\r\n</SAMI>\r\n";
    ExpectSameResults(ToCp949(out), out, "generated file " + std::to_string(file));
  }
}

// The real files that exist in both encodings (NAME.smi in UTF-8 and its
// re-encoding NAME.cp949.smi).
TEST(SamiEncoding, RealFilesInBothEncodingsGiveTheSameResults) {
  const std::string dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no samples folder";
  int pairs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string(), suffix = ".cp949.smi";
    const std::string utf8_name = name.substr(0, name.size() - std::min(name.size(), suffix.size())) + ".smi";
    if (!name.ends_with(suffix) || !std::filesystem::exists(dir + "/" + utf8_name)) continue;
    ExpectSameResults(test::ReadFile(dir + "/" + name), test::ReadFile(dir + "/" + utf8_name), utf8_name);
    ++pairs;
  }
  if (pairs == 0) GTEST_SKIP() << "no pair of NAME.smi and NAME.cp949.smi";
}

}  // namespace
}  // namespace cadenzio
