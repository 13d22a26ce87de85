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

}  // namespace
}  // namespace cadenzio::test
