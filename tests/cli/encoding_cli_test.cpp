// cadenzio-cli on captions in CP949, UTF-8 (with and without BOM) and UTF-16:
// every command reads them, writes them back in their own encoding (or the
// one asked for), refuses what an encoding cannot hold and reports it.
#include <gtest/gtest.h>

#include <filesystem>

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

struct Variant { std::string name, bytes; };
std::vector<Variant> Variants() {
  return {{"cp949", kCp949},
          {"utf-8", kUtf8},
          {"utf-8 bom", Encoded(CaptionEncoding::Utf8, true)},
          {"utf-16le", Encoded(CaptionEncoding::Utf16Le, true)},
          {"utf-16be", Encoded(CaptionEncoding::Utf16Be, true)}};
}

TEST(EncodingCli, RewriteKeepsEveryEncodingByteForByte) {
  TempDir dir;
  std::string mode1_cp949;
  for (const Variant& v : Variants()) {
    SCOPED_TRACE(v.name);
    WriteFile(dir.File("in"), v.bytes);
    auto r = RunCli({"rewrite", "--mode", "0", dir.File("in"), dir.File("out0")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.File("out0")), v.bytes);
    // Mode 1 changes the text (a <br> at the continued line) in the file's
    // own encoding, and a second pass changes nothing more.
    r = RunCli({"rewrite", "--mode", "1", dir.File("in"), dir.File("out1")});
    ASSERT_EQ(r.status, 0) << r.err;
    r = RunCli({"rewrite", "--mode", "1", dir.File("out1"), dir.File("out2")});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string once = ReadFile(dir.File("out1"));
    EXPECT_NE(once, v.bytes);
    EXPECT_EQ(ReadFile(dir.File("out2")), once);
    const DecodedCaption out = DecodeCaption(once);
    EXPECT_EQ(DetectEncoding(once), DetectEncoding(v.bytes));
    const std::string as_cp949 =
        EncodeCaption(out.bytes, out.code_page(), CaptionEncoding::Cp949, false).bytes;
    if (mode1_cp949.empty()) mode1_cp949 = as_cp949;
    EXPECT_EQ(as_cp949, mode1_cp949);  // the same change in every encoding
  }
  EXPECT_NE(mode1_cp949.find("\xC7\xD1<br>\r\n\xB1\xDB"), std::string::npos);  // 한<br> 글
}

TEST(EncodingCli, InfoNamesTheEncodingAndEveryCommandTakesTheOptions) {
  TempDir dir;
  const std::pair<std::string, std::string> expected[] = {
      {"cp949", ""},
      {"utf-8", "encoding: UTF-8\nbom: no\n"},
      {"utf-8 bom", "encoding: UTF-8 (BOM)\nbom: yes\n"},
      {"utf-16le", "encoding: UTF-16LE\nbom: yes\n"},
      {"utf-16be", "encoding: UTF-16BE\nbom: yes\n"}};
  const std::vector<Variant> variants = Variants();
  for (std::size_t i = 0; i < variants.size(); ++i) {
    WriteFile(dir.File("in"), variants[i].bytes);
    const auto r = RunCli({"info", dir.File("in")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "classes: KRCC\ncolour: white\nsyncs: 4\nparagraphs: 4\ncomments: 0\n"
                     "overflow: 0\nfirst start: 1000\nlast start: 4000\nvalid: yes\n" +
                         expected[i].second)
        << variants[i].name;
  }
  // An explicit choice overrides detection: UTF-8 read as CP949 is CP949.
  WriteFile(dir.File("u8"), kUtf8);
  auto r = RunCli({"info", "--encoding", "cp949", dir.File("u8")});
  EXPECT_EQ(r.out.find("encoding:"), std::string::npos);
  r = RunCli({"info", "--encoding", "latin-1", dir.File("u8")});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("--encoding takes auto, cp949, utf-8, utf-16le or utf-16be, not 'latin-1'"),
            std::string::npos);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"check", dir.File("u8")},
           {"to-srt", dir.File("u8"), dir.File("o")},
           {"split", dir.File("u8"), dir.File("o.smi")},
           {"plain-text", dir.File("u8"), dir.File("o")},
           {"remove-short-clears", dir.File("u8"), dir.File("o")},
           {"shift", dir.File("u8"), dir.File("o"), "--from", "0", "--to", "0", "--by", "1"},
           {"scale", dir.File("u8"), dir.File("o"), "--from", "0", "--to", "9", "--new-from", "0",
            "--new-to", "9"},
           {"add-clears", dir.File("u8"), dir.File("o"), "--from", "0", "--to", "0", "--by", "1"},
           {"merge", dir.File("u8"), dir.File("u8"), dir.File("o")},
           {"rewrite", dir.File("u8"), dir.File("o")}}) {
    std::vector<std::string> with = args;
    with.insert(with.end(), {"--encoding", "utf-16"});
    EXPECT_EQ(RunCli(with).status, 2) << args[0];  // the option is known, the name is not
  }
}

