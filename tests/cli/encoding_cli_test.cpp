// cadenzio-cli on captions in CP949, UTF-8 (with and without BOM) and UTF-16:
// every command reads them, writes them back in their own encoding (or the
// one asked for), refuses what an encoding cannot hold and reports it.
#include <gtest/gtest.h>

#include "settings/caption_encoding.h"
#include "settings/cp949_conversion.h"
#include "test_support.h"

namespace cadenzio::test {
namespace {

// Korean right before tags, a multi-line caption for mode 1, closing tags.
const std::string kUtf8 =
    "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n<!--\r\n.KRCC {Name:\xED\x95\x9C; lang:ko-KR; SAMIType:CC;}\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xEC\x95\x88\xEB\x85\x95<br>\xED\x95\x9C\r\n\xEA\xB8\x80\r\n"
    "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n"
    "<SYNC Start=2500><P Class=KRCC>\xEC\x9E\x90\xEB\xA7\x89\r\n"
    "<SYNC Start=4000><P Class=KRCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>\r\n";
const std::string kCp949 = Utf8ToCp949(kUtf8).bytes;

std::string Encoded(CaptionEncoding encoding, bool bom, const std::string& utf8 = kUtf8) {
  return EncodeCaption(utf8, CodePage::Utf8(), encoding, bom).bytes;
}

// Each encoding with the lines that info adds for it.
struct Variant { std::string name, bytes, info; };
std::vector<Variant> Variants() {
  return {{"cp949", kCp949, ""},
          {"utf-8", kUtf8, "encoding: UTF-8\nbom: no\n"},
          {"utf-8 bom", Encoded(CaptionEncoding::Utf8, true), "encoding: UTF-8 (BOM)\nbom: yes\n"},
          {"utf-16le", Encoded(CaptionEncoding::Utf16Le, true), "encoding: UTF-16LE\nbom: yes\n"},
          {"utf-16be", Encoded(CaptionEncoding::Utf16Be, true), "encoding: UTF-16BE\nbom: yes\n"}};
}

// Every encoding comes back byte for byte from a rewrite that changes nothing;
// mode 1 makes the same change (a <br> at the continued line) in the file's
// own encoding, and a second pass changes nothing more.
TEST(EncodingCli, RewriteKeepsEveryEncodingAndInfoNamesIt) {
  TempDir dir;
  const std::string in = dir.File("in"), out0 = dir.File("out0"), out1 = dir.File("out1"), out2 = dir.File("out2");
  std::string mode1_cp949 = kCp949;
  mode1_cp949.insert(mode1_cp949.find("\xC7\xD1\r\n\xB1\xDB") + 2, "<br>");  // 한<br> 글
  for (const Variant& v : Variants()) {
    SCOPED_TRACE(v.name);
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
}

// An explicit choice overrides detection; every command that reads a caption
// takes the option.
TEST(EncodingCli, EveryCommandTakesTheEncodingOption) {
  TempDir dir;
  const std::string u8 = dir.File("u8"), o = dir.File("o");
  WriteFile(u8, kUtf8);
  EXPECT_EQ(RunCli({"info", "--encoding", "cp949", u8}).out.find("encoding:"), std::string::npos);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"info", u8}, {"check", u8}, {"to-srt", u8, o}, {"split", u8, o}, {"plain-text", u8, o},
           {"remove-short-clears", u8, o}, {"shift", u8, o, "--from", "0", "--to", "0", "--by", "1"},
           {"scale", u8, o, "--from", "0", "--to", "9", "--new-from", "0", "--new-to", "9"},
           {"add-clears", u8, o, "--from", "0", "--to", "0", "--by", "1"}, {"merge", u8, u8, o},
           {"rewrite", u8, o}}) {
    std::vector<std::string> with = args;
    with.insert(with.end(), {"--encoding", "latin-1"});
    const auto r = RunCli(with);
    EXPECT_EQ(r.status, 2) << args[0];
    EXPECT_NE(r.err.find("--encoding takes auto, cp949, utf-8, utf-16le or utf-16be, not 'latin-1'"),
              std::string::npos) << r.err;
  }
}

