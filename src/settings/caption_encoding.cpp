// Caption encodings: detection, working text in and out; see caption_encoding.h.
#include "settings/caption_encoding.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "settings/cp949_conversion.h"

namespace cadenzio {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::string_view BomOf(CaptionEncoding encoding) {
  switch (encoding) {
    case CaptionEncoding::Utf8: return kUtf8Bom;
    case CaptionEncoding::Utf16Le: return kUtf16LeBom;
    case CaptionEncoding::Utf16Be: return kUtf16BeBom;
    case CaptionEncoding::Cp949: break;
  }
  return {};
}

bool IsUtf16(CaptionEncoding encoding) {
  return encoding == CaptionEncoding::Utf16Le || encoding == CaptionEncoding::Utf16Be;
}

// Valid UTF-8 with at least one multibyte sequence.
bool LooksUtf8(std::string_view bytes) {
  const CodePage& utf8 = CodePage::Utf8();
  bool multibyte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = utf8.CharLength(bytes, i);
    if (length == 1) return false;
    multibyte = true;
    i += length;
  }
  return multibyte;
}

// High bytes that start no UTF-8 character; they are kept as they are.
std::size_t CountNonUtf8Bytes(std::string_view text) {
  const CodePage& utf8 = CodePage::Utf8();
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = utf8.CharLength(text, i);
    count += length == 1 && static_cast<unsigned char>(text[i]) >= 0x80;
    i += length;
  }
  return count;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {  // unpaired surrogates too, as their code unit
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// UTF-16 code units (an even count of bytes) to UTF-8; counts the unpaired
// surrogates, which are kept as their three-byte form.
std::string Utf16ToUtf8(std::string_view in, bool big_endian, std::size_t* unpaired) {
  const auto* p = reinterpret_cast<const unsigned char*>(in.data());
  const std::size_t units = in.size() / 2;
  const int hi = big_endian ? 0 : 1, lo = 1 - hi;
  auto unit = [&](std::size_t k) -> char32_t {
    return static_cast<char32_t>((p[2 * k + hi] << 8) | p[2 * k + lo]);
  };
  std::string out;
  out.reserve(in.size() + in.size() / 4);
  *unpaired = 0;
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t u = unit(k);
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
               unit(k + 1) <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
      ++k;
    } else {
      *unpaired += u >= 0xD800 && u <= 0xDFFF;
      AppendUtf8(out, u);
    }
  }
  return out;
}

// "line L, character C": where the byte at offset stands in UTF-8 text.
std::string PlaceOf(std::string_view text, std::size_t offset) {
  const std::string_view before = text.substr(0, offset);
  const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t newline = before.rfind('\n');
  std::size_t column = 1;
  for (std::size_t i = newline == std::string_view::npos ? 0 : newline + 1; i < offset;
       i += CodePage::Utf8().CharLength(text, i))
    ++column;
  return "line " + std::to_string(line) + ", character " + std::to_string(column);
}

std::string ByteRefusal(std::string_view text, std::size_t offset, std::string_view target) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(static_cast<unsigned char>(text[offset])));
  return PlaceOf(text, offset) + ": byte 0x" + hex + " is no UTF-8 character and cannot be written in " +
         std::string(target);
}

char32_t DecodeUtf8Char(std::string_view ch) {
  const auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(ch[i])); };
  switch (ch.size()) {
    case 2: return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3: return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4: return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default: return b(0);
  }
}

// An unpaired surrogate as Utf16ToUtf8 keeps it: ED A0..BF 80..BF.
bool IsSurrogateForm(std::string_view text, std::size_t i) {
  return i + 2 < text.size() && static_cast<unsigned char>(text[i]) == 0xED &&
         static_cast<unsigned char>(text[i + 1]) >= 0xA0 &&
         static_cast<unsigned char>(text[i + 1]) <= 0xBF &&
         (static_cast<unsigned char>(text[i + 2]) & 0xC0) == 0x80;
}

