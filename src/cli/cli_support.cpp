#include "cli/cli_support.h"

#include <algorithm>
#include <filesystem>

#include "platform/text_encoding.h"
#include "settings/file_services.h"

namespace cadenzio::cli {

const std::string* ParsedArgs::Option(std::string_view name) const {
  for (const auto& [key, value] : options)
    if (key == name) return &value;
  return nullptr;
}

bool ParsedArgs::Flag(std::string_view name) const {
  for (const auto& flag : flags)
    if (flag == name) return true;
  return false;
}

ParsedArgs Parse(std::span<const std::string> args, std::span<const std::string_view> valued,
                 std::span<const std::string_view> flags) {
  ParsedArgs parsed;
  auto listed = [](std::span<const std::string_view> names, std::string_view a) {
    for (auto name : names)
      if (a == name) return true;
    return false;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool option = a.size() > 1 && a[0] == '-' && !(a[1] >= '0' && a[1] <= '9');
    if (!option) {
      parsed.positional.push_back(a);
    } else if (listed(flags, a)) {
      parsed.flags.push_back(a);
    } else if (listed(valued, a)) {
      if (i + 1 >= args.size()) {
        parsed.error = "option '" + a + "' needs a value";
        return parsed;
      }
      parsed.options.emplace_back(a, args[++i]);
    } else {
      parsed.error = "unknown option '" + a + "'";
      return parsed;
    }
  }
  return parsed;
}

std::optional<std::string> ReadInput(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    PrintError("'" + path + "' is a folder, not a file");
    return std::nullopt;
  }
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    PrintError("cannot read '" + path + "'");
    return std::nullopt;
  }
  return bytes;
}

bool AnalyseFile(const std::string& path, int mode, SamiDocument& doc) {
  const auto bytes = ReadInput(path);
  if (!bytes) return false;
  if (!doc.Analyse(*bytes, mode)) {
    PrintCp949Error(kAnalyseInitFailedMessage);
    return false;
  }
  return true;
}

std::optional<CaptionInput> ReadCaptionDocument(const std::string& path, int mode) {
  auto bytes = ReadInput(path);
  if (!bytes) return std::nullopt;
  if (bytes->empty()) {
    PrintError("'" + path + "' is empty");
    return std::nullopt;
  }
  if (bytes->find('\0') != std::string::npos) {
    PrintError("'" + path + "' is not a text file (it holds NUL bytes)");
    return std::nullopt;
  }
  CaptionInput input{std::move(*bytes), SamiDocument{}};
  if (!input.doc.Analyse(input.bytes, mode)) {
    PrintCp949Error(kAnalyseInitFailedMessage);
    return std::nullopt;
  }
  const bool has_sync = std::any_of(input.doc.nodes.begin(), input.doc.nodes.end(),
                                    [](const SamiNode& n) { return n.kind == SamiNodeKind::Sync; });
  if (!has_sync) {
    PrintError("'" + path + "' holds no sync tag: not a SAMI caption file");
    return std::nullopt;
  }
  return input;
}

bool WriteOutput(const std::string& path, std::string_view bytes) {
  if (WriteWholeFileAtomic(path, bytes)) return true;
  PrintError("cannot write '" + path + "'");
  return false;
}

Settings LoadSettings(const ParsedArgs& parsed) {
  if (const std::string* path = parsed.Option("--settings")) return Settings::Load(*path);
  return Settings::Load(SettingsFilePath());
}

std::optional<Settings> LoadNamedSettings(const ParsedArgs& parsed) {
  if (const std::string* ini = parsed.Option("--settings"); ini && !FileExists(*ini)) {
    PrintError("cannot read settings file '" + *ini + "'");
    return std::nullopt;
  }
  return LoadSettings(parsed);
}

}  // namespace cadenzio::cli
