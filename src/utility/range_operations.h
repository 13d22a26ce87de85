// The sync utility's three range operations on one analysed document: shifting
// the syncs of a range by a value, scaling a range onto a new range, and
// clearing syncs (moving the blank ones, or adding a blank one before every
// caption). Pure: a document or a file's bytes in, the document or bytes out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

// Operation codes handed from the window to the job.
enum class SyncOperation : int {
  RangeShift = 1,
  RatioScale = 2,
  ClearSyncs = 3,
  MergeTwo = 9,
  SrtWithText = 10,
  SrtWithIdx = 11,
};

// The four numbers of the window, in milliseconds. Start change is the shift
// of RangeShift and ClearSyncs and the new start of RatioScale; end change is
// the new end of RatioScale.
struct RangeNumbers {
  int32_t start_position = 0;
  int32_t start_change = 0;
  int32_t end_change = 0;
  int32_t end_position = 0;
};

// A range has no upper bound when its end is 0 or less, or before its start.
bool IsOpenEnded(const RangeNumbers& range);

// A start that a change carries past the 32-bit range is held at the range's
// nearest end rather than wrapped round to the other sign.
int32_t ToSyncTime(int64_t ms);
int32_t ToSyncTime(double ms);  // truncated toward zero first

// Every Sync node with start position <= t (< end position unless open-ended)
// gets t + start change. An end equal to the start selects nothing.
void RangeShift(SamiDocument& doc, const RangeNumbers& range);

// Maps start position..end position (both ends included) linearly onto start
// change..end change: (t - start position) / span x new span + start change in
// double precision, truncated toward zero. With ratio_over_whole every sync of
// the file is mapped by the same line. The syncs are taken one by one in file
// order, so a file whose syncs are out of order keeps its order. A span of 0
// or less maps nothing (the work command refuses it before).
void RatioScale(SamiDocument& doc, const RangeNumbers& range, bool ratio_over_whole);

// Clearing syncs. With a start change other than 0, every clear sync in the
// range moves by the change, but a clear sync with paragraphs moves to at most
// 50 ms before the next sync with paragraphs. With a change of 0, the document
// must have exactly one class: before every caption sync a blank sync is added
// at the caption's start - 50, or the clear sync just before it is moved there
// when it lies no more than 50 ms earlier (or later). Returns the CP949
// message of a refusal, empty on success; a refused document is unchanged.
std::string ClearSyncs(SamiDocument& doc, const RangeNumbers& range);

// The distance a moved or added blank sync keeps before the caption after it.
inline constexpr int32_t kClearLeadMs = 50;

// "&nbsp; 노드 추가작업은 1개 언어인 자막화일에만 사용가능 합니다." (CP949)
extern const char kClearSyncsOneLanguageMessage[];

struct RangeOutcome {
  std::string bytes;    // the written document when ok()
  std::string error;    // CP949 message of a refusal
  std::size_t syncs = 0;  // Sync nodes the analysed document holds
  bool ok() const { return error.empty(); }
};

// Analyses a file (mode 1 with break repair, else 0), applies one of the three
// range operations and writes the document. Other operation codes are refused.
// input is working text of the code page cp (caption_encoding.h).
RangeOutcome ApplyRangeOperation(SyncOperation operation, std::string_view input,
                                 const RangeNumbers& range, bool ratio_over_whole,
                                 bool break_repair, const CodePage& cp = CodePage::Cp949());

}  // namespace cadenzio
