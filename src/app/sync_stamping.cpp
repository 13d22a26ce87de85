// Sync stamping on the caption editor's line operations.
#include "app/sync_stamping.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "pattern/code_page.h"
#include "pattern/pattern_matcher.h"

namespace cadenzio {
namespace {

// A line holding a SYNC tag and a P tag and, after them, at most a
// non-breaking space and one SPANID or FONT opening tag.
constexpr std::string_view kBareSyncPattern =
    "^<SYNC[^>]+>[ \t]*<P[^>]*>[ \t]*(\\&NBSP;[ \t]*)?(<SPANID[^>]*>|<FONT[^>]*>)?[ \t\r\n]*$";
// Group 1: the tag prefix of a sync line with the blanks after the P tag.
constexpr std::string_view kSyncPrefixPattern = "^(<SYNC[^>]+>[ \t]*<P[^>]*>[ \t]*)(.*)$";
// A caption line that goes on on the next line.
constexpr std::string_view kContinuedPattern = "[^<]+<BR>[ \t\r\n]*$";

// The three patterns, compiled once per command.
class LinePatterns {
 public:
  explicit LinePatterns(const CodePage& cp)
      : bare_sync_(cp), sync_prefix_(cp), continued_(cp), cp_(cp) {
    bare_sync_.Compile(kBareSyncPattern);
    sync_prefix_.Compile(kSyncPrefixPattern);
    continued_.Compile(kContinuedPattern);
  }

  // Empty lines and bare sync lines hold no caption to stamp.
  bool Skippable(std::string_view line) {
    return line.empty() || line.front() == '\r' || bare_sync_.Find(line) >= 0;
  }
  bool Continued(std::string_view line) { return continued_.Find(line) >= 0; }
  // Characters of the tag prefix when the line is a sync line with its
  // caption on the same line; no value otherwise.
  std::optional<long> SyncPrefixChars(std::string_view line) {
    if (sync_prefix_.Find(line) < 0) return std::nullopt;
    const std::string_view prefix = sync_prefix_.Group(1);
    long chars = 0;
    for (std::size_t i = 0; i < prefix.size(); i += cp_.CharLength(prefix, i))
      ++chars;
    return chars;
  }

 private:
  PatternMatcher bare_sync_, sync_prefix_, continued_;
  const CodePage& cp_;
};

std::string ReadLine(const TextEditor& editor, long line) {
  return editor.GetLine(line, kStampLineLimit);
}

long CaretLine(const TextEditor& editor) {
  return editor.LineFromChar(editor.GetSelection().start);
}

long LineEnd(const TextEditor& editor, long line) {
  return editor.LineIndex(line) + editor.LineLength(line);
}

void PutCaret(TextEditor& editor, long pos) { editor.SetSelection({pos, pos}); }

std::string FormatSyncLine(const char* format, int32_t stamp_ms, std::string_view class_name) {
  const std::string name(class_name);
  const int size = std::snprintf(nullptr, 0, format, static_cast<int>(stamp_ms), name.c_str());
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, static_cast<int>(stamp_ms), name.c_str());
  out.pop_back();
  return out;
}

}  // namespace

int32_t StampTime(double position_seconds, int32_t delay) {
  double ms = std::trunc(position_seconds * 1000.0);
  if (std::isnan(ms)) ms = 0;
  // Out-of-range positions (a broken player) saturate instead of overflowing.
  constexpr double kLow = std::numeric_limits<int32_t>::min();
  constexpr double kHigh = std::numeric_limits<int32_t>::max();
  const double stamp = std::clamp(ms, kLow, kHigh) + delay;
  return static_cast<int32_t>(std::clamp(stamp, kLow, kHigh));
}

std::string CurrentClassName(std::string_view combo_text) {
  constexpr std::string_view kBlanks = " \t\r\n\v\f";
  const std::size_t first = combo_text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::string(kDefaultStampClass);
  const std::size_t last = combo_text.find_last_not_of(kBlanks);
  return std::string(combo_text.substr(first, last - first + 1));
}

void InsertSync(TextEditor& editor, int32_t stamp_ms, std::string_view class_name) {
  LinePatterns patterns(editor.code_page());

  // A caret at the end of a non-empty line stamps the line below it; the last
  // line first gets one to stamp.
  const long s = editor.GetSelection().start;
  const long line = editor.LineFromChar(s);
  if (!ReadLine(editor, line).empty() && s == LineEnd(editor, line)) {
    if (line == editor.LineCount() - 1) {
      PutCaret(editor, s);
      editor.ReplaceSelection("\r\n", false);
    }
    PutCaret(editor, editor.LineIndex(line + 1));
  }

  long k = CaretLine(editor);
  while (k < editor.LineCount() && patterns.Skippable(ReadLine(editor, k))) ++k;

  if (k < editor.LineCount()) {
    // A sync line that carries its caption: the caption moves to a line of
    // its own and the old tag stays behind as a bare sync line.
    if (const auto prefix = patterns.SyncPrefixChars(ReadLine(editor, k))) {
      PutCaret(editor, editor.LineIndex(k) + *prefix);
      editor.ReplaceSelection("\r\n", true);
      ++k;
    }
    PutCaret(editor, editor.LineIndex(k));
  } else {
    // Nothing but blank and bare sync lines below: the stamp goes where the
    // caret stands.
    PutCaret(editor, editor.GetSelection().start);
  }

  const std::string sync_line =
      FormatSyncLine("<SYNC Start=%d><P Class=%s>\r\n", stamp_ms, class_name);
  const long target = CaretLine(editor);
  PutCaret(editor, editor.LineIndex(target));
  editor.ReplaceSelection(sync_line, true);

  // The caret goes to the end of the caption's last line.
  long caption = target + 1;
  while (caption + 1 < editor.LineCount() && patterns.Continued(ReadLine(editor, caption)))
    ++caption;
  PutCaret(editor, LineEnd(editor, caption));
  editor.Focus();
}

void InsertClearSync(TextEditor& editor, int32_t stamp_ms, std::string_view class_name) {
  LinePatterns patterns(editor.code_page());
  const std::string clear_line =
      FormatSyncLine("<SYNC Start=%d><P Class=%s>&nbsp;\r\n", stamp_ms, class_name);

  const long count = editor.LineCount();
  long last = CaretLine(editor);
  while (last < count && patterns.Continued(ReadLine(editor, last))) ++last;
  last = std::min(last, count - 1);

  if (last + 1 < count) {
    PutCaret(editor, editor.LineIndex(last + 1));
    editor.ReplaceSelection(clear_line, true);
  } else {
    // The caption ends the text without a break: the clear line goes after
    // a new one, in the same undo step.
    PutCaret(editor, LineEnd(editor, last));
    editor.ReplaceSelection("\r\n" + clear_line, true);
  }

  // On to the next caption's text. The walk is bounded by the count from
  // before the insertion.
  long next = last + 2;
  while (next < count && patterns.Skippable(ReadLine(editor, next))) ++next;
  PutCaret(editor, editor.LineIndex(next));
  editor.Focus();
}

void DeleteCurrentLine(TextEditor& editor) {
  const long line = CaretLine(editor);
  const long start = editor.LineIndex(line);
  const long end =
      line + 1 < editor.LineCount() ? editor.LineIndex(line + 1) : LineEnd(editor, line);
  editor.SetSelection({start, end});
  editor.ReplaceSelection("", true);
  editor.Focus();
}

}  // namespace cadenzio
