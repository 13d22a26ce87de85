// cadenzio-cli split: the files it writes, its messages, its refusals, and
// that a failed run leaves the folder as it found it.
#include "cli/split_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "test_support.h"

namespace cadenzio::test {
namespace {

namespace fs = std::filesystem;

const std::string kHead =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nP { color:white; }\r\n";
const std::string kKr = ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n";
const std::string kEn = ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n";
const std::string kHead2 = "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kTail = "</BODY>\r\n</SAMI>\r\n";
const std::string kCaption = kHead + kKr + kEn + kHead2 +
                             "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n\xB1\xDB\r\n<P Class=ENCC>Hi\r\n"
                             "<SYNC Start=2000><P Class=KRCC>\r\n<P Class=ENCC>&nbsp;\r\n" + kTail;
const std::string kDone = "    작업이 정상적으로 완료되었습니다.\n(확장자 smi앞에 언어태크 추가되어 생성)\n";

// Runs the command in this process; a settings file that does not exist gives
// the default settings whatever the machine's own configuration.
RunResult RunSplit(const TempDir& dir, std::vector<std::string> args, std::string settings = "none.ini") {
  args.insert(args.end(), {"--settings", dir.File(settings)});
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const int status = cli::kSplitCommand.run(args);
  const std::string out = testing::internal::GetCapturedStdout();
  return {status, out, testing::internal::GetCapturedStderr()};
}

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(entry.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// Through the program, as a user runs it; CHECKBR off by default (mode 0).
TEST(SplitCli, WritesOneFilePerClass) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("Movie.ENCC.smi"), "old");  // replaced
  const auto r = RunCli({"split", dir.File("in.smi"), dir.File("Movie.SMI"), "--settings", dir.File("x.ini")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.File("Movie.ENCC.smi") + "\n" + dir.File("Movie.KRCC.smi") + "\n");
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"Movie.ENCC.smi", "Movie.KRCC.smi", "in.smi"}));
  EXPECT_EQ(ReadFile(dir.File("Movie.KRCC.smi")), kHead + kKr + kHead2 +
                                                      "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n\xB1\xDB\r\n"
                                                      "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n" + kTail);
  EXPECT_EQ(ReadFile(dir.File("Movie.ENCC.smi")), kHead + kEn + kHead2 + "<SYNC Start=1000><P Class=ENCC>Hi\r\n"
                                                      "<SYNC Start=2000><P Class=ENCC>&nbsp;\r\n" + kTail);
  // The completion message in the terminal's encoding and line ends.
  ASSERT_TRUE(r.err.starts_with(kDone)) << r.err;
  EXPECT_TRUE(std::regex_match(r.err.substr(kDone.size()), std::regex(" {12} *[0-9]+\\.[0-9]{3} 초 걸림\n")))
      << r.err;
}

// CHECKBR=2 means "on": line-break repair, not the mode that keeps empty paragraphs.
TEST(SplitCli, AnyNonZeroCheckBrRepairsLineBreaks) {
  TempDir dir;
  WriteFile(dir.File("on.ini"), "[Cadenzio]\r\nCHECKBR=2\r\n");
  WriteFile(dir.File("in.smi"), kCaption);
  ASSERT_EQ(RunSplit(dir, {dir.File("in.smi"), dir.File("m.smi")}, "on.ini").status, 0);
  EXPECT_EQ(ReadFile(dir.File("m.KRCC.smi")), kHead + kKr + kHead2 +
                                                  "<SYNC Start=1000><P Class=KRCC>\xC7\xD1<br>\r\n\xB1\xDB\r\n"
                                                  "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n" + kTail);
}

TEST(SplitCli, RefusalsWriteNothing) {
  std::string eleven;
  for (char c = 'A'; c < 'A' + 11; ++c) eleven += std::string(".C") + c + " {Name:x; lang:xx;}\r\n";
  // Every failure after the input was read ends in the split's own message.
  struct Case { std::string input; std::vector<std::string> args; int status; std::string says; };
  const Case cases[] = {
      {"", {"missing.smi", "out.smi"}, 1, "missing.smi"},
      {"", {"in.smi", "out.smi"}, 1, "declares no language class"},
      {std::string("\0\x81\xFF<", 4), {"in.smi", "out.smi"}, 1, "declares no language class"},
      {kHead + eleven + kHead2 + "<SYNC Start=1><P>x\r\n", {"in.smi", "out.smi"}, 1, "(최대 10개)"},
      {kCaption, {"in.smi", "no/such/out.smi"}, 1, "cannot write"},
      {kCaption, {"in.smi"}, 2, "Usage: cadenzio-cli split"},
      {kCaption, {"in.smi", ""}, 2, "BASE"},
      {kCaption, {"in.smi", "out.smi", "--bogus"}, 2, "--bogus"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    WriteFile(dir.File("in.smi"), c.input);
    std::vector<std::string> args;
    for (const auto& a : c.args) args.push_back(a.empty() || a[0] == '-' ? a : dir.File(a));
    const auto r = RunSplit(dir, args);
    EXPECT_EQ(r.status, c.status) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << c.says << ": " << r.err;
    const bool split_ran = c.status == 1 && c.args[0] != "missing.smi";
    EXPECT_EQ(r.err.find("분할 작업 실패") != std::string::npos, split_ran) << r.err;
    EXPECT_EQ(Listing(dir.path()), std::vector<std::string>{"in.smi"}) << c.says;
  }
}

// "/x/a.smi/movie.smi" names its files in two folders, a.ENCC.smi and
// a.KRCC.smi: with only the first present, the second write fails after the
// first succeeded, and the first is taken back.
TEST(SplitCli, FailedWriteTakesBackTheOthers) {
  for (const bool existed : {false, true}) {
    TempDir dir;
    WriteFile(dir.File("in.smi"), kCaption);
    fs::create_directory(dir.File("a.ENCC.smi"));
    if (existed) WriteFile(dir.File("a.ENCC.smi/movie.ENCC.smi"), "precious");
    const auto r = RunSplit(dir, {dir.File("in.smi"), dir.File("a.smi/movie.smi")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(existed ? "restored" : "removed"), std::string::npos) << r.err;
    if (existed) {
      EXPECT_EQ(ReadFile(dir.File("a.ENCC.smi/movie.ENCC.smi")), "precious");
    } else {
      EXPECT_TRUE(fs::is_empty(dir.File("a.ENCC.smi")));
    }
  }
  // An output name taken by a folder is found before anything is written.
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  fs::create_directory(dir.File("m.KRCC.smi"));
  EXPECT_EQ(RunSplit(dir, {dir.File("in.smi"), dir.File("m.smi")}).status, 1);
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"in.smi", "m.KRCC.smi"}));
}

}  // namespace
}  // namespace cadenzio::test
