// Small byte-string helpers of the document: white space as the C library
// sees it, trimming, ASCII lower case, and escaping for dumps.
#pragma once

#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

constexpr bool IsSpace(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view TrimSpace(std::string_view s);
std::string_view TrimSpaceRight(std::string_view s);

// Lower-cases ASCII letters, leaving multibyte characters whole.
std::string AsciiLower(std::string_view s, const CodePage& cp);

// Replaces every occurrence of `from` (exact bytes) with `to`; returns the count.
std::size_t ReplaceAll(std::string& s, std::string_view from, std::string_view to);

// Printable form of bytes: \r \n \t \\ \" and \xNN for other control and
// high bytes.
std::string Escape(std::string_view s);

}  // namespace cadenzio
