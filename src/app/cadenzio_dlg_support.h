// Small helpers shared by the main window's source files (not a public
// interface): printf formatting into a string, file names for display, and
// counting characters as the editor counts them.
#pragma once

#include <string>
#include <string_view>

namespace cadenzio {

// printf into a std::string.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

// The file-name part of a native path (after the last '/') in CP949 for the
// title and messages; characters CP949 cannot hold become '?'.
std::string DisplayFileName(std::string_view path);
// The whole path the same way.
std::string DisplayPath(std::string_view path);

// Characters of a CP949 text as the editor counts them: a double-byte
// character is one, and so is each line break (CR LF, LF or a lone CR).
long EditorCharCount(std::string_view text);

}  // namespace cadenzio
