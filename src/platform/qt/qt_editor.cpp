// The caption editor on QPlainTextEdit. Lines are the document's blocks, so
// line and position look-ups go through QTextDocument's block map
// (logarithmic) and never convert the whole text.
#include "platform/qt/qt_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

std::string EncodeText(const QString& text, const CodePage& cp) {
  return ToWorkingText(text, cp);
}

bool IsWordChar(QChar c) {
  const char16_t u = c.unicode();
  return u == '_' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

char16_t FoldAscii(QChar c) {
  const char16_t u = c.unicode();
  return u >= 'A' && u <= 'Z' ? static_cast<char16_t>(u + 32) : u;
}

// Matches a search text, whose breaks are paragraph separators, against the
// document from a block and an offset in it.
class Matcher {
 public:
  Matcher(QString what, FindOptions options) : what_(std::move(what)), options_(options) {}

  bool Same(QChar a, QChar b) const {
    return options_.match_case ? a == b : FoldAscii(a) == FoldAscii(b);
  }
  // Could a match start at offset of a block with this text? (The offset past
  // the text is the block's break.)
  bool FirstMatches(const QString& text, qsizetype offset) const {
    return offset < text.size() ? Same(text[offset], what_[0])
                                : what_[0] == QChar::ParagraphSeparator;
  }

  // End position of a match at offset of block (whose text is text), or -1.
  long MatchAt(QTextBlock block, const QString& text, qsizetype offset) const {
    QString line = text;
    qsizetype at = offset;
    for (const QChar w : what_) {
      if (at < line.size()) {
        if (!Same(line[at], w)) return -1;
        ++at;
      } else {
        if (w != QChar::ParagraphSeparator) return -1;
        block = block.next();
        if (!block.isValid()) return -1;
        line = block.text();
        at = 0;
      }
    }
    if (options_.whole_word) {
      const bool word_before = offset > 0 && IsWordChar(text[offset - 1]);
      const bool word_after = at < line.size() && IsWordChar(line[at]);
      if ((word_before && IsWordChar(what_.front())) || (word_after && IsWordChar(what_.back())))
        return -1;
    }
    return block.position() + static_cast<long>(at);
  }

 private:
  QString what_;
  FindOptions options_;
};

}  // namespace

QtEditor::QtEditor(QWidget* parent) : QPlainTextEdit(parent) {
  // Both scroll bars and no wrapping: a line of the text is a line on screen,
  // and the vertical scroll bar counts lines.
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setUndoRedoEnabled(true);
}

long QtEditor::Clamp(long pos) const { return std::clamp(pos, 0L, TextLength()); }

long QtEditor::TextLength() const { return document()->characterCount() - 1; }

long QtEditor::LineCount() const { return document()->blockCount(); }

long QtEditor::LineFromChar(long pos) const {
  return document()->findBlock(static_cast<int>(Clamp(pos))).blockNumber();
}

long QtEditor::LineIndex(long line) const {
  if (line < 0 || line >= LineCount()) return -1;
  return document()->findBlockByNumber(static_cast<int>(line)).position();
}

long QtEditor::LineLength(long line) const {
  if (line < 0 || line >= LineCount()) return 0;
  return document()->findBlockByNumber(static_cast<int>(line)).length() - 1;
}

std::string QtEditor::GetLine(long line, long max_chars) const {
  if (line < 0 || line >= LineCount() || max_chars <= 0) return {};
  const QString text = document()->findBlockByNumber(static_cast<int>(line)).text();
  return EncodeText(text.left(static_cast<qsizetype>(std::min<long>(max_chars, text.size()))), *cp_);
}

CharRange QtEditor::GetSelection() const {
  const QTextCursor cursor = textCursor();
  return {cursor.selectionStart(), cursor.selectionEnd()};
}

