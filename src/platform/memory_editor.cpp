// The in-memory editor; positions are recomputed from the lines on every call,
// which is slow but leaves no cached state to go stale.
#include "platform/memory_editor.h"

#include <algorithm>
#include <utility>

#include "pattern/code_page.h"

namespace cadenzio {
namespace {

long CharCount(std::string_view s) {
  long n = 0;
  for (std::size_t i = 0; i < s.size(); i += CodePage::Cp949().CharLength(s, i)) ++n;
  return n;
}

// Byte offset of the character chars characters into s (s.size() past the end).
std::size_t ByteOffset(std::string_view s, long chars) {
  std::size_t i = 0;
  for (; chars > 0 && i < s.size(); --chars) i += CodePage::Cp949().CharLength(s, i);
  return i;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

long MemoryEditor::TotalChars() const {
  long total = LineCount() - 1;  // the breaks
  for (const auto& line : lines_) total += CharCount(line);
  return total;
}

MemoryEditor::Place MemoryEditor::PlaceOf(long pos) const {
  pos = std::max(pos, 0L);
  long start = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const long len = CharCount(lines_[i]);
    if (pos <= start + len || i + 1 == lines_.size())
      return {i, ByteOffset(lines_[i], pos - start)};
    start += len + 1;
  }
  return {0, 0};  // not reached: lines_ is never empty
}

long MemoryEditor::LineFromChar(long pos) const { return static_cast<long>(PlaceOf(pos).line); }

long MemoryEditor::LineIndex(long line) const {
  if (line < 0 || line >= LineCount()) return -1;
  long start = 0;
  for (long i = 0; i < line; ++i) start += CharCount(lines_[static_cast<std::size_t>(i)]) + 1;
  return start;
}

long MemoryEditor::LineLength(long line) const {
  if (line < 0 || line >= LineCount()) return 0;
  return CharCount(lines_[static_cast<std::size_t>(line)]);
}

std::string MemoryEditor::GetLine(long line, long max_chars) const {
  if (line < 0 || line >= LineCount()) return {};
  const std::string& s = lines_[static_cast<std::size_t>(line)];
  return s.substr(0, ByteOffset(s, max_chars));
}

void MemoryEditor::SetSelection(CharRange range) {
  const long total = TotalChars();
  if (range.end < 0) range.end = total;
  range.start = std::clamp(range.start, 0L, total);
  range.end = std::clamp(range.end, 0L, total);
  if (range.start > range.end) std::swap(range.start, range.end);
  selection_ = range;
}

void MemoryEditor::ReplaceSelection(const std::string& text, bool undoable) {
  if (undoable) {
    undo_.push_back({lines_, selection_});
  } else {
    undo_.clear();
  }
  const Place from = PlaceOf(selection_.start);
  const Place to = PlaceOf(selection_.end);
  std::vector<std::string> added = SplitLines(text);
  const std::size_t caret_line = from.line + added.size() - 1;
  added.front().insert(0, lines_[from.line], 0, from.byte);
  const std::size_t caret_byte = added.back().size();
  added.back() += lines_[to.line].substr(to.byte);

  const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(from.line);
  lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(to.line) + 1);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(from.line), added.begin(), added.end());

  const long caret = LineIndex(static_cast<long>(caret_line)) +
                     CharCount(std::string_view(lines_[caret_line]).substr(0, caret_byte));
  selection_ = {caret, caret};
  modified_ = true;
}

std::string MemoryEditor::Text() const {
  std::string out;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) out += "\r\n";
    out += lines_[i];
  }
  return out;
}

void MemoryEditor::SetText(const std::string& text) {
  lines_ = SplitLines(text);
  selection_ = {};
  undo_.clear();
  modified_ = false;
}

bool MemoryEditor::Undo() {
  if (undo_.empty()) return false;
  lines_ = std::move(undo_.back().lines);
  selection_ = undo_.back().selection;
  undo_.pop_back();
  modified_ = true;
  return true;
}

}  // namespace cadenzio
