// cadenzio-cli check as a user runs it: report on stdout or in a file,
// completion message on stderr.
#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "test_support.h"

namespace cadenzio::test {
namespace {

constexpr char kCaption[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=9500><P Class=KRCC>\xC7\xD1\xB1\xDB\r\n"
    "<SYNC Start=9000><P Class=KRCC>\r\n</BODY>\r\n</SAMI>\r\n";

TEST(CheckCli, ReportOnStdoutOrInAFileWithTheSettingsThresholds) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("Cadenzio.ini"), "[Cadenzio]\r\nMIN=300\r\nMAX=4000\r\n");
  const auto file = RunCli({"check", dir.File("in.smi"), "-o", dir.File("report.txt"), "--no-settings"});
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out, "");
  const std::string report = ReadFile(dir.File("report.txt"));
  // The decrease at line 11; the defaults of a first run.
  EXPECT_NE(report.find("(LINE:0011) \xBD\xCC\xC5\xA9 \xB0\xA8\xBC\xD2 - <SYNC Start=9000>\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("(\xC3\xD6\xBC\xD2 800 ms)"), std::string::npos);
  EXPECT_EQ(report.find('\n') - 1, report.find('\r'));
  EXPECT_NE(report.find(" 3 \xB0\xB3 \xB9\xDF\xB0\xDF\r\n\r\n"), std::string::npos);  // total 3

  const auto out = RunCli({"check", dir.File("in.smi"), "--settings", dir.File("Cadenzio.ini")});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_NE(out.out.find(Cp949ToUtf8("(\xC3\xD6\xBC\xD2 300 ms)\r\n")), std::string::npos);
  EXPECT_NE(out.out.find(Cp949ToUtf8("(\xC3\xD6\xB4\xEB 4000 ms)\r\n")), std::string::npos);
  // "작업이 정상적으로 완료되었습니다." and "N.NNN 초 걸림" on their own lines.
  const std::string done = Cp949ToUtf8("\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE "
                                       "\xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\n");
  for (const auto& r : {file, out}) {
    EXPECT_EQ(r.err.rfind(done, 0), 0u) << r.err;
    EXPECT_NE(r.err.find(Cp949ToUtf8(" \xC3\xCA \xB0\xC9\xB8\xB2\n")), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
  }
}

}  // namespace
}  // namespace cadenzio::test
