// cadenzio-cli shift, scale and add-clears: times as numbers and clock text,
// and the work command's messages in UTF-8. The work command's own checks are
// covered by the job's tests.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace cadenzio::test
