// cadenzio-cli plain-text and remove-short-clears as a user runs them: output
// bytes, the settings they honour, the count message and refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/plain_text_command.h"
#include "cli/remove_short_clears_command.h"
#include "platform/text_encoding.h"
#include "test_support.h"
#include "tools/short_clears.h"

namespace cadenzio::test {
namespace {

const std::string kHan = "\xC7\xD1\xB1\xDB";
const std::string kHead =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
// A short Korean clear at 2000 (the next Korean caption comes 400 ms later)
// and a long one at 5000; the empty paragraph at 5000 is a clear that the
// analyser writes back as "&nbsp;". No closing tags: written back, the file
// would end in supplied ones.
const std::string kCaption = kHead +
                             "<SYNC Start=1000><P Class=KRCC>\r\n" + kHan + "\r\nline two\r\n"
                             "<P Class=ENCC>Hello\r\n"
                             "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
                             "<SYNC Start=2400><P Class=KRCC>again\r\n"
                             "<SYNC Start=5000><P Class=KRCC>\r\n"
                             "<SYNC Start=6000><P Class=KRCC>end\r\n";
const std::string kCleaned = kHead +
                             "<SYNC Start=1000><P Class=KRCC>\r\n" + kHan + "\r\nline two\r\n"
                             "<P Class=ENCC>Hello\r\n"
                             "<SYNC Start=2400><P Class=KRCC>again\r\n"
                             "<SYNC Start=5000><P Class=KRCC>&nbsp;\r\n"
                             "<SYNC Start=6000><P Class=KRCC>end\r\n"
                             "\r\n</BODY>\r\n</SAMI>";

std::string Done(int removed) { return Cp949ToUtf8(ShortClearsDoneMessage(removed)) + "\n"; }

TEST(PlainTextCli, WritesOneCaptionALineAsTheSettingsSay) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("plain.ini"), "[Cadenzio]\r\nCHECKBR=0\r\n");
  WriteFile(dir.File("repair.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  WriteFile(dir.File("out.txt"), "old");
  ASSERT_EQ(cli::kPlainTextCommand.run(std::vector<std::string>{
                dir.File("in.smi"), dir.File("out.txt"), "--settings", dir.File("plain.ini")}),
            0);
  EXPECT_EQ(ReadFile(dir.File("out.txt")), kHan + "line two\r\nHello\r\nagain\r\nend\r\n");
  ASSERT_EQ(RunCli({"plain-text", dir.File("in.smi"), dir.File("br.txt"), "--settings",
                    dir.File("repair.ini")})
                .status,
            0);
  EXPECT_EQ(ReadFile(dir.File("br.txt")), kHan + "<br>line two\r\nHello\r\nagain\r\nend\r\n");
}

TEST(RemoveShortClearsCli, CountsAndWritesTheCleanedFile) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("none.ini"), "[Cadenzio]\r\nDELCLEAR=0\r\n");
  WriteFile(dir.File("500.ini"), "[Cadenzio]\r\nDELCLEAR=500\r\n");
  struct Case {
    std::vector<std::string> options;
    int removed;
  };
  const Case cases[] = {
      {{"--settings", dir.File("500.ini")}, 1},
      {{"--gap", "400", "--settings", dir.File("none.ini")}, 1},
      {{"--gap", "399", "--settings", dir.File("500.ini")}, 0},  // --gap wins over DELCLEAR
      {{"--settings", dir.File("none.ini")}, 0},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {dir.File("in.smi"), dir.File("out.smi")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    testing::internal::CaptureStderr();
    const int status = cli::kRemoveShortClearsCommand.run(args);
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(status, 0) << err;
    EXPECT_EQ(err, Done(c.removed));
    // Nothing removed: the input's bytes, not the analysed document.
    EXPECT_EQ(ReadFile(dir.File("out.smi")), c.removed ? kCleaned : kCaption) << c.options[1];
  }
}

TEST(PlainTextCli, RefusalsLeaveNoOutput) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("binary.smi"), std::string("<SYNC Start=1><P>\0\x01", 19));
  WriteFile(dir.File("nosync.smi"), "<SAMI><BODY><P>no sync\r\n</BODY></SAMI>\r\n");
  WriteFile(dir.File("keep"), "precious");
  const std::string out = dir.File("new.out");
  for (const std::string command : {"plain-text", "remove-short-clears"}) {
    const std::vector<std::vector<std::string>> failures = {
        {command, dir.File("missing.smi"), out},
        {command, dir.path().string(), out},
        {command, dir.File("empty.smi"), out},
        {command, dir.File("binary.smi"), out},
        {command, dir.File("nosync.smi"), out},
        {command, dir.File("in.smi"), out, "--settings", dir.File("missing.ini")},
        {command, dir.File("missing.smi"), dir.File("keep")},
        {command, dir.File("in.smi"), dir.File("no/such/folder/out")},
    };
    for (const auto& args : failures) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 1) << command << " " << args[1];
      EXPECT_NE(r.err.find("cadenzio-cli: "), std::string::npos) << args[1];
    }
    std::vector<std::vector<std::string>> usage = {
        {command, dir.File("in.smi")},
        {command, dir.File("in.smi"), out, "--bogus", "1"},
        {command, dir.File("in.smi"), out, "--settings"},
    };
    if (command == "remove-short-clears") {
      // Read as the settings dialog reads DELCLEAR: 0 to 999, a number only.
      for (const char* gap : {"1000", "-1", "abc", "12a", ""})
        usage.push_back({command, dir.File("in.smi"), out, "--gap", gap});
    } else {
      usage.push_back({command, dir.File("in.smi"), out, "--gap", "5"});
    }
    for (const auto& args : usage) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 2) << command << " " << args.back();
      EXPECT_NE(r.err.find("Usage: cadenzio-cli " + command), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << command;
    EXPECT_FALSE(std::filesystem::exists(dir.File("no"))) << command;
    EXPECT_EQ(ReadFile(dir.File("keep")), "precious");
  }
  for (const char* gap : {"0", "999", " 7 "}) {
    EXPECT_EQ(RunCli({"remove-short-clears", dir.File("in.smi"), out, "--gap", gap}).status, 0)
        << gap;
  }
}

