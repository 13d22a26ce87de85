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

std::string Cp949(std::string_view utf8) {
  const Cp949Text text = Utf8ToCp949(utf8);
  EXPECT_TRUE(text.ok());
  return text.bytes;
}

SyncCheckResult Check(std::string_view file, uint32_t min = 0, uint32_t max = 0) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(file, kAnalyseKeepBlanks));
  return CheckSyncErrors(doc, min, max);
}

constexpr char kHeadKr[] =  // nine lines: the body starts on line 10
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
constexpr char kHeadKrEn[] =  // ten lines; the classes array is ENCC, KRCC
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

// Syncs at lines 30 and 42 at 9500 and 9000, each sync text the bare tag.
TEST(SyncCheck, ReportOfADecreasingPairByteForByte) {
  std::string file = kHeadKr;
  for (int line = 10; line < 30; ++line) file += "<!-- filler -->\r\n";
  file += "<SYNC Start=9500><P Class=KRCC>one\r\n";
  for (int line = 31; line < 42; ++line) file += "more\r\n";
  file += "<SYNC Start=9000><P Class=KRCC>two\r\n</BODY>\r\n</SAMI>\r\n";
  const SyncCheckResult r = Check(file);
  EXPECT_EQ(r.errors, 2);
  EXPECT_EQ(r.report,
            Cp949("# 앞싱크가 뒷싱크보다 일찍 나오는 오류 체크...\r\n\r\n"
                  "KRCC 언어 체크\r\n"
                  "(LINE:0042) 싱크 감소 - <SYNC Start=9000>\r\n"
                  "오류 1 개 발견\r\n\r\n"
                  "# 자막이 너무 짧게 보이는 구간 체크 ... (최소 800 ms)\r\n\r\n"
                  "KRCC 언어 체크\r\n"
                  "(LINE: 0030 <SYNC Start=9500>) - (LINE: 0042 <SYNC Start=9000>) => -500 ms\r\n"
                  "오류 1 개 발견\r\n\r\n"
                  "# 자막이 너무 오랫동안 보이는 구간 체크 ... (최대 8000 ms)\r\n\r\n"
                  "KRCC 언어 체크\r\n오류 0 개 발견\r\n\r\n"
                  "# 빈싱크 라인 체크 ...\r\n\r\n"
                  "KRCC 언어 체크\r\n오류 0 개 발견\r\n\r\n"
                  "# 모든 검사에서 총 오류 2 개 발견\r\n\r\n"));
  EXPECT_EQ(SyncCheckCompletionText(12.3456),
            Cp949("작업이 정상적으로 완료되었습니다.\r\n12.346 초 걸림\r\n"));
}

// The lines each section lists, [section][class][line], in the order of the
// classes array; the frame around them is the one pinned above.
using Findings = std::vector<std::vector<std::vector<std::string>>>;

// The whole report for these findings, in UTF-8; no classes: one unnamed class.
std::string Report(const std::vector<std::string>& classes, const Findings& findings,
                   int min = 800, int max = 8000) {
  const std::string headings[] = {
      "# 앞싱크가 뒷싱크보다 일찍 나오는 오류 체크...",
      "# 자막이 너무 짧게 보이는 구간 체크 ... (최소 " + std::to_string(min) + " ms)",
      "# 자막이 너무 오랫동안 보이는 구간 체크 ... (최대 " + std::to_string(max) + " ms)",
      "# 빈싱크 라인 체크 ..."};
  std::string out = classes.empty() ? "# 언어 클래스가 존재하지 않음, 모든 싱크를 하나의 클래스로 취급함.\r\n\r\n" : "";
  std::size_t total = 0;
  for (std::size_t s = 0; s < 4; ++s) {
    out += headings[s] + "\r\n\r\n";
    for (std::size_t c = 0; c < std::max<std::size_t>(classes.size(), 1); ++c) {
      if (!classes.empty()) out += classes[c] + " 언어 체크\r\n";
      const std::vector<std::string> lines = s < findings.size() && c < findings[s].size()
                                                 ? findings[s][c] : std::vector<std::string>{};
      for (const std::string& line : lines) out += line + "\r\n";
      out += "오류 " + std::to_string(lines.size()) + " 개 발견\r\n\r\n";
      total += lines.size();
    }
  }
  return out + "# 모든 검사에서 총 오류 " + std::to_string(total) + " 개 발견\r\n\r\n";
}

std::string Shown(int line, long start, int next_line, long next, long ms) {
  auto at = [](int l, long s) {
    char text[64];
    std::snprintf(text, sizeof text, "(LINE: %04d <SYNC Start=%ld>)", l, s);
    return std::string(text);
  };
  return at(line, start) + " - " + at(next_line, next) + " => " + std::to_string(ms) + " ms";
}

