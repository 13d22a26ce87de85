// cadenzio-cli to-srt as a user runs it: output bytes, settings, messages,
// and refusals that leave no output behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace cadenzio::test {
namespace {

constexpr char kCaption[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB<BR>two\r\n"
    "<SYNC Start=2500><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
// "작업이 정상적으로 완료되었습니다." in UTF-8
constexpr char kDone[] =
    "\xEC\x9E\x91\xEC\x97\x85\xEC\x9D\xB4 \xEC\xA0\x95\xEC\x83\x81\xEC\xA0\x81\xEC\x9C\xBC\xEB"
    "\xA1\x9C \xEC\x99\x84\xEB\xA3\x8C\xEB\x90\x98\xEC\x97\x88\xEC\x8A\xB5\xEB\x8B\x88\xEB\x8B\xA4.";

TEST(ToSrtCli, ExportsWithTheSettingsLineBreakRepair) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("on.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  const auto off = RunCli({"to-srt", "--settings", dir.File("none.ini"), dir.File("in.smi"), dir.File("off.srt")});
  ASSERT_EQ(off.status, 0) << off.err;
  EXPECT_EQ(ReadFile(dir.File("off.srt")), "1\n00:00:01,000 --> 00:00:02,500\n\xC7\xD1\xB1\xDB<BR>two\n\n");
  EXPECT_EQ(off.out, "");
  EXPECT_NE(off.err.find(kDone), std::string::npos) << off.err;
  EXPECT_NE(off.err.find(" \xEC\xB4\x88 \xEA\xB1\xB8\xEB\xA6\xBC\n"), std::string::npos);  // 초 걸림
  EXPECT_EQ(off.err.find('\r'), std::string::npos) << "terminal line ends";

  const auto on = RunCli({"to-srt", dir.File("in.smi"), dir.File("on.srt"), "--settings", dir.File("on.ini")});
  ASSERT_EQ(on.status, 0) << on.err;
  EXPECT_EQ(ReadFile(dir.File("on.srt")), "1\n00:00:01,000 --> 00:00:02,500\n\xC7\xD1\xB1\xDB\r\ntwo\n\n");
}

TEST(ToSrtCli, UnendedCaptionIsReportedAndTheRestWritten) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), "<SYNC Start=1000><P>one\r\n<SYNC Start=2000><P>two\r\n</BODY></SAMI>\r\n");
  const auto r = RunCli({"to-srt", "--settings", dir.File("none.ini"), dir.File("in.smi"), dir.File("out.srt")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadFile(dir.File("out.srt")), "1\n00:00:01,000 --> 00:00:02,000\none\n\n");
  EXPECT_NE(r.err.find("SMI \xED\x99\x94\xEC\x9D\xBC\xEC\x97\x90"), std::string::npos);  // SMI 화일에
  EXPECT_NE(r.err.find(kDone), std::string::npos);
}

TEST(ToSrtCli, RefusalsLeaveNoOutput) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("garbage.bin"), std::string("\x00\xFF\x01<\x80 P>\r\n\xFE", 10));
  WriteFile(dir.File("keep.srt"), "precious");
  const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
      {{dir.File("missing.smi"), dir.File("keep.srt")}, "(SMIDATA ERROR)"},
      {{dir.File("empty.smi"), dir.File("keep.srt")}, "\xED\x9D\xA0..."},  // 흠...
      {{dir.File("garbage.bin"), dir.File("new.srt")}, "\xED\x9D\xA0..."},
      {{dir.File("in.smi"), dir.File("no/such/out.srt")}, "(SRTFILE ERROR)"},
      {{dir.File("in.smi"), dir.path().string()}, "(SRTFILE ERROR)"},
  };
  for (const auto& [files, message] : refusals) {
    std::vector<std::string> args = {"to-srt", "--settings", dir.File("none.ini")};
    args.insert(args.end(), files.begin(), files.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 1) << files[0];
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(kDone), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadFile(dir.File("keep.srt")), "precious");
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.srt")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("no")));

  for (const auto& args : std::vector<std::vector<std::string>>{
           {"to-srt", dir.File("in.smi")}, {"to-srt", "--settings"},
           {"to-srt", "--mode", "1", dir.File("in.smi"), dir.File("new.srt")}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_NE(r.err.find("Usage: cadenzio-cli to-srt"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("new.srt")));
}

}  // namespace
}  // namespace cadenzio::test
