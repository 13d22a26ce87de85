// The sync error check's report, byte for byte.
#include "tools/sync_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text_encoding.h"

namespace cadenzio {
namespace {

SyncCheckResult Check(std::string_view file, uint32_t min = 0, uint32_t max = 0) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(file, kAnalyseKeepBlanks));
  return CheckSyncErrors(doc, min, max);
}

// Nine lines: the body starts on line 10. With ENCC, ten lines and the classes array ENCC, KRCC.
constexpr char kHeadKr[] = "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n<!--\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kHeadKrEn =
    std::string(kHeadKr).insert(std::string(kHeadKr).find("-->"), ".ENCC {Name:English; lang:en-US; }\r\n");

// Syncs at lines 30 and 42 at 9500 and 9000, each sync text the bare tag.
TEST(SyncCheck, ReportOfADecreasingPairByteForByte) {
  std::string file = kHeadKr;
  for (int line = 10; line < 30; ++line) file += "<!-- filler -->\r\n";
  file += "<SYNC Start=9500><P Class=KRCC>one\r\n";
  for (int line = 31; line < 42; ++line) file += "more\r\n";
  file += "<SYNC Start=9000><P Class=KRCC>two\r\n</BODY>\r\n</SAMI>\r\n";
  const SyncCheckResult r = Check(file);
  EXPECT_EQ(r.errors, 2);
  EXPECT_EQ(Cp949ToUtf8(r.report),
            "# 앞싱크가 뒷싱크보다 일찍 나오는 오류 체크...\r\n\r\n"
            "KRCC 언어 체크\r\n(LINE:0042) 싱크 감소 - <SYNC Start=9000>\r\n오류 1 개 발견\r\n\r\n"
            "# 자막이 너무 짧게 보이는 구간 체크 ... (최소 800 ms)\r\n\r\n"
            "KRCC 언어 체크\r\n(LINE: 0030 <SYNC Start=9500>) - (LINE: 0042 <SYNC Start=9000>) => -500 ms\r\n"
            "오류 1 개 발견\r\n\r\n"
            "# 자막이 너무 오랫동안 보이는 구간 체크 ... (최대 8000 ms)\r\n\r\nKRCC 언어 체크\r\n오류 0 개 발견\r\n\r\n"
            "# 빈싱크 라인 체크 ...\r\n\r\nKRCC 언어 체크\r\n오류 0 개 발견\r\n\r\n"
            "# 모든 검사에서 총 오류 2 개 발견\r\n\r\n");
  EXPECT_EQ(Cp949ToUtf8(SyncCheckCompletionText(12.3456)),
            "작업이 정상적으로 완료되었습니다.\r\n12.346 초 걸림\r\n");
}

// The lines each section lists, [section][class][line], in the classes array's order.
using Findings = std::vector<std::vector<std::vector<std::string>>>;

// The whole report for these findings, in UTF-8; no classes: one unnamed class.
std::string Report(const std::vector<std::string>& classes, const Findings& findings, int min = 800, int max = 8000) {
  const std::string headings[] = {
      "# 앞싱크가 뒷싱크보다 일찍 나오는 오류 체크...",
      "# 자막이 너무 짧게 보이는 구간 체크 ... (최소 " + std::to_string(min) + " ms)",
      "# 자막이 너무 오랫동안 보이는 구간 체크 ... (최대 " + std::to_string(max) + " ms)", "# 빈싱크 라인 체크 ..."};
  std::string out = classes.empty() ? "# 언어 클래스가 존재하지 않음, 모든 싱크를 하나의 클래스로 취급함.\r\n\r\n" : "";
  std::size_t total = 0;
  for (std::size_t s = 0; s < 4; ++s) {
    out += headings[s] + "\r\n\r\n";
    for (std::size_t c = 0; c < std::max<std::size_t>(classes.size(), 1); ++c) {
      if (!classes.empty()) out += classes[c] + " 언어 체크\r\n";
      const auto lines = s < findings.size() && c < findings[s].size() ? findings[s][c] : std::vector<std::string>{};
      for (const std::string& line : lines) out += line + "\r\n";
      out += "오류 " + std::to_string(lines.size()) + " 개 발견\r\n\r\n";
      total += lines.size();
    }
  }
  return out + "# 모든 검사에서 총 오류 " + std::to_string(total) + " 개 발견\r\n\r\n";
}

