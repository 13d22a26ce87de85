// cadenzio-cli shift, scale and add-clears: times as numbers and clock text,
// the work command's messages in UTF-8, and refusals that leave every file as
// it was. The work command's own checks are covered by the job's tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace cadenzio::test {
namespace {

std::string Smi(long caption, long blank) {
  return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
         ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
         "<BODY>\r\n<SYNC Start=" + std::to_string(caption) + "><P Class=KRCC>\xC7\xD1\r\n"
         "<SYNC Start=" + std::to_string(blank) + "><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}

TEST(UtilityCli, CommandsTakeMillisecondsAndClockTimes) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, Smi(1000, 3000));
  WriteFile(out, "old");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"shift", "--from", "00:00:02,000", "--to", "0", "--by", "-00:00:00,500"}, Smi(1000, 2500)},
      {{"shift", "--from", "0", "--to", "2000", "--by", "+7", "--fix-br"}, Smi(1007, 3000)},
      {{"shift", "--from", "0", "--to", "0", "--by", "-1500"}, Smi(-500, 1500)},
      {{"scale", "--from", "0", "--to", "1000", "--new-from", "0", "--new-to", "2000"}, Smi(2000, 3000)},
      {{"scale", "--whole", "--from", "0", "--to", "1000", "--new-from", "0", "--new-to", "0:0:2,0"},
       Smi(2000, 6000)},
      {{"add-clears", "--from", "0", "--to", "0", "--by", "-300"}, Smi(1000, 3300)},
  };
  for (const auto& [options, expected] : cases) {
    std::vector<std::string> args = {options[0], in, out};
    args.insert(args.end(), options.begin() + 1, options.end());
    const RunResult r = RunCli(args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out), expected) << options[0] << " " << options.back();
    EXPECT_NE(r.err.find("작업이 정상적으로 완료되었습니다.\r\n            "), std::string::npos) << r.err;
  }
  // The notice of a negative add-clears value comes first, and the work goes on.
  const RunResult notice = RunCli({"add-clears", in, out, "--from", "0", "--to", "0", "--by", "-1"});
  EXPECT_EQ(notice.status, 0);
  EXPECT_EQ(notice.err.find("    변경값은 0 값 보다 커야 합니다. 수정합니다.\r\n(0 값 입력시는"), 0u);
}

TEST(UtilityCli, RefusalsLeaveEveryFileAsItWas) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), keep = dir.File("keep.smi");
  WriteFile(in, Smi(1000, 2000));
  WriteFile(keep, "precious");
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("nul.smi"), std::string("<SYNC Start=1>\0\xFF", 16));
  WriteFile(dir.File("text.smi"), "no captions here\r\n");
  const std::vector<std::string> range = {"--from", "0", "--to", "0"}, by = {"--by", "1"};
  const std::vector<std::tuple<std::vector<std::string>, int, std::string>> refusals = {
      {{in, keep, "--by", "12a"}, 1, "--by takes whole milliseconds"},
      {{in, keep, "--by", "2147483648"}, 1, "not '2147483648'"},
      {{in, keep, "--by", "1:02,000"}, 1, "or a clock time HH:MM:SS,mmm"},
      {{in, keep, "--from", "0"}, 2, "--to is required"},
      {{in, keep, "--whole"}, 2, "unknown option '--whole'"},
      {{in}, 2, "expected IN and OUT"},
      {{dir.File("none.smi"), keep}, 1, "입력 화일을 읽어 들일 수 없습니다."},
      {{dir.File("empty.smi"), keep}, 1, "is empty"},
      {{dir.File("nul.smi"), dir.File("new.smi")}, 1, "holds NUL bytes"},
      {{dir.File("text.smi"), keep}, 1, "holds no sync tag"},
      {{in, in}, 1, "give another output file"},
      {{in, dir.File("IN.SMI")}, 1, "give another output file"},
      {{in, dir.File("no/out.smi")}, 1, "출력 화일을 쓰기 위해서 열 수 없습니다."},
  };
  for (const auto& [given, status, message] : refusals) {
    std::vector<std::string> args = {"shift"};
    args.insert(args.end(), given.begin(), given.end());
    if (given.size() == 2) args.insert(args.end(), by.begin(), by.end());
    if (given.size() == 2 || (given.size() > 2 && given[2] == "--by")) args.insert(args.end(), range.begin(), range.end());
    const RunResult o = RunCli(args);
    EXPECT_EQ(o.status, status) << message << "\n" << o.err;
    EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
  }
  const RunResult scale =
      RunCli({"scale", in, keep, "--from", "1", "--to", "2", "--new-from", "5", "--new-to", "4"});
  EXPECT_EQ(scale.status, 1);
  EXPECT_NE(scale.err.find("싱크값 입력이 잘못 되었습니다. 정확히 입력하세요.\n"), std::string::npos);
  EXPECT_EQ(ReadFile(keep) + ReadFile(in), "precious" + Smi(1000, 2000));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 5);
}

}  // namespace
}  // namespace cadenzio::test
