// The product's own addresses, shown in the hotkey help and opened by the
// help menu.
#pragma once

#include <string_view>

namespace cadenzio {

inline constexpr std::string_view kProductHomePage = "https://github.com/cadenzio/cadenzio";
inline constexpr std::string_view kProductMail = "cadenzio@users.noreply.github.com";
inline constexpr std::string_view kProgramName = "Cadenzio";  // the caption of message boxes

}  // namespace cadenzio
