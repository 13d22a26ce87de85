// cadenzio-cli plain-text and remove-short-clears as a user runs them: output
// bytes, the settings they honour and the count message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

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

// CHECKBR from --settings FILE, else from the settings folder's Cadenzio.ini;
// --no-settings reads neither.
TEST(PlainTextCli, WritesOneCaptionALineAsTheSettingsSay) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.txt");
  WriteFile(in, kCaption);
  WriteFile(out, "old");
  std::filesystem::create_directory(dir.File("cadenzio"));
  WriteFile(dir.File("cadenzio/Cadenzio.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  WriteFile(dir.File("off.ini"), "[Cadenzio]\r\nCHECKBR=0\r\n");
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  const std::string plain = kHan + "line two\r\nHello\r\nagain\r\nend\r\n";
  const std::string repaired = kHan + "<br>line two\r\nHello\r\nagain\r\nend\r\n";
  for (const auto& [options, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, repaired}, {{"--no-settings"}, plain}, {{"--settings", dir.File("off.ini")}, plain}}) {
    std::vector<std::string> args = {"plain-text", in, out};
    args.insert(args.end(), options.begin(), options.end());
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out), expected) << (options.empty() ? "Cadenzio.ini" : options[0]);
  }
  saved ? setenv("XDG_CONFIG_HOME", saved->c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

TEST(RemoveShortClearsCli, CountsAndWritesTheCleanedFile) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("500.ini"), "[Cadenzio]\r\nDELCLEAR=500\r\n");
  const std::vector<std::pair<std::vector<std::string>, int>> cases = {
      {{"--settings", dir.File("500.ini")}, 1},
      {{"--gap", "400", "--no-settings"}, 1},
      {{"--gap", "399", "--settings", dir.File("500.ini")}, 0},  // --gap wins over DELCLEAR
      {{"--gap", " 999 ", "--no-settings"}, 1},                  // the largest gap, read as the dialog does
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

}  // namespace
}  // namespace cadenzio::test
