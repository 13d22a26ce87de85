// Caption encodings: detection, working text in and out, refusals and the
// lossless treatment of broken input.
#include "settings/caption_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace cadenzio {
namespace {

// Korean right before a tag. 가 = EA B0 80 in UTF-8, B0 A1 in CP949.
const std::string kUtf8Text = "<SYNC Start=1><P>\xEA\xB0\x80<br>\xF0\x9F\x98\x80\r\n";
const std::string kCp949Text = "<SYNC Start=1><P>\xB0\xA1<br>\r\n";
const std::string kUtf8Notice = " byte(s) are no UTF-8; they are kept as they are and written back unchanged";

std::string Utf16(std::string_view ascii, bool big_endian) {
  std::string out;
  for (char c : ascii) out += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
  return out;
}

TEST(CaptionEncoding, DetectionTable) {
  struct Case { std::string bytes; CaptionEncoding encoding; bool bom; };
  for (const Case& c : std::vector<Case>{
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
           {"\xC0\xAF", CaptionEncoding::Cp949, false}})                   // an overlong form neither
    EXPECT_EQ(DetectEncoding(c.bytes), (DetectedEncoding{c.encoding, c.bom})) << c.bytes;
}

// Every encoding gives back the file's own bytes, and UTF-16 becomes UTF-8.
TEST(CaptionEncoding, ReadAndWriteBackByteForByte) {
  const std::string working16 = "<P>\xEA\xB0\x80\xF0\x9F\x98\x80";  // 가 U+AC00, U+1F600
  struct Case { std::string file; CaptionEncoding encoding; bool bom; std::string working; };
  for (const Case& c : std::vector<Case>{
           {kCp949Text + "\xB0", CaptionEncoding::Cp949, false, kCp949Text + "\xB0"},  // lead byte last
           {"\xEF\xBB\xBF" + kUtf8Text, CaptionEncoding::Utf8, true, kUtf8Text},
           {"\xFF\xFE" + Utf16("<P>", false) + std::string("\x00\xAC\x3D\xD8\x00\xDE", 6), CaptionEncoding::Utf16Le,
            true, working16},
           {"\xFE\xFF" + Utf16("<P>", true) + std::string("\xAC\x00\xD8\x3D\xDE\x00", 6), CaptionEncoding::Utf16Be,
            true, working16}}) {
    const DecodedCaption decoded = DecodeCaption(c.file);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(std::tie(decoded.encoding, decoded.bom, decoded.bytes), std::tie(c.encoding, c.bom, c.working));
    EXPECT_EQ(&decoded.code_page(), &WorkingCodePage(c.encoding));
    EXPECT_TRUE(decoded.notice.empty()) << decoded.notice;
    EXPECT_EQ(EncodeCaption(decoded.bytes, decoded.encoding, decoded.bom).bytes, c.file);
  }
}

// Broken input is kept byte for byte and said so, or refused with a reason.
TEST(CaptionEncoding, BrokenInputIsKeptOrRefused) {
  // Bytes that are no UTF-8 behind a UTF-8 BOM stay where they are, but cannot become UTF-16.
  const std::string bad_utf8 = "\xEF\xBB\xBF<P>\xB0\xA1 \xEA\xB0\x80 \xFF";
  DecodedCaption d = DecodeCaption(bad_utf8);
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.bytes, bad_utf8.substr(3));
  EXPECT_EQ(d.notice, "3" + kUtf8Notice);
  EXPECT_EQ(EncodeCaption(d.bytes, d.encoding, d.bom).bytes, bad_utf8);
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

// A choice overrides detection and takes only its own BOM off. UTF-16 must name its byte order.
TEST(CaptionEncoding, ChoiceOverridesDetection) {
  for (const auto& [name, choice] : std::vector<std::pair<const char*, std::optional<EncodingChoice>>>{
           {"AUTO", EncodingChoice::Auto}, {"EUC-KR", EncodingChoice::Cp949}, {"utf8", EncodingChoice::Utf8},
           {"UTF-16be", EncodingChoice::Utf16Be}, {"latin1", std::nullopt}, {"utf-16", std::nullopt}})
    EXPECT_EQ(ParseEncodingChoice(name), choice) << name;
  DecodedCaption d = DecodeCaption("\xEF\xBB\xBF\xB0\xA1", EncodingChoice::Cp949);
  EXPECT_EQ(std::tie(d.encoding, d.bom, d.bytes),
            std::make_tuple(CaptionEncoding::Cp949, false, std::string("\xEF\xBB\xBF\xB0\xA1")));
  d = DecodeCaption(Utf16("<P>", true), EncodingChoice::Utf16Be);  // no BOM
  EXPECT_EQ(std::tie(d.bom, d.bytes), std::make_tuple(false, std::string("<P>")));
  EXPECT_EQ(EncodeCaption(d.bytes, d.encoding, d.bom).bytes, Utf16("<P>", true));
  EXPECT_EQ(DecodeCaption("\xB0\xA1", EncodingChoice::Utf8).notice, "2" + kUtf8Notice);
}

// Decoding that takes the file's bytes over gives what decoding a view gives.
TEST(DecodeCaptionInPlace, GivesWhatDecodeCaptionGives) {
  for (const std::string& file : {std::string("<SAMI>\xC7\xD1\xB1\xDB"), std::string("\xEF\xBB\xBF<P>\xEA\xB0\x80"),
                                  std::string("\xEF\xBB\xBF<P>\xB0\xA1 \xFF"), std::string("<P>\xEA\xB0\x80"),
                                  "\xFF\xFE" + std::string("<\0P\0", 4), "\xFF\xFE" + std::string("<\0P", 3),
                                  std::string()}) {
    for (const EncodingChoice choice :
         {EncodingChoice::Auto, EncodingChoice::Cp949, EncodingChoice::Utf8, EncodingChoice::Utf16Be}) {
      const DecodedCaption expected = DecodeCaption(file, choice);
      const DecodedCaption got = DecodeCaptionInPlace(std::string(file), choice);
      EXPECT_EQ(std::tie(got.bytes, got.encoding, got.bom, got.error, got.notice),
                std::tie(expected.bytes, expected.encoding, expected.bom, expected.error, expected.notice));
    }
  }
}

}  // namespace
}  // namespace cadenzio
