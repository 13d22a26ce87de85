// An in-memory TextEditor, the test double for every editor command: lines of
// CP949 bytes, positions that count a double-byte character and a line break as one.
//
// Beyond the interface it keeps an undo stack of whole-text snapshots, one per
// undoable replacement. A replacement that is not undoable, and SetText, empty
// the stack, so an undo never skips over a change it did not record. SetText
// also clears the modified flag, as loading a file into the control does.
// Paste is the one input of the user's here, so the text limit bounds it.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/editor.h"

namespace cadenzio {

class MemoryEditor : public TextEditor {
 public:
  MemoryEditor() = default;
  explicit MemoryEditor(const std::string& text) { SetText(text); }

  // Counts the characters of the text again in the new code page.
  void SetCodePage(const CodePage& cp) override;
  const CodePage& code_page() const override { return *cp_; }
  bool HoldsCharactersOutsideCodePage() const override { return false; }  // it holds bytes

  long LineCount() const override { return static_cast<long>(lines_.size()); }
  // Positions outside the text are taken as its nearest end.
  long LineFromChar(long pos) const override;
  long LineIndex(long line) const override;
  long LineLength(long line) const override;  // 0 for a line that does not exist
  std::string GetLine(long line, long max_chars) const override;

  CharRange GetSelection() const override { return selection_; }
  // An end below 0 means the end of the text; other positions are clamped into
  // the text, and a reversed range is put in order.
  void SetSelection(CharRange range) override;
  void ReplaceSelection(const std::string& text, bool undoable) override;

  std::string Text() const override;
  // CR LF, LF and a lone CR each end a line. The caret goes to 0.
  void SetText(const std::string& text) override;

  long TextLength() const override { return TotalChars(); }
  // Compares bytes; a character is matched whole, never from its trail byte.
  // Whole words are bounded by bytes that are not ASCII letters, digits or '_'.
  CharRange FindText(CharRange range, const std::string& what,
                     FindOptions options) const override;
  long FirstVisibleLine() const override { return first_visible_; }
  // Keeps the first visible line within the text.
  void LineScroll(long lines) override;

  void Copy() override;
  void Cut() override;
  void Paste() override;
  void Clear() override;
  // Brings back the text before the last undoable replacement, with the
  // replaced range selected. False when there is nothing to undo.
  bool Undo() override;

  std::string FaceName() const override { return face_; }
  void SetFaceName(const std::string& face) override { face_ = face; }

  bool IsModified() const override { return modified_; }
  void SetModified(bool modified) override { modified_ = modified; }
  void SetTextLimit(long chars) override { text_limit_ = chars; }
  long TextLimit() const override { return text_limit_; }
  long Capacity() const override { return capacity_; }
  void Focus() override { ++focus_count_; }

  void set_capacity(long chars) { capacity_ = chars; }
  std::size_t undo_depth() const { return undo_.size(); }
  long text_limit() const { return text_limit_; }
  int focus_count() const { return focus_count_; }
  const std::string& clipboard() const { return clipboard_; }
  void set_clipboard(std::string text) { clipboard_ = std::move(text); }

 private:
  struct Snapshot {
    std::vector<std::string> lines;
    std::vector<long> chars;
    CharRange selection;
  };
  struct Place {
    std::size_t line;
    std::size_t byte;  // offset in the line
  };

  long TotalChars() const;
  Place PlaceOf(long pos) const;
  // Brings starts_ up to date with chars_.
  void UpdateStarts() const;

  std::vector<std::string> lines_{std::string()};  // never empty
  // Characters of each line, changed together with lines_, and the first
  // character of each line, rebuilt from them when stale: a position costs a
  // binary search, not a count over the whole text.
  std::vector<long> chars_{0};
  mutable std::vector<long> starts_;
  mutable bool starts_stale_ = true;
  CharRange selection_;
  std::vector<Snapshot> undo_;
  bool modified_ = false;
  long text_limit_ = 0;
  long capacity_ = std::numeric_limits<long>::max();
  int focus_count_ = 0;
  long first_visible_ = 0;
  std::string clipboard_;
  std::string face_;
  const CodePage* cp_ = &CodePage::Cp949();
};

}  // namespace cadenzio
