// What every cadenzio-cli command shares: argument parsing, reading inputs,
// writing outputs safely, the settings, messages and the stopwatch.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "sami/sami_document.h"
#include "settings/caption_encoding.h"
#include "settings/settings.h"
#include "tools/stopwatch.h"

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

// The encodings of a command that reads a caption: --encoding
// auto|cp949|utf-8|utf-16le|utf-16be for its input(s), and, where the
// command writes text taken from the caption, --output-encoding
// auto|cp949|utf-8|utf-8-bom|utf-16le|utf-16be (auto: the input's own, with
// its BOM when it had one; UTF-16 is written with a BOM).
inline constexpr std::string_view kEncodingOption = "--encoding";
#define CADENZIO_ENCODING_HELP                                                               \
  "--encoding auto|cp949|utf-8|utf-16le|utf-16be says how the input is read (auto,\n"        \
  "the default: a byte order mark decides, else valid UTF-8 holding a multibyte\n"          \
  "character is UTF-8, else CP949).\n"
#define CADENZIO_OUTPUT_ENCODING_HELP                                                        \
  "The output is written in the input's encoding, with its byte order mark when it\n"       \
  "had one, or in --output-encoding cp949|utf-8|utf-8-bom|utf-16le|utf-16be. A\n"           \
  "character that CP949 cannot hold is refused, naming its line, and nothing is\n"          \
  "written.\n"

inline constexpr std::string_view kOutputEncodingOption = "--output-encoding";
struct OutputEncoding {
  CaptionEncoding encoding = CaptionEncoding::Cp949;
  bool bom = false;
};
struct EncodingOptions {
  EncodingChoice input = EncodingChoice::Auto;
  std::optional<OutputEncoding> output;  // none: the input's encoding
  // The encoding an output of the input `from` is written in.
  OutputEncoding For(const DecodedCaption& from) const;
};
// Reads the two options; an unknown name gives the usage error in error.
EncodingOptions ReadEncodingOptions(const ParsedArgs& parsed, std::string* error);

// A caption file read and made into working text (caption_encoding.h), or
// nothing after printing why. A notice of bytes kept as they are is printed.
std::optional<DecodedCaption> ReadCaptionText(const std::string& path, EncodingChoice choice);

// Analyses a file into doc (made anew in the file's code page) in the given
// mode; prints the failure. text, when given, receives the decoded file.
bool AnalyseFile(const std::string& path, int mode, EncodingChoice choice, SamiDocument& doc,
                 DecodedCaption* text = nullptr);

// A caption file read and analysed, for the commands that refuse input that
// is no caption text: an empty file, one holding NUL bytes (UTF-16 aside),
// or one without a single sync tag. Prints why it refuses.
struct CaptionInput {
  std::string bytes;   // the file as read
  DecodedCaption text; // its working text and encoding
  SamiDocument doc;
};
std::optional<CaptionInput> ReadCaptionDocument(const std::string& path, int mode,
                                                EncodingChoice choice = EncodingChoice::Auto);

// Writes working text of the code page `from` to path in the given encoding;
// a text the encoding cannot hold is refused with the place named, and
// nothing is written. Prints the failure.
bool WriteCaptionOutput(const std::string& path, std::string_view working, const CodePage& from,
                        const OutputEncoding& encoding);

// Writes bytes to path through a temporary file in the same folder renamed
// into place, so an existing file is replaced only by a complete one. An
// empty text makes an empty file. Prints the failure.
bool WriteOutput(const std::string& path, std::string_view bytes);

// The settings options of every command that takes them. A FILE named by
// --settings that does not exist is most likely mistyped: it is refused
// rather than silently giving the defaults. --no-settings reads nothing and
// gives the settings of a first run, whatever Cadenzio.ini holds.
inline constexpr std::string_view kSettingsOption = "--settings";
inline constexpr std::string_view kNoSettingsFlag = "--no-settings";
#define CADENZIO_SETTINGS_HELP                                                               \
  "--settings FILE reads the settings from FILE instead of Cadenzio.ini in the\n"            \
  "settings folder; a FILE that does not exist is refused (exit 1). --no-settings\n"        \
  "reads no file and takes the settings of a first run without Cadenzio.ini; it\n"          \
  "cannot be given together with --settings (exit 2).\n"

// The settings the options name: --settings FILE, the first-run defaults for
// --no-settings, else the settings folder's "Cadenzio.ini" (the first-run
// defaults when there is none). Returns kExitOk, or after printing why
// kExitUsage (both options given) or kExitFailed (FILE does not exist).
int LoadSettings(const ParsedArgs& parsed, const Command& command, Settings& settings);

using cadenzio::Stopwatch;

}  // namespace cadenzio::cli
