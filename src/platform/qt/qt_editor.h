// The caption editor of the window: a QPlainTextEdit that is also the
// TextEditor the system's logic drives.
//
// Positions are the document's own positions. Every CP949 character decodes
// to one UTF-16 unit and every line break is one block separator, so they are
// the character positions of TextEditor. The one exception: a lead byte and a
// byte of the trail range that together are no CP949 character decode as two
// raw bytes (see qt_text.h) and so take two positions here, where MemoryEditor
// counts them as one character.
//
// Undo mirrors MemoryEditor: an undoable replacement is one undo step (an edit
// block), a replacement that is not undoable and SetText empty the undo stack,
// and Undo selects the range the undone replacement had replaced. Typing by
// the user adds Qt's own undo steps in between, which Undo takes back too.
//
// In UTF-8 (SetCodePage), every character of the basic plane is one position
// as for MemoryEditor, and a byte that starts no character is one position
// of its own (a private-use character, qt_text.h); a character beyond the
// basic plane takes two positions here.
//
// Text that the user typed and CP949 cannot hold comes back from Text() and
// GetLine() of a CP949 editor as '?'; the document keeps it, and
// HoldsCharactersOutsideCodePage tells, so that a save can go over to UTF-8.
// The editor does not wrap lines, so a line of the text is a line of the
// display.
//
// The text limit bounds what the user types, commits through an input method,
// pastes or drops: an input that would pass it is refused with a beep.
//
// The widget belongs to its Qt parent like any widget; all calls on the
// user-interface thread.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <string>
#include <vector>

#include "platform/editor.h"

namespace cadenzio {

class QtEditor : public QPlainTextEdit, public TextEditor {
  Q_OBJECT

 public:
  explicit QtEditor(QWidget* parent = nullptr);

  // The document keeps characters; only the conversion changes.
  void SetCodePage(const CodePage& cp) override { cp_ = &cp; }
  const CodePage& code_page() const override { return *cp_; }
  // Goes over the whole text: for a save, not for every key.
  bool HoldsCharactersOutsideCodePage() const override;

  long LineCount() const override;
  // Positions outside the text are taken as its nearest end.
  long LineFromChar(long pos) const override;
  long LineIndex(long line) const override;
  long LineLength(long line) const override;  // 0 for a line that does not exist
  std::string GetLine(long line, long max_chars) const override;

  CharRange GetSelection() const override;
  // An end below 0 means the end of the text; other positions are clamped into
  // the text, and a reversed range is put in order.
  void SetSelection(CharRange range) override;
  void ReplaceSelection(const std::string& text, bool undoable) override;

  std::string Text() const override;
  // CR LF, LF and a lone CR each end a line. The caret goes to 0; undo and the
  // modified flag are cleared, as after loading a file.
  void SetText(const std::string& text) override;
  long TextLength() const override;

  // Matches whole characters; case folding touches ASCII letters only; whole
  // words are bounded by characters that are not ASCII letters, digits or '_'.
  // A text with line breaks matches across lines.
  CharRange FindText(CharRange range, const std::string& what,
                     FindOptions options) const override;
  long FirstVisibleLine() const override;
  void LineScroll(long lines) override;

  // Copy and Cut use the system clipboard; Paste inserts its plain text as one
  // undoable step.
  void Copy() override;
  void Cut() override;
  void Paste() override;
  void Clear() override;
  bool Undo() override;

  std::string FaceName() const override;
  void SetFaceName(const std::string& face) override;

  bool IsModified() const override;
  void SetModified(bool modified) override;
  void SetTextLimit(long chars) override { text_limit_ = chars; }
  long TextLimit() const override { return text_limit_; }
  // Loading costs more per character as the text grows (0.05 s for 1 MB,
  // 0.6 s for 10 MB, 3.8 s for 50 MB); past this the window would stand
  // still for seconds.
  long Capacity() const override { return kCapacity; }
  void Focus() override;

  static constexpr long kCapacity = 16L << 20;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  struct UndoStep {
    int depth_before;  // the document's undo depth before and after the step
    int depth_after;
    CharRange replaced;
  };

  void Replace(const QString& text, bool undoable);
  // Whether the user may put chars characters in place of the selection;
  // beeps when not.
  bool AcceptInput(qsizetype chars);
  long Clamp(long pos) const;

  std::vector<UndoStep> undo_steps_;
  long text_limit_ = 0;
  const CodePage* cp_ = &CodePage::Cp949();
};

}  // namespace cadenzio
