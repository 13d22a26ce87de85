// cadenzio-cli as a user runs it: the exit status (0 done, 1 the tool failed,
// 2 usage error), the settings options, refusals that leave every file as it
// was, rewrite, and captions in CP949, UTF-8 (with or without BOM) and
// UTF-16 written back in their own encoding or the one asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/text_encoding.h"
#include "settings/caption_encoding.h"
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
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n.ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB\r\n"
    "<P Class=ENCC>Hello\r\n<SYNC Start=2500><P Class=KRCC>\r\n</BODY>\r\n</SAMI>\r\n";

Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// Every command that reads a caption takes --encoding, and refuses a value it does not know.
TEST(Cli, UsageErrorsExitTwoWithTheUsageLine) {
  EXPECT_EQ(RunCli({}).status, 2);
  EXPECT_NE(RunCli({"frobnicate"}).err.find("unknown command 'frobnicate'"), std::string::npos);
  std::vector<Args> usage = {
      {"rewrite", "only-one"}, {"rewrite", "--mode", "3", "a", "b"}, {"rewrite", "--mode"},
      {"info", "--bogus", "x", "a"}, {"check", "a", "b"}, {"to-srt", "--mode", "1", "a", "b"},
      {"import", "a", "b", "--fps"}, {"split", "a", ""}, {"plain-text", "a", "b", "--gap", "5"},
      {"remove-short-clears", "a", "b", "--gap", "1000"}, {"remove-short-clears", "a", "b", "--gap", "12a"},
      {"shift", "a", "b", "--from", "0"}, {"scale", "a", "b"}, {"merge", "a", "b", "c", "--whole"},
      {"srt-text", "a", "b", "c", "d"}, {"srt-idx", "a"}};
  const std::string latin = "--encoding takes auto, cp949, utf-8, utf-16le or utf-16be, not 'latin-1'";
  for (const Args& args : std::vector<Args>{
           {"info", "a"}, {"check", "a"}, {"to-srt", "a", "o"}, {"split", "a", "o"}, {"plain-text", "a", "o"},
           {"remove-short-clears", "a", "o"}, {"shift", "a", "o", "--from", "0", "--to", "0", "--by", "1"},
           {"scale", "a", "o", "--from", "0", "--to", "9", "--new-from", "0", "--new-to", "9"},
           {"add-clears", "a", "o", "--from", "0", "--to", "0", "--by", "1"}, {"merge", "a", "b", "o"},
           {"rewrite", "a", "o"}})
    usage.push_back(With(args, {"--encoding", "latin-1"}));
  for (const Args& args : usage) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args[0] << " " << args.back();
    EXPECT_NE(r.err.find("\nUsage: cadenzio-cli " + args[0] + " "), std::string::npos) << r.err;
    if (args.back() == "latin-1") EXPECT_NE(r.err.find(latin), std::string::npos) << r.err;
  }
}

