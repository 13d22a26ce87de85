// cadenzio-cli merge, srt-text and srt-idx: the sync utility's merge of two
// SAMI files and its two SRT builders, each writing to a named output file.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {
extern const Command kMergeCommand;
extern const Command kSrtTextCommand;
extern const Command kSrtIdxCommand;
}  // namespace cadenzio::cli