TEST(SyncCheck, SectionsListTheFaultsOfEachClass) {
  const std::string kr = kHeadKr, two = kHeadKrEn, neg = "<SYNC Start=-99999999999>";
  const std::vector<std::string> krcc = {"KRCC"}, both = {"ENCC", "KRCC"};
  const struct {
    const char* what;
    std::string file;
    std::vector<std::string> classes;
    Findings findings;
  } cases[] = {
      {"a negative sync is never the previous sync of the order walk, but is of the others",
       kr + "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=-100><P Class=KRCC>b\r\n"
            "<SYNC Start=500><P Class=KRCC>c\r\n",
       krcc,
       {{{"(LINE: 0011) 음수 싱크 - <SYNC Start=-100>", "(LINE:0012) 싱크 감소 - <SYNC Start=500>"}},
        {{Shown(10, 1000, 11, -100, -1100), Shown(11, -100, 12, 500, 600)}}}},
      {"equal starts: no decrease, a 0 ms display; comments pass over",
       kr + "<SYNC Start=1000><P Class=KRCC>a\r\n<!-- note -->\r\n"
            "<SYNC Start=1000><P Class=KRCC>b\r\n<SYNC Start=5000><P Class=KRCC>c\r\n",
       krcc, {{}, {{Shown(10, 1000, 12, 1000, 0)}}}},
      {"empty paragraphs: the tag alone or with a FONT tag, in any case; not &nbsp;, <BR> (a clear) "
       "nor another tag; each empty paragraph is one line",
       kr + "<SYNC Start=1000><P Class=KRCC>\r\n<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n"
            "<SYNC Start=5000><p class=krcc><font color=red>  \r\n"
            "<SYNC Start=7000><P Class=KRCC> <b>\r\n<SYNC Start=9000><P Class=KRCC><BR>\r\n"
            "<SYNC Start=11000><P Class=KRCC>text\r\n<SYNC Start=13000><P Class=KRCC>\r\n<P Class=KRCC>\t\r\n",
       krcc,
       {{}, {}, {}, {{"(LINE:0010) 공백 싱크 - <SYNC Start=1000>", "(LINE:0012) 공백 싱크 - <SYNC Start=5000>",
                      "(LINE:0016) 공백 싱크 - <SYNC Start=13000>", "(LINE:0016) 공백 싱크 - <SYNC Start=13000>"}}}},
      {"differences of the extreme starts are exact",
       kr + "<SYNC Start=99999999999><P Class=KRCC>a\r\n" + neg + "<P Class=KRCC>b\r\n"
            "<SYNC Start=2147483647><P Class=KRCC>c\r\n",
       krcc,
       {{{"(LINE: 0011) 음수 싱크 - " + neg}},
        {{"(LINE: 0010 <SYNC Start=99999999999>) - (LINE: 0011 " + neg + ") => -4294967295 ms"}},
        {{"(LINE: 0011 " + neg + ") - (LINE: 0012 <SYNC Start=2147483647>) => 4294967295 ms"}}}},
      {"a clear begins no display interval: 20 s after it is no long display",
       kr + "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
            "<SYNC Start=22000><P Class=KRCC>b\r\n",
       krcc, {}},
      {"no classes declared: a note, no class headings, every sync checked",
       "<SYNC Start=1000><P>a\r\n<SYNC Start=500><P>b\r\n", {},
       {{{"(LINE:0002) 싱크 감소 - <SYNC Start=500>"}}, {{Shown(1, 1000, 2, 500, -500)}}}},
      // An empty paragraph counts for every class of the sync before it: the
      // empty English caption at line 11 is listed under KRCC too. A paragraph
      // after an English-only sync is not listed under KRCC.
      {"two classes, each under its heading",
       two + "<SYNC Start=1000><P Class=KRCC>\xB0\xA1\r\n<P Class=ENCC>\r\n"
             "<SYNC Start=1500><P Class=ENCC>b\r\n<SYNC Start=3000><P Class=KRCC>c\r\n"
             "<SYNC Start=2000><P Class=KRCC>\r\n<SYNC Start=6000><P Class=ENCC>\r\n",
       both,
       {{{}, {"(LINE:0015) 싱크 감소 - <SYNC Start=2000>"}},
        {{Shown(11, 1000, 13, 1500, 500)}, {Shown(14, 3000, 15, 2000, -1000)}},
        {},
        {{"(LINE:0011) 공백 싱크 - <SYNC Start=1000>", "(LINE:0016) 공백 싱크 - <SYNC Start=6000>"},
         {"(LINE:0011) 공백 싱크 - <SYNC Start=1000>", "(LINE:0015) 공백 싱크 - <SYNC Start=2000>"}}}},
      // The clear mask is the sync's, not the class's: an English clear at
      // 1000 ends the Korean walk's interval there too.
      {"a sync that clears any class begins no display interval",
       two + "<SYNC Start=1000><P Class=KRCC>a\r\n<P Class=ENCC>&nbsp;\r\n"
             "<SYNC Start=1100><P Class=KRCC>b\r\n<P Class=ENCC>c\r\n",
       both, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const SyncCheckResult r = Check(c.file);
    EXPECT_EQ(Cp949ToUtf8(r.report), Report(c.classes, c.findings));
    long total = 0;
    for (const auto& section : c.findings)
      for (const auto& lines : section) total += static_cast<long>(lines.size());
    EXPECT_EQ(r.errors, total);
  }
}

// Defaults 800 and 8000; each bound itself passes. Displays: 799, 800, 8000, 8001 ms.
TEST(SyncCheck, ThresholdsAndTheirDefaults) {
  const std::string file = std::string(kHeadKr) +
                           "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=1799><P Class=KRCC>b\r\n"
                           "<SYNC Start=2599><P Class=KRCC>c\r\n<SYNC Start=10599><P Class=KRCC>d\r\n"
                           "<SYNC Start=18600><P Class=KRCC>e\r\n";
  const std::string d799 = Shown(10, 1000, 11, 1799, 799), d800 = Shown(11, 1799, 12, 2599, 800),
                    d8000 = Shown(12, 2599, 13, 10599, 8000), d8001 = Shown(13, 10599, 14, 18600, 8001);
  const struct { uint32_t min, max; int shown_min, shown_max; Findings findings; } cases[] = {
      {0, 0, 800, 8000, {{}, {{d799}}, {{d8001}}}},
      {1000, 7000, 1000, 7000, {{}, {{d799, d800}}, {{d8000, d8001}}}},
      {799, 8001, 799, 8001, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cp949ToUtf8(Check(file, c.min, c.max).report),
              Report({"KRCC"}, c.findings, c.shown_min, c.shown_max)) << c.min;
  }
}

}  // namespace
}  // namespace cadenzio
