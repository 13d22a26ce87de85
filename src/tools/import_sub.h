// MicroDVD SUB to SAMI: one caption a line, "{start}{end}text" timed in video
// frames, '|' between caption lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cadenzio {

// Lines are read in pieces of at most this many bytes (a 512-byte buffer).
inline constexpr std::size_t kSubLineLimit = 510;

// The text with its first two '|' replaced by "<br>\r\n"; later ones stay, so
// a caption has at most three lines.
std::string SplitSubLines(std::string_view text);

// Appends the SAMI body made from the SUB text input: every line that begins
// with '{' becomes a caption at its start frame followed by a clear at its end
// frame, frames turned into milliseconds at frame_rate frames a second. Other
// lines are skipped.
//
// Each frame number is read as a 32-bit strtol reads it (blanks and a sign
// allowed, a value past the int32 range held at its limit, 0 when no digit
// follows); the end frame is read two bytes after the start number, the text
// one byte after the end number. Where those places lie past the end of the
// line, the frame is 0 and the text empty.
void ConvertSub(std::string_view input, std::string& output, double frame_rate);

}  // namespace cadenzio
