#include "preview/caption_sync_index.h"

#include <algorithm>

namespace cadenzio {

uint32_t PreviewClassMask(int class_index) {
  return class_index >= 0 && class_index < 32 ? uint32_t{1} << class_index : 0;
}

std::size_t FindCaptionSync(const SamiDocument& doc, int32_t position_ms, uint32_t mask) {
  // Negative starts compare as very large numbers and so end the walk.
  const auto position = static_cast<uint32_t>(position_ms);
  std::size_t found = kNoCaptionSync;
  for (std::size_t i = 0; i < doc.nodes.size(); ++i) {
    const SamiNode& node = doc.nodes[i];
    if (node.kind != SamiNodeKind::Sync || (node.class_mask & mask) == 0) continue;
    const auto start = static_cast<uint32_t>(node.start);
    if (start > position) break;
    found = i;
    if (start == position) break;
  }
  return found;
}

std::size_t CaptionSyncIndex::Find(const SamiDocument& doc, int32_t position_ms, uint32_t mask) {
  if (!BuiltFor(doc, mask)) Build(doc, mask);
  std::size_t entry = Search(static_cast<uint32_t>(position_ms));
  if (entry != kNoCaptionSync && !StillHolds(doc, entry)) {
    Build(doc, mask);
    entry = Search(static_cast<uint32_t>(position_ms));
  }
  return entry == kNoCaptionSync ? kNoCaptionSync : node_index_[entry];
}

bool CaptionSyncIndex::BuiltFor(const SamiDocument& doc, uint32_t mask) const {
  return built_ && doc_ == &doc && node_storage_ == doc.nodes.data() &&
         node_count_ == doc.nodes.size() && mask_ == mask;
}

void CaptionSyncIndex::Build(const SamiDocument& doc, uint32_t mask) {
  node_index_.clear();
  start_.clear();
  running_max_.clear();
  uint32_t highest = 0;
  for (std::size_t i = 0; i < doc.nodes.size(); ++i) {
    const SamiNode& node = doc.nodes[i];
    if (node.kind != SamiNodeKind::Sync || (node.class_mask & mask) == 0) continue;
    const auto start = static_cast<uint32_t>(node.start);
    highest = std::max(highest, start);
    node_index_.push_back(i);
    start_.push_back(start);
    running_max_.push_back(highest);
  }
  built_ = true;
  doc_ = &doc;
  node_storage_ = doc.nodes.data();
  node_count_ = doc.nodes.size();
  mask_ = mask;
}

// Entry number of the answer, or kNoCaptionSync.
std::size_t CaptionSyncIndex::Search(uint32_t position) const {
  // The first entry whose start is at or after the position is where the
  // walk stops.
  const auto stop = std::lower_bound(running_max_.begin(), running_max_.end(), position);
  const auto k = static_cast<std::size_t>(stop - running_max_.begin());
  if (k < start_.size() && start_[k] == position) return k;
  return k == 0 ? kNoCaptionSync : k - 1;
}

bool CaptionSyncIndex::StillHolds(const SamiDocument& doc, std::size_t entry) const {
  const std::size_t i = node_index_[entry];
  if (i >= doc.nodes.size()) return false;
  const SamiNode& node = doc.nodes[i];
  return node.kind == SamiNodeKind::Sync && (node.class_mask & mask_) != 0 &&
         static_cast<uint32_t>(node.start) == start_[entry];
}

}  // namespace cadenzio
