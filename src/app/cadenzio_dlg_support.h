// Small helpers shared by the main window's source files (not a public
// interface): printf formatting into a string, file names for display, and
// counting characters as the editor counts them.
#pragma once

#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

// printf into a std::string.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...);

// The file-name part of a native path (after the last '/') in CP949 for the
// title and messages; characters CP949 cannot hold become '?'.
std::string DisplayFileName(std::string_view path);
// The whole path the same way.
std::string DisplayPath(std::string_view path);

// Characters of a text as the editor counts them: a character of the code
// page is one, and so is each line break (CR LF, LF or a lone CR).
long EditorCharCount(std::string_view text, const CodePage& cp = CodePage::Cp949());

}  // namespace cadenzio
