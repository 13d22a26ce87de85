// cadenzio-cli import: SRT, MicroDVD SUB or SUBRIP text to a new SAMI file.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {

extern const Command kImportCommand;

}  // namespace cadenzio::cli
