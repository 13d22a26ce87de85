// Short clear-sync removal over a document's node list.
#include "tools/short_clears.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace cadenzio {
namespace {

// Removes the marked nodes, keeping the others in order.
void Compact(std::vector<SamiNode>& nodes, const std::vector<bool>& removed) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (removed[i]) continue;
    if (kept != i) nodes[kept] = std::move(nodes[i]);
    ++kept;
  }
  nodes.resize(kept);
}

}  // namespace

int RemoveShortClears(SamiDocument& doc, int32_t max_gap) {
  std::vector<uint32_t> class_masks;
  for (const std::string& name : doc.classes) class_masks.push_back(doc.ClassMask(name));
  if (class_masks.empty()) class_masks.push_back(doc.ClassMask(""));

  int count = 0;
  std::vector<bool> removed;
  for (const uint32_t mask : class_masks) {
    // Every removed range lies before the sync that ends it, so within one
    // walk marking the nodes is the same as deleting them at once.
    removed.assign(doc.nodes.size(), false);
    std::optional<std::size_t> previous;
    bool any = false;
    for (std::size_t i = 0; i < doc.nodes.size(); ++i) {
      const SamiNode& sync = doc.nodes[i];
      if (sync.kind != SamiNodeKind::Sync || (sync.class_mask & mask) == 0) continue;
      if (previous && sync.clear_mask == 0) {
        const SamiNode& clear = doc.nodes[*previous];
        // In 64 bits: starts span the whole 32-bit range.
        const int64_t gap = int64_t{sync.start} - int64_t{clear.start};
        if (clear.clear_mask != 0 && gap <= max_gap) {
          for (std::size_t j = *previous; j < i; ++j) removed[j] = true;
          ++count;
          any = true;
        }
      }
      previous = i;
    }
    if (any) Compact(doc.nodes, removed);
  }
  return count;
}

std::string ShortClearsDoneMessage(int removed) {
  // 작업완료 - [ ... ]개 클리어 싱크 삭제됨
  return "\xC0\xDB\xBE\xF7\xBF\xCF\xB7\xE1 - [" + std::to_string(removed) +
         "]\xB0\xB3 \xC5\xAC\xB8\xAE\xBE\xEE \xBD\xCC\xC5\xA9 \xBB\xE8\xC1\xA6\xB5\xCA";
}

}  // namespace cadenzio