std::string Shown(int line, long start, int next_line, long next, long ms) {
  char text[128];
  std::snprintf(text, sizeof text, "(LINE: %04d <SYNC Start=%ld>) - (LINE: %04d <SYNC Start=%ld>) => %ld ms", line,
                start, next_line, next, ms);
  return text;
}

TEST(SyncCheck, SectionsListTheFaultsOfEachClass) {
  const std::string two = kHeadKrEn, neg = "<SYNC Start=-99999999999>";
  const struct { std::string file; std::vector<std::string> classes; Findings findings; } cases[] = {
      // No classes: a note, every sync checked. A negative sync is never the previous
      // sync of the order walk, but is of the others; differences of extreme starts are exact.
      {"<SYNC Start=1000><P>a\r\n" + neg + "<P>b\r\n<SYNC Start=500><P>c\r\n", {},
       {{{"(LINE: 0002) 음수 싱크 - " + neg, "(LINE:0003) 싱크 감소 - <SYNC Start=500>"}},
        {{"(LINE: 0001 <SYNC Start=1000>) - (LINE: 0002 " + neg + ") => -2147484648 ms"}},
        {{"(LINE: 0002 " + neg + ") - (LINE: 0003 <SYNC Start=500>) => 2147484148 ms"}}}},
      // An empty paragraph counts for every class of the sync before it; the
      // clear mask is the sync's: the English clear at 3000 begins no Korean display.
      {two + "<SYNC Start=1000><P Class=KRCC>\xB0\xA1\r\n<P Class=ENCC>\r\n<SYNC Start=1500><P Class=ENCC>b\r\n"
             "<SYNC Start=3000><P Class=KRCC>c\r\n<P Class=ENCC>&nbsp;\r\n<SYNC Start=20000><P Class=KRCC>d\r\n",
       {"ENCC", "KRCC"},
       {{}, {{Shown(11, 1000, 13, 1500, 500)}}, {}, {{"(LINE:0011) 공백 싱크 - <SYNC Start=1000>"},
                                                     {"(LINE:0011) 공백 싱크 - <SYNC Start=1000>"}}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Cp949ToUtf8(Check(c.file).report), Report(c.classes, c.findings)) << c.file;
}

// Defaults 800 and 8000; each bound itself passes. Displays: 799, 800, 8000, 8001 ms.
TEST(SyncCheck, ThresholdsAndTheirDefaults) {
  const std::string file = std::string(kHeadKr) +
                           "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=1799><P Class=KRCC>b\r\n"
                           "<SYNC Start=2599><P Class=KRCC>c\r\n<SYNC Start=10599><P Class=KRCC>d\r\n"
                           "<SYNC Start=18600><P Class=KRCC>e\r\n";
  const std::string d799 = Shown(10, 1000, 11, 1799, 799), d800 = Shown(11, 1799, 12, 2599, 800),
                    d8000 = Shown(12, 2599, 13, 10599, 8000), d8001 = Shown(13, 10599, 14, 18600, 8001);
  EXPECT_EQ(Cp949ToUtf8(Check(file).report), Report({"KRCC"}, {{}, {{d799}}, {{d8001}}}));
  EXPECT_EQ(Cp949ToUtf8(Check(file, 1000, 7000).report),
            Report({"KRCC"}, {{}, {{d799, d800}}, {{d8000, d8001}}}, 1000, 7000));
}

}  // namespace
}  // namespace cadenzio
