// The time conversion window's "변 환" button: clock text to milliseconds and
// milliseconds to clock text.
#pragma once

#include <string>
#include <string_view>

namespace cadenzio {

// A text holding ':' is clock text: its ParseClockTime value as a decimal
// number ("01:02:03,456" gives "3723456"). Any other text is read as a
// decimal integer (leading blanks and a sign allowed, reading stops at the
// first other character, 0 when there is none) and gives its FormatClockTime
// form; a value that is not positive gives "".
std::string ConvertTimeText(std::string_view input);

}  // namespace cadenzio
