// CP949 bytes to UTF-8 and back: for the edges that show text to a person
// (the terminal of the CLI, the window) and for writing a caption in another
// encoding than it was read in (caption_encoding.h). The system's logic
// itself only sees bytes.
//
// The decoding is lossless: a byte that starts no CP949 character (an accent
// from another code page, a character cut off at the end) becomes the
// private-use code point kRawByteBase + byte, and encoding turns that code
// point back into the byte, so Utf8ToCp949(Cp949ToUtf8(x)) gives x again for
// every byte string x. Both functions are safe to call from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cadenzio {

// Bytes 0x80..0xFF that could not be decoded travel as U+F780..U+F7FF. (Bytes
// below 0x80 are ASCII in CP949 and always decode.)
inline constexpr char32_t kRawByteBase = 0xF700;

// Never fails; throws std::runtime_error only when the system's iconv does
// not know CP949 at all.
std::string Cp949ToUtf8(std::string_view cp949);

// The first character that has no CP949 form, or the first byte that is no
// UTF-8, so the caller can point at it instead of saving a guess.
struct EncodingError {
  std::size_t offset = 0;  // byte offset in the UTF-8 text
  std::size_t line = 1;    // 1-based; lines end at '\n'
  std::size_t column = 1;  // 1-based, counted in characters
  std::string character;   // its UTF-8 bytes (the single byte when invalid)
  bool invalid_utf8 = false;
};

struct Cp949Text {
  std::string bytes;  // the whole text when ok(), else what came before the error
  std::optional<EncodingError> error;
  bool ok() const { return !error.has_value(); }
};

// A character is encoded only when its CP949 form decodes back to it; one
// that CP949 cannot hold, or could hold only approximately, is an error.
// Throws std::runtime_error only when the system's iconv lacks CP949.
Cp949Text Utf8ToCp949(std::string_view utf8);

// For text a person typed or the program built: a character CP949 cannot
// hold, and a byte that is no UTF-8, each become '?'.
std::string Utf8ToCp949Lossy(std::string_view utf8);

}  // namespace cadenzio
