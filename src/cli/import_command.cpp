// The import command: the format from the file's content, the title and frame
// rate from options, the SAMI text written only when every check passed.
#include "cli/import_command.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <utility>

#include "cli/cli_support.h"
#include "platform/text_encoding.h"
#include "settings/caption_encoding.h"
#include "settings/file_services.h"
#include "tools/import_captions.h"

namespace cadenzio::cli {
namespace {

// The file's name without folder and extension. Names are taken as UTF-8 and
// made CP949 like a typed title; a name that is not UTF-8 is most likely
// CP949 already and is kept as it is.
std::string DefaultTitle(const std::string& path) {
  std::string base = path.substr(FolderOf(path).size());
  base.resize(base.size() - ExtensionOf(base).size());
  Cp949Text cp949 = Utf8ToCp949(base);
  return cp949.ok() ? std::move(cp949.bytes) : base;
}

int RunImport(std::span<const std::string> args) {
  const Command& self = kImportCommand;
  static constexpr std::string_view kValued[] = {"--title", "--fps", kSettingsOption};
  static constexpr std::string_view kFlags[] = {kNoSettingsFlag};
  const ParsedArgs parsed = Parse(args, kValued, kFlags);
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 2) return UsageError(self, "expected IN and OUT");
  const std::string& in = parsed.positional[0];
  const std::string& out = parsed.positional[1];
  // The import uses no setting, but takes the options as every command does.
  Settings unused;
  if (int status = LoadSettings(parsed, self, unused); status != kExitOk) return status;

  double rate = kDefaultFrameRate;
  if (const std::string* fps = parsed.Option("--fps")) {
    const auto read = ReadFrameRate(*fps);
    if (!read) {
      PrintCp949Error(kFrameRateMessage);
      return kExitFailed;
    }
    rate = *read;
  }

  std::string title;
  if (const std::string* typed = parsed.Option("--title")) {
    Cp949Text cp949 = Utf8ToCp949(*typed);
    if (!cp949.ok()) {
      const EncodingError& e = *cp949.error;
      PrintError(e.invalid_utf8 ? "--title is not UTF-8 text (byte " + std::to_string(e.offset + 1) + ")"
                                : "--title: '" + e.character + "' (character " +
                                      std::to_string(e.column) + ") has no CP949 form");
      return kExitFailed;
    }
    title = std::move(cp949.bytes);
  } else {
    title = DefaultTitle(in);
  }

  std::error_code ec;
  std::string bytes;
  if (std::filesystem::is_directory(in, ec) || !ReadWholeFile(in, bytes)) {
    PrintError(Cp949ToUtf8(kImportOpenFailedMessage) + " '" + in + "'");
    return kExitFailed;
  }
  // Read as a caption is: a BOM, else valid UTF-8, else CP949; OUT is written
  // in the same encoding.
  const DecodedCaption decoded = DecodeCaption(bytes);
  if (!decoded.ok()) {
    PrintError("'" + in + "': " + decoded.error);
    return kExitFailed;
  }
  const FormatDetection detection = DetectForeignFormat(decoded.bytes);
  if (!detection.format) {
    PrintCp949Error(detection.message);
    return kExitFailed;
  }

  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const CodePage& cp = decoded.code_page();
  const std::string sami =
      ConvertForeignCaptions(decoded.bytes, title, rate, *detection.format, local, cp);
  return WriteCaptionOutput(out, sami, cp, {decoded.encoding, decoded.bom}) ? kExitOk
                                                                             : kExitFailed;
}

}  // namespace

const Command kImportCommand = {
    "import", "convert an SRT, MicroDVD SUB or SUBRIP file into a new SAMI file",
    "Usage: cadenzio-cli import IN OUT [--title TEXT] [--fps RATE]\n"
    "                           [--settings FILE | --no-settings]\n\n"
    "Reads IN, recognises its format from the content (the first line that is a\n"
    "SUB caption line {start}{end}, an SRT timing line or a SUBRIP timing line\n"
    "decides) and writes OUT: a SAMI header declaring the class ENCC, one caption\n"
    "with its clear per entry, and the closing tags. IN is read as a caption is\n"
    "(a BOM decides, else valid UTF-8 with a multibyte character is UTF-8, else\n"
    "CP949), its text copied as it is, and OUT written in IN's encoding.\n\n"
    "  --title TEXT  the title in the header (UTF-8, written as CP949); default:\n"
    "                IN's name without folder and extension. A title that starts\n"
    "                with a blank marks an SRT file in a double-byte code page:\n"
    "                its 0xB4 bytes are kept instead of becoming apostrophes\n"
    "                (in UTF-8, its acute accents U+00B4).\n"
    "  --fps RATE    frames per second for SUB timings, 10 to 50 (default 23.976)\n"
    "  --settings FILE, --no-settings  taken as by every command (a FILE that does\n"
    "                not exist is refused, exit 1; both together are a usage error,\n"
    "                exit 2); the import uses no setting.\n\n"
    "OUT is written only when IN was read and recognised.\n",
    RunImport};

}  // namespace cadenzio::cli