// A named settings file that is not there is most likely mistyped: every
// command that takes --settings refuses it.
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
    EXPECT_NE(both.err.find("exclude each other\nUsage: cadenzio-cli " + command[0]), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.File("o")));
    EXPECT_EQ(RunCli(With(command, {"--no-settings"})).status, 0);
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
  const std::string one_class = "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:xx;}\r\n</STYLE></HEAD><BODY>\r\n";
  for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::string>>{
           {"in.smi", kCaption}, {"en.smi", one_class + "<SYNC Start=1000><P Class=ENCC>a\r\n</BODY></SAMI>\r\n"},
           {"eleven.smi", "<SAMI><HEAD><STYLE>\r\n" + eleven + "</STYLE></HEAD><BODY>\r\n<SYNC Start=1><P>x\r\n"},
           {"fr.smi", one_class + "<SYNC Start=1500><P Class=ENCC>\xC3\xA9t\xC3\xA9\r\n</BODY></SAMI>\r\n"},  // été
           {"emoji.smi", "<SYNC Start=1><P>\r\nx\xF0\x9F\x98\x80\r\n<SYNC Start=2><P>&nbsp;\r\n"},  // U+1F600
           {"garbage.bin", std::string("\x7F" "ELF\x02\x01\x00\xFF\xFE<P>\x00\x80", 14)},
           {"nul.smi", std::string("<SYNC Start=1><P>\0\xFF", 19)}, {"odd16.smi", std::string("\xFF\xFE<\0S", 5)},
           {"nosync.smi", "<SAMI><BODY><P>no sync\r\n</BODY></SAMI>\r\n"}, {"empty.smi", ""},
           {"in.srt", "1\n00:00:01,000 --> 00:00:02,000\nold\n\n2\n00:00:03,000 --> 00:00:03,500\nold\n"},
           {"one.txt", "only one\n"}, {"two.txt", "x\n\ny\n"}, {"plain.txt", "just text\n"},
           {"in.idx", "# VobSub index\nsize: 720x480\ntimestamp: 00:01\n"}, {"keep", "precious"}})
    WriteFile(f(name), bytes);
  fs::create_directory(f("folder"));
  const auto before = Snapshot(dir.path());
  const std::string in = f("in.smi"), en = f("en.smi"), srt = f("in.srt"), keep = f("keep");
  const std::string fresh = f("new"), nowhere = f("no/such/out"), missing = f("missing");
  const auto shift = [&](const std::string& from, const std::string& to, const char* by) {
    return Args{"shift", from, to, "--from", "0", "--to", "0", "--by", by};
  };
  const auto utf8 = [](const char* cp949) { return Cp949ToUtf8(cp949); };
  const std::vector<std::pair<Args, std::string>> refusals = {
      {{"rewrite", missing, keep}, "cannot read '" + missing + "'"},
      {{"rewrite", f("odd16.smi"), fresh}, "UTF-16LE text must hold an even number of bytes"},
      {{"rewrite", in, nowhere}, "cannot write '" + nowhere + "'"},
      {{"rewrite", "--output-encoding", "euc-kr", f("emoji.smi"), fresh},
       "not written: line 2, character 2: '\xF0\x9F\x98\x80' (U+1F600) has no CP949 form"},
      {{"info", f("folder")}, "is a folder, not a file"},
      {{"check", f("empty.smi"), "-o", keep}, " 흠... 체크할 "},
      {{"to-srt", missing, keep}, "(SMIDATA ERROR)"},
      {{"to-srt", f("garbage.bin"), fresh}, " 흠... 출력할 "},
      {{"to-srt", in, nowhere}, "출력 화일을 열수가 없네요... (SRTFILE ERROR)"},
      {{"plain-text", f("empty.smi"), fresh}, "is empty"},
      {{"plain-text", f("nul.smi"), keep}, "is not a text file (it holds NUL bytes)"},
      {{"plain-text", f("nosync.smi"), fresh}, "holds no sync tag"},
      {{"split", f("garbage.bin"), fresh}, "분할 작업 실패"},
      {{"split", f("eleven.smi"), fresh}, "(최대 10개)"},
      {{"split", in, nowhere}, "cannot write"},
      {{"import", srt, keep, "--fps", "9.99"}, "Frame Rate 값은 10.0 에서 50.0 사이 수치 입니다."},
      {{"import", f("plain.txt"), keep}, "지원하지 않는 파일 포맷입니다. -.-"},
      {{"import", missing, fresh}, "화일을 열수가 없네요..."},
      {{"merge", in, en, fresh}, utf8(kMergeFirstNotOneLanguageMessage)},
      {{"merge", en, en, en}, "names one of the input files"},
      {{"merge", en, en, nowhere}, utf8(kMergeOutputOpenFailedMessage)},
      {{"merge", en, f("fr.smi"), fresh}, "(CP949): line 4, character 32: '\xC3\xA9' (U+00E9) has no CP949 form"},
      {{"srt-idx", srt, " " + srt + " ", keep}, utf8(kUtilitySameFilesMessage)},
      {{"srt-text", srt, f("one.txt"), keep}, "   SRT - 2,  TXT - 1"},
      {{"srt-idx", srt, f("in.idx"), fresh}, "holds no \"timestamp: HH:MM:SS:mmm\" line"},
      {{"srt-text", srt, f("two.txt"), nowhere}, utf8(kSrtBuildCreateFailedMessage)},
      {shift(in, keep, "2147483648"),
       "--by takes whole milliseconds from -2147483647 to 2147483647 or a clock time HH:MM:SS,mmm, not '2147483648'"},
      {shift(missing, keep, "1"), "입력 화일을 읽어 들일 수 없습니다."},
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

// Without closing tags the body ends in a supplied "\r\n</BODY>", which puts a
// blank line after the last caption; mode 1 folds that on the next pass, so a
// file settles after two rewrites, not one.
TEST(Cli, RewriteWithoutClosingTagsSettlesOnSecondPass) {
  TempDir dir;
  const std::string from = dir.File("pass0"), to = dir.File("pass1");
  WriteFile(from, "<SYNC Start=1><P Class=KRCC>Hello\r\n");
  const std::string first = "<SYNC Start=1><P Class=KRCC>Hello\r\n\r\n</BODY>\r\n</SAMI>";
  const std::string settled = "<SYNC Start=1><P Class=KRCC>Hello\r\n</BODY>\r\n</SAMI>";
  for (const std::string& expected : {first, settled, settled}) {
    ASSERT_EQ(RunCli({"rewrite", "--mode", "1", from, to}).status, 0);
    EXPECT_EQ(ReadFile(to), expected);
    fs::rename(to, from);
  }
}

// Real files written by other tools: rewriting the output again changes
// nothing, and mode 2 gives back a closed file without a lone <br> as it was.
TEST(Cli, RewriteOfRealFilesIsStable) {
  if (SamplesDir().empty()) GTEST_SKIP() << "samples folder absent";
  TempDir dir;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(SamplesDir())) {
    const std::string in = entry.path().string(), ext = entry.path().extension().string();
    if (ext != ".smi" && ext != ".sami") continue;
    ++files;
    for (const char* mode : {"0", "1"}) {
      ASSERT_EQ(RunCli({"rewrite", "--mode", mode, in, dir.File("a")}).status, 0) << in;
      ASSERT_EQ(RunCli({"rewrite", "--mode", mode, dir.File("a"), dir.File("b")}).status, 0);
      EXPECT_EQ(ReadFile(dir.File("a")), ReadFile(dir.File("b"))) << in << " mode " << mode;
    }
    const std::string original = ReadFile(in);
    ASSERT_EQ(RunCli({"rewrite", "--mode", "2", in, dir.File("c")}).status, 0);
    const bool closed = original.find("</SAMI") != std::string::npos || original.find("</sami") != std::string::npos;
    if (closed && original.find("<br>\r\n<") == std::string::npos) EXPECT_EQ(ReadFile(dir.File("c")), original) << in;
  }
  EXPECT_GT(files, 10);
}

