// SUBRIP (SubViewer) to SAMI: "HH:MM:SS.cc,HH:MM:SS.cc" timing lines and "[br]"
// line breaks, rewritten into SRT text and converted as SRT.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cadenzio {

inline constexpr std::size_t kSubripLineLimit = 1022;

// Appends the SAMI body made from the SUBRIP text input. Each timing line
// becomes an SRT timing line; in every other line "[br]" and "[BR]" (exactly
// these two spellings) become line ends. The result goes through ConvertSrt
// without the 0xB4 replacement. Header blocks in square brackets hold no
// "-->" and are skipped as SRT stray text. The rewrite is kept in memory, so,
// unlike a temporary file, it cannot fail.
void ConvertSubrip(std::string_view input, std::string& output);

}  // namespace cadenzio