EncodedCaption Utf8ToUtf16(std::string_view text, bool big_endian, bool bom) {
  EncodedCaption result;
  std::string& out = result.bytes;
  out.reserve(2 * text.size() + 2);
  if (bom) out += big_endian ? kUtf16BeBom : kUtf16LeBom;
  auto put = [&](char32_t u) {
    const char h = static_cast<char>(u >> 8), l = static_cast<char>(u & 0xFF);
    if (big_endian) {
      out.push_back(h);
      out.push_back(l);
    } else {
      out.push_back(l);
      out.push_back(h);
    }
  };
  const CodePage& utf8 = CodePage::Utf8();
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      put(c);
      ++i;
      continue;
    }
    const std::size_t length = utf8.CharLength(text, i);
    if (length > 1) {
      const char32_t cp = DecodeUtf8Char(text.substr(i, length));
      if (cp >= 0x10000) {
        put(0xD800 + ((cp - 0x10000) >> 10));
        put(0xDC00 + ((cp - 0x10000) & 0x3FF));
      } else {
        put(cp);
      }
      i += length;
    } else if (IsSurrogateForm(text, i)) {
      put(DecodeUtf8Char(text.substr(i, 3)));
      i += 3;
    } else {
      return {{}, ByteRefusal(text, i, big_endian ? "UTF-16BE" : "UTF-16LE")};
    }
  }
  return result;
}

// UTF-8 working text as CP949 bytes, or the refusal naming the first
// character CP949 cannot hold.
EncodedCaption Utf8TextToCp949(std::string_view text) {
  Cp949Text cp949 = Utf8ToCp949(text);
  if (cp949.ok()) return {std::move(cp949.bytes), {}};
  const EncodingError& e = *cp949.error;
  if (e.invalid_utf8) return {{}, ByteRefusal(text, e.offset, "CP949")};
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(DecodeUtf8Char(e.character)));
  return {{}, PlaceOf(text, e.offset) + ": '" + e.character + "' (" + code + ") has no CP949 form"};
}

}  // namespace

DetectedEncoding DetectEncoding(std::string_view file_bytes) {
  if (file_bytes.starts_with(kUtf8Bom)) return {CaptionEncoding::Utf8, true};
  if (file_bytes.starts_with(kUtf16LeBom)) return {CaptionEncoding::Utf16Le, true};
  if (file_bytes.starts_with(kUtf16BeBom)) return {CaptionEncoding::Utf16Be, true};
  return {LooksUtf8(file_bytes) ? CaptionEncoding::Utf8 : CaptionEncoding::Cp949, false};
}

const CodePage& WorkingCodePage(CaptionEncoding encoding) {
  return encoding == CaptionEncoding::Cp949 ? CodePage::Cp949() : CodePage::Utf8();
}

std::string_view EncodingDisplayName(CaptionEncoding encoding, bool bom) {
  switch (encoding) {
    case CaptionEncoding::Cp949: return "CP949";
    case CaptionEncoding::Utf8: return bom ? "UTF-8 (BOM)" : "UTF-8";
    case CaptionEncoding::Utf16Le: return "UTF-16LE";
    case CaptionEncoding::Utf16Be: return "UTF-16BE";
  }
  return "CP949";
}

std::optional<EncodingChoice> ParseEncodingChoice(std::string_view name) {
  struct Named {
    std::string_view name;
    EncodingChoice choice;
  };
  static constexpr Named kNames[] = {
      {"auto", EncodingChoice::Auto},        {"cp949", EncodingChoice::Cp949},
      {"euc-kr", EncodingChoice::Cp949},     {"uhc", EncodingChoice::Cp949},
      {"utf-8", EncodingChoice::Utf8},       {"utf8", EncodingChoice::Utf8},
      {"utf-16le", EncodingChoice::Utf16Le}, {"utf-16be", EncodingChoice::Utf16Be},
  };
  for (const Named& n : kNames)
    if (EqualNoCase(name, n.name)) return n.choice;
  return std::nullopt;
}

