// cadenzio-cli as a user runs it: help, the exit status (0 done, 1 the tool
// failed, 2 usage error), the settings options, and refusals that leave every
// file as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "cli/commands.h"
#include "platform/text_encoding.h"
#include "test_support.h"
#include "utility/merge_sorted.h"
#include "utility/srt_build.h"
#include "utility/sync_utility_job.h"

namespace cadenzio::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

constexpr char kCaption[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { color:#FFFFFF; }\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB\r\nline two\r\n<P Class=ENCC>Hello\r\n"
    "<!-- c -->\r\n<SYNC Start=2500><P Class=KRCC>\r\n</BODY>\r\n</SAMI>\r\n";

Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(Cli, EveryCommandHasItsHelp) {
  const auto program = RunCli({"--help"});
  EXPECT_EQ(program.status, 0);
  for (const cli::Command* command : cli::Commands()) {
    const std::string name(command->name);
    EXPECT_NE(program.out.find("\n  " + name + " "), std::string::npos) << name;
    const auto own = RunCli({name, "--help"});
    EXPECT_EQ(own.status, 0) << name;
    EXPECT_EQ(own.out.rfind("Usage: cadenzio-cli " + name + " ", 0), 0u) << own.out;
  }
  EXPECT_EQ(RunCli({}).status, 2);
  EXPECT_NE(RunCli({"frobnicate"}).err.find("unknown command 'frobnicate'"), std::string::npos);
}

TEST(Cli, UsageErrorsExitTwoWithTheUsageLine) {
  for (const Args& args : std::vector<Args>{
           {"rewrite", "only-one"}, {"rewrite", "--mode", "3", "a", "b"},
           {"rewrite", "--mode"}, {"info"}, {"info", "--bogus", "x", "a"},
           {"check", "a", "b"}, {"check", "a", "-o"}, {"to-srt", "a"},
           {"to-srt", "--mode", "1", "a", "b"}, {"import", "a"}, {"import", "a", "b", "--fps"},
           {"split", "a"}, {"split", "a", ""}, {"plain-text", "a"}, {"plain-text", "a", "b", "--gap", "5"},
           {"remove-short-clears", "a"}, {"remove-short-clears", "a", "b", "--gap", "1000"},
           {"remove-short-clears", "a", "b", "--gap", "-1"}, {"remove-short-clears", "a", "b", "--gap", "12a"},
           {"shift", "a"}, {"shift", "a", "b", "--from", "0"}, {"shift", "a", "b", "--whole"},
           {"scale", "a", "b"}, {"add-clears", "a", "b", "--by", "1"}, {"merge", "a", "b"},
           {"merge", "a", "b", "c", "--whole"}, {"srt-text", "a", "b", "c", "d"}, {"srt-idx", "a"}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args[0] << " " << args.back();
    EXPECT_NE(r.err.find("\nUsage: cadenzio-cli " + args[0] + " "), std::string::npos) << r.err;
  }
}

TEST(Cli, InfoReportsTheDocument) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  const auto r = RunCli({"info", dir.File("in.smi")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "classes: KRCC ENCC\ncolour: #ffffff\nsyncs: 2\nparagraphs: 3\ncomments: 1\n"
                   "overflow: 0\nfirst start: 1000\nlast start: 2500\nvalid: yes\n");
}

// Without closing tags the body ends in a supplied "\r\n</BODY>", which
// puts a blank line after the last caption; mode 1 folds that blank line on
// the next pass, so a file settles after two rewrites, not one.
TEST(Cli, RewriteWithoutClosingTagsSettlesOnSecondPass) {
  TempDir dir;
  WriteFile(dir.File("pass0"), "<SYNC Start=1><P Class=KRCC>Hello\r\n");
  const std::string settled = "<SYNC Start=1><P Class=KRCC>Hello\r\n</BODY>\r\n</SAMI>";
  for (const std::string& expected :
       {std::string("<SYNC Start=1><P Class=KRCC>Hello\r\n\r\n</BODY>\r\n</SAMI>"), settled, settled}) {
    const std::string from = dir.File("pass0"), to = dir.File("pass1");
    ASSERT_EQ(RunCli({"rewrite", "--mode", "1", from, to}).status, 0);
    EXPECT_EQ(ReadFile(to), expected);
    fs::rename(to, from);
  }
}

// Real files written by other tools: a rewrite keeps what it does not
// normalise, and a second rewrite changes nothing.
TEST(Cli, RewriteOfRealFilesIsStable) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "samples folder absent";
  TempDir dir;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(samples)) {
    const std::string in = entry.path().string(), ext = entry.path().extension().string();
    if (ext != ".smi" && ext != ".sami") continue;
    ++files;
    for (const char* mode : {"0", "1"}) {
      ASSERT_EQ(RunCli({"rewrite", "--mode", mode, in, dir.File("a")}).status, 0) << in;
      ASSERT_EQ(RunCli({"rewrite", "--mode", mode, dir.File("a"), dir.File("b")}).status, 0);
      EXPECT_EQ(ReadFile(dir.File("a")), ReadFile(dir.File("b"))) << in << " mode " << mode;
    }
    // Mode 2 only rewrites paragraphs of a lone <br>; files without one and
    // with their closing tags come back byte for byte.
    const std::string original = ReadFile(in);
    ASSERT_EQ(RunCli({"rewrite", "--mode", "2", in, dir.File("c")}).status, 0);
    const bool closed = original.find("</SAMI") != std::string::npos || original.find("</sami") != std::string::npos;
    if (closed && original.find("<br>\r\n<") == std::string::npos) EXPECT_EQ(ReadFile(dir.File("c")), original) << in;
  }
  EXPECT_GT(files, 10);
}

// A named settings file that is not there is most likely mistyped: every
// command that takes --settings refuses it. That --no-settings reads nothing
// is shown by plain-text's test.
TEST(Cli, SettingsOptionsOfEveryCommand) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), ini = dir.File("on.ini"), missing = dir.File("missing.ini");
  WriteFile(in, kCaption);
  WriteFile(ini, "[Cadenzio]\r\nCHECKBR=1\r\n");
  WriteFile(dir.File("in.srt"), "1\n00:00:01,000 --> 00:00:02,000\nHi\n");
  for (const Args& command : std::vector<Args>{
           {"check", in}, {"to-srt", in, dir.File("o")}, {"split", in, dir.File("o.smi")},
           {"plain-text", in, dir.File("o")}, {"remove-short-clears", in, dir.File("o")},
           {"import", dir.File("in.srt"), dir.File("o")}}) {
    SCOPED_TRACE(command[0]);
    fs::remove(dir.File("o"));
    const auto refused = RunCli(With(command, {"--settings", missing}));
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "cadenzio-cli: cannot read settings file '" + missing + "'\n");
    const auto both = RunCli(With(command, {"--no-settings", "--settings", ini}));
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.err.find("exclude each other\nUsage: cadenzio-cli " + command[0]), std::string::npos)
        << both.err;
    EXPECT_FALSE(fs::exists(dir.File("o")));
    const auto defaults = RunCli(With(command, {"--no-settings"}));
    EXPECT_EQ(defaults.status, 0) << defaults.err;
  }
}

