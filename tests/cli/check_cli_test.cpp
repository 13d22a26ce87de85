// cadenzio-cli check as a user runs it: report on stdout or in a file,
// completion message on stderr, refusals that leave nothing behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/check_command.h"
#include "platform/text_encoding.h"
#include "sami/sami_document.h"
#include "settings/settings.h"
#include "test_support.h"
#include "tools/sync_check.h"

namespace cadenzio::test {
namespace {

constexpr char kCaption[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=9500><P Class=KRCC>\xC7\xD1\xB1\xDB\r\n"
    "<SYNC Start=9000><P Class=KRCC>\r\n</BODY>\r\n</SAMI>\r\n";

std::string Utf8(const char* cp949) { return Cp949ToUtf8(cp949); }

TEST(CheckCli, ReportOnStdoutOrByteExactInAFile) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  const auto file = RunCli({"check", dir.File("in.smi"), "-o", dir.File("report.txt")});
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out, "");
  const std::string report = ReadFile(dir.File("report.txt"));
  // Decrease, short display and the empty caption at line 11.
  EXPECT_NE(report.find("(LINE:0011) \xBD\xCC\xC5\xA9 \xB0\xA8\xBC\xD2 - <SYNC Start=9000>\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("=> -500 ms\r\n"), std::string::npos);
  EXPECT_NE(report.find("(LINE:0011) \xB0\xF8\xB9\xE9"), std::string::npos);
  EXPECT_EQ(report.find('\n') - 1, report.find('\r'));
  EXPECT_NE(report.find(" 3 \xB0\xB3 \xB9\xDF\xB0\xDF\r\n\r\n"), std::string::npos);  // total 3

  const auto out = RunCli({"check", dir.File("in.smi")});
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out, Cp949ToUtf8(report));
  // "작업이 정상적으로 완료되었습니다." and "N.NNN 초 걸림" on their own lines.
  const std::string done = Utf8("\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE "
                                "\xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\n");
  for (const auto& r : {file, out}) {
    EXPECT_EQ(r.err.rfind(done, 0), 0u) << r.err;
    EXPECT_NE(r.err.find(Utf8(" \xC3\xCA \xB0\xC9\xB8\xB2\n")), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos);
  }
}

// In this process: MIN and MAX come from --settings (a missing file gives the
// defaults); the completion message goes to stderr.
TEST(CheckCli, SettingsFileGivesTheThresholds) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("Cadenzio.ini"), "[Cadenzio]\r\nMIN=300\r\nMAX=4000\r\n");
  SamiDocument doc;
  ASSERT_TRUE(doc.Analyse(kCaption, kAnalyseKeepBlanks));
  for (const char* ini : {"Cadenzio.ini", "none.ini"}) {
    const Settings settings = Settings::Load(dir.File(ini));
    testing::internal::CaptureStderr();
    const int status = cli::kCheckCommand.run(std::vector<std::string>{
        dir.File("in.smi"), "--settings", dir.File(ini), "-o", dir.File("report.txt")});
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(status, 0) << err;
    EXPECT_EQ(ReadFile(dir.File("report.txt")),
              CheckSyncErrors(doc, settings.min_interval, settings.max_interval).report);
    EXPECT_NE(err.find(Utf8(" \xC3\xCA \xB0\xC9\xB8\xB2\n")), std::string::npos) << err;
  }
  EXPECT_NE(ReadFile(dir.File("report.txt")).find("(\xC3\xD6\xBC\xD2 800 ms)"), std::string::npos);
}

TEST(CheckCli, RefusalsLeaveNoReport) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("garbage.bin"), std::string("\x7F" "ELF\x02\x01\x00\xFF\xFE<P>\x00\x80", 14));
  std::filesystem::create_directory(dir.File("folder"));
  const std::string no_data = Utf8(" \xC8\xEC... \xC3\xBC\xC5\xA9\xC7\xD2 ");  // " 흠... 체크할 "
  struct Refusal {
    std::string in, says;
  };
  for (const Refusal& c : std::vector<Refusal>{{dir.File("nope.smi"), "nope.smi"},
                                               {dir.File("folder"), "folder"},
                                               {dir.File("empty.smi"), no_data},
                                               {dir.File("garbage.bin"), no_data}}) {
    WriteFile(dir.File("keep.txt"), "precious");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"check", c.in, "-o", dir.File("keep.txt")}, {"check", c.in, "-o", dir.File("new.txt")}}) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 1) << c.in;
      EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(ReadFile(dir.File("keep.txt")), "precious");
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.txt")));
  }

  const auto nowhere = RunCli({"check", dir.File("in.smi"), "-o", dir.File("no/such/report.txt")});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_NE(nowhere.err.find("report.txt"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("no")));

  for (const auto& args : std::vector<std::vector<std::string>>{
           {"check"}, {"check", "a.smi", "b.smi"}, {"check", "a.smi", "-o"}, {"check", "--x", "a"}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_NE(r.err.find("Usage: cadenzio-cli check"), std::string::npos);
  }
  // No temporary file of a refused report was left beside the others.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 5);  // in, empty, garbage, folder, keep
}

TEST(CheckCli, RealFilesAreChecked) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "samples folder absent";
  TempDir dir;
  for (const char* name : {"srt-tools-s01-cp949.smi", "ureru-friends-bilingual.cp949.smi"}) {
    const auto r = RunCli({"check", samples + "/" + name, "-o", dir.File("report.txt")});
    ASSERT_EQ(r.status, 0) << name << r.err;
    const std::string report = ReadFile(dir.File("report.txt"));
    // Ends in the total line: "# 모든 검사에서 총 오류 N 개 발견".
    EXPECT_NE(report.rfind("# \xB8\xF0\xB5\xE7 "), std::string::npos) << name;
    EXPECT_EQ(report.substr(report.size() - 4), "\r\n\r\n") << name;
  }
  // Korean and English captions in two blocks, the English restarting near 0:
  // each class is walked on its own, so no "싱크 감소" (decrease) is reported.
  const std::string bilingual = ReadFile(dir.File("report.txt"));
  EXPECT_NE(bilingual.find("ENCC "), std::string::npos);
  EXPECT_NE(bilingual.find("KRCC "), std::string::npos);
  EXPECT_EQ(bilingual.find("\xBD\xCC\xC5\xA9 \xB0\xA8\xBC\xD2"), std::string::npos);

  // Quoted starts (start="9209") are no syncs to the analyser: nothing to check.
  const auto quoted = RunCli({"check", samples + "/pycaption-example.sami"});
  EXPECT_EQ(quoted.status, 1);
  EXPECT_NE(quoted.err.find("nothing to check"), std::string::npos);
  EXPECT_EQ(quoted.out, "");
}

}  // namespace
}  // namespace cadenzio::test
