// cadenzio-cli plain-text and remove-short-clears as a user runs them: output
// bytes, the settings they honour, the count message and refusals.
#include <gtest/gtest.h>

#include <filesystem>

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

TEST(PlainTextCli, WritesOneCaptionALineAsTheSettingsSay) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("plain.ini"), "[Cadenzio]\r\nCHECKBR=0\r\n");
  WriteFile(dir.File("repair.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  WriteFile(dir.File("out.txt"), "old");
  for (const auto& [ini, expected] : std::vector<std::pair<std::string, std::string>>{
           {"plain.ini", kHan + "line two\r\nHello\r\nagain\r\nend\r\n"},
           {"repair.ini", kHan + "<br>line two\r\nHello\r\nagain\r\nend\r\n"}}) {
    const auto r = RunCli({"plain-text", dir.File("in.smi"), dir.File("out.txt"), "--settings", dir.File(ini)});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.File("out.txt")), expected) << ini;
  }
}

TEST(RemoveShortClearsCli, CountsAndWritesTheCleanedFile) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("none.ini"), "[Cadenzio]\r\nDELCLEAR=0\r\n");
  WriteFile(dir.File("500.ini"), "[Cadenzio]\r\nDELCLEAR=500\r\n");
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{"--settings", dir.File("500.ini")}, 1},
      {{"--gap", "400", "--settings", dir.File("none.ini")}, 1},
      {{"--gap", "399", "--settings", dir.File("500.ini")}, 0},  // --gap wins over DELCLEAR
  };
  for (const auto& [options, removed] : cases) {
    std::vector<std::string> args = {"remove-short-clears", dir.File("in.smi"), dir.File("out.smi")};
    args.insert(args.end(), options.begin(), options.end());
    const auto r = RunCli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, Cp949ToUtf8(ShortClearsDoneMessage(removed)) + "\n");
    // Nothing removed: the input's bytes, not the analysed document.
    EXPECT_EQ(ReadFile(dir.File("out.smi")), removed ? kCleaned : kCaption) << options[1];
  }
}

TEST(PlainTextCli, RefusalsLeaveNoOutput) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("binary.smi"), std::string("<SYNC Start=1><P>\0\x01", 19));
  WriteFile(dir.File("nosync.smi"), "<SAMI><BODY><P>no sync\r\n</BODY></SAMI>\r\n");
  WriteFile(dir.File("keep"), "precious");
  const std::string in = dir.File("in.smi"), out = dir.File("new.out");
  for (const std::string command : {"plain-text", "remove-short-clears"}) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {command, dir.File("missing.smi"), dir.File("keep")},
             {command, dir.File("empty.smi"), out},
             {command, dir.File("binary.smi"), dir.File("keep")},
             {command, dir.File("nosync.smi"), out},
             {command, in, out, "--settings", dir.File("missing.ini")},
             {command, in, dir.File("no/such/folder/out")}}) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 1) << command << " " << args[1];
      EXPECT_NE(r.err.find("cadenzio-cli: "), std::string::npos) << args[1];
    }
    std::vector<std::vector<std::string>> usage = {
        {command, in}, {command, in, out, "--bogus", "1"}, {command, in, out, "--settings"}};
    // Read as the settings dialog reads DELCLEAR: 0 to 999, a number only.
    for (const char* gap : {"1000", "-1", "12a", ""})
      if (command == "remove-short-clears") usage.push_back({command, in, out, "--gap", gap});
    if (command == "plain-text") usage.push_back({command, in, out, "--gap", "5"});
    for (const auto& args : usage) {
      const auto r = RunCli(args);
      EXPECT_EQ(r.status, 2) << command << " " << args.back();
      EXPECT_NE(r.err.find("Usage: cadenzio-cli " + command), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(out)) << command;
    EXPECT_FALSE(std::filesystem::exists(dir.File("no"))) << command;
    EXPECT_EQ(ReadFile(dir.File("keep")), "precious");
  }
  for (const char* gap : {"0", "999", " 7 "})
    EXPECT_EQ(RunCli({"remove-short-clears", in, out, "--gap", gap}).status, 0) << gap;
}

}  // namespace
}  // namespace cadenzio::test