void QtEditor::SetSelection(CharRange range) {
  if (range.end < 0) range.end = TextLength();
  range.start = Clamp(range.start);
  range.end = Clamp(range.end);
  if (range.start > range.end) std::swap(range.start, range.end);
  QTextCursor cursor(document());
  cursor.setPosition(static_cast<int>(range.start));
  cursor.setPosition(static_cast<int>(range.end), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
}

void QtEditor::ReplaceSelection(const std::string& text, bool undoable) {
  Replace(FromWorkingLines(text, *cp_), undoable);
}

void QtEditor::Replace(const QString& text, bool undoable) {
  QTextDocument* doc = document();
  QTextCursor cursor = textCursor();
  if (undoable) {
    const CharRange replaced = GetSelection();
    const int depth_before = doc->availableUndoSteps();
    cursor.beginEditBlock();
    cursor.insertText(text);
    cursor.endEditBlock();
    const int depth_after = doc->availableUndoSteps();
    // Steps undone earlier and overwritten now are gone from Qt's stack.
    std::erase_if(undo_steps_, [&](const UndoStep& s) { return s.depth_after > depth_before; });
    // A replacement that changed nothing leaves Qt's stack alone but is still
    // a step (depth_after == depth_before) that Undo takes back.
    undo_steps_.push_back({depth_before, depth_after, replaced});
  } else {
    // With undo off the document records nothing and forgets every step, so
    // a later undo cannot skip over this change.
    doc->setUndoRedoEnabled(false);
    cursor.insertText(text);
    doc->setUndoRedoEnabled(true);
    undo_steps_.clear();
  }
  setTextCursor(cursor);
  doc->setModified(true);
}

bool QtEditor::HoldsCharactersOutsideCodePage() const {
  if (cp_->kind() != CodePage::Kind::Cp949) return false;
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  return !ToCp949(text).has_value();
}

std::string QtEditor::Text() const {
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  return EncodeText(text, *cp_);
}

void QtEditor::SetText(const std::string& text) {
  document()->setPlainText(FromWorkingLines(text, *cp_));
  document()->clearUndoRedoStacks();
  undo_steps_.clear();
  SetSelection({0, 0});
  document()->setModified(false);
}

CharRange QtEditor::FindText(CharRange range, const std::string& what,
                             FindOptions options) const {
  constexpr CharRange kNone{-1, -1};
  QString pattern = FromWorkingLines(what, *cp_);
  if (pattern.isEmpty()) return kNone;
  pattern.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
  const Matcher matcher(pattern, options);
  const QTextDocument* doc = document();
  const long total = TextLength();
  if (range.end < 0) range.end = total;
  const long from = Clamp(range.start), to = Clamp(range.end);

  if (options.down) {
    for (QTextBlock block = doc->findBlock(static_cast<int>(from));
         block.isValid() && block.position() < to; block = block.next()) {
      const QString text = block.text();
      const long base = block.position();
      for (qsizetype offset = std::max(0L, from - base);
           offset <= text.size() && base + offset < to; ++offset) {
        if (!matcher.FirstMatches(text, offset)) continue;
        const long end = matcher.MatchAt(block, text, offset);
        if (end >= 0 && end <= to) return {base + static_cast<long>(offset), end};
      }
    }
  } else {
    const long last = std::min(from, total - 1);  // a match starts before the end
    if (last < to) return kNone;
    for (QTextBlock block = doc->findBlock(static_cast<int>(last));
         block.isValid() && block.position() + block.length() > to; block = block.previous()) {
      const QString text = block.text();
      const long base = block.position();
      for (qsizetype offset = std::min<long>(last - base, text.size());
           offset >= 0 && base + offset >= to; --offset) {
        if (!matcher.FirstMatches(text, offset)) continue;
        const long end = matcher.MatchAt(block, text, offset);
        if (end >= 0) return {base + static_cast<long>(offset), end};
      }
    }
  }
  return kNone;
}

long QtEditor::FirstVisibleLine() const { return firstVisibleBlock().blockNumber(); }

void QtEditor::LineScroll(long lines) {
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(static_cast<int>(std::clamp<long>(bar->value() + lines, bar->minimum(),
                                                  bar->maximum())));
}

void QtEditor::Copy() {
  if (textCursor().hasSelection()) copy();
}

void QtEditor::Cut() {
  if (!textCursor().hasSelection()) return;
  copy();
  Replace(QString(), true);
}

void QtEditor::Paste() {
  const QString text = BreaksAsNewlines(QGuiApplication::clipboard()->text());
  if (AcceptInput(text.size())) Replace(text, true);
}

bool QtEditor::AcceptInput(qsizetype chars) {
  if (InputFitsLimit(*this, static_cast<long>(chars))) return true;
  QApplication::beep();
  return false;
}

void QtEditor::keyPressEvent(QKeyEvent* event) {
  // What the widget would insert for the key: a break, or printable text.
  const QString text = event->text();
  qsizetype typed = 0;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    typed = 1;
  } else if (!text.isEmpty() && (text.front().isPrint() || text.front() == u'\t')) {
    typed = text.size();
  }
  if (typed > 0 && !isReadOnly() && !AcceptInput(typed)) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

// A composing syllable is shown, not inserted; only the committed text counts.
void QtEditor::inputMethodEvent(QInputMethodEvent* event) {
  if (event->commitString().isEmpty() || AcceptInput(event->commitString().size())) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent without_commit(event->preeditString(), event->attributes());
  QPlainTextEdit::inputMethodEvent(&without_commit);
}

void QtEditor::insertFromMimeData(const QMimeData* source) {
  if (source->hasText() && !AcceptInput(BreaksAsNewlines(source->text()).size())) return;
  QPlainTextEdit::insertFromMimeData(source);
}

void QtEditor::Clear() { Replace(QString(), false); }

bool QtEditor::Undo() {
  QTextDocument* doc = document();
  const int depth = doc->availableUndoSteps();
  if (!undo_steps_.empty() && undo_steps_.back().depth_before == depth) {
    SetSelection(undo_steps_.back().replaced);  // the step changed nothing
    undo_steps_.pop_back();
    doc->setModified(true);
    return true;
  }
  if (depth == 0) return false;
  QTextCursor cursor = textCursor();
  doc->undo(&cursor);
  const int depth_now = doc->availableUndoSteps();
  if (!undo_steps_.empty() && undo_steps_.back().depth_after == depth &&
      undo_steps_.back().depth_before == depth_now) {
    const CharRange replaced = undo_steps_.back().replaced;
    undo_steps_.pop_back();
    SetSelection(replaced);
  } else {
    setTextCursor(cursor);  // a step of the user's own typing
  }
  std::erase_if(undo_steps_, [&](const UndoStep& s) { return s.depth_after > depth_now; });
  // Like the replacement it takes back, an undo leaves the text modified.
  doc->setModified(true);
  return true;
}

std::string QtEditor::FaceName() const { return ToCp949Lossy(font().family()); }

void QtEditor::SetFaceName(const std::string& face) {
  QFont changed = font();
  changed.setFamily(FromCp949(face));
  setFont(changed);
}

bool QtEditor::IsModified() const { return document()->isModified(); }

void QtEditor::SetModified(bool modified) { document()->setModified(modified); }

void QtEditor::Focus() { setFocus(Qt::OtherFocusReason); }

}  // namespace cadenzio
