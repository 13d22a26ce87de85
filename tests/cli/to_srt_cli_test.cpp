// cadenzio-cli to-srt as a user runs it: output bytes, settings, messages.
#include <gtest/gtest.h>

#include "test_support.h"

namespace cadenzio::test {
namespace {

constexpr char kCaption[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB<BR>two\r\n"
    "<SYNC Start=2500><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
constexpr char kDone[] = "작업이 정상적으로 완료되었습니다.";  // on stderr, in UTF-8

TEST(ToSrtCli, ExportsWithTheSettingsLineBreakRepair) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("on.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  const auto off = RunCli({"to-srt", "--no-settings", dir.File("in.smi"), dir.File("off.srt")});
  ASSERT_EQ(off.status, 0) << off.err;
  EXPECT_EQ(ReadFile(dir.File("off.srt")), "1\n00:00:01,000 --> 00:00:02,500\n\xC7\xD1\xB1\xDB<BR>two\n\n");
  EXPECT_EQ(off.out, "");
  EXPECT_NE(off.err.find(kDone), std::string::npos) << off.err;
  EXPECT_NE(off.err.find(" 초 걸림\n"), std::string::npos);
  EXPECT_EQ(off.err.find('\r'), std::string::npos) << "terminal line ends";

  const auto on = RunCli({"to-srt", dir.File("in.smi"), dir.File("on.srt"), "--settings", dir.File("on.ini")});
  ASSERT_EQ(on.status, 0) << on.err;
  EXPECT_EQ(ReadFile(dir.File("on.srt")), "1\n00:00:01,000 --> 00:00:02,500\n\xC7\xD1\xB1\xDB\r\ntwo\n\n");
}

TEST(ToSrtCli, UnendedCaptionIsReportedAndTheRestWritten) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), "<SYNC Start=1000><P>one\r\n<SYNC Start=2000><P>two\r\n</BODY></SAMI>\r\n");
  const auto r = RunCli({"to-srt", "--no-settings", dir.File("in.smi"), dir.File("out.srt")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadFile(dir.File("out.srt")), "1\n00:00:01,000 --> 00:00:02,000\none\n\n");
  EXPECT_NE(r.err.find("SMI 화일에"), std::string::npos);
  EXPECT_NE(r.err.find(kDone), std::string::npos);
}

}  // namespace
}  // namespace cadenzio::test
