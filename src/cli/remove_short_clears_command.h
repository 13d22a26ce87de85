// cadenzio-cli remove-short-clears: deletes clears that last too short.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {
extern const Command kRemoveShortClearsCommand;
}  // namespace cadenzio::cli
