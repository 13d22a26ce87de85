// The frame rate of the import's title and frame-rate question: the choices
// offered and the check its OK button makes.
#pragma once

#include <array>
#include <string_view>

namespace cadenzio {

inline constexpr std::array<std::string_view, 5> kFrameRateChoices = {
    "23.976", "24.000", "25.000", "29.970", "30.000"};
// What the rate field holds when the window opens, enabled or not.
inline constexpr std::string_view kInitialFrameRate = "23.976";

// "Frame Rate 값은 10.0 에서 50.0 사이 수치 입니다." with the caption "오 류"
// and a warning icon, when the check refuses the rate.
inline constexpr std::string_view kFrameRateRefusal =
    "Frame Rate \xB0\xAA\xC0\xBA 10.0 \xBF\xA1\xBC\xAD 50.0 \xBB\xE7\xC0\xCC "
    "\xBC\xF6\xC4\xA1 \xC0\xD4\xB4\xCF\xB4\xD9.";
inline constexpr std::string_view kFrameRateRefusalCaption = "\xBF\xC0 \xB7\xF9";  // "오 류"

// True when the whole text is a decimal number (digits with at most one
// point, no sign, blank or exponent) from 10.0 to 50.0, both included.
bool IsAcceptedFrameRate(std::string_view text);

}  // namespace cadenzio
