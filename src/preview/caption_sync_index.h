// Which sync the caption preview shows at a playback position: the plain walk
// over the document's nodes, and an index that gives the same answer in
// logarithmic time for the 25 ms refresh of long files.
//
// The answer: among the Sync nodes whose class mask shares a bit with the
// chosen mask, in node order, walk until the first one whose start (compared
// as unsigned 32-bit) equals the position, which is the answer, or is after
// it; the answer is then the one before (none when it is the first). When no
// start stops the walk, the last such sync is the answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sami/sami_document.h"

namespace cadenzio {

inline constexpr std::size_t kNoCaptionSync = static_cast<std::size_t>(-1);

// 2 to the power of a class index: 0 for -1 (a class the document lacks) and
// for indices without a bit of their own (32 and above).
uint32_t PreviewClassMask(int class_index);

// The node index of the answer above, or kNoCaptionSync. Walks from the first
// node: time linear in the position of the answer.
std::size_t FindCaptionSync(const SamiDocument& doc, int32_t position_ms, uint32_t mask);

// The same answer from a table of the matching syncs' starts and their running
// maximum: the first start at or after the position is the first place where
// the running maximum reaches it, so a binary search over the maximum finds it
// whatever order the starts are in.
//
// The table is built on the first Find for a document and mask (linear time)
// and rebuilt when the mask, the document object, its node count or node
// storage differ, or when the sync it finds no longer holds the recorded start
// and mask. An edit that keeps all of these (a re-analysis of the same number
// of nodes into the same storage, a start changed in place) is not noticed:
// the owner calls Reset() after every change of the document's nodes.
//
// Owned by the caller, one per document it renders; not thread-safe.
class CaptionSyncIndex {
 public:
  std::size_t Find(const SamiDocument& doc, int32_t position_ms, uint32_t mask);
  void Reset() { built_ = false; }

 private:
  bool BuiltFor(const SamiDocument& doc, uint32_t mask) const;
  void Build(const SamiDocument& doc, uint32_t mask);
  std::size_t Search(uint32_t position) const;
  bool StillHolds(const SamiDocument& doc, std::size_t entry) const;

  bool built_ = false;
  const SamiDocument* doc_ = nullptr;
  const SamiNode* node_storage_ = nullptr;
  std::size_t node_count_ = 0;
  uint32_t mask_ = 0;
  // One entry per matching sync, in node order.
  std::vector<std::size_t> node_index_;
  std::vector<uint32_t> start_;
  std::vector<uint32_t> running_max_;
};

}  // namespace cadenzio
