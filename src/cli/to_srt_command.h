// cadenzio-cli to-srt: SubRip export of a SAMI file.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {

extern const Command kToSrtCommand;

}  // namespace cadenzio::cli
