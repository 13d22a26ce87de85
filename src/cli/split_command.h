// cadenzio-cli split: one SAMI file per language class of a caption file.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {

extern const Command kSplitCommand;

}  // namespace cadenzio::cli