// Real files: a run with the widest gap cleans some of them, and a second run
// on the cleaned file finds nothing; plain text succeeds wherever the file
// has sync tags this system reads.
TEST(RemoveShortClearsCli, RealFiles) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "samples folder absent";
  TempDir dir;
  WriteFile(dir.File("empty.ini"), "[Cadenzio]\r\n");
  const std::string ini = dir.File("empty.ini");
  int files = 0, cleaned = 0;
  for (const auto& entry : std::filesystem::directory_iterator(samples)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".smi" && ext != ".sami") continue;
    const std::string in = entry.path().string();
    const auto text = RunCli({"plain-text", in, dir.File("t"), "--settings", ini});
    if (text.status != 0) {  // start values in quotation marks are no sync tags here
      EXPECT_NE(text.err.find("holds no sync tag"), std::string::npos) << in << text.err;
      continue;
    }
    ++files;
    const auto r = RunCli({"remove-short-clears", in, dir.File("a"), "--gap", "999", "--settings", ini});
    ASSERT_EQ(r.status, 0) << in << r.err;
    if (r.err != Done(0)) ++cleaned;
    const auto again =
        RunCli({"remove-short-clears", dir.File("a"), dir.File("b"), "--gap", "999", "--settings", ini});
    EXPECT_EQ(again.err, Done(0)) << in;
    EXPECT_EQ(ReadFile(dir.File("a")), ReadFile(dir.File("b"))) << in;
  }
  EXPECT_GT(files, 10);
  EXPECT_GT(cleaned, 0);
}

}  // namespace
}  // namespace cadenzio::test
