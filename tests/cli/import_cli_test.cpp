// cadenzio-cli import as a user runs it: the format from the content, the
// title and frame rate from options, and refusals that leave nothing behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace cadenzio::test {
namespace {

TEST(ImportCli, ConvertsByContentWithTitleAndRate) {
  TempDir dir;
  // A .txt name: the content, not the name, says SUB.
  WriteFile(dir.File("movie.txt"), "{100}{200}a|b\n");
  const auto sub = RunCli({"import", dir.File("movie.txt"), dir.File("out.smi"), "--fps", "25"});
  ASSERT_EQ(sub.status, 0) << sub.err;
  const std::string sami = ReadFile(dir.File("out.smi"));
  EXPECT_EQ(sami.rfind("<SAMI>\r\n<HEAD>\r\n<Title>movie</Title>\r\n", 0), 0u);
  EXPECT_EQ(sami.substr(sami.find("<BODY>\r\n") + 8),
            "<SYNC Start=4000><P Class=ENCC>\r\na<br>\r\nb\r\n"
            "<SYNC Start=8000><P Class=ENCC>&nbsp;\r\n</BODY>\r\n</SAMI>");

  // The default rate is 23.976; a UTF-8 title is written in CP949.
  ASSERT_EQ(RunCli({"import", dir.File("movie.txt"), dir.File("ntsc.smi"), "--title", "한글"}).status, 0);
  const std::string ntsc = ReadFile(dir.File("ntsc.smi"));
  EXPECT_NE(ntsc.find("<Title>\xC7\xD1\xB1\xDB</Title>\r\n"), std::string::npos);
  EXPECT_NE(ntsc.find("<SYNC Start=4170>"), std::string::npos);
}

TEST(ImportCli, RefusalsLeaveNoOutput) {
  TempDir dir;
  WriteFile(dir.File("a.srt"), "1\n00:00:01,000 --> 00:00:02,000\nHi\n");
  WriteFile(dir.File("plain.txt"), "just text\n");
  WriteFile(dir.File("keep.smi"), "precious");
  const std::string a = dir.File("a.srt"), keep = dir.File("keep.smi");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"import", a, keep, "--fps", "9.99"}, "Frame Rate 값은 10.0 에서 50.0 사이 수치 입니다."},
      {{"import", a, dir.File("new.smi"), "--fps", "25fps"}, "Frame Rate"},
      {{"import", a, keep, "--title", "smile \xF0\x9F\x98\x80"}, "--title"},
      {{"import", dir.File("plain.txt"), keep}, "지원하지 않는 파일 포맷입니다. -.-"},
      {{"import", dir.File("missing.srt"), dir.File("new.smi")}, "화일을 열수가 없네요..."},
      {{"import", a, dir.File("no/such/out.smi")}, "cannot write"},
  };
  for (const auto& [args, message] : cases) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 1) << args[1] << " " << args.size();
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
  }
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"import", a}, {"import", a, keep, "--fps"}, {"import", a, keep, "--bogus", "x"}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_NE(r.err.find("Usage: cadenzio-cli import"), std::string::npos);
  }
  EXPECT_EQ(ReadFile(keep), "precious");
  // Nothing was left behind, not even a temporary file.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

}  // namespace
}  // namespace cadenzio::test
