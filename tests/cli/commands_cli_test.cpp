// Each cadenzio-cli tool command as a user runs it: a worked example compared
// byte for byte, the settings it honours and its completion message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "platform/text_encoding.h"
#include "test_support.h"
#include "tools/short_clears.h"

namespace cadenzio::test {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

const std::string kKr = ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n";
const std::string kEn = ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n";
const std::string kTail = "</BODY>\r\n</SAMI>\r\n";
std::string Head(const std::string& classes) {
  return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n" + classes +
         "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
}
Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}
// The completion messages of the tools and of the utility operations, in UTF-8 on stderr.
const std::regex kToolDone("작업이 정상적으로 완료되었습니다\\.\n *[0-9]+\\.[0-9]{3} 초 걸림\n");
const std::string kUtilityDone = "작업이 정상적으로 완료되었습니다.\r\n            ";

// The report in a file is CP949 with the first-run thresholds; on stdout UTF-8 with the settings file's.
TEST(CheckCli, ReportOnStdoutOrInAFileWithTheSettingsThresholds) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), Head(kKr) + "<SYNC Start=9500><P Class=KRCC>\xC7\xD1\xB1\xDB\r\n"
                                            "<SYNC Start=9000><P Class=KRCC>\r\n" + kTail);
  WriteFile(dir.File("Cadenzio.ini"), "[Cadenzio]\r\nMIN=300\r\nMAX=4000\r\n");
  const auto file = RunCli({"check", dir.File("in.smi"), "-o", dir.File("report.txt"), "--no-settings"});
  const auto out = RunCli({"check", dir.File("in.smi"), "--settings", dir.File("Cadenzio.ini")});
  EXPECT_EQ(file.out, "");
  const std::string report = Cp949ToUtf8(ReadFile(dir.File("report.txt")));
  for (const char* piece : {"(LINE:0011) 싱크 감소 - <SYNC Start=9000>\r\n", "(최소 800 ms)\r\n", " 3 개 발견\r\n\r\n"})
    EXPECT_NE(report.find(piece), std::string::npos) << piece;
  EXPECT_NE(out.out.find("(최소 300 ms)\r\n"), std::string::npos) << out.out;
  EXPECT_NE(out.out.find("(최대 4000 ms)\r\n"), std::string::npos);
  for (const auto& r : {file, out}) EXPECT_TRUE(r.status == 0 && std::regex_match(r.err, kToolDone)) << r.err;
}

