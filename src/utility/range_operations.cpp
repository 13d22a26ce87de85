// The range operations of the sync utility; see range_operations.h.
#include "utility/range_operations.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "sami/sami_node_edit.h"

namespace cadenzio {

// &nbsp; 노드 추가작업은 1개 언어인 자막화일에만 사용가능 합니다.
const char kClearSyncsOneLanguageMessage[] =
    "&nbsp; \xB3\xEB\xB5\xE5 \xC3\xDF\xB0\xA1\xC0\xDB\xBE\xF7\xC0\xBA 1\xB0\xB3 \xBE\xF0\xBE\xEE"
    "\xC0\xCE \xC0\xDA\xB8\xB7\xC8\xAD\xC0\xCF\xBF\xA1\xB8\xB8 \xBB\xE7\xBF\xEB\xB0\xA1\xB4\xC9 "
    "\xC7\xD5\xB4\xCF\xB4\xD9.";

namespace {

constexpr int64_t kMinTime = std::numeric_limits<int32_t>::min();
constexpr int64_t kMaxTime = std::numeric_limits<int32_t>::max();

// Whether t lies in the range that RangeShift and ClearSyncs select.
bool InShiftRange(int32_t t, const RangeNumbers& range, bool open_ended) {
  return t >= range.start_position && (open_ended || t < range.end_position);
}

// The blank sync and paragraph that ClearSyncs puts before a caption.
void AddBlankSync(std::vector<SamiNode>& out, int32_t start, uint32_t masks,
                  const std::string& class_name, uint32_t class_mask) {
  SamiNode sync;
  sync.kind = SamiNodeKind::Sync;
  sync.start = start;
  sync.text = "<SYNC Start=" + std::to_string(start) + ">";
  sync.clear_mask = masks;
  sync.class_mask = masks;
  out.push_back(std::move(sync));
  SamiNode blank;
  blank.kind = SamiNodeKind::Paragraph;
  blank.class_name = class_name;
  blank.text = "<P Class=" + class_name + ">&nbsp;\r\n";
  blank.clear_mask = class_mask;  // what the analyser gives a blank paragraph
  out.push_back(std::move(blank));
}

// Moves the clear syncs of the range by the change.
void MoveClearSyncs(SamiDocument& doc, const RangeNumbers& range) {
  const bool open_ended = IsOpenEnded(range);
  std::vector<SamiNode>& nodes = doc.nodes;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    SamiNode& node = nodes[i];
    if (node.kind != SamiNodeKind::Sync || node.clear_mask == 0) continue;
    if (!InShiftRange(node.start, range, open_ended)) continue;
    int64_t moved = int64_t{node.start} + range.start_change;
    if (node.class_mask != 0) {
      // The next sync with paragraphs is at the latest the next clear sync,
      // so these scans together cross the node list once.
      for (std::size_t j = i + 1; j < nodes.size(); ++j) {
        if (nodes[j].kind == SamiNodeKind::Sync && nodes[j].class_mask != 0) {
          moved = std::min(moved, int64_t{nodes[j].start} - kClearLeadMs);
          break;
        }
      }
    }
    node.SetSyncStart(ToSyncTime(moved));
  }
}

// A blank sync before every caption of a one-language document. The list is
// rebuilt rather than inserted into, which would be quadratic.
void AddClearSyncs(SamiDocument& doc) {
  const std::string& class_name = doc.classes.front();
  const uint32_t class_mask = doc.ClassMask(class_name);
  // Whether the blank sync before a caption is the clear sync p moved, or a new one.
  auto moves = [](const SamiNode& p, int64_t lead) { return p.clear_mask != 0 && p.start >= lead; };
  // A first pass counts the additions, so the new list is allocated once.
  std::size_t added = 0;
  const SamiNode* last = nullptr;
  for (const SamiNode& node : doc.nodes) {
    if (node.kind != SamiNodeKind::Sync) continue;
    if (node.clear_mask == 0 && last && !moves(*last, int64_t{node.start} - kClearLeadMs)) ++added;
    last = &node;
  }
  std::vector<SamiNode> out;
  out.reserve(doc.nodes.size() + 2 * added);
  std::optional<std::size_t> previous;  // the last Sync node of the file, in out
  for (SamiNode& node : doc.nodes) {
    if (node.kind == SamiNodeKind::Sync) {
      if (node.clear_mask == 0 && previous) {
        SamiNode& p = out[*previous];
        const int64_t lead = int64_t{node.start} - kClearLeadMs;
        if (moves(p, lead)) {
          p.SetSyncStart(ToSyncTime(lead));
        } else {
          const uint32_t masks = p.class_mask;  // p may move when out grows
          AddBlankSync(out, ToSyncTime(lead), masks, class_name, class_mask);
        }
      }
      previous = out.size();
    }
    out.push_back(std::move(node));
  }
  doc.nodes = std::move(out);
}

}  // namespace

