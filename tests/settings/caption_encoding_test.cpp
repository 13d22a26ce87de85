// Caption encodings: detection, working text in and out, refusals and the
// lossless treatment of broken input.
#include "settings/caption_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace cadenzio {
namespace {

// "가<" style texts: Korean right before tags. 가 = EA B0 80 in UTF-8, B0 A1 in CP949.
const std::string kUtf8Text = "<SYNC Start=1><P>\xEA\xB0\x80<br>\xF0\x9F\x98\x80\r\n";
const std::string kCp949Text = "<SYNC Start=1><P>\xB0\xA1<br>\r\n";

std::string Utf16(std::string_view ascii_or_units, bool big_endian) {
  std::string out;
  for (char c : ascii_or_units) {
    out.push_back(big_endian ? '\0' : c);
    out.push_back(big_endian ? c : '\0');
  }
  return out;
}

TEST(CaptionEncoding, DetectionTable) {
  struct Case { std::string bytes; CaptionEncoding encoding; bool bom; };
  const Case cases[] = {
      {"\xEF\xBB\xBF\xB0\xA1", CaptionEncoding::Utf8, true},  // the BOM decides, valid or not
      {"\xFF\xFE<\0", CaptionEncoding::Utf16Le, true},
      {"\xFE\xFF\0<", CaptionEncoding::Utf16Be, true},
      {kUtf8Text, CaptionEncoding::Utf8, false},
      {"plain ASCII <SYNC Start=1>", CaptionEncoding::Cp949, false},  // no multibyte sequence
      {"", CaptionEncoding::Cp949, false},
      {kCp949Text, CaptionEncoding::Cp949, false},
      {"\xEA\xB0\x80 then \xB0\xA1", CaptionEncoding::Cp949, false},  // UTF-8 up to a stray byte
      {"\xEA\xB0", CaptionEncoding::Cp949, false},                    // a cut-off sequence
      {"\xED\xA0\x80", CaptionEncoding::Cp949, false},                // a surrogate is no UTF-8
      {"\xC0\xAF", CaptionEncoding::Cp949, false},                    // an overlong form neither
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectEncoding(c.bytes), (DetectedEncoding{c.encoding, c.bom})) << c.bytes;
  }
}

// The other display names are pinned by the CLI's info output.
TEST(CaptionEncoding, NamesAndChoices) {
  EXPECT_EQ(EncodingDisplayName(CaptionEncoding::Cp949, false), "CP949");
  for (const auto& [name, choice] : std::vector<std::pair<const char*, std::optional<EncodingChoice>>>{
           {"AUTO", EncodingChoice::Auto}, {"EUC-KR", EncodingChoice::Cp949}, {"utf8", EncodingChoice::Utf8},
           {"UTF-16be", EncodingChoice::Utf16Be}, {"latin1", std::nullopt},
           {"utf-16", std::nullopt}})  // the byte order must be named
    EXPECT_EQ(ParseEncodingChoice(name), choice) << name;
}

// Every encoding gives back the file's own bytes, and UTF-16 becomes UTF-8.
TEST(CaptionEncoding, ReadAndWriteBackByteForByte) {
  const std::string le = "\xFF\xFE" + Utf16("<P>", false) + std::string("\x00\xAC", 2) +  // 가 U+AC00
                         std::string("\x3D\xD8\x00\xDE", 4);                               // U+1F600
  const std::string be = "\xFE\xFF" + Utf16("<P>", true) + std::string("\xAC\x00", 2) +
                         std::string("\xD8\x3D\xDE\x00", 4);
  struct Case { std::string file; CaptionEncoding encoding; bool bom; std::string working; };
  const Case cases[] = {
      {kCp949Text, CaptionEncoding::Cp949, false, kCp949Text},
      {kCp949Text + "\xB0", CaptionEncoding::Cp949, false, kCp949Text + "\xB0"},  // lead byte last
      {kUtf8Text, CaptionEncoding::Utf8, false, kUtf8Text},
      {"\xEF\xBB\xBF" + kUtf8Text, CaptionEncoding::Utf8, true, kUtf8Text},
      {le, CaptionEncoding::Utf16Le, true, "<P>\xEA\xB0\x80\xF0\x9F\x98\x80"},
      {be, CaptionEncoding::Utf16Be, true, "<P>\xEA\xB0\x80\xF0\x9F\x98\x80"},
  };
  for (const Case& c : cases) {
    const DecodedCaption decoded = DecodeCaption(c.file);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(std::tie(decoded.encoding, decoded.bom, decoded.bytes),
              std::tie(c.encoding, c.bom, c.working));
    EXPECT_EQ(&decoded.code_page(), &WorkingCodePage(c.encoding));
    EXPECT_TRUE(decoded.notice.empty()) << decoded.notice;
    EXPECT_EQ(EncodeCaption(decoded.bytes, decoded.encoding, decoded.bom).bytes, c.file);
  }
}

