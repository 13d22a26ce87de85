// The in-memory editor. Every line's character count is kept beside the line
// and changed with it; the line starts are summed from the counts again after
// any change, on the next call that needs them. A position then costs a
// binary search over the line starts, so commands on a text of a million
// characters stay fast (bench/stamping_bench.cpp).
#include "platform/memory_editor.h"

#include <algorithm>
#include <utility>

#include "pattern/code_page.h"

namespace cadenzio {
namespace {

long CharCount(std::string_view s, const CodePage& cp) {
  long n = 0;
  for (std::size_t i = 0; i < s.size(); i += cp.CharLength(s, i)) ++n;
  return n;
}

// Byte offset of the character chars characters into s (s.size() past the end).
std::size_t ByteOffset(std::string_view s, long chars, const CodePage& cp) {
  std::size_t i = 0;
  for (; chars > 0 && i < s.size(); --chars) i += cp.CharLength(s, i);
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

void MemoryEditor::UpdateStarts() const {
  if (!starts_stale_) return;
  starts_.resize(chars_.size());
  long start = 0;
  for (std::size_t i = 0; i < chars_.size(); ++i) {
    starts_[i] = start;
    start += chars_[i] + 1;
  }
  starts_stale_ = false;
}

long MemoryEditor::TotalChars() const {
  UpdateStarts();
  return starts_.back() + chars_.back();
}

MemoryEditor::Place MemoryEditor::PlaceOf(long pos) const {
  pos = std::max(pos, 0L);
  UpdateStarts();
  // The first line whose end is at or after pos: the line before the first
  // start past pos. A position past the text falls on the last line.
  const auto next = std::upper_bound(starts_.begin(), starts_.end(), pos);
  const std::size_t i = static_cast<std::size_t>(next - starts_.begin()) - 1;
  return {i, ByteOffset(lines_[i], pos - starts_[i], *cp_)};
}

long MemoryEditor::LineFromChar(long pos) const { return static_cast<long>(PlaceOf(pos).line); }

long MemoryEditor::LineIndex(long line) const {
  if (line < 0 || line >= LineCount()) return -1;
  UpdateStarts();
  return starts_[static_cast<std::size_t>(line)];
}

long MemoryEditor::LineLength(long line) const {
  if (line < 0 || line >= LineCount()) return 0;
  return chars_[static_cast<std::size_t>(line)];
}

std::string MemoryEditor::GetLine(long line, long max_chars) const {
  if (line < 0 || line >= LineCount()) return {};
  const std::string& s = lines_[static_cast<std::size_t>(line)];
  return s.substr(0, ByteOffset(s, max_chars, *cp_));
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
    undo_.push_back({lines_, chars_, selection_});
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
  std::vector<long> added_chars;
  for (const auto& line : added) added_chars.push_back(CharCount(line, *cp_));
  const auto first_count = chars_.begin() + static_cast<std::ptrdiff_t>(from.line);
  chars_.erase(first_count, chars_.begin() + static_cast<std::ptrdiff_t>(to.line) + 1);
  chars_.insert(chars_.begin() + static_cast<std::ptrdiff_t>(from.line), added_chars.begin(),
                added_chars.end());
  starts_stale_ = true;

  const long caret = LineIndex(static_cast<long>(caret_line)) +
                     CharCount(std::string_view(lines_[caret_line]).substr(0, caret_byte), *cp_);
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

void MemoryEditor::SetCodePage(const CodePage& cp) {
  cp_ = &cp;
  chars_.clear();
  for (const auto& line : lines_) chars_.push_back(CharCount(line, *cp_));
  starts_stale_ = true;
}

void MemoryEditor::SetText(const std::string& text) {
  lines_ = SplitLines(text);
  chars_.clear();
  for (const auto& line : lines_) chars_.push_back(CharCount(line, *cp_));
  starts_stale_ = true;
  selection_ = {};
  undo_.clear();
  modified_ = false;
}

CharRange MemoryEditor::FindText(CharRange range, const std::string& what,
                                 FindOptions options) const {
  const CharRange none{-1, -1};
  if (what.empty()) return none;
  const std::string text = Text();
  const long total = TotalChars();
  if (range.end < 0) range.end = total;
  // Character position of every byte offset that starts a character.
  std::vector<long> char_at(text.size() + 1, -1);
  std::vector<std::size_t> byte_of;
  {
    long pos = 0;
    std::size_t i = 0;
    while (i < text.size()) {
      char_at[i] = pos;
      byte_of.push_back(i);
      const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
      i += crlf ? 2 : cp_->CharLength(text, i);
      ++pos;
    }
    char_at[text.size()] = pos;
    byte_of.push_back(text.size());
  }
  auto fold = [&](char c) {
    return options.match_case ? c : static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  };
  auto is_word = [](char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u == '_' || (u >= '0' && u <= '9') || ((u | 32) >= 'a' && (u | 32) <= 'z');
  };
  auto match_at = [&](long pos) -> long {  // end position of a match starting at pos, or -1
    const std::size_t b = byte_of[static_cast<std::size_t>(pos)];
    if (b + what.size() > text.size()) return -1;
    for (std::size_t k = 0; k < what.size(); ++k)
      if (fold(text[b + k]) != fold(what[k])) return -1;
    const long end = char_at[b + what.size()];
    if (end < 0) return -1;  // would end inside a character
    if (options.whole_word) {
      if (b > 0 && is_word(text[b - 1]) && is_word(what.front())) return -1;
      const std::size_t e = b + what.size();
      if (e < text.size() && is_word(text[e]) && is_word(what.back())) return -1;
    }
    return end;
  };
  if (options.down) {
    const long from = std::clamp(range.start, 0L, total), to = std::clamp(range.end, 0L, total);
    for (long pos = from; pos < to; ++pos) {
      const long end = match_at(pos);
      if (end >= 0 && end <= to) return {pos, end};
    }
  } else {
    const long from = std::clamp(range.start, 0L, total), to = std::clamp(range.end, 0L, total);
    for (long pos = from; pos >= to; --pos) {
      if (pos >= total) continue;
      const long end = match_at(pos);
      if (end >= 0) return {pos, end};
    }
  }
  return none;
}

void MemoryEditor::LineScroll(long lines) {
  first_visible_ = std::clamp(first_visible_ + lines, 0L, LineCount() - 1);
}

void MemoryEditor::Copy() {
  if (selection_.start == selection_.end) return;
  const Place from = PlaceOf(selection_.start), to = PlaceOf(selection_.end);
  std::string out;
  for (std::size_t line = from.line; line <= to.line; ++line) {
    const std::size_t begin = line == from.line ? from.byte : 0;
    const std::size_t end = line == to.line ? to.byte : lines_[line].size();
    out.append(lines_[line], begin, end - begin);
    if (line != to.line) out += "\r\n";
  }
  clipboard_ = std::move(out);
}

void MemoryEditor::Cut() {
  if (selection_.start == selection_.end) return;
  Copy();
  ReplaceSelection("", true);
}

void MemoryEditor::Paste() {
  const std::vector<std::string> lines = SplitLines(clipboard_);
  long chars = static_cast<long>(lines.size()) - 1;  // the breaks
  for (const auto& line : lines) chars += CharCount(line, *cp_);
  if (InputFitsLimit(*this, chars)) ReplaceSelection(clipboard_, true);
}

void MemoryEditor::Clear() { ReplaceSelection("", false); }

bool MemoryEditor::Undo() {
  if (undo_.empty()) return false;
  lines_ = std::move(undo_.back().lines);
  chars_ = std::move(undo_.back().chars);
  starts_stale_ = true;
  selection_ = undo_.back().selection;
  undo_.pop_back();
  modified_ = true;
  return true;
}

}  // namespace cadenzio
