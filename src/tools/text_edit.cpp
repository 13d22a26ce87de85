// Positional edits and the case-ignoring replacement.
#include "tools/text_edit.h"

#include "sami/sami_text.h"

namespace cadenzio {

void InsertAt(std::string& text, long index, std::string_view piece) {
  if (piece.empty()) return;
  if (index < 0) index = 0;
  const auto at = static_cast<std::size_t>(index);
  if (at >= text.size()) {
    text.resize(at, ' ');
    text.append(piece);
  } else {
    text.insert(at, piece);
  }
}

void DeleteAt(std::string& text, long index, long count) {
  if (index < 0 || static_cast<std::size_t>(index) >= text.size()) return;
  const auto at = static_cast<std::size_t>(index);
  const std::size_t left = text.size() - at;
  const std::size_t n = (count < 0 || static_cast<std::size_t>(count) > left)
                            ? left
                            : static_cast<std::size_t>(count);
  text.erase(at, n);
}

void ReplaceAt(std::string& text, long index, long count, std::string_view piece) {
  DeleteAt(text, index, count);
  InsertAt(text, index, piece);
}

int ReplaceNoCase(std::string& text, std::string_view piece, std::string_view replacement,
                  bool all, const CodePage& cp) {
  if (piece.empty()) return 0;
  const std::string lower = AsciiLower(text, cp);
  const std::string lower_piece = AsciiLower(piece, cp);
  // Positions are found in the lower-case copy, which keeps the original's
  // length; the real text has moved by the replacements made so far.
  long shift = 0;
  int count = 0;
  for (std::size_t pos = 0; pos + lower_piece.size() <= lower.size();) {
    if (lower.compare(pos, lower_piece.size(), lower_piece) != 0) {
      pos += cp.CharLength(lower, pos);
      continue;
    }
    ReplaceAt(text, static_cast<long>(pos) + shift, static_cast<long>(piece.size()), replacement);
    shift += static_cast<long>(replacement.size()) - static_cast<long>(piece.size());
    ++count;
    if (!all) break;
    pos += lower_piece.size();
  }
  return count;
}

}  // namespace cadenzio
