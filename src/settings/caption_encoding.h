// The encodings caption files come in (CP949, UTF-8 with or without a byte
// order mark, UTF-16 with one), how a file's encoding is told, and the one way
// in and out of the system's byte text for the CLI and the window alike.
//
// Working text: what the document and every tool see. A CP949 caption stays
// its own CP949 bytes and a UTF-8 caption its own UTF-8 bytes, BOM taken
// off; a UTF-16 caption becomes UTF-8. The CodePage of the working text tells
// the pattern matcher and the analyser how characters are laid out. Writing
// turns working text back into a file's bytes, BOM put back, so a file read
// and written unchanged comes back byte for byte in every encoding.
//
// Lossless treatment of bad input, instead of a refusal:
// - bytes that are no UTF-8 in a UTF-8 file (behind a BOM, or read so by
//   choice) stay as they are: the working text holds them, the code page
//   steps over them one at a time, and writing puts them back (a notice says
//   how many there are);
// - an unpaired UTF-16 surrogate becomes the three-byte sequence that UTF-8
//   would give its code unit (ED A0 80..ED BF BF) and goes back to the same
//   unit on writing;
// - a CP949 lead byte without its trail byte (at the end of the file, say)
//   stays one byte of its own, as CodePage::CharLength says.
// Refused, with a message naming the place: an odd number of bytes after a
// UTF-16 BOM (decoding), and a character the target encoding cannot hold
// (encoding). Nothing is written after a refusal.
//
// Plain functions on values; safe from any thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

enum class CaptionEncoding { Cp949, Utf8, Utf16Le, Utf16Be };

// What a person or a command line asks for: the detected encoding, or one.
enum class EncodingChoice { Auto, Cp949, Utf8, Utf16Le, Utf16Be };

// The choice that reads a file in exactly this encoding.
EncodingChoice ChoiceOf(CaptionEncoding encoding);

struct DetectedEncoding {
  CaptionEncoding encoding = CaptionEncoding::Cp949;
  bool bom = false;
  bool operator==(const DetectedEncoding&) const = default;
};

// A byte order mark decides first (EF BB BF UTF-8, FF FE UTF-16LE, FE FF
// UTF-16BE); otherwise a file that is valid UTF-8 and holds at least one
// multibyte sequence is UTF-8; otherwise it is CP949.
DetectedEncoding DetectEncoding(std::string_view file_bytes);

// The code page of an encoding's working text: CP949 for CP949, UTF-8 else.
const CodePage& WorkingCodePage(CaptionEncoding encoding);

// "CP949", "UTF-8", "UTF-8 (BOM)", "UTF-16LE", "UTF-16BE": the names shown.
std::string_view EncodingDisplayName(CaptionEncoding encoding, bool bom);

// Reads "auto", "cp949" (also "euc-kr", "uhc"), "utf-8" (also "utf8"),
// "utf-16le", "utf-16be", in any letter case; nothing for another name.
std::optional<EncodingChoice> ParseEncodingChoice(std::string_view name);

struct DecodedCaption {
  std::string bytes;  // the working text; empty when !ok()
  CaptionEncoding encoding = CaptionEncoding::Cp949;
  bool bom = false;    // the file began with the encoding's BOM (not in bytes)
  std::string error;   // UTF-8: why the file cannot be read so; empty when ok()
  std::string notice;  // UTF-8: what was kept as it is, for a person to know

  bool ok() const { return error.empty(); }
  const CodePage& code_page() const { return WorkingCodePage(encoding); }
};

// A file's bytes in the chosen encoding (Auto: DetectEncoding's) made into
// working text. A chosen encoding takes its own BOM off when the file has
// one and reads every other byte as text of that encoding.
DecodedCaption DecodeCaption(std::string_view file_bytes,
                             EncodingChoice choice = EncodingChoice::Auto);
// The same, taking the file's bytes over: a working text that is those bytes
// (BOM aside) keeps their buffer, sparing a large file's copy.
DecodedCaption DecodeCaptionInPlace(std::string&& file_bytes,
                                    EncodingChoice choice = EncodingChoice::Auto);

struct EncodedCaption {
  std::string bytes;  // the file's bytes when ok(), else empty
  std::string error;  // UTF-8, naming the first line and character refused
  bool ok() const { return error.empty(); }
};

// Working text of the encoding's own code page back into a file's bytes, the
// encoding's BOM first when bom is set. Refused: bytes that are no UTF-8 in
// a text to be written as UTF-16 (UTF-8 keeps them as they are).
EncodedCaption EncodeCaption(std::string_view working, CaptionEncoding encoding, bool bom);
// The same for working text of another code page (a UTF-8 text written as
// CP949, a CP949 text as UTF-8 or UTF-16). Into CP949, a character that
// CP949 cannot hold is refused: "line 3, character 7: '…' (U+2026) has no
// CP949 form". CP949 bytes that start no character travel into UTF-8 as the
// private-use code points of cp949_conversion.h and come back unchanged.
EncodedCaption EncodeCaption(std::string_view working, const CodePage& from,
                             CaptionEncoding encoding, bool bom);

// Working text of one code page as working text of another (the second file
// of a merge read in the first file's code page); the same refusals.
EncodedCaption ConvertWorkingText(std::string_view working, const CodePage& from,
                                  const CodePage& to);

}  // namespace cadenzio
