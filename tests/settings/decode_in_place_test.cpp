// Decoding that takes the file's bytes over gives what decoding a view gives.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "settings/caption_encoding.h"

namespace cadenzio {
namespace {

TEST(DecodeCaptionInPlace, GivesWhatDecodeCaptionGives) {
  const std::string files[] = {
      "<SAMI>\xC7\xD1\xB1\xDB",                       // CP949
      "\xEF\xBB\xBF<P>\xEA\xB0\x80",                  // UTF-8 with BOM
      "\xEF\xBB\xBF<P>\xB0\xA1 \xFF",                 // ...holding bytes that are no UTF-8
      "<P>\xEA\xB0\x80",                              // UTF-8 without BOM
      "\xFF\xFE" + std::string("<\0P\0", 4),          // UTF-16LE
      "\xFF\xFE" + std::string("<\0P", 3),            // odd UTF-16: refused
      "",
  };
  const EncodingChoice choices[] = {EncodingChoice::Auto, EncodingChoice::Cp949,
                                    EncodingChoice::Utf8, EncodingChoice::Utf16Be};
  for (const std::string& file : files) {
    for (const EncodingChoice choice : choices) {
      const DecodedCaption expected = DecodeCaption(file, choice);
      const DecodedCaption got = DecodeCaptionInPlace(std::string(file), choice);
      EXPECT_EQ(std::tie(got.bytes, got.encoding, got.bom, got.error, got.notice),
                std::tie(expected.bytes, expected.encoding, expected.bom, expected.error, expected.notice));
    }
  }
}

}  // namespace
}  // namespace cadenzio
