// The commands of cadenzio-cli: one table that names each command, its usage
// and the function that runs it. Every command reads and writes files as
// bytes; only messages are converted for the terminal.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace cadenzio::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for the program's help
  std::string_view help;     // the command's own help, usage first
  int (*run)(std::span<const std::string> args);
};

std::span<const Command* const> Commands();
const Command* FindCommand(std::string_view name);

// Messages to stderr: CP949 texts are converted to the terminal's UTF-8.
void PrintError(std::string_view utf8);
void PrintCp949Error(std::string_view cp949);
// A usage error: the message, then the command's usage line; returns kExitUsage.
int UsageError(const Command& command, std::string_view utf8);

}  // namespace cadenzio::cli
