#include "cli/cli_support.h"

#include <algorithm>
#include <filesystem>
#include <utility>

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

OutputEncoding EncodingOptions::For(const DecodedCaption& from) const {
  return output ? *output : OutputEncoding{from.encoding, from.bom};
}

EncodingOptions ReadEncodingOptions(const ParsedArgs& parsed, std::string* error) {
  EncodingOptions options;
  if (const std::string* name = parsed.Option(kEncodingOption)) {
    const auto choice = ParseEncodingChoice(*name);
    if (!choice) {
      *error = "--encoding takes auto, cp949, utf-8, utf-16le or utf-16be, not '" + *name + "'";
      return options;
    }
    options.input = *choice;
  }
  if (const std::string* name = parsed.Option(kOutputEncodingOption)) {
    const bool with_bom = EqualNoCase(*name, "utf-8-bom");
    const auto choice = with_bom ? std::optional(EncodingChoice::Utf8) : ParseEncodingChoice(*name);
    if (!choice) {
      *error = "--output-encoding takes auto, cp949, utf-8, utf-8-bom, utf-16le or utf-16be, not '" +
               *name + "'";
      return options;
    }
    switch (*choice) {
      case EncodingChoice::Auto: break;
      case EncodingChoice::Cp949: options.output = OutputEncoding{CaptionEncoding::Cp949, false}; break;
      case EncodingChoice::Utf8: options.output = OutputEncoding{CaptionEncoding::Utf8, with_bom}; break;
      case EncodingChoice::Utf16Le: options.output = OutputEncoding{CaptionEncoding::Utf16Le, true}; break;
      case EncodingChoice::Utf16Be: options.output = OutputEncoding{CaptionEncoding::Utf16Be, true}; break;
    }
  }
  return options;
}

std::optional<DecodedCaption> ReadCaptionText(const std::string& path, EncodingChoice choice) {
  auto bytes = ReadInput(path);
  if (!bytes) return std::nullopt;
  DecodedCaption text = DecodeCaptionInPlace(std::move(*bytes), choice);
  if (!text.ok()) {
    PrintError("'" + path + "': " + text.error);
    return std::nullopt;
  }
  if (!text.notice.empty()) PrintError("'" + path + "': " + text.notice);
  return text;
}

bool AnalyseFile(const std::string& path, int mode, EncodingChoice choice, SamiDocument& doc,
                 DecodedCaption* decoded) {
  auto text = ReadCaptionText(path, choice);
  if (!text) return false;
  doc = SamiDocument(text->code_page());
  if (!doc.Analyse(text->bytes, mode)) {
    PrintCp949Error(kAnalyseInitFailedMessage);
    return false;
  }
  if (decoded) *decoded = std::move(*text);
  return true;
}

std::optional<CaptionInput> ReadCaptionDocument(const std::string& path, int mode,
                                                EncodingChoice choice) {
  auto bytes = ReadInput(path);
  if (!bytes) return std::nullopt;
  if (bytes->empty()) {
    PrintError("'" + path + "' is empty");
    return std::nullopt;
  }
  DecodedCaption text = DecodeCaption(*bytes, choice);
  if (!text.ok()) {
    PrintError("'" + path + "': " + text.error);
    return std::nullopt;
  }
  // UTF-16 holds NUL bytes by nature; its text may not.
  if (text.bytes.find('\0') != std::string::npos) {
    PrintError("'" + path + "' is not a text file (it holds NUL bytes)");
    return std::nullopt;
  }
  if (!text.notice.empty()) PrintError("'" + path + "': " + text.notice);
  CaptionInput input{std::move(*bytes), std::move(text), SamiDocument{}};
  input.doc = SamiDocument(input.text.code_page());
  if (!input.doc.Analyse(input.text.bytes, mode)) {
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

bool WriteCaptionOutput(const std::string& path, std::string_view working, const CodePage& from,
                        const OutputEncoding& encoding) {
  const EncodedCaption encoded = EncodeCaption(working, from, encoding.encoding, encoding.bom);
  if (!encoded.ok()) {
    PrintError("'" + path + "' not written: " + encoded.error);
    return false;
  }
  return WriteOutput(path, encoded.bytes);
}

int LoadSettings(const ParsedArgs& parsed, const Command& command, Settings& settings) {
  const std::string* ini = parsed.Option(kSettingsOption);
  if (parsed.Flag(kNoSettingsFlag)) {
    if (ini) return UsageError(command, "--settings and --no-settings exclude each other");
    settings = Settings::Defaults(false);
    return kExitOk;
  }
  if (ini && !FileExists(*ini)) {
    PrintError("cannot read settings file '" + *ini + "'");
    return kExitFailed;
  }
  settings = Settings::Load(ini ? *ini : SettingsFilePath());
  return kExitOk;
}

}  // namespace cadenzio::cli
