// cadenzio-cli shift, scale and add-clears: the sync utility's range
// operations on a file, with the window's checks and messages.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {
extern const Command kShiftCommand;
extern const Command kScaleCommand;
extern const Command kAddClearsCommand;
}  // namespace cadenzio::cli
