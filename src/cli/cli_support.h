// What every cadenzio-cli command shares: argument parsing, reading inputs,
// writing outputs safely, the settings, messages and the stopwatch.
#pragma once

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "sami/sami_document.h"
#include "settings/settings.h"

namespace cadenzio::cli {

// Options of the form --name VALUE (or -o VALUE) and positional arguments.
struct ParsedArgs {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::string> flags;  // options without a value that were given
  std::string error;               // first problem found, in UTF-8

  const std::string* Option(std::string_view name) const;
  bool Flag(std::string_view name) const;
};

// `valued` names the options that take a value, `flags` those that do not;
// any other argument starting with "--" is an error.
ParsedArgs Parse(std::span<const std::string> args, std::span<const std::string_view> valued,
                 std::span<const std::string_view> flags = {});

// The whole file, or nothing after printing why (missing, a folder, unreadable).
std::optional<std::string> ReadInput(const std::string& path);

// Analyses a file into doc in the given mode; prints the failure.
bool AnalyseFile(const std::string& path, int mode, SamiDocument& doc);

// A caption file read and analysed, for the commands that refuse input that
// is no caption text: an empty file, one holding NUL bytes, or one without a
// single sync tag. Prints why it refuses.
struct CaptionInput {
  std::string bytes;
  SamiDocument doc;
};
std::optional<CaptionInput> ReadCaptionDocument(const std::string& path, int mode);

// Writes bytes to path through a temporary file in the same folder renamed
// into place, so an existing file is replaced only by a complete one. An
// empty text makes an empty file. Prints the failure.
bool WriteOutput(const std::string& path, std::string_view bytes);

// The settings: from --settings FILE when given, else from the program
// folder's "Cadenzio.ini" (defaults when there is none).
Settings LoadSettings(const ParsedArgs& parsed);
// The same for the commands that refuse a --settings FILE that does not
// exist (it would silently give the defaults); prints the refusal.
std::optional<Settings> LoadNamedSettings(const ParsedArgs& parsed);

// Seconds since construction, for the tools' completion messages.
class Stopwatch {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace cadenzio::cli