// Broken input is kept byte for byte and said so, or refused with a reason.
TEST(CaptionEncoding, BrokenInputIsKeptOrRefused) {
  // Bytes that are no UTF-8 behind a UTF-8 BOM stay where they are.
  const std::string bad_utf8 = "\xEF\xBB\xBF<P>\xB0\xA1 \xEA\xB0\x80 \xFF";
  DecodedCaption d = DecodeCaption(bad_utf8);
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.bytes, bad_utf8.substr(3));
  EXPECT_EQ(d.notice, "3 byte(s) are no UTF-8; they are kept as they are and written back unchanged");
  EXPECT_EQ(EncodeCaption(d.bytes, d.encoding, d.bom).bytes, bad_utf8);
  // ...but cannot become UTF-16, which has no form for them.
  EXPECT_EQ(EncodeCaption(d.bytes, CaptionEncoding::Utf16Le, true).error,
            "line 1, character 4: byte 0xB0 is no UTF-8 character and cannot be written in UTF-16LE");

  // Unpaired surrogates, high and low, travel as their three-byte form.
  const std::string lone = "\xFF\xFE" + std::string("\x00\xD8<\0\x00\xDC", 6);
  d = DecodeCaption(lone);
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.bytes, "\xED\xA0\x80<\xED\xB0\x80");
  EXPECT_EQ(d.notice, "2 unpaired UTF-16 surrogate(s) kept as they are; they are written back unchanged");
  EXPECT_EQ(EncodeCaption(d.bytes, d.encoding, d.bom).bytes, lone);
  const std::string lone_be = "\xFE\xFF" + std::string("\xDC\x00\x00<", 4);
  EXPECT_EQ(EncodeCaption(DecodeCaption(lone_be).bytes, CaptionEncoding::Utf16Be, true).bytes, lone_be);

  // An odd byte after a UTF-16 BOM is refused: there is no character to keep it in.
  d = DecodeCaption(std::string("\xFF\xFE<\0S", 5));
  EXPECT_FALSE(d.ok());
  EXPECT_TRUE(d.bytes.empty());
  EXPECT_EQ(d.error, "UTF-16LE text must hold an even number of bytes; this one holds 3 after the "
                     "byte order mark (the last byte stands alone)");
}

// What CP949 holds converts both ways; its undecodable bytes survive the trip.
// (The refusal of what CP949 cannot hold is pinned by the CLI's tests.)
TEST(CaptionEncoding, Cp949ThroughUtf16AndBackIsLossless) {
  const std::string cp949 = "\xB0\xA1<br>\xB4 end\xB0";  // 가<br>, an accent byte, a cut-off lead
  const EncodedCaption utf16 = EncodeCaption(cp949, CodePage::Cp949(), CaptionEncoding::Utf16Le, true);
  ASSERT_TRUE(utf16.ok());
  const DecodedCaption back = DecodeCaption(utf16.bytes);
  ASSERT_EQ(back.encoding, CaptionEncoding::Utf16Le);
  EXPECT_EQ(back.bytes.substr(0, 7), "\xEA\xB0\x80<br>");
  const EncodedCaption again = EncodeCaption(back.bytes, back.code_page(), CaptionEncoding::Cp949, false);
  ASSERT_TRUE(again.ok()) << again.error;
  EXPECT_EQ(again.bytes, cp949);
}

// A choice overrides detection and takes only its own BOM off.
TEST(CaptionEncoding, ChoiceOverridesDetection) {
  DecodedCaption d = DecodeCaption("\xEF\xBB\xBF\xB0\xA1", EncodingChoice::Cp949);
  EXPECT_EQ(std::tie(d.encoding, d.bom, d.bytes),
            std::make_tuple(CaptionEncoding::Cp949, false, std::string("\xEF\xBB\xBF\xB0\xA1")));
  d = DecodeCaption(Utf16("<P>", true), EncodingChoice::Utf16Be);  // no BOM
  EXPECT_EQ(std::tie(d.bom, d.bytes), std::make_tuple(false, std::string("<P>")));
  EXPECT_EQ(EncodeCaption(d.bytes, d.encoding, d.bom).bytes, Utf16("<P>", true));
  d = DecodeCaption("\xB0\xA1", EncodingChoice::Utf8);
  EXPECT_EQ(d.notice, "2 byte(s) are no UTF-8; they are kept as they are and written back unchanged");
}

}  // namespace
}  // namespace cadenzio
