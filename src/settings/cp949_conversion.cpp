// CP949 <-> UTF-8 through iconv, one character at a time so that a refused
// byte can be kept exactly where it stood.
#include "settings/cp949_conversion.h"

#include <iconv.h>

#include <algorithm>
#include <stdexcept>

#include "pattern/code_page.h"

namespace cadenzio {
namespace {

// One iconv conversion descriptor, closed with the object.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts one character (at most 4 bytes). True only when iconv took all of
  // it with no error and no approximation (a positive count means it
  // substituted something). On failure nothing of iconv's progress is used:
  // glibc's CP949 reader, for one, swallows the pair A2 E8 and still reports
  // EILSEQ, so its pointers cannot say where the bad byte was.
  bool ConvertOne(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* in_ptr = const_cast<char*>(in.data());
    std::size_t in_left = in.size();
    char* out_ptr = buffer;
    std::size_t out_left = sizeof buffer;
    if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) != 0 || in_left != 0) return false;
    if (iconv(cd_, nullptr, nullptr, &out_ptr, &out_left) != 0) return false;
    out.assign(buffer, static_cast<std::size_t>(out_ptr - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

// Descriptors carry conversion state, so each thread keeps its own pair.
Iconv& Decoder() {
  thread_local Iconv cd("UTF-8", "CP949");
  return cd;
}
Iconv& Encoder() {
  thread_local Iconv cd("CP949", "UTF-8");
  return cd;
}

void AppendRawByte(std::string& out, unsigned char byte) {
  const char32_t cp = kRawByteBase + byte;  // three UTF-8 bytes for all of them
  out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
  out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
  out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
}

// The byte a raw-byte code point stands for, if the UTF-8 character is one.
std::optional<unsigned char> RawByteOf(std::string_view utf8_char) {
  if (utf8_char.size() != 3) return std::nullopt;
  const auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf8_char[i])); };
  const char32_t cp = ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
  if (cp < kRawByteBase + 0x80 || cp > kRawByteBase + 0xFF) return std::nullopt;
  return static_cast<unsigned char>(cp - kRawByteBase);
}

EncodingError MakeError(std::string_view text, std::size_t offset, std::size_t length,
                        bool invalid_utf8) {
  EncodingError error;
  error.offset = offset;
  error.character = std::string(text.substr(offset, length));
  error.invalid_utf8 = invalid_utf8;
  const std::string_view before = text.substr(0, offset);
  error.line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t newline = before.rfind('\n');
  const std::size_t line_start = newline == std::string_view::npos ? 0 : newline + 1;
  for (std::size_t i = line_start; i < offset; i += CodePage::Utf8().CharLength(text, i))
    ++error.column;
  return error;
}

}  // namespace

std::string Cp949ToUtf8(std::string_view cp949) {
  Iconv& decoder = Decoder();
  std::string out;
  out.reserve(cp949.size() + cp949.size() / 2);
  std::string ch;
  for (std::size_t i = 0; i < cp949.size();) {
    const auto c = static_cast<unsigned char>(cp949[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    // Every high byte can only lead a two-byte character; iconv sees exactly
    // that pair. A pair it refuses keeps its first byte as a raw byte and is
    // read again from the second. A decoded raw-byte code point would be
    // taken for a raw byte on the way back, so it is kept raw as well.
    if (i + 1 < cp949.size() && decoder.ConvertOne(cp949.substr(i, 2), ch) && !RawByteOf(ch)) {
      out += ch;
      i += 2;
    } else {
      AppendRawByte(out, c);
      ++i;
    }
  }
  return out;
}

Cp949Text Utf8ToCp949(std::string_view utf8) {
  Iconv& encoder = Encoder();
  Iconv& decoder = Decoder();
  Cp949Text result;
  result.bytes.reserve(utf8.size());
  std::string encoded, decoded;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      result.bytes.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    const std::size_t length = CodePage::Utf8().CharLength(utf8, i);
    const std::string_view ch = utf8.substr(i, length);
    if (length == 1) {  // a high byte that starts no complete UTF-8 character
      result.error = MakeError(utf8, i, 1, true);
      break;
    }
    if (const auto raw = RawByteOf(ch)) {
      result.bytes.push_back(static_cast<char>(*raw));
    } else if (encoder.ConvertOne(ch, encoded) && decoder.ConvertOne(encoded, decoded) &&
               decoded == ch) {
      result.bytes += encoded;
    } else {
      result.error = MakeError(utf8, i, length, false);
      break;
    }
    i += length;
  }
  return result;
}

std::string Utf8ToCp949Lossy(std::string_view utf8) {
  std::string out;
  for (;;) {
    Cp949Text converted = Utf8ToCp949(utf8);
    out += converted.bytes;
    if (converted.ok()) return out;
    out += '?';
    utf8.remove_prefix(converted.error->offset + converted.error->character.size());
  }
}

}  // namespace cadenzio
