// SRT to SAMI: numbered entries with "start --> end" timing lines become ENCC
// captions, each ended by a clear at its end time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

// Lines are read in pieces of at most this many bytes, as fgets would read
// them into a 1024-byte buffer; a longer line counts as several lines.
inline constexpr std::size_t kSrtLineLimit = 1022;

// True for an empty text or one of blanks, tabs, CR, LF, VT and FF only.
bool IsBlankLine(std::string_view text);

// Appends the SAMI body made from the SRT text input. A timing line opens a
// caption at its start; its text lines follow, joined by <br>; a blank line
// closes it with a clear at the end time. A blank line right after the timing
// line makes the caption itself a clear, with no end sync. With replace_acute
// every acute accent becomes an apostrophe: in CP949 text every byte 0xB4 (the
// accent in Western code pages; callers switch the rule off for double-byte
// text, where 0xB4 is part of a character), in UTF-8 text the character
// U+00B4.
void ConvertSrt(std::string_view input, std::string& output, bool replace_acute,
                const CodePage& cp = CodePage::Cp949());

}  // namespace cadenzio
