// CP949 <-> UTF-8: Korean text, raw bytes kept, errors located.
#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace cadenzio {
namespace {

std::string Back(const std::string& utf8) {
  const Cp949Text text = Utf8ToCp949(utf8);
  EXPECT_TRUE(text.ok()) << "at " << text.error->offset;
  return text.bytes;
}

TEST(TextEncoding, DecodesKoreanAndKeepsRawBytes) {
  EXPECT_EQ(Cp949ToUtf8("A\xB0\xA1 \xC7\xD1\xB1\xDB\r\n"), "A가 한글\r\n");
  EXPECT_EQ(Back("A가 한글\r\n"), "A\xB0\xA1 \xC7\xD1\xB1\xDB\r\n");
  EXPECT_EQ(Cp949ToUtf8("\xB4<"), "\xEF\x9E\xB4<");  // a foreign accent before a tag
  EXPECT_EQ(Cp949ToUtf8("A\xB0"), "A\xEF\x9E\xB0");  // a character cut off at the end
  EXPECT_EQ(Cp949ToUtf8("\x80\xFF"), "\xEF\x9E\x80\xEF\x9F\xBF");
  // glibc swallows A2 E8 whole on refusing it; the byte after must survive.
  EXPECT_EQ(Cp949ToUtf8("\xA2\xE8" "B"), "\xEF\x9E\xA2\xEF\x9F\xA8" "B");
}

TEST(TextEncoding, AnyBytesSurviveTheRoundTrip) {
  for (int pair = 0; pair < 65536; ++pair) {
    const std::string bytes{static_cast<char>(pair >> 8), static_cast<char>(pair)};
    ASSERT_EQ(Back(Cp949ToUtf8(bytes)), bytes) << pair;
  }
  std::mt19937 rng(949);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(rng() % 40, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 3 ? 0x80 + rng() % 128 : rng() % 256);
    ASSERT_EQ(Back(Cp949ToUtf8(bytes)), bytes) << round;
  }
}

TEST(TextEncoding, EncodingNeverGuesses) {
  // Whatever is encoded must decode to the very character it came from.
  for (unsigned cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    std::string utf8 = cp < 0x800 ? std::string{char(0xC0 | cp >> 6)}
                                  : std::string{char(0xE0 | cp >> 12), char(0x80 | (cp >> 6 & 0x3F))};
    utf8 += char(0x80 | (cp & 0x3F));
    const Cp949Text text = Utf8ToCp949(utf8);
    ASSERT_EQ(text.ok() ? Cp949ToUtf8(text.bytes) : text.error->character, utf8) << std::hex << cp;
  }
}

TEST(TextEncoding, ErrorsPointAtTheCharacter) {
  const Cp949Text text = Utf8ToCp949("ab\n가😀x");
  ASSERT_FALSE(text.ok());
  EXPECT_EQ(text.bytes, "ab\n\xB0\xA1");
  EXPECT_EQ(std::tie(text.error->offset, text.error->line, text.error->column), std::make_tuple(6u, 2u, 2u));
  EXPECT_EQ(text.error->character, "😀");
  EXPECT_FALSE(text.error->invalid_utf8);
  EXPECT_EQ(Utf8ToCp949("a가\xFFz").error->column, 3u);
  EXPECT_TRUE(Utf8ToCp949("a가\xFFz").error->invalid_utf8);
  EXPECT_TRUE(Utf8ToCp949("\xEA\xB0").error->invalid_utf8);  // cut-off character
  EXPECT_FALSE(Utf8ToCp949("\xEF\x9D\x81").ok());  // private use below the raw-byte range
}

}  // namespace
}  // namespace cadenzio
