// Removal of clears that last too short: a clear sync followed by the next
// caption of the same class within a few milliseconds only makes the caption
// blink off, so it goes and the caption before it stays on screen.
#pragma once

#include <cstdint>
#include <string>

#include "sami/sami_document.h"

namespace cadenzio {

// For each declared class in order (one class with the empty name, mask
// kAllClasses, when none is declared), walks the Sync nodes that show or clear
// that class. When such a sync S clears nothing (clear mask 0), the previous
// one P of the class clears something (clear mask not 0, of any class) and
// S.start - P.start <= max_gap, P and every node after it up to S are removed
// (paragraphs and comments of any class) and one removal is counted. S then
// becomes the previous sync, so a chain of caption, clear, caption, clear,
// caption loses every short clear in one run. Returns the removals.
int RemoveShortClears(SamiDocument& doc, int32_t max_gap);

// "작업완료 - [%d]개 클리어 싱크 삭제됨" (CP949): the message that reports n.
std::string ShortClearsDoneMessage(int removed);

}  // namespace cadenzio
