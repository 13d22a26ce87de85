// cadenzio-cli: the headless front-end that runs the caption tools in batch.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace {

void PrintProgramHelp() {
  std::printf("Usage: cadenzio-cli COMMAND [OPTIONS] ARGS...\n\n"
              "Runs the tools of the Cadenzio caption editor on SAMI files without a window.\n"
              "Files are read and written as bytes (code page 949); messages are shown in UTF-8.\n\n"
              "Commands:\n");
  for (const auto* command : cadenzio::cli::Commands())
    std::printf("  %-20.*s %.*s\n", static_cast<int>(command->name.size()), command->name.data(),
                static_cast<int>(command->summary.size()), command->summary.data());
  std::printf("\n'cadenzio-cli COMMAND --help' shows a command's own help.\n"
              "Exit status: 0 done, 1 the tool failed (message on stderr), 2 usage error.\n");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace cadenzio::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintProgramHelp();
    return args.empty() ? kExitUsage : kExitOk;
  }
  const Command* command = FindCommand(args[0]);
  if (!command) {
    std::fprintf(stderr, "cadenzio-cli: unknown command '%s'\n", args[0].c_str());
    std::fprintf(stderr, "Run 'cadenzio-cli --help' for the list of commands.\n");
    return kExitUsage;
  }
  args.erase(args.begin());
  for (const auto& a : args) {
    if (a == "--help" || a == "-h") {
      std::printf("%.*s", static_cast<int>(command->help.size()), command->help.data());
      return kExitOk;
    }
  }
  return command->run(args);
}
