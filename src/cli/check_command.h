// cadenzio-cli check: the sync error check of a SAMI file.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {

extern const Command kCheckCommand;

}  // namespace cadenzio::cli
