// cadenzio-cli shift, scale and add-clears: times as numbers and clock text,
// the work command's messages in UTF-8, and refusals that leave every file as
// it was. The work command's own checks are covered by the job's tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/utility_commands.h"
#include "test_support.h"

namespace cadenzio::test {
namespace {

constexpr char kDone[] = "작업이 정상적으로 완료되었습니다.\r\n            ";

std::string Smi(long caption, long blank) {
  return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
         ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
         "<BODY>\r\n<SYNC Start=" + std::to_string(caption) + "><P Class=KRCC>\xC7\xD1\r\n"
         "<SYNC Start=" + std::to_string(blank) + "><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}

struct Outcome {
  int status;
  std::string err;
};

Outcome RunCommand(const cli::Command& command, const std::vector<std::string>& args) {
  testing::internal::CaptureStderr();
  const int status = command.run(args);
  return {status, testing::internal::GetCapturedStderr()};
}

TEST(UtilityCli, CommandsTakeMillisecondsAndClockTimes) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, Smi(1000, 3000));
  WriteFile(out, "old");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"shift", "--from", "00:00:02,000", "--to", "0", "--by", "-00:00:00,500"}, Smi(1000, 2500)},
      {{"shift", "--from", "0", "--to", "2000", "--by", "+7", "--fix-br"}, Smi(1007, 3000)},
      {{"scale", "--from", "0", "--to", "1000", "--new-from", "0", "--new-to", "2000"},
       Smi(2000, 3000)},
      {{"scale", "--whole", "--from", "0", "--to", "1000", "--new-from", "0", "--new-to",
        "0:0:2,0"}, Smi(2000, 6000)},
      {{"add-clears", "--from", "0", "--to", "0", "--by", "-300"}, Smi(1000, 3300)},
  };
  for (const auto& [options, expected] : cases) {
    const cli::Command& command = options[0] == "shift"   ? cli::kShiftCommand
                                  : options[0] == "scale" ? cli::kScaleCommand
                                                          : cli::kAddClearsCommand;
    std::vector<std::string> args = {in, out};
    args.insert(args.end(), options.begin() + 1, options.end());
    const Outcome r = RunCommand(command, args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(out), expected) << options[0];
    EXPECT_NE(r.err.find(kDone), std::string::npos) << r.err;
  }
  // The notice of a negative add-clears value comes first.
  EXPECT_EQ(RunCommand(cli::kAddClearsCommand, {in, out, "--from", "0", "--to", "0", "--by", "-1"})
                .err.find("    변경값은 0 값 보다 커야 합니다. 수정합니다.\r\n(0 값 입력시는"),
            0u);
}

TEST(UtilityCli, RefusalsLeaveEveryFileAsItWas) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), keep = dir.File("keep.smi");
  WriteFile(in, Smi(1000, 2000));
  WriteFile(keep, "precious");
  WriteFile(dir.File("empty.smi"), "");
  WriteFile(dir.File("nul.smi"), std::string("<SYNC Start=1>\0\xFF", 16));
  WriteFile(dir.File("text.smi"), "no captions here\r\n");
  const auto files = std::filesystem::directory_iterator(dir.path());
  const std::size_t count = std::distance(files, std::filesystem::directory_iterator());
  const std::vector<std::tuple<std::vector<std::string>, int, std::string>> refusals = {
      {{in, keep, "--by", "12a"}, 1, "--by takes whole milliseconds"},
      {{in, keep, "--by", "2147483648"}, 1, "not '2147483648'"},
      {{in, keep, "--by", "-2147483648"}, 1, "not '-2147483648'"},
      {{in, keep, "--by", "1:02,000"}, 1, "or a clock time HH:MM:SS,mmm"},
      {{in, keep, "--by", "00:00:100,000"}, 1, "or a clock time"},
      {{in, keep, "--from", "0"}, 2, "--to is required"},
      {{in, keep, "--whole"}, 2, "unknown option '--whole'"},
      {{in}, 2, "expected IN and OUT"},
      {{dir.File("none.smi"), keep}, 1, "입력 화일을 읽어 들일 수 없습니다."},
      {{dir.File("empty.smi"), keep}, 1, "is empty"},
      {{dir.File("nul.smi"), keep}, 1, "holds NUL bytes"},
      {{dir.File("text.smi"), keep}, 1, "holds no sync tag"},
      {{in, in}, 1, "give another output file"},
      {{in, dir.File("IN.SMI")}, 1, "give another output file"},
      {{in, ""}, 1, "give another output file"},
      {{in, dir.File("no/out.smi")}, 1, "출력 화일을 쓰기 위해서 열 수 없습니다."},
  };
  for (const auto& [given, status, message] : refusals) {
    std::vector<std::string> args = given;
    if (given.size() == 2) args.insert(args.end(), {"--by", "1"});
    if (given.size() == 2 || (given.size() > 2 && given[2] == "--by"))
      args.insert(args.end(), {"--from", "0", "--to", "0"});
    const Outcome o = RunCommand(cli::kShiftCommand, args);
    EXPECT_EQ(o.status, status) << message << "\n" << o.err;
    EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              static_cast<long>(count));
    EXPECT_EQ(ReadFile(keep) + ReadFile(in), "precious" + Smi(1000, 2000));
  }
  const Outcome scale = RunCommand(cli::kScaleCommand, {in, keep, "--from", "1", "--to", "2",
                                                        "--new-from", "5", "--new-to", "4"});
  EXPECT_EQ(scale.status, 1);
  EXPECT_NE(scale.err.find("싱크값 입력이 잘못 되었습니다. 정확히 입력하세요.\n"), std::string::npos);
  EXPECT_EQ(ReadFile(keep), "precious");
}

TEST(UtilityCli, EndToEnd) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), Smi(1000, 2000));
  const RunResult below = RunCli({"shift", dir.File("in.smi"), dir.File("out.smi"), "--from", "0",
                                  "--to", "0", "--by", "-1500"});
  EXPECT_EQ(below.status, 0) << below.err;
  EXPECT_EQ(ReadFile(dir.File("out.smi")), Smi(-500, 500));
  const RunResult back = RunCli({"shift", dir.File("out.smi"), dir.File("back.smi"), "--from",
                                 "-1000", "--to", "0", "--by", "1500"});
  EXPECT_EQ(back.status, 0) << back.err;
  EXPECT_EQ(ReadFile(dir.File("back.smi")), Smi(1000, 2000));
  for (const char* name : {"shift", "scale", "add-clears"}) {
    const RunResult help = RunCli({name, "--help"});
    EXPECT_EQ(help.out.find(std::string("Usage: cadenzio-cli ") + name), 0u) << help.out;
    EXPECT_NE(help.out.find("OUT must name another file than IN"), std::string::npos);
  }
}

}  // namespace
}  // namespace cadenzio::test
