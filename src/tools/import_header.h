// The SAMI header that every imported caption text starts with: a fixed style
// block that declares the one class ENCC, with the title and the time of the
// conversion filled in.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace cadenzio {

// The font family written into the header's P style.
inline constexpr std::string_view kImportFontFamily = "Arial, sans-serif";

// Appends the 23 header lines, each ending in CR LF, to out. The title is
// copied byte for byte (a leading blank included); when is the local date and
// time of the conversion, written as YYYY/MM/DD hh:mm:ss.
void WriteImportHeader(std::string& out, std::string_view title, const std::tm& when);

}  // namespace cadenzio