namespace {

// owner, when given, holds file_bytes and may give its buffer to the
// working text.
DecodedCaption Decode(std::string_view file_bytes, EncodingChoice choice, std::string* owner) {
  DecodedCaption decoded;
  switch (choice) {
    case EncodingChoice::Auto: {
      const DetectedEncoding detected = DetectEncoding(file_bytes);
      decoded.encoding = detected.encoding;
      decoded.bom = detected.bom;
      break;
    }
    case EncodingChoice::Cp949: decoded.encoding = CaptionEncoding::Cp949; break;
    case EncodingChoice::Utf8: decoded.encoding = CaptionEncoding::Utf8; break;
    case EncodingChoice::Utf16Le: decoded.encoding = CaptionEncoding::Utf16Le; break;
    case EncodingChoice::Utf16Be: decoded.encoding = CaptionEncoding::Utf16Be; break;
  }
  const std::string_view bom = BomOf(decoded.encoding);
  if (choice != EncodingChoice::Auto) decoded.bom = !bom.empty() && file_bytes.starts_with(bom);
  const std::string_view text = file_bytes.substr(decoded.bom ? bom.size() : 0);

  if (IsUtf16(decoded.encoding)) {
    if (text.size() % 2 != 0) {
      decoded.error = std::string(EncodingDisplayName(decoded.encoding, decoded.bom)) +
                      " text must hold an even number of bytes; this one holds " +
                      std::to_string(text.size()) + " after the byte order mark" +
                      " (the last byte stands alone)";
      return decoded;
    }
    std::size_t unpaired = 0;
    decoded.bytes = Utf16ToUtf8(text, decoded.encoding == CaptionEncoding::Utf16Be, &unpaired);
    if (unpaired > 0)
      decoded.notice = std::to_string(unpaired) +
                       " unpaired UTF-16 surrogate(s) kept as they are; they are written back unchanged";
    return decoded;
  }
  if (owner) {
    owner->erase(0, file_bytes.size() - text.size());  // the BOM
    decoded.bytes = std::move(*owner);
  } else {
    decoded.bytes.assign(text);
  }
  // Detection without a BOM only takes valid UTF-8; a BOM or a choice may not.
  if (decoded.encoding == CaptionEncoding::Utf8 && (decoded.bom || choice != EncodingChoice::Auto)) {
    if (const std::size_t bad = CountNonUtf8Bytes(decoded.bytes); bad > 0)
      decoded.notice = std::to_string(bad) +
                       " byte(s) are no UTF-8; they are kept as they are and written back unchanged";
  }
  return decoded;
}

}  // namespace

DecodedCaption DecodeCaption(std::string_view file_bytes, EncodingChoice choice) {
  return Decode(file_bytes, choice, nullptr);
}

DecodedCaption DecodeCaptionInPlace(std::string&& file_bytes, EncodingChoice choice) {
  return Decode(file_bytes, choice, &file_bytes);
}

EncodedCaption EncodeCaption(std::string_view working, CaptionEncoding encoding, bool bom) {
  return EncodeCaption(working, WorkingCodePage(encoding), encoding, bom);
}

EncodedCaption EncodeCaption(std::string_view working, const CodePage& from,
                             CaptionEncoding encoding, bool bom) {
  // CP949 has no BOM; UTF-8 and UTF-16 are written from UTF-8 text.
  if (encoding == CaptionEncoding::Cp949) return ConvertWorkingText(working, from, CodePage::Cp949());
  std::string utf8_copy;
  std::string_view utf8 = working;
  if (from.kind() == CodePage::Kind::Cp949) {
    utf8_copy = Cp949ToUtf8(working);
    utf8 = utf8_copy;
  }
  if (IsUtf16(encoding)) return Utf8ToUtf16(utf8, encoding == CaptionEncoding::Utf16Be, bom);
  EncodedCaption result;
  result.bytes.reserve(utf8.size() + kUtf8Bom.size());
  if (bom) result.bytes += kUtf8Bom;
  result.bytes += utf8;
  return result;
}

EncodedCaption ConvertWorkingText(std::string_view working, const CodePage& from,
                                  const CodePage& to) {
  if (from.kind() == to.kind()) return {std::string(working), {}};
  if (to.kind() == CodePage::Kind::Utf8) return {Cp949ToUtf8(working), {}};
  return Utf8TextToCp949(working);
}

EncodingChoice ChoiceOf(CaptionEncoding encoding) {
  switch (encoding) {
    case CaptionEncoding::Cp949: return EncodingChoice::Cp949;
    case CaptionEncoding::Utf8: return EncodingChoice::Utf8;
    case CaptionEncoding::Utf16Le: return EncodingChoice::Utf16Le;
    case CaptionEncoding::Utf16Be: return EncodingChoice::Utf16Be;
  }
  return EncodingChoice::Cp949;
}

}  // namespace cadenzio