bool IsOpenEnded(const RangeNumbers& range) {
  return range.end_position <= 0 || range.end_position < range.start_position;
}

int32_t ToSyncTime(int64_t ms) { return static_cast<int32_t>(std::clamp(ms, kMinTime, kMaxTime)); }

int32_t ToSyncTime(double ms) {
  if (std::isnan(ms)) return 0;
  const double t = std::trunc(ms);
  if (t <= static_cast<double>(kMinTime)) return static_cast<int32_t>(kMinTime);
  if (t >= static_cast<double>(kMaxTime)) return static_cast<int32_t>(kMaxTime);
  return static_cast<int32_t>(t);
}

void RangeShift(SamiDocument& doc, const RangeNumbers& range) {
  const bool open_ended = IsOpenEnded(range);
  for (SamiNode& node : doc.nodes) {
    if (node.kind != SamiNodeKind::Sync || !InShiftRange(node.start, range, open_ended)) continue;
    node.SetSyncStart(ToSyncTime(int64_t{node.start} + range.start_change));
  }
}

void RatioScale(SamiDocument& doc, const RangeNumbers& range, bool ratio_over_whole) {
  const int64_t span = int64_t{range.end_position} - range.start_position;
  const int64_t new_span = int64_t{range.end_change} - range.start_change;
  if (span <= 0) return;
  for (SamiNode& node : doc.nodes) {
    if (node.kind != SamiNodeKind::Sync) continue;
    const int32_t t = node.start;
    if (!ratio_over_whole && (t < range.start_position || t > range.end_position)) continue;
    // Divided first, then multiplied, in double precision.
    const double offset = static_cast<double>(int64_t{t} - range.start_position);
    const double mapped = offset / static_cast<double>(span) * static_cast<double>(new_span) +
                          static_cast<double>(range.start_change);
    node.SetSyncStart(ToSyncTime(mapped));
  }
}

std::string ClearSyncs(SamiDocument& doc, const RangeNumbers& range) {
  if (range.start_change != 0) {
    MoveClearSyncs(doc, range);
    return {};
  }
  if (doc.classes.size() != 1) return kClearSyncsOneLanguageMessage;
  AddClearSyncs(doc);
  return {};
}

RangeOutcome ApplyRangeOperation(SyncOperation operation, std::string_view input,
                                 const RangeNumbers& range, bool ratio_over_whole,
                                 bool break_repair, const CodePage& cp) {
  RangeOutcome outcome;
  SamiDocument doc(cp);
  if (!doc.Analyse(input, break_repair ? kAnalyseFixBreaks : kAnalysePlain)) {
    outcome.error = kAnalyseInitFailedMessage;
    return outcome;
  }
  outcome.syncs = static_cast<std::size_t>(std::count_if(
      doc.nodes.begin(), doc.nodes.end(),
      [](const SamiNode& node) { return node.kind == SamiNodeKind::Sync; }));
  switch (operation) {
    case SyncOperation::RangeShift: RangeShift(doc, range); break;
    case SyncOperation::RatioScale: RatioScale(doc, range, ratio_over_whole); break;
    case SyncOperation::ClearSyncs: outcome.error = ClearSyncs(doc, range); break;
    default: outcome.error = "not a range operation"; break;
  }
  if (outcome.ok()) outcome.bytes = doc.Write();
  return outcome;
}

}  // namespace cadenzio