// Korean right before tags, a multi-line caption for mode 1, closing tags.
const std::string kUtf8 =
    "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n<!--\r\n.KRCC {Name:\xED\x95\x9C; lang:ko-KR; SAMIType:CC;}\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xEC\x95\x88\xEB\x85\x95<br>\xED\x95\x9C\r\n\xEA\xB8\x80\r\n"
    "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n<SYNC Start=2500><P Class=KRCC>\xEC\x9E\x90\xEB\xA7\x89\r\n"
    "<SYNC Start=4000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
const std::string kCp949 = Utf8ToCp949(kUtf8).bytes;

std::string Encoded(CaptionEncoding encoding, bool bom, const std::string& utf8 = kUtf8) {
  return EncodeCaption(utf8, CodePage::Utf8(), encoding, bom).bytes;
}

// The five forms round-trip byte for byte through a rewrite that changes
// nothing; mode 1 makes the same change (a <br> at the continued line) in the
// file's own encoding, and a second pass changes nothing more. info names each.
TEST(EncodingCli, RewriteKeepsEveryEncodingAndInfoNamesIt) {
  TempDir dir;
  const std::string in = dir.File("in"), out0 = dir.File("out0"), out1 = dir.File("out1"), out2 = dir.File("out2");
  std::string mode1_cp949 = kCp949;
  mode1_cp949.insert(mode1_cp949.find("\xC7\xD1\r\n\xB1\xDB") + 2, "<br>");  // 한<br> 글
  struct Variant { std::string bytes, info; };
  for (const Variant& v : std::vector<Variant>{
           {kCp949, ""}, {kUtf8, "encoding: UTF-8\nbom: no\n"},
           {Encoded(CaptionEncoding::Utf8, true), "encoding: UTF-8 (BOM)\nbom: yes\n"},
           {Encoded(CaptionEncoding::Utf16Le, true), "encoding: UTF-16LE\nbom: yes\n"},
           {Encoded(CaptionEncoding::Utf16Be, true), "encoding: UTF-16BE\nbom: yes\n"}}) {
    SCOPED_TRACE(v.info);
    WriteFile(in, v.bytes);
    EXPECT_EQ(RunCli({"info", in}).out, "classes: KRCC\ncolour: white\nsyncs: 4\nparagraphs: 4\ncomments: 0\n"
                                        "overflow: 0\nfirst start: 1000\nlast start: 4000\nvalid: yes\n" + v.info);
    ASSERT_EQ(RunCli({"rewrite", "--mode", "0", in, out0}).status, 0);
    EXPECT_EQ(ReadFile(out0), v.bytes);
    ASSERT_EQ(RunCli({"rewrite", "--mode", "1", in, out1}).status, 0);
    ASSERT_EQ(RunCli({"rewrite", "--mode", "1", out1, out2}).status, 0);
    const std::string once = ReadFile(out1);
    EXPECT_EQ(ReadFile(out2), once);
    EXPECT_EQ(DetectEncoding(once), DetectEncoding(v.bytes));
    const DecodedCaption decoded = DecodeCaption(once);
    EXPECT_EQ(EncodeCaption(decoded.bytes, decoded.code_page(), CaptionEncoding::Cp949, false).bytes, mode1_cp949);
  }
  WriteFile(in, kUtf8);  // an explicit choice overrides detection
  EXPECT_EQ(RunCli({"info", "--encoding", "cp949", in}).out.find("encoding:"), std::string::npos);
}

