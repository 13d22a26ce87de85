// Sync times as text: the clock form HH:MM:SS,mmm and the timing lines of the
// foreign caption formats (SRT, SUBRIP, SUB) that the importers and the export read.
//
// A sync time is a signed 32-bit count of milliseconds. The readers scan the
// text exactly as the C library's sscanf scans it with the formats quoted
// below: blanks before a number are skipped, a field's width counts its sign,
// a blank in the format matches any run of white space (or none), and the
// scan stops at the first mismatch, leaving the later fields 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadenzio {

// "%02d:%02d:%02d,%03d" of hours, minutes, seconds and milliseconds; hours
// take as many digits as they need (360000000 is "100:00:00,000"). Empty for
// 0 or less: a sync at 0 has no clock text.
std::string FormatClockTime(std::int32_t ms);

// Clock text scanned as "%02d:%02d:%02d,%03d" (width 2, 2, 2, 3), each field
// taken as a signed 16-bit value. Fields are counts, not fractions: "00:00:01,5"
// is 1005 ms; "123:00:00,000" reads hours 12 and stops at the third digit.
std::int32_t ParseClockTime(std::string_view text);

// Two times of an SRT timing line, scanned as
// "%2d:%2d:%2d,%3d --> %2d:%2d:%2d,%3d". Fields are not held to their usual
// ranges; fields the scan does not reach are 0, so a line read only up to its
// arrow has end 0. fields_read says how far the scan got (0 to 8).
struct SrtTiming {
  std::int32_t start = 0;
  std::int32_t end = 0;
  int fields_read = 0;
  bool operator==(const SrtTiming&) const = default;
};

// A line is an SRT timing line when it holds "-->" anywhere.
bool IsSrtTimingLine(std::string_view line);
SrtTiming ReadSrtTiming(std::string_view line);

// A SUBRIP timing line ("00:01:02.35,00:01:04.10") as SRT timing text
// ("00:01:02,350 --> 00:01:04,100\r\n"): each fraction gains a 0 to turn
// hundredths into milliseconds. No value when the line is no SUBRIP timing line.
std::optional<std::string> SubripToSrtTiming(std::string_view line);

// A SUB frame number in milliseconds: frame x 1000 in 32-bit arithmetic
// (wrapping past INT32_MAX), divided by the frame rate, truncated toward zero.
// A quotient that no int32 can hold (a rate of 0, say) gives INT32_MIN, the
// "indefinite integer" a hardware conversion gives.
std::int32_t SubFrameToMs(long frame, double rate);

}  // namespace cadenzio
