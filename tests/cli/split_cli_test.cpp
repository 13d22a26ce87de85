// cadenzio-cli split: the files it writes, its messages, and that a failed
// write leaves the folder as it found it.
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

RunResult RunSplit(const TempDir& dir, const std::string& base, const std::string& ini = "") {
  if (ini.empty()) return RunCli({"split", dir.File("in.smi"), dir.File(base), "--no-settings"});
  return RunCli({"split", dir.File("in.smi"), dir.File(base), "--settings", dir.File(ini)});
}

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    names.push_back(fs::relative(entry.path(), folder).string());
  std::sort(names.begin(), names.end());
  return names;
}

// Line-break repair only with CHECKBR on; CHECKBR=2 means "on", not the mode
// that keeps empty paragraphs.
TEST(SplitCli, WritesOneFilePerClass) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  WriteFile(dir.File("Movie.ENCC.smi"), "old");  // replaced
  const auto r = RunSplit(dir, "Movie.SMI");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.File("Movie.ENCC.smi") + "\n" + dir.File("Movie.KRCC.smi") + "\n");
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"Movie.ENCC.smi", "Movie.KRCC.smi", "in.smi"}));
  const std::string korean = kHead + kKr + kHead2 + "<SYNC Start=1000><P Class=KRCC>\xC7\xD1@\r\n\xB1\xDB\r\n"
                                                    "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n" + kTail;
  const std::size_t at = korean.find('@');
  EXPECT_EQ(ReadFile(dir.File("Movie.KRCC.smi")), std::string(korean).erase(at, 1));
  EXPECT_EQ(ReadFile(dir.File("Movie.ENCC.smi")), kHead + kEn + kHead2 + "<SYNC Start=1000><P Class=ENCC>Hi\r\n"
                                                      "<SYNC Start=2000><P Class=ENCC>&nbsp;\r\n" + kTail);
  // The completion message in the terminal's encoding and line ends.
  ASSERT_TRUE(r.err.starts_with(kDone)) << r.err;
  EXPECT_TRUE(std::regex_match(r.err.substr(kDone.size()), std::regex(" {12} *[0-9]+\\.[0-9]{3} 초 걸림\n")))
      << r.err;

  WriteFile(dir.File("on.ini"), "[Cadenzio]\r\nCHECKBR=2\r\n");
  ASSERT_EQ(RunSplit(dir, "m.smi", "on.ini").status, 0);
  EXPECT_EQ(ReadFile(dir.File("m.KRCC.smi")), std::string(korean).replace(at, 1, "<br>"));
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
    const auto r = RunSplit(dir, "a.smi/movie.smi");
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
  EXPECT_EQ(RunSplit(dir, "m.smi").status, 1);
  EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"in.smi", "m.KRCC.smi"}));
}

}  // namespace
}  // namespace cadenzio::test
