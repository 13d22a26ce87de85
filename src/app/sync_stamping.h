// Sync stamping: the F2 and F3 commands that write a SYNC line timed from the
// player into the caption text at the right place and move the caret on to
// the next caption, and the deletion of the caret's line (CTRL+Y).
//
// Everything goes through the TextEditor's line operations (line starts,
// lengths and counts), never through assumed break widths. The caller tests
// that a medium is open before stamping and sounds the beep of the TING
// setting afterwards; these functions do every other step, including giving
// the editor the focus.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/editor.h"

namespace cadenzio {

// A line is examined by at most this many characters.
inline constexpr long kStampLineLimit = 1023;

// The class stamped when the class combo holds nothing but blanks.
inline constexpr std::string_view kDefaultStampClass = "KRCC";

// The stamp in whole milliseconds: delay + position * 1000.0, the product
// truncated toward zero before the delay is added (12.3456 s with -300 gives
// 12045).
int32_t StampTime(double position_seconds, int32_t delay);

// The class combo's text with leading and trailing white space removed, or
// "KRCC" when nothing is left.
std::string CurrentClassName(std::string_view combo_text);

// F2: passes over empty and bare sync lines from the caret down, splits a
// sync line that carries its caption on the same line, inserts
// "<SYNC Start=%d><P Class=%s>\r\n" before the caption line (one undo step)
// and leaves the caret at the end of the caption's last line (lines ending in
// <BR> continue it). A caret at the end of the non-empty last line first gets
// a line break appended, which is not undoable.
void InsertSync(TextEditor& editor, int32_t stamp_ms, std::string_view class_name);

// F3: inserts "<SYNC Start=%d><P Class=%s>&nbsp;\r\n" after the last line of
// the caption at the caret (one undo step) and puts the caret at the start of
// the next caption's text. When the caption's last line is the last line of
// the text, a line break and the clear line are appended at the end of the
// text, as the same one undo step.
void InsertClearSync(TextEditor& editor, int32_t stamp_ms, std::string_view class_name);

// CTRL+Y: removes the caret's line with its break (one undo step); on the
// last line only its text goes and the break before it stays.
void DeleteCurrentLine(TextEditor& editor);

}  // namespace cadenzio