// Every file of a folder with its bytes ("/" for a folder).
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files[entry.path().string()] = entry.is_directory() ? "/" : ReadFile(entry.path().string());
  return files;
}

// Each command given what it cannot work with prints why and exits 1; no
// output, no temporary file is left, and an output that stood there stays.
TEST(Cli, RefusalsLeaveEveryFileAsItWas) {
  TempDir dir;
  const auto f = [&dir](const char* name) { return dir.File(name); };
  std::string eleven;
  for (char c = 'A'; c < 'A' + 11; ++c) eleven += std::string(".C") + c + " {Name:x; lang:xx;}\r\n";
  WriteFile(f("in.smi"), kCaption);
  WriteFile(f("en.smi"), "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:xx;}\r\n</STYLE></HEAD><BODY>\r\n"
                         "<SYNC Start=1000><P Class=ENCC>a\r\n</BODY></SAMI>\r\n");
  WriteFile(f("eleven.smi"), "<SAMI><HEAD><STYLE>\r\n" + eleven + "</STYLE></HEAD><BODY>\r\n<SYNC Start=1><P>x\r\n");
  WriteFile(f("empty.smi"), "");
  WriteFile(f("garbage.bin"), std::string("\x7F" "ELF\x02\x01\x00\xFF\xFE<P>\x00\x80", 14));
  WriteFile(f("nul.smi"), std::string("<SYNC Start=1><P>\0\xFF", 19));
  WriteFile(f("nosync.smi"), "<SAMI><BODY><P>no sync\r\n</BODY></SAMI>\r\n");
  WriteFile(f("odd16.smi"), std::string("\xFF\xFE<\0S", 5));
  WriteFile(f("emoji.smi"), "<SYNC Start=1><P>\r\nx\xF0\x9F\x98\x80\r\n<SYNC Start=2><P>&nbsp;\r\n");  // U+1F600
  WriteFile(f("fr.smi"), "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:en;}\r\n</STYLE></HEAD><BODY>\r\n"
                         "<SYNC Start=1500><P Class=ENCC>\xC3\xA9t\xC3\xA9\r\n</BODY></SAMI>\r\n");  // été
  WriteFile(f("in.srt"), "1\n00:00:01,000 --> 00:00:02,000\nold\n\n2\n00:00:03,000 --> 00:00:03,500\nold\n");
  WriteFile(f("one.txt"), "only one\n");
  WriteFile(f("two.txt"), "x\n\ny\n");
  WriteFile(f("plain.txt"), "just text\n");
  WriteFile(f("in.idx"), "# VobSub index\nsize: 720x480\ntimestamp: 00:01\n");
  WriteFile(f("keep"), "precious");
  fs::create_directory(f("folder"));
  const auto before = Snapshot(dir.path());
  const std::string in = f("in.smi"), en = f("en.smi"), srt = f("in.srt"), keep = f("keep");
  const std::string fresh = f("new"), nowhere = f("no/such/out"), missing = f("missing");
  const auto shift = [&](const std::string& from, const std::string& to, const char* by) {
    return Args{"shift", from, to, "--from", "0", "--to", "0", "--by", by};
  };
  const std::string no_check_data = " 흠... 체크할 ", no_export_data = " 흠... 출력할 ";
  const std::vector<std::pair<Args, std::string>> refusals = {
      {{"rewrite", missing, keep}, "cannot read '" + missing + "'"},
      {{"rewrite", f("odd16.smi"), fresh}, "UTF-16LE text must hold an even number of bytes"},
      {{"rewrite", in, nowhere}, "cannot write '" + nowhere + "'"},
      {{"rewrite", "--output-encoding", "euc-kr", f("emoji.smi"), fresh},
       "not written: line 2, character 2: '\xF0\x9F\x98\x80' (U+1F600) has no CP949 form"},
      {{"info", f("folder")}, "is a folder, not a file"},
      {{"check", missing, "-o", keep}, missing},
      {{"check", f("empty.smi"), "-o", fresh}, no_check_data},
      {{"check", f("garbage.bin"), "-o", keep}, no_check_data},
      {{"check", in, "-o", nowhere}, nowhere},
      {{"to-srt", missing, keep}, "(SMIDATA ERROR)"},
      {{"to-srt", f("empty.smi"), keep}, no_export_data},
      {{"to-srt", f("garbage.bin"), fresh}, no_export_data},
      {{"to-srt", in, nowhere}, "출력 화일을 열수가 없네요... (SRTFILE ERROR)"},
      {{"to-srt", in, f("folder")}, "(SRTFILE ERROR)"},
      {{"to-srt", "--output-encoding", "cp949", f("emoji.smi"), keep}, "(U+1F600) has no CP949 form"},
      {{"plain-text", f("empty.smi"), fresh}, "is empty"},
      {{"plain-text", f("nul.smi"), keep}, "is not a text file (it holds NUL bytes)"},
      {{"plain-text", f("nosync.smi"), fresh}, "holds no sync tag"},
      {{"plain-text", in, nowhere}, "cannot write"},
      {{"remove-short-clears", f("garbage.bin"), keep}, "holds NUL bytes"},
      {{"remove-short-clears", in, nowhere}, "cannot write"},
      {{"split", missing, fresh}, missing},
      {{"split", f("empty.smi"), fresh}, "declares no language class"},
      {{"split", f("garbage.bin"), fresh}, "분할 작업 실패"},
      {{"split", f("eleven.smi"), fresh}, "(최대 10개)"},
      {{"split", in, nowhere}, "cannot write"},
      {{"import", srt, keep, "--fps", "9.99"}, "Frame Rate 값은 10.0 에서 50.0 사이 수치 입니다."},
      {{"import", srt, fresh, "--fps", "25fps"}, "Frame Rate"},
      {{"import", srt, keep, "--title", "smile \xF0\x9F\x98\x80"}, "--title"},
      {{"import", f("plain.txt"), keep}, "지원하지 않는 파일 포맷입니다. -.-"},
      {{"import", missing, fresh}, "화일을 열수가 없네요..."},
      {{"import", srt, nowhere}, "cannot write"},
      {{"merge", "", en, keep}, Cp949ToUtf8(kUtilityNoSourceMessage)},
      {{"merge", en, "", keep}, Cp949ToUtf8(kUtilityNoSecondNameMessage)},
      {{"merge", missing, en, fresh}, Cp949ToUtf8(kUtilitySourceUnreadableMessage)},
      {{"merge", en, missing, keep}, Cp949ToUtf8(kUtilitySecondUnreadableMessage)},
      {{"merge", in, en, fresh}, Cp949ToUtf8(kMergeFirstNotOneLanguageMessage)},
      {{"merge", en, f("garbage.bin"), keep}, Cp949ToUtf8(kMergeSecondNotOneLanguageMessage)},
      {{"merge", en, en, en}, "names one of the input files"},
      {{"merge", en, en, nowhere}, Cp949ToUtf8(kMergeOutputOpenFailedMessage)},
      {{"merge", en, f("fr.smi"), fresh}, "(CP949): line 4, character 32: '\xC3\xA9' (U+00E9) has no CP949 form"},
      {{"srt-text", srt, " \t", keep}, Cp949ToUtf8(kUtilityNoSecondFileMessage)},
      {{"srt-idx", srt, " " + srt + " ", keep}, Cp949ToUtf8(kUtilitySameFilesMessage)},
      {{"srt-text", missing, srt, fresh}, Cp949ToUtf8(kSrtBuildOpenFailedMessage)},
      {{"srt-text", srt, f("one.txt"), keep}, "   SRT - 2,  TXT - 1"},
      {{"srt-idx", f("garbage.bin"), f("in.idx"), keep}, "holds no SRT timing line"},
      {{"srt-idx", srt, f("in.idx"), fresh}, "holds no \"timestamp: HH:MM:SS:mmm\" line"},
      {{"srt-text", srt, f("one.txt"), srt}, "names one of the input files"},
      {{"srt-text", srt, f("two.txt"), nowhere}, Cp949ToUtf8(kSrtBuildCreateFailedMessage)},
      {shift(in, keep, "12a"), "--by takes whole milliseconds"},
      {shift(in, keep, "2147483648"), "not '2147483648'"},
      {shift(in, keep, "1:02,000"), "or a clock time HH:MM:SS,mmm"},
      {shift(missing, keep, "1"), "입력 화일을 읽어 들일 수 없습니다."},
      {shift(f("empty.smi"), keep, "1"), "is empty"},
      {shift(f("nul.smi"), fresh, "1"), "holds NUL bytes"},
      {shift(f("nosync.smi"), keep, "1"), "holds no sync tag"},
      {shift(in, in, "1"), "give another output file"},
      {shift(in, f("IN.SMI"), "1"), "give another output file"},
      {shift(in, nowhere, "1"), "출력 화일을 쓰기 위해서 열 수 없습니다."},
      {{"scale", in, keep, "--from", "1", "--to", "2", "--new-from", "5", "--new-to", "4"},
       "싱크값 입력이 잘못 되었습니다. 정확히 입력하세요.\n"},
  };
  for (const auto& [args, message] : refusals) {
    const RunResult r = RunCli(args);
    EXPECT_EQ(r.status, 1) << args[0] << ": " << message;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("정상적으로 완료"), std::string::npos) << r.err;  // no completion message
    EXPECT_EQ(r.out, "") << args[0];
  }
  EXPECT_EQ(Snapshot(dir.path()), before);
}

}  // namespace
}  // namespace cadenzio::test
