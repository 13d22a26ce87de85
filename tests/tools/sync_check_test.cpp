// The sync error check's report, byte for byte and section by section.
#include "tools/sync_check.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The UTF-8 report cut at its "# " heading lines, each heading and the empty
// line after it dropped: [0] what stands before the first heading, then the
// order, short, long and empty sections, then "" after the total line.
std::vector<std::string> Sections(const std::string& cp949) {
  const std::string report = Cp949ToUtf8(cp949);
  std::vector<std::string> parts(1);
  for (std::size_t at = 0; at < report.size();) {
    const std::size_t end = std::min(report.find("\r\n", at), report.size());
    if (report.compare(at, 2, "# ") == 0 && report.compare(end, 4, "\r\n\r\n") == 0) {
      parts.emplace_back();
      at = end + 4;
    } else {
      parts.back() += report.substr(at, end + 2 - at);
      at = end + 2;
    }
  }
  return parts;
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
}

struct Case {
  const char* what;
  std::string file;
  std::vector<std::string> sections;  // before, order, short, long, empty, after
  long errors;
};

void Expect(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    const SyncCheckResult r = Check(c.file);
    EXPECT_EQ(Sections(r.report), c.sections) << c.what;
    EXPECT_EQ(r.errors, c.errors) << c.what;
    EXPECT_TRUE(Cp949ToUtf8(r.report).ends_with(
        "# 모든 검사에서 총 오류 " + std::to_string(c.errors) + " 개 발견\r\n\r\n"))
        << c.what;
  }
}

TEST(SyncCheck, SectionsOfOneClass) {
  const std::string h = kHeadKr;
  const std::string none = "KRCC 언어 체크\r\n오류 0 개 발견\r\n\r\n";
  Expect({
      {"a negative sync is never the previous sync of the order walk, but is of the others",
       h + "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=-100><P Class=KRCC>b\r\n"
           "<SYNC Start=500><P Class=KRCC>c\r\n",
       {"",
        "KRCC 언어 체크\r\n(LINE: 0011) 음수 싱크 - <SYNC Start=-100>\r\n"
        "(LINE:0012) 싱크 감소 - <SYNC Start=500>\r\n오류 2 개 발견\r\n\r\n",
        "KRCC 언어 체크\r\n"
        "(LINE: 0010 <SYNC Start=1000>) - (LINE: 0011 <SYNC Start=-100>) => -1100 ms\r\n"
        "(LINE: 0011 <SYNC Start=-100>) - (LINE: 0012 <SYNC Start=500>) => 600 ms\r\n"
        "오류 2 개 발견\r\n\r\n",
        none, none, ""},
       4},
      {"equal starts: no decrease, a 0 ms display; comments pass over",
       h + "<SYNC Start=1000><P Class=KRCC>a\r\n<!-- note -->\r\n"
           "<SYNC Start=1000><P Class=KRCC>b\r\n<SYNC Start=5000><P Class=KRCC>c\r\n",
       {"", none,
        "KRCC 언어 체크\r\n"
        "(LINE: 0010 <SYNC Start=1000>) - (LINE: 0012 <SYNC Start=1000>) => 0 ms\r\n"
        "오류 1 개 발견\r\n\r\n",
        none, none, ""},
       1},
      {"empty paragraphs: the tag alone, or with a FONT tag, in any case; not &nbsp; nor "
       "<BR> (a clear), nor another tag; each empty paragraph is one line",
       h + "<SYNC Start=1000><P Class=KRCC>\r\n<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n"
           "<SYNC Start=5000><p class=krcc><font color=red>  \r\n"
           "<SYNC Start=7000><P Class=KRCC> <b>\r\n<SYNC Start=9000><P Class=KRCC><BR>\r\n"
           "<SYNC Start=11000><P Class=KRCC>text\r\n<SYNC Start=13000><P Class=KRCC>\r\n"
           "<P Class=KRCC>\t\r\n",
       {"", none, none, none,
        "KRCC 언어 체크\r\n(LINE:0010) 공백 싱크 - <SYNC Start=1000>\r\n"
        "(LINE:0012) 공백 싱크 - <SYNC Start=5000>\r\n"
        "(LINE:0016) 공백 싱크 - <SYNC Start=13000>\r\n"
        "(LINE:0016) 공백 싱크 - <SYNC Start=13000>\r\n오류 4 개 발견\r\n\r\n",
        ""},
       4},
      {"differences of the extreme starts are exact",
       h + "<SYNC Start=99999999999><P Class=KRCC>a\r\n<SYNC Start=-99999999999><P Class=KRCC>b\r\n"
           "<SYNC Start=2147483647><P Class=KRCC>c\r\n",
       {"", "KRCC 언어 체크\r\n(LINE: 0011) 음수 싱크 - <SYNC Start=-99999999999>\r\n오류 1 개 발견\r\n\r\n",
        "KRCC 언어 체크\r\n(LINE: 0010 <SYNC Start=99999999999>) - (LINE: 0011 "
        "<SYNC Start=-99999999999>) => -4294967295 ms\r\n오류 1 개 발견\r\n\r\n",
        "KRCC 언어 체크\r\n(LINE: 0011 <SYNC Start=-99999999999>) - (LINE: 0012 "
        "<SYNC Start=2147483647>) => 4294967295 ms\r\n오류 1 개 발견\r\n\r\n",
        none, ""},
       3},
      {"a clear begins no display interval: 20 s after it is no long display",
       h + "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
           "<SYNC Start=22000><P Class=KRCC>b\r\n",
       {"", none, none, none, none, ""},
       0},
      {"no classes declared: a note, no class headings, every sync checked",
       "<SYNC Start=1000><P>a\r\n<SYNC Start=500><P>b\r\n",
       {"", "",
        "(LINE:0002) 싱크 감소 - <SYNC Start=500>\r\n오류 1 개 발견\r\n\r\n",
        "(LINE: 0001 <SYNC Start=1000>) - (LINE: 0002 <SYNC Start=500>) => -500 ms\r\n"
        "오류 1 개 발견\r\n\r\n",
        "오류 0 개 발견\r\n\r\n", "오류 0 개 발견\r\n\r\n", ""},
       2},
  });
}

