// The sync error check: a plain-text report of the timing faults of an
// analysed caption (negative and decreasing syncs, captions shown too briefly
// or too long, empty captions), written language class by language class.
#pragma once

#include <cstdint>
#include <string>

#include "sami/sami_document.h"

namespace cadenzio {

// A threshold of 0 stands for these (ms).
inline constexpr int64_t kDefaultMinInterval = 800;
inline constexpr int64_t kDefaultMaxInterval = 8000;

struct SyncCheckResult {
  std::string report;  // in the document's code page (CP949 or UTF-8), CR LF line ends
  long errors = 0;     // every section and class together, as the last line says
};

// Walks a document analysed with kAnalyseKeepBlanks (so empty paragraphs are
// still there to be found) and writes the four sections of the report and
// the total. min_interval and max_interval are the MIN and MAX settings in
// ms; 0 means the default. Node texts are written as they stand, line breaks
// included, up to a NUL byte (where a C string ends).
SyncCheckResult CheckSyncErrors(const SamiDocument& doc, uint32_t min_interval,
                                uint32_t max_interval);

// The lines that end a check, with the elapsed seconds ("%5.3f"): the window
// appends them to the report; the CLI prints them on stderr.
std::string SyncCheckCompletionText(double seconds);

// " 흠... 체크할 데이타가 없잖아요... ": there is nothing to check.
extern const char kSyncCheckNoDataMessage[];

}  // namespace cadenzio