TEST(ToSrtCli, ExportsWithTheSettingsLineBreakRepair) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), Head(kKr) + "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB<BR>two\r\n"
                                            "<SYNC Start=2500><P Class=KRCC>&nbsp;\r\n" + kTail);
  WriteFile(dir.File("on.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  const auto off = RunCli({"to-srt", "--no-settings", dir.File("in.smi"), dir.File("off.srt")});
  EXPECT_EQ(off.out, "");
  EXPECT_TRUE(off.status == 0 && std::regex_match(off.err, kToolDone)) << off.err;
  EXPECT_EQ(ReadFile(dir.File("off.srt")), "1\n00:00:01,000 --> 00:00:02,500\n\xC7\xD1\xB1\xDB<BR>two\n\n");
  ASSERT_EQ(RunCli({"to-srt", dir.File("in.smi"), dir.File("on.srt"), "--settings", dir.File("on.ini")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("on.srt")), "1\n00:00:01,000 --> 00:00:02,500\n\xC7\xD1\xB1\xDB\r\ntwo\n\n");
  // A caption that nothing ends is reported, and the rest written.
  WriteFile(dir.File("open.smi"), "<SYNC Start=1000><P>one\r\n<SYNC Start=2000><P>two\r\n</BODY></SAMI>\r\n");
  const auto open = RunCli({"to-srt", "--no-settings", dir.File("open.smi"), dir.File("open.srt")});
  EXPECT_EQ(open.status, 0);
  EXPECT_EQ(ReadFile(dir.File("open.srt")), "1\n00:00:01,000 --> 00:00:02,000\none\n\n");
  EXPECT_NE(open.err.find("SMI 화일에"), std::string::npos);
}

TEST(ImportCli, ConvertsByContentWithTitleAndRate) {
  TempDir dir;
  WriteFile(dir.File("movie.txt"), "{100}{200}a|b\n");  // the content, not the .txt name, says SUB
  ASSERT_EQ(RunCli({"import", dir.File("movie.txt"), dir.File("out.smi"), "--fps", "25"}).status, 0);
  const std::string sami = ReadFile(dir.File("out.smi"));
  EXPECT_EQ(sami.rfind("<SAMI>\r\n<HEAD>\r\n<Title>movie</Title>\r\n", 0), 0u);
  EXPECT_EQ(sami.substr(sami.find("<BODY>\r\n") + 8), "<SYNC Start=4000><P Class=ENCC>\r\na<br>\r\nb\r\n"
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
  WriteFile(dir.File("u8.srt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\n\xEC\x9D\xB4 \xEC\x9E\x90\xEB\xA7\x89\r\n\r\n");
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("1\r\n00:00:01,000 --> 00:00:02,000\r\n")) utf16 += {c, '\0'};
  WriteFile(dir.File("u16.srt"), utf16 + std::string("\x74\xC7\x20\x00\x90\xC7\xC9\xB9\r\0\n\0\r\0\n\0", 16));
  for (const std::string name : {"u8", "u16"})
    ASSERT_EQ(RunCli({"import", dir.File(name + ".srt"), dir.File(name + ".smi"), "--title", "한글"}).status, 0);
  const std::string sami = ReadFile(dir.File("u8.smi"));
  EXPECT_NE(sami.find("<Title>한글</Title>"), std::string::npos);
  EXPECT_NE(sami.find("<P Class=ENCC>\r\n이 자막\r\n"), std::string::npos) << sami;
  ASSERT_TRUE(ReadFile(dir.File("u16.smi")).starts_with("\xFF\xFE<\0S\0A\0M\0I\0>\0"));
  ASSERT_EQ(RunCli({"rewrite", dir.File("u16.smi"), dir.File("back.smi"), "--output-encoding", "utf-8"}).status, 0);
  EXPECT_NE(ReadFile(dir.File("back.smi")).find("\r\n이 자막\r\n"), std::string::npos);
}

// A short Korean clear at 2000 (the next caption 400 ms later) and a long one
// at 5000 written as an empty paragraph; no closing tags.
const std::string kShortClear = "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n";
const std::string kClears = Head(kKr + kEn) + "<SYNC Start=1000><P Class=KRCC>\r\n\xC7\xD1\xB1\xDB\r\nline two\r\n"
                            "<P Class=ENCC>Hello\r\n" + kShortClear + "<SYNC Start=2400><P Class=KRCC>again\r\n"
                            "<SYNC Start=5000><P Class=KRCC>\r\n<SYNC Start=6000><P Class=KRCC>end\r\n";

// CHECKBR from --settings FILE, else from the settings folder's Cadenzio.ini; --no-settings reads neither.
TEST(PlainTextCli, WritesOneCaptionALineAsTheSettingsSay) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.txt");
  WriteFile(in, kClears);
  fs::create_directory(dir.File("cadenzio"));
  WriteFile(dir.File("cadenzio/Cadenzio.ini"), "[Cadenzio]\r\nCHECKBR=1\r\n");
  WriteFile(dir.File("off.ini"), "[Cadenzio]\r\nCHECKBR=0\r\n");
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const bool had = old != nullptr;
  const std::string saved = had ? old : "";
  setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
  const std::string plain = "\xC7\xD1\xB1\xDBline two\r\nHello\r\nagain\r\nend\r\n";
  for (const auto& [options, expected] : std::vector<std::pair<Args, std::string>>{
           {{}, std::string(plain).insert(4, "<br>")}, {{"--no-settings"}, plain},
           {{"--settings", dir.File("off.ini")}, plain}}) {
    WriteFile(out, "old");
    EXPECT_EQ(RunCli(With({"plain-text", in, out}, options)).status, 0);
    EXPECT_EQ(ReadFile(out), expected) << (options.empty() ? "Cadenzio.ini" : options[0]);
  }
  had ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

// When nothing is removed the output is the input's bytes, not the analysed document.
TEST(RemoveShortClearsCli, CountsAndWritesTheCleanedFile) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kClears);
  WriteFile(dir.File("500.ini"), "[Cadenzio]\r\nDELCLEAR=500\r\n");
  std::string cleaned = kClears + "\r\n</BODY>\r\n</SAMI>";
  cleaned.erase(cleaned.find(kShortClear), kShortClear.size());
  cleaned.insert(cleaned.find("\r\n<SYNC Start=6000>"), "&nbsp;");
  for (const auto& [options, removed] : std::vector<std::pair<Args, int>>{
           {{"--settings", dir.File("500.ini")}, 1}, {{"--gap", "400", "--no-settings"}, 1},
           {{"--gap", "399", "--settings", dir.File("500.ini")}, 0}}) {  // --gap wins over DELCLEAR
    const auto r = RunCli(With({"remove-short-clears", dir.File("in.smi"), dir.File("out.smi")}, options));
    EXPECT_EQ(r.err, Cp949ToUtf8(ShortClearsDoneMessage(removed)) + "\n");
    EXPECT_EQ(ReadFile(dir.File("out.smi")), removed ? cleaned : kClears) << options[1];
  }
}

const std::string kColour = "P { color:white; }\r\n";
RunResult RunSplit(const TempDir& dir, const std::string& base, const Args& settings = {"--no-settings"}) {
  WriteFile(dir.File("in.smi"), Head(kColour + kKr + kEn) +
                                    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n\xB1\xDB\r\n<P Class=ENCC>Hi\r\n"
                                    "<SYNC Start=2000><P Class=KRCC>\r\n<P Class=ENCC>&nbsp;\r\n" + kTail);
  return RunCli(With({"split", dir.File("in.smi"), dir.File(base)}, settings));
}

// Line-break repair only with CHECKBR on; CHECKBR=2 means "on", not the mode that keeps empty paragraphs.
TEST(SplitCli, WritesOneFilePerClass) {
  TempDir dir;
  WriteFile(dir.File("Movie.ENCC.smi"), "old");  // replaced
  const auto r = RunSplit(dir, "Movie.SMI");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, dir.File("Movie.ENCC.smi") + "\n" + dir.File("Movie.KRCC.smi") + "\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 3);  // no temporary left
  std::string korean = Head(kColour + kKr) + "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n\xB1\xDB\r\n"
                                             "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n" + kTail;
  EXPECT_EQ(ReadFile(dir.File("Movie.KRCC.smi")), korean);
  EXPECT_EQ(ReadFile(dir.File("Movie.ENCC.smi")), Head(kColour + kEn) + "<SYNC Start=1000><P Class=ENCC>Hi\r\n"
                                                      "<SYNC Start=2000><P Class=ENCC>&nbsp;\r\n" + kTail);
  EXPECT_TRUE(std::regex_match(r.err, std::regex("    작업이 정상적으로 완료되었습니다\\.\n\\(확장자 smi앞에 언어태크 "
                                                 "추가되어 생성\\)\n {12} *[0-9]+\\.[0-9]{3} 초 걸림\n"))) << r.err;
  WriteFile(dir.File("on.ini"), "[Cadenzio]\r\nCHECKBR=2\r\n");
  ASSERT_EQ(RunSplit(dir, "m.smi", {"--settings", dir.File("on.ini")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("m.KRCC.smi")), korean.insert(korean.find("\xC7\xD1") + 2, "<br>"));
}

// "/x/a.smi/movie.smi" names its files in two folders, a.ENCC.smi and
// a.KRCC.smi: with only the first present, the second write fails after the
// first succeeded, and the first is taken back. An output name taken by a
// folder is found before anything is written.
TEST(SplitCli, FailedWriteTakesBackTheOthers) {
  for (const bool existed : {false, true}) {
    TempDir dir;
    fs::create_directory(dir.File("a.ENCC.smi"));
    if (existed) WriteFile(dir.File("a.ENCC.smi/movie.ENCC.smi"), "precious");
    const auto r = RunSplit(dir, "a.smi/movie.smi");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(existed ? "restored" : "removed"), std::string::npos) << r.err;
    EXPECT_EQ(fs::is_empty(dir.File("a.ENCC.smi")), !existed);
    if (existed) EXPECT_EQ(ReadFile(dir.File("a.ENCC.smi/movie.ENCC.smi")), "precious");
    fs::create_directory(dir.File("m.KRCC.smi"));
    EXPECT_EQ(RunSplit(dir, "m.smi").status, 1);
    EXPECT_FALSE(fs::exists(dir.File("m.ENCC.smi")));
  }
}

// The utility operations: times as milliseconds or clock text, each with its output and messages.
TEST(UtilityCli, EachOperationWritesItsOutput) {
  TempDir dir;
  const auto smi = [](long caption, long blank) {
    return Head(kKr) + "<SYNC Start=" + std::to_string(caption) + "><P Class=KRCC>\xC7\xD1\r\n<SYNC Start=" +
           std::to_string(blank) + "><P Class=KRCC>&nbsp;\r\n" + kTail;
  };
  const auto f = [&dir](const char* name) { return dir.File(name); };
  const std::string in = f("in.smi"), out = f("out.smi");
  const std::string style = "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:xx;}\r\n", body = "</STYLE></HEAD><BODY>\r\n";
  WriteFile(in, smi(1000, 3000));
  WriteFile(out, "old");
  WriteFile(f("a.smi"), style + body + "<SYNC Start=1000><P Class=ENCC>a\r\nb\r\n</BODY></SAMI>\r\n");
  WriteFile(f("b.smi"), "<SAMI><HEAD><STYLE>\r\n.KRCC {N:x; lang:xx;}\r\n" + body +
                            "<SYNC Start=500><P Class=KRCC>\xC7\xD1\r\n</BODY></SAMI>\r\n");
  WriteFile(f("in.srt"), "1\n00:00:01,000 --> 00:00:02,000\nold\n\n2\n00:00:03,000 --> 00:00:03,500\nold\n");
  WriteFile(f("in.txt"), "\r\nnew one\r\n\r\nnew\r\ntwo\r\n");
  WriteFile(f("in.idx"), "id: en\ntimestamp: 00:01:00:000, filepos: 0\n");
  const struct { Args args; std::string expected, notice; } runs[] = {
      {{"shift", in, out, "--from", "00:00:02,000", "--to", "0", "--by", "-00:00:00,500"}, smi(1000, 2500), ""},
      {{"shift", in, out, "--from", "0", "--to", "0", "--by", "-1500"}, smi(-500, 1500), ""},
      {{"scale", in, out, "--whole", "--from", "0", "--to", "1000", "--new-from", "0", "--new-to", "0:0:2,0"},
       smi(2000, 6000), ""},
      {{"add-clears", in, out, "--from", "0", "--to", "0", "--by", "-300"}, smi(1000, 3300), ""},
      // A negative value: its notice comes first, it is made positive, and the work goes on.
      {{"add-clears", in, out, "--from", "0", "--to", "0", "--by", "-1"}, smi(1000, 3001),
       "    변경값은 0 값 보다 커야 합니다. 수정합니다.\r\n(0 값 입력시는"},
      {{"merge", f("a.smi"), "--fix-br", f("b.smi"), out},
       style + ".KRCC {N:x; lang:xx;}\r\n" + body +
           "<SYNC Start=500><P Class=KRCC>\xC7\xD1\r\n<SYNC Start=1000><P Class=ENCC>a<br>\r\nb\r\n</BODY></SAMI>\r\n",
       ""},
      {{"srt-text", " " + f("in.srt"), f("in.txt") + "\t", out},
       "1\r\n00:00:01,000 --> 00:00:02,000\nnew one\r\n\r\n2\r\n00:00:03,000 --> 00:00:03,500\nnew\r\ntwo\r\n\r\n", ""},
      {{"srt-idx", f("in.srt"), f("in.idx"), out},
       "1\r\n00:01:00,000 --> 00:01:01,000\r\nold\n\n2\r\n00:00:03,000 --> 00:00:03,500\r\nold\n",
       "cadenzio-cli: 1 caption(s) past the IDX file's last timestamp kept their own start\n"}};
  for (const auto& run : runs) {
    const RunResult r = RunCli(run.args);
    EXPECT_TRUE(r.status == 0 && r.out.empty()) << r.err;
    EXPECT_EQ(ReadFile(out), run.expected) << run.args[0] << " " << run.args.back();
    EXPECT_NE(r.err.find(kUtilityDone), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(run.notice), 0u) << r.err;
  }
}

}  // namespace
}  // namespace cadenzio::test