TEST(EncodingCli, ExportsFollowTheInputOrTheOutputEncoding) {
  TempDir dir;
  WriteFile(dir.File("u8.smi"), Encoded(CaptionEncoding::Utf8, true));
  WriteFile(dir.File("cp.smi"), kCp949);
  ASSERT_EQ(RunCli({"to-srt", dir.File("u8.smi"), dir.File("u8.srt")}).status, 0);
  ASSERT_EQ(RunCli({"to-srt", dir.File("cp.smi"), dir.File("cp.srt")}).status, 0);
  const std::string cp_srt = ReadFile(dir.File("cp.srt"));
  EXPECT_EQ(ReadFile(dir.File("u8.srt")), "\xEF\xBB\xBF" + Cp949ToUtf8(cp_srt));
  ASSERT_EQ(RunCli({"to-srt", "--output-encoding", "cp949", dir.File("u8.smi"), dir.File("x.srt")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("x.srt")), cp_srt);

  ASSERT_EQ(RunCli({"plain-text", dir.File("cp.smi"), dir.File("t949")}).status, 0);
  ASSERT_EQ(RunCli({"plain-text", "--output-encoding", "utf-16be", dir.File("cp.smi"), dir.File("t")}).status, 0);
  const std::string text949 = ReadFile(dir.File("t949"));
  EXPECT_NE(text949.find("\xC0\xDA\xB8\xB7\r\n"), std::string::npos);  // 자막
  EXPECT_EQ(ReadFile(dir.File("t")), Encoded(CaptionEncoding::Utf16Be, true, Cp949ToUtf8(text949)));

  // The check report written with -o is in the input's encoding.
  ASSERT_EQ(RunCli({"check", dir.File("u8.smi"), "-o", dir.File("u8.txt")}).status, 0);
  ASSERT_EQ(RunCli({"check", dir.File("cp.smi"), "-o", dir.File("cp.txt")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("u8.txt")), "\xEF\xBB\xBF" + Cp949ToUtf8(ReadFile(dir.File("cp.txt"))));

  // split writes every file in the input's encoding, BOM included.
  ASSERT_EQ(RunCli({"split", dir.File("u8.smi"), dir.File("part.smi")}).status, 0);
  EXPECT_EQ(DetectEncoding(ReadFile(dir.File("part.KRCC.smi"))),
            (DetectedEncoding{CaptionEncoding::Utf8, true}));
}

TEST(EncodingCli, WhatCp949CannotHoldIsRefusedAndNothingWritten) {
  TempDir dir;
  std::string with_emoji = kUtf8;
  with_emoji.replace(with_emoji.find("\xEC\x9E\x90"), 3, "\xF0\x9F\x98\x80");  // 자 -> U+1F600
  WriteFile(dir.File("in.smi"), with_emoji);
  WriteFile(dir.File("keep.srt"), "precious");
  auto r = RunCli({"rewrite", "--output-encoding", "euc-kr", dir.File("in.smi"), dir.File("o")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("not written: line 13, character 32: '\xF0\x9F\x98\x80' (U+1F600) has no CP949 form"),
            std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("o")));
  r = RunCli({"to-srt", "--output-encoding", "cp949", dir.File("in.smi"), dir.File("keep.srt")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("(U+1F600) has no CP949 form"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir.File("keep.srt")), "precious");

  // Merging: the second file joins the first one's encoding, or is refused.
  const std::string second = "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:en;}\r\n</STYLE></HEAD><BODY>\r\n"
                             "<SYNC Start=1500><P Class=ENCC>\xC3\xA9t\xC3\xA9\r\n</BODY></SAMI>\r\n";  // été
  WriteFile(dir.File("cp.smi"), kCp949);
  WriteFile(dir.File("fr.smi"), second);
  auto m = RunCli({"merge", dir.File("cp.smi"), dir.File("fr.smi"), dir.File("m.smi")});
  EXPECT_EQ(m.status, 1);
  EXPECT_NE(m.err.find("(CP949): line 4, character 32: '\xC3\xA9' (U+00E9) has no CP949 form"),
            std::string::npos) << m.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("m.smi")));
  WriteFile(dir.File("ko.smi"), "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:en;}\r\n</STYLE></HEAD><BODY>\r\n"
                                "<SYNC Start=1500><P Class=ENCC>\xEC\x95\x84\r\n</BODY></SAMI>\r\n");  // 아
  m = RunCli({"merge", dir.File("cp.smi"), dir.File("ko.smi"), dir.File("m.smi")});
  ASSERT_EQ(m.status, 0) << m.err;
  const std::string merged = ReadFile(dir.File("m.smi"));
  EXPECT_EQ(DetectEncoding(merged).encoding, CaptionEncoding::Cp949);
  EXPECT_NE(merged.find("<P Class=ENCC>\xBE\xC6"), std::string::npos);  // 아 in CP949
  EXPECT_NE(merged.find("\xBE\xC8\xB3\xE7<br>"), std::string::npos);    // 안녕 as it was
}

TEST(EncodingCli, UtilityOperationsWriteTheInputsEncoding) {
  TempDir dir;
  const std::string utf16 = Encoded(CaptionEncoding::Utf16Le, true);
  WriteFile(dir.File("in.smi"), utf16);
  auto r = RunCli({"shift", dir.File("in.smi"), dir.File("out.smi"), "--from", "0", "--to", "0", "--by", "250"});
  ASSERT_EQ(r.status, 0) << r.err;
  std::string shifted = kUtf8;
  for (auto [from, to] : {std::pair{"1000", "1250"}, {"2000", "2250"}, {"2500", "2750"}, {"4000", "4250"}})
    shifted.replace(shifted.find(from), 4, to);
  EXPECT_EQ(ReadFile(dir.File("out.smi")), Encoded(CaptionEncoding::Utf16Le, true, shifted));

  // Bad input: an odd byte after a UTF-16 BOM is refused, nothing is written.
  WriteFile(dir.File("odd.smi"), utf16 + "x");
  r = RunCli({"shift", dir.File("odd.smi"), dir.File("odd.out"), "--from", "0", "--to", "0", "--by", "1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("UTF-16LE text must hold an even number of bytes"), std::string::npos) << r.err;
  r = RunCli({"rewrite", dir.File("odd.smi"), dir.File("odd.out")});
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("odd.out")));
  // Bytes that are no UTF-8 behind a UTF-8 BOM are kept, with a notice.
  const std::string broken = "\xEF\xBB\xBF" + kUtf8 + "\xB0\xA1\xFF";
  WriteFile(dir.File("broken.smi"), broken);
  r = RunCli({"rewrite", "--mode", "0", dir.File("broken.smi"), dir.File("broken.out")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("3 byte(s) are no UTF-8; they are kept as they are"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("broken.out")), broken);
}

}  // namespace
}  // namespace cadenzio::test