// Exports follow the input's encoding unless --output-encoding says otherwise;
// shift keeps UTF-16; a merge writes the first file's encoding, the second converted into it.
TEST(EncodingCli, OutputsFollowTheInputOrTheOutputEncoding) {
  TempDir dir;
  const auto f = [&dir](const char* name) { return dir.File(name); };
  WriteFile(f("u8.smi"), Encoded(CaptionEncoding::Utf8, true));
  WriteFile(f("cp.smi"), kCp949);
  WriteFile(f("u16.smi"), Encoded(CaptionEncoding::Utf16Le, true));
  WriteFile(f("ko.smi"), "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:en;}\r\n</STYLE></HEAD><BODY>\r\n"
                         "<SYNC Start=1500><P Class=ENCC>\xEC\x95\x84\r\n</BODY></SAMI>\r\n");  // 아
  for (const Args& args : std::vector<Args>{
           {"to-srt", f("u8.smi"), f("u8.srt")}, {"to-srt", f("cp.smi"), f("cp.srt")},
           {"to-srt", "--output-encoding", "cp949", f("u8.smi"), f("x.srt")}, {"plain-text", f("cp.smi"), f("t949")},
           {"plain-text", "--output-encoding", "utf-16be", f("cp.smi"), f("t")}, {"split", f("u8.smi"), f("part.smi")},
           {"shift", f("u16.smi"), f("out.smi"), "--from", "0", "--to", "0", "--by", "250"},
           {"merge", f("cp.smi"), f("ko.smi"), f("m.smi")}})
    ASSERT_EQ(RunCli(args).status, 0) << args[0] << " " << args.back();
  const std::string cp_srt = ReadFile(f("cp.srt")), text949 = ReadFile(f("t949"));
  EXPECT_EQ(ReadFile(f("u8.srt")), "\xEF\xBB\xBF" + Cp949ToUtf8(cp_srt));
  EXPECT_EQ(ReadFile(f("x.srt")), cp_srt);
  EXPECT_NE(text949.find("\xC0\xDA\xB8\xB7\r\n"), std::string::npos);  // 자막
  EXPECT_EQ(ReadFile(f("t")), Encoded(CaptionEncoding::Utf16Be, true, Cp949ToUtf8(text949)));
  EXPECT_EQ(DetectEncoding(ReadFile(f("part.KRCC.smi"))), (DetectedEncoding{CaptionEncoding::Utf8, true}));
  std::string shifted = kUtf8;
  for (auto [from, to] : {std::pair{"1000", "1250"}, {"2000", "2250"}, {"2500", "2750"}, {"4000", "4250"}})
    shifted.replace(shifted.find(from), 4, to);
  EXPECT_EQ(ReadFile(f("out.smi")), Encoded(CaptionEncoding::Utf16Le, true, shifted));
  const std::string merged = ReadFile(f("m.smi"));
  EXPECT_EQ(DetectEncoding(merged).encoding, CaptionEncoding::Cp949);
  EXPECT_NE(merged.find("<P Class=ENCC>\xBE\xC6"), std::string::npos);  // 아 in CP949
  EXPECT_NE(merged.find("\xBE\xC8\xB3\xE7<br>"), std::string::npos);    // 안녕 as it was
}

}  // namespace
}  // namespace cadenzio::test