TEST(SyncCheck, ClassesTakeTheirOwnSyncs) {
  const std::string h = kHeadKrEn;
  const std::string en_none = "ENCC 언어 체크\r\n오류 0 개 발견\r\n\r\n";
  const std::string kr_none = "KRCC 언어 체크\r\n오류 0 개 발견\r\n\r\n";
  Expect({
      // An empty paragraph counts for every class of the sync before it: the
      // empty English caption at line 11 is listed under KRCC too. A paragraph
      // after an English-only sync is not listed under KRCC.
      {"two classes, in the order of the classes array",
       h + "<SYNC Start=1000><P Class=KRCC>\xB0\xA1\r\n<P Class=ENCC>\r\n"
           "<SYNC Start=1500><P Class=ENCC>b\r\n<SYNC Start=3000><P Class=KRCC>c\r\n"
           "<SYNC Start=2000><P Class=KRCC>\r\n<SYNC Start=6000><P Class=ENCC>\r\n",
       {"",
        en_none + "KRCC 언어 체크\r\n(LINE:0015) 싱크 감소 - <SYNC Start=2000>\r\n"
                  "오류 1 개 발견\r\n\r\n",
        "ENCC 언어 체크\r\n"
        "(LINE: 0011 <SYNC Start=1000>) - (LINE: 0013 <SYNC Start=1500>) => 500 ms\r\n"
        "오류 1 개 발견\r\n\r\nKRCC 언어 체크\r\n"
        "(LINE: 0014 <SYNC Start=3000>) - (LINE: 0015 <SYNC Start=2000>) => -1000 ms\r\n"
        "오류 1 개 발견\r\n\r\n",
        en_none + kr_none,
        "ENCC 언어 체크\r\n(LINE:0011) 공백 싱크 - <SYNC Start=1000>\r\n"
        "(LINE:0016) 공백 싱크 - <SYNC Start=6000>\r\n오류 2 개 발견\r\n\r\n"
        "KRCC 언어 체크\r\n(LINE:0011) 공백 싱크 - <SYNC Start=1000>\r\n"
        "(LINE:0015) 공백 싱크 - <SYNC Start=2000>\r\n오류 2 개 발견\r\n\r\n",
        ""},
       7},
      // The clear mask is the sync's, not the class's: an English clear at
      // 1000 ends the Korean walk's interval there too.
      {"a sync that clears any class begins no display interval",
       h + "<SYNC Start=1000><P Class=KRCC>a\r\n<P Class=ENCC>&nbsp;\r\n"
           "<SYNC Start=1100><P Class=KRCC>b\r\n<P Class=ENCC>c\r\n",
       {"", en_none + kr_none, en_none + kr_none, en_none + kr_none, en_none + kr_none, ""},
       0},
  });
  // Without declared classes the report opens with a note, and all syncs are one class.
  const std::string note = Cp949("# 언어 클래스가 존재하지 않음, 모든 싱크를 하나의 클래스로 취급함.\r\n\r\n");
  EXPECT_EQ(Check("<SYNC Start=1><P>a\r\n").report.rfind(note, 0), 0u);
  EXPECT_EQ(Check(h + "<SYNC Start=1><P>a\r\n").report.find(note), std::string::npos);
}

// Defaults 800 and 8000; each bound itself passes. Displays: 799, 800, 8000, 8001 ms.
TEST(SyncCheck, ThresholdsAndTheirDefaults) {
  const std::string file = std::string(kHeadKr) +
                           "<SYNC Start=1000><P Class=KRCC>a\r\n<SYNC Start=1799><P Class=KRCC>b\r\n"
                           "<SYNC Start=2599><P Class=KRCC>c\r\n<SYNC Start=10599><P Class=KRCC>d\r\n"
                           "<SYNC Start=18600><P Class=KRCC>e\r\n";
  struct Limits { uint32_t min, max; std::string shown_min, shown_max; long short_errors, long_errors; };
  for (const Limits& l : std::vector<Limits>{{0, 0, "800", "8000", 1, 1},
                                             {1000, 7000, "1000", "7000", 2, 2},
                                             {799, 8001, "799", "8001", 0, 0}}) {
    const SyncCheckResult r = Check(file, l.min, l.max);
    const std::string utf8 = Cp949ToUtf8(r.report);
    EXPECT_NE(utf8.find("(최소 " + l.shown_min + " ms)\r\n"), std::string::npos) << l.min;
    EXPECT_NE(utf8.find("(최대 " + l.shown_max + " ms)\r\n"), std::string::npos) << l.max;
    const auto parts = Sections(r.report);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_NE(parts[2].find("오류 " + std::to_string(l.short_errors) + " 개"), std::string::npos);
    EXPECT_NE(parts[3].find("오류 " + std::to_string(l.long_errors) + " 개"), std::string::npos);
    EXPECT_EQ(r.errors, l.short_errors + l.long_errors);
  }
  EXPECT_EQ(SyncCheckCompletionText(12.3456),
            Cp949("작업이 정상적으로 완료되었습니다.\r\n12.346 초 걸림\r\n"));
}

}  // namespace
}  // namespace cadenzio
