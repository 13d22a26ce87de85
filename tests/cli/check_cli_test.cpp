// cadenzio-cli check as a user runs it: report on stdout or in a file,
// completion message on stderr, refusals that leave nothing behind.
#include <gtest/gtest.h>

#include <filesystem>

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
  const auto file = RunCli({"check", dir.File("in.smi"), "-o", dir.File("report.txt"), "--settings",
                            dir.File("none.ini")});
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out, "");
  const std::string report = ReadFile(dir.File("report.txt"));
  // Decrease, short display and the empty caption at line 11; the defaults.
  EXPECT_NE(report.find("(LINE:0011) \xBD\xCC\xC5\xA9 \xB0\xA8\xBC\xD2 - <SYNC Start=9000>\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("=> -500 ms\r\n"), std::string::npos);
  EXPECT_NE(report.find("(LINE:0011) \xB0\xF8\xB9\xE9"), std::string::npos);
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

TEST(CheckCli, RefusalsLeaveNoReport) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("garbage.bin"), std::string("\x7F" "ELF\x02\x01\x00\xFF\xFE<P>\x00\x80", 14));
  std::filesystem::create_directory(dir.File("folder"));
  const std::string no_data = Cp949ToUtf8(" \xC8\xEC... \xC3\xBC\xC5\xA9\xC7\xD2 ");  // " 흠... 체크할 "
  for (const auto& [in, says] : std::vector<std::pair<std::string, std::string>>{
           {"nope.smi", "nope.smi"}, {"folder", "folder"}, {"empty.smi", no_data}, {"garbage.bin", no_data}}) {
    WriteFile(dir.File("keep.txt"), "precious");
    for (const char* report : {"keep.txt", "new.txt"}) {
      const auto r = RunCli({"check", dir.File(in), "-o", dir.File(report)});
      EXPECT_EQ(r.status, 1) << in;
      EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadFile(dir.File("keep.txt")), "precious");
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.txt")));
  }
  const auto nowhere = RunCli({"check", dir.File("in.smi"), "-o", dir.File("no/such/report.txt")});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.err.find("report.txt"), std::string::npos);

  for (const auto& args : std::vector<std::vector<std::string>>{
           {"check"}, {"check", "a.smi", "b.smi"}, {"check", "a.smi", "-o"}, {"check", "--x", "a"}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_NE(r.err.find("Usage: cadenzio-cli check"), std::string::npos);
  }
  // Nothing else, not even a temporary file of a refused report, was left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
}

// Korean and English captions in two blocks, the English restarting near 0:
// each class is walked on its own, so no "싱크 감소" (decrease) is reported.
TEST(CheckCli, BilingualSampleIsCheckedClassByClass) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "samples folder absent";
  TempDir dir;
  const auto r = RunCli({"check", samples + "/ureru-friends-bilingual.cp949.smi", "-o", dir.File("r.txt")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string report = ReadFile(dir.File("r.txt"));
  EXPECT_NE(report.find("ENCC "), std::string::npos);
  EXPECT_NE(report.find("KRCC "), std::string::npos);
  EXPECT_EQ(report.find("\xBD\xCC\xC5\xA9 \xB0\xA8\xBC\xD2"), std::string::npos);
  EXPECT_EQ(report.substr(report.size() - 4), "\r\n\r\n");
}

}  // namespace
}  // namespace cadenzio::test
