// Sync lines in the editor text; see sync_line.h.
#include "tools/sync_line.h"

#include <cstdlib>

#include "pattern/pattern_matcher.h"

namespace cadenzio {
namespace {

// The patterns hold real TAB bytes in their blank sets. The leading ".*" is
// greedy, which is what makes the last sync tag of a line the one that counts.
constexpr std::string_view kReadPattern = "^.*SYNC[ \t]*START[ \t]*=[ \t]*([0-9]+).*$";
constexpr std::string_view kReplacePattern = "^(.*SYNC[ \t]*START[ \t]*=[ \t]*)([0-9]+)(.*)$";

constexpr long kMaxLineChars = 1000;  // how much of each line the search reads

bool IsTrailingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

long ReadSyncStart(std::string_view line) {
  PatternMatcher m;
  m.Compile(kReadPattern);
  if (m.Find(line) < 0) return -1;
  const std::string digits(m.Group(1));  // strtol needs the NUL
  return std::strtol(digits.c_str(), nullptr, 10);
}

int ReplaceSyncStart(std::string& line, long value) {
  PatternMatcher m;
  m.Compile(kReplacePattern);
  if (m.Find(line) < 0) return 1;
  std::string out(m.Group(1));
  out += std::to_string(value);
  out += m.Group(3);
  line = std::move(out);
  return 1;
}

long ShiftSyncAtCaret(TextEditor& editor, Dialogs& dialogs, long step) {
  const CharRange saved = editor.GetSelection();
  long line = editor.LineFromChar(saved.start);
  std::string text;
  long start = -1;
  for (; line >= 0; --line) {
    text = editor.GetLine(line, kMaxLineChars);
    start = ReadSyncStart(text);
    if (start >= 0) break;
  }
  if (start < 0) return -1;
  if (step == 0) return start;

  dialogs.ShowMessage(text, "Cadenzio", MessageIcon::None, MessageButtons::Ok);
  // A start near LONG_MAX wraps instead of overflowing.
  const auto shifted =
      static_cast<long>(static_cast<unsigned long>(start) + static_cast<unsigned long>(step));
  ReplaceSyncStart(text, shifted);
  while (!text.empty() && IsTrailingSpace(text.back())) text.pop_back();

  // The whole line up to its break (which counts one position); on the last
  // line there is no next line start to stop before.
  const long first = editor.LineIndex(line);
  editor.SetSelection({first, first + editor.LineLength(line)});
  editor.ReplaceSelection(text, true);
  editor.SetSelection(saved);
  return shifted;
}

}  // namespace cadenzio