// The refusals of what CP949 cannot hold are among the CLI's refusals.
TEST(EncodingCli, ExportsFollowTheInputOrTheOutputEncoding) {
  TempDir dir;
  const auto f = [&dir](const char* name) { return dir.File(name); };
  WriteFile(f("u8.smi"), Encoded(CaptionEncoding::Utf8, true));
  WriteFile(f("cp.smi"), kCp949);
  ASSERT_EQ(RunCli({"to-srt", f("u8.smi"), f("u8.srt")}).status, 0);
  ASSERT_EQ(RunCli({"to-srt", f("cp.smi"), f("cp.srt")}).status, 0);
  const std::string cp_srt = ReadFile(f("cp.srt"));
  EXPECT_EQ(ReadFile(f("u8.srt")), "\xEF\xBB\xBF" + Cp949ToUtf8(cp_srt));
  ASSERT_EQ(RunCli({"to-srt", "--output-encoding", "cp949", f("u8.smi"), f("x.srt")}).status, 0);
  EXPECT_EQ(ReadFile(f("x.srt")), cp_srt);

  ASSERT_EQ(RunCli({"plain-text", f("cp.smi"), f("t949")}).status, 0);
  ASSERT_EQ(RunCli({"plain-text", "--output-encoding", "utf-16be", f("cp.smi"), f("t")}).status, 0);
  const std::string text949 = ReadFile(f("t949"));
  EXPECT_NE(text949.find("\xC0\xDA\xB8\xB7\r\n"), std::string::npos);  // 자막
  EXPECT_EQ(ReadFile(f("t")), Encoded(CaptionEncoding::Utf16Be, true, Cp949ToUtf8(text949)));

  ASSERT_EQ(RunCli({"check", f("u8.smi"), "-o", f("u8.txt")}).status, 0);
  ASSERT_EQ(RunCli({"check", f("cp.smi"), "-o", f("cp.txt")}).status, 0);
  EXPECT_EQ(ReadFile(f("u8.txt")), "\xEF\xBB\xBF" + Cp949ToUtf8(ReadFile(f("cp.txt"))));

  ASSERT_EQ(RunCli({"split", f("u8.smi"), f("part.smi")}).status, 0);
  EXPECT_EQ(DetectEncoding(ReadFile(f("part.KRCC.smi"))), (DetectedEncoding{CaptionEncoding::Utf8, true}));
}

// Shift keeps UTF-16; a merge writes the first file's encoding, the second
// converted into it; bytes that are no UTF-8 behind a UTF-8 BOM are kept.
TEST(EncodingCli, UtilityOperationsWriteTheInputsEncoding) {
  TempDir dir;
  const auto f = [&dir](const char* name) { return dir.File(name); };
  WriteFile(f("in.smi"), Encoded(CaptionEncoding::Utf16Le, true));
  auto r = RunCli({"shift", f("in.smi"), f("out.smi"), "--from", "0", "--to", "0", "--by", "250"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string shifted = kUtf8;
  for (auto [from, to] : {std::pair{"1000", "1250"}, {"2000", "2250"}, {"2500", "2750"}, {"4000", "4250"}})
    shifted.replace(shifted.find(from), 4, to);
  EXPECT_EQ(ReadFile(f("out.smi")), Encoded(CaptionEncoding::Utf16Le, true, shifted));

  WriteFile(f("cp.smi"), kCp949);
  WriteFile(f("ko.smi"), "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:en;}\r\n</STYLE></HEAD><BODY>\r\n"
                         "<SYNC Start=1500><P Class=ENCC>\xEC\x95\x84\r\n</BODY></SAMI>\r\n");  // 아
  r = RunCli({"merge", f("cp.smi"), f("ko.smi"), f("m.smi")});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string merged = ReadFile(f("m.smi"));
  EXPECT_EQ(DetectEncoding(merged).encoding, CaptionEncoding::Cp949);
  EXPECT_NE(merged.find("<P Class=ENCC>\xBE\xC6"), std::string::npos);  // 아 in CP949
  EXPECT_NE(merged.find("\xBE\xC8\xB3\xE7<br>"), std::string::npos);    // 안녕 as it was

  const std::string broken = "\xEF\xBB\xBF" + kUtf8 + "\xB0\xA1\xFF";
  WriteFile(f("broken.smi"), broken);
  r = RunCli({"rewrite", "--mode", "0", f("broken.smi"), f("broken.out")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("3 byte(s) are no UTF-8; they are kept as they are"), std::string::npos);
  EXPECT_EQ(ReadFile(f("broken.out")), broken);
}

}  // namespace
}  // namespace cadenzio::test
