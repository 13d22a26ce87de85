// Node edits; see sami_node_edit.h.
#include "sami/sami_node_edit.h"

#include <string>

#include "pattern/code_page.h"

namespace cadenzio {
namespace {

// Whether text holds word at pos, ASCII letters in any case.
bool WordAt(std::string_view text, std::size_t pos, std::string_view upper) {
  if (text.size() - pos < upper.size()) return false;
  for (std::size_t i = 0; i < upper.size(); ++i)
    if (AsciiUpper(static_cast<unsigned char>(text[pos + i])) != upper[i]) return false;
  return true;
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  return pos;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

StartDigits FindSyncStartDigits(std::string_view text) {
  text = text.substr(0, text.find('\0'));  // where the pattern's subject ends
  // The greedy ".*" makes the last place where the rest matches the one
  // taken; every step after it is a plain run, so nothing else backtracks.
  for (std::size_t p = text.size() < 4 ? 0 : text.size() - 4 + 1; p-- > 0;) {
    if (!WordAt(text, p, "SYNC")) continue;
    std::size_t i = SkipBlanks(text, p + 4);
    if (!WordAt(text, i, "START")) continue;
    i = SkipBlanks(text, i + 5);
    if (i >= text.size() || text[i] != '=') continue;
    const std::size_t from = SkipBlanks(text, i + 1);
    std::size_t to = from + (from < text.size() && text[from] == '-');
    const std::size_t first_digit = to;
    while (to < text.size() && IsDigit(text[to])) ++to;
    if (to == first_digit) continue;
    return {from, to};
  }
  return {};
}

bool SamiNode::SetSyncStart(int32_t value) {
  SamiNode& node = *this;
  if (node.kind != SamiNodeKind::Sync) return false;
  const StartDigits digits = FindSyncStartDigits(node.text);
  if (!digits) return false;
  // Only the digits are replaced, so bytes after a NUL (where the pattern's
  // subject would end) are kept as well.
  node.text.replace(digits.from, digits.to - digits.from, std::to_string(value));
  node.start = value;
  return true;
}

}  // namespace cadenzio
