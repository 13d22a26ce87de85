// The start value of a sync line in the editor text: reading it, rewriting it,
// and the sync-nudge command that shifts the sync line nearest above the caret.
//
// A sync line holds SYNC, optional blanks, START, optional blanks, '=',
// optional blanks and decimal digits, letters in any case. When a line holds
// several sync tags the last one counts.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialogs.h"
#include "platform/editor.h"

namespace cadenzio {

// The line's start value, or -1 when it is no sync line (a start written with
// a minus sign is none). Digits too many for a long give LONG_MAX, as strtol.
long ReadSyncStart(std::string_view line);

// Writes value ("%ld", a minus sign kept) in place of the line's start digits,
// leaving the rest as it was; a line that is no sync line stays unchanged.
// Always 1.
int ReplaceSyncStart(std::string& line, long value);

// Finds the sync line at or above the caret's line (the line of the selection
// start), reading at most 1000 characters of each line. None: -1, nothing
// changes. Step 0: returns the start found and changes nothing. Otherwise
// shows the found line in a message box, then replaces the whole line, as one
// undoable step, with the line rewritten to start + step and its trailing
// white space trimmed, restores the selection, and returns start + step.
long ShiftSyncAtCaret(TextEditor& editor, Dialogs& dialogs, long step);

}  // namespace cadenzio
