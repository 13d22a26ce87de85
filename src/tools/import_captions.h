// The import of foreign caption text: which format a file is in, and the whole
// SAMI text made from it (header, converted body, footer), all in class ENCC.
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

// Format codes as the converters know them; any other value converts nothing.
enum class ForeignFormat : int { Sub = 0, Srt = 1, Subrip = 3 };

// "SUB", "SRT" or "SUBRIP"; "" for a value that is no format.
std::string_view ForeignFormatName(ForeignFormat format);

// Detection reads the raw lines in pieces of at most this many bytes.
inline constexpr std::size_t kDetectLineLimit = 1022;

// CP949: "지원하지 않는 파일 포맷입니다. -.-  "
inline constexpr std::string_view kUnsupportedFormatMessage =
    "\xC1\xF6\xBF\xF8\xC7\xCF\xC1\xF6 \xBE\xCA\xB4\xC2 \xC6\xC4\xC0\xCF "
    "\xC6\xF7\xB8\xCB\xC0\xD4\xB4\xCF\xB4\xD9. -.-  ";
// CP949: "화일을 열수가 없네요..."
inline constexpr std::string_view kImportOpenFailedMessage =
    "\xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 \xBE\xF8\xB3\xD7\xBF\xE4...";

struct FormatDetection {
  std::optional<ForeignFormat> format;
  std::string_view message;  // CP949, when there is no format
};

// The format of the first line that is a SUB caption line, an SRT timing line
// or a SUBRIP timing line, tested in that order; a file can hold lines of
// several kinds, and the first one decides. A file with none gets the
// unsupported-format message.
FormatDetection DetectForeignFormat(std::string_view bytes);

// The complete SAMI text: WriteImportHeader with title and when, the body by
// format, then "</BODY>\r\n</SAMI>" with no line end. The frame rate serves
// SUB only. SRT replaces the acute accent by an apostrophe unless the title
// begins with a blank, the user's mark for double-byte text.
//
// The input is working text of cp (a caption file decoded, see
// caption_encoding.h) and so is the result; the title is CP949, as typed.
// A UTF-8 byte-order mark at the start of the input is dropped here and in
// DetectForeignFormat: it would otherwise hide a timing or caption line that
// starts the file.
std::string ConvertForeignCaptions(std::string_view input, std::string_view title, double frame_rate,
                                   ForeignFormat format, const std::tm& when,
                                   const CodePage& cp = CodePage::Cp949());

// The frame rate of the import's title dialog: 23.976 offered, and only a
// decimal number (digits with at most one point, nothing else) from 10 to 50,
// both included, accepted.
inline constexpr double kDefaultFrameRate = 23.976;
inline constexpr double kMinFrameRate = 10.0;
inline constexpr double kMaxFrameRate = 50.0;
std::optional<double> ReadFrameRate(std::string_view text);
// CP949: "Frame Rate 값은 10.0 에서 50.0 사이 수치 입니다."
inline constexpr std::string_view kFrameRateMessage =
    "Frame Rate \xB0\xAA\xC0\xBA 10.0 \xBF\xA1\xBC\xAD 50.0 \xBB\xE7\xC0\xCC "
    "\xBC\xF6\xC4\xA1 \xC0\xD4\xB4\xCF\xB4\xD9.";

// The name the imported text is given: the chosen path with trailing white
// space removed, its last three bytes replaced by "smi" (movie.srt becomes
// movie.smi beside it).
std::string ImportedCaptionPath(std::string_view chosen);

}  // namespace cadenzio
