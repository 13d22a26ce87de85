// The caption editor as the system's logic sees it: a multi-line text control
// that speaks bytes of one code page: CP949 unless SetCodePage says UTF-8 (a
// caption read from a UTF-8 or UTF-16 file). Positions are character positions as the control
// counts them: a double-byte character is one position, and every line break
// (CR LF in the byte text) is one position. Lines are numbered from 0.
//
// Implemented by the Qt editor of the window and by MemoryEditor for tests.
#pragma once

#include <string>

#include "pattern/code_page.h"

namespace cadenzio {

struct CharRange {
  long start = 0;  // first character
  long end = 0;    // one past the last; start == end is a caret
  bool operator==(const CharRange&) const = default;
};

// How FindText searches: downwards from range.start to range.end, or upwards
// from range.start towards range.end (range.end <= range.start), the match
// nearest to range.start first. Whole words and case as the find dialog asks.
struct FindOptions {
  bool down = true;
  bool whole_word = false;
  bool match_case = false;
};

class TextEditor {
 public:
  virtual ~TextEditor() = default;

  // The code page of every byte text given and taken from now on. Text
  // already there is not converted: set it just before SetText.
  virtual void SetCodePage(const CodePage& cp) = 0;
  virtual const CodePage& code_page() const = 0;
  // Whether the text holds a character the code page cannot carry, which
  // only a control that takes any character the user types can. Byte texts
  // give such a character as '?'; a control that holds characters keeps them
  // when SetCodePage switches to UTF-8, which carries them all.
  virtual bool HoldsCharactersOutsideCodePage() const = 0;

  virtual long LineCount() const = 0;
  virtual long LineFromChar(long pos) const = 0;   // line holding pos
  virtual long LineIndex(long line) const = 0;     // first character of line, -1 past the end
  virtual long LineLength(long line) const = 0;    // characters of line, without its break
  // Bytes of the line, without its break, cut after at most max_chars characters.
  virtual std::string GetLine(long line, long max_chars) const = 0;

  virtual CharRange GetSelection() const = 0;
  virtual void SetSelection(CharRange range) = 0;
  // Replaces the selection with CP949 text (CR LF or LF for breaks); the caret
  // ends after the new text. An undoable replacement is one undo step.
  virtual void ReplaceSelection(const std::string& text, bool undoable) = 0;

  // The whole content as CP949 bytes with CR LF line ends, and its replacement.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;

  virtual long TextLength() const = 0;  // characters, line breaks counted as one

  // The range of the match, or {-1, -1} when there is none. An end below 0
  // means the end of the text.
  virtual CharRange FindText(CharRange range, const std::string& what,
                             FindOptions options) const = 0;
  virtual long FirstVisibleLine() const = 0;
  virtual void LineScroll(long lines) = 0;  // positive scrolls the text up

  // The clipboard commands of the editor's popup menu, and undo of the last
  // undoable step (false when there is none).
  virtual void Copy() = 0;
  virtual void Cut() = 0;
  virtual void Paste() = 0;
  virtual void Clear() = 0;  // deletes the selection, not undoable
  virtual bool Undo() = 0;

  // The face of the editor's default character format, CP949.
  virtual std::string FaceName() const = 0;
  virtual void SetFaceName(const std::string& face) = 0;

  virtual bool IsModified() const = 0;
  virtual void SetModified(bool modified) = 0;
  // The most characters the user may type or paste (0: no limit). An input
  // that would take the text past it is refused whole, with a beep where the
  // editor has a speaker. The program's own changes (SetText,
  // ReplaceSelection) are not bounded by it: a longer caption opens whole and
  // can still be stamped, replaced in and cut down.
  virtual void SetTextLimit(long chars) = 0;
  virtual long TextLimit() const = 0;
  // The most characters the editor can hold at all. SetText takes a longer
  // text whole, so the logic compares before loading.
  virtual long Capacity() const = 0;
  virtual void Focus() = 0;
};

// Whether the user may put `chars` characters in place of the selection.
inline bool InputFitsLimit(const TextEditor& editor, long chars) {
  const long limit = editor.TextLimit();
  if (limit <= 0) return true;
  const CharRange selection = editor.GetSelection();
  return editor.TextLength() - (selection.end - selection.start) + chars <= limit;
}

}  // namespace cadenzio
