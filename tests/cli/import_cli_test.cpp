// cadenzio-cli import as a user runs it: the format from the content, the
// title and frame rate from options.
#include <gtest/gtest.h>

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

TEST(ImportCli, WritesTheSamiInTheEncodingOfItsInput) {
  TempDir dir;
  // "이 자막" in UTF-8 (이 holds the byte 0xB4) and in UTF-16LE with its BOM.
  const std::string utf8 = "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xEC\x9D\xB4 \xEC\x9E\x90\xEB\xA7\x89\r\n\r\n";
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("1\r\n00:00:01,000 --> 00:00:02,000\r\n")) utf16 += {c, '\0'};
  utf16 += std::string("\x74\xC7\x20\x00\x90\xC7\xC9\xB9\r\0\n\0\r\0\n\0", 16);
  WriteFile(dir.File("u8.srt"), utf8);
  WriteFile(dir.File("u16.srt"), utf16);
  for (const std::string name : {"u8", "u16"}) {
    const auto r = RunCli({"import", dir.File(name + ".srt"), dir.File(name + ".smi"), "--title", "한글"});
    ASSERT_EQ(r.status, 0) << r.err;
  }
  const std::string sami = ReadFile(dir.File("u8.smi"));
  EXPECT_NE(sami.find("<Title>한글</Title>"), std::string::npos);
  EXPECT_NE(sami.find("<P Class=ENCC>\r\n이 자막\r\n"), std::string::npos) << sami;
  const std::string wide = ReadFile(dir.File("u16.smi"));
  ASSERT_TRUE(wide.starts_with("\xFF\xFE<\0S\0A\0M\0I\0>\0"));
  const RunResult info = RunCli({"rewrite", dir.File("u16.smi"), dir.File("back.smi"),
                                 "--output-encoding", "utf-8"});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(ReadFile(dir.File("back.smi")).find("\r\n이 자막\r\n"), std::string::npos);
}

}  // namespace
}  // namespace cadenzio::test
