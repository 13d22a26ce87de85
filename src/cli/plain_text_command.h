// cadenzio-cli plain-text: the bare caption text of a SAMI file.
#pragma once

#include "cli/commands.h"

namespace cadenzio::cli {
extern const Command kPlainTextCommand;
}  // namespace cadenzio::cli
