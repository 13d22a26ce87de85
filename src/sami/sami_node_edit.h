// Edits of single document nodes that keep the node's text and its fields in
// step: the tools that move syncs change the start in both places at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

// The text of a sync's start as the editing tools find it: SYNC, START and
// '=' in any case with blanks between, then the digits. The leading ".*" is
// greedy, so when a node's text names several starts the last one is taken.
// A minus sign before the digits is accepted, so a sync that an earlier shift
// moved below zero (written "-500") can be moved back.
inline constexpr char kSyncStartPattern[] =
    "^(.*SYNC[ \t]*START[ \t]*=[ \t]*)(-?[0-9]+)(.*)$";

// Where the pattern finds the start digits in text (group 2, the sign
// included): the bytes [from, to). Found directly, with exactly the
// pattern's answer (tests/utility/range_operations_test.cpp compares them):
// the range tools rewrite every sync of a file.
struct StartDigits {
  std::size_t from = 0, to = 0;
  explicit operator bool() const { return to != 0; }
};
StartDigits FindSyncStartDigits(std::string_view text);

// SamiNode::SetSyncStart rewrites a Sync node's start: the digits of the start in its text become
// value ("%ld", a minus sign for a negative value) and the start field takes
// value; every other byte of the text stays as it was, line ends and letter
// case included. A node of another kind, or a sync whose text holds no start
// the pattern finds, is left unchanged (text and start still agree then).
// Returns whether the node changed.

}  // namespace cadenzio
