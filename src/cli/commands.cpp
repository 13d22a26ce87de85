// The command table of cadenzio-cli and the document commands.
#include "cli/commands.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "cli/check_command.h"
#include "cli/cli_support.h"
#include "cli/import_command.h"
#include "cli/merge_commands.h"
#include "cli/plain_text_command.h"
#include "cli/remove_short_clears_command.h"
#include "cli/split_command.h"
#include "cli/to_srt_command.h"
#include "cli/utility_commands.h"
#include "platform/text_encoding.h"
#include "sami/sami_document.h"
#include "settings/file_services.h"

namespace cadenzio::cli {
namespace {

int RunRewrite(std::span<const std::string> args);
int RunInfo(std::span<const std::string> args);

const Command kRewriteCommand = {"rewrite", "analyse a SAMI file and write it back normalised, as saving does",
     "Usage: cadenzio-cli rewrite [--mode 0|1|2] [--encoding NAME] [--output-encoding NAME]\n"
     "                            IN OUT\n\n"
     "Analyses IN and writes the document to OUT: the normalisation that every save\n"
     "applies. Mode 0 turns blank paragraphs into \"&nbsp;\" clears, mode 1 (the\n"
     "default, as with line-break repair switched on) also puts <br> at the end of\n"
     "every caption line that continues on the next, mode 2 keeps empty paragraphs.\n"
     "OUT is replaced only when the whole document was written.\n" CADENZIO_ENCODING_HELP CADENZIO_OUTPUT_ENCODING_HELP,
     RunRewrite};

const Command kInfoCommand = {"info", "show what the analyser finds in a SAMI file",
     "Usage: cadenzio-cli info [--mode 0|1|2] [--encoding NAME] IN\n\n"
     "Analyses IN and prints one 'name: value' line each: the declared classes in\n"
     "file order, the default colour, the counts of sync nodes, paragraphs, comments\n"
     "and overflow nodes, the first and last sync start, and whether the document\n"
     "is valid. A file that is not CP949 adds two lines: its encoding (CP949,\n"
     "UTF-8, UTF-8 (BOM), UTF-16LE, UTF-16BE) and whether it has a byte order mark.\n"
     "--encoding auto|cp949|utf-8|utf-16le|utf-16be says how IN is read (default\n"
     "auto: a byte order mark, else valid UTF-8 with a multibyte character, else\n"
     "CP949).\n",
     RunInfo};

// The order of the program's help.
const Command* const kCommands[] = {
    &kRewriteCommand,  &kInfoCommand,  &kCheckCommand,     &kToSrtCommand,
    &kImportCommand,   &kSplitCommand, &kPlainTextCommand, &kRemoveShortClearsCommand,
    &kShiftCommand,    &kScaleCommand, &kAddClearsCommand, &kMergeCommand,
    &kSrtTextCommand,  &kSrtIdxCommand,
};

int ModeOption(const ParsedArgs& parsed, const Command& command, int* mode) {
  *mode = kAnalyseFixBreaks;
  if (const std::string* value = parsed.Option("--mode")) {
    if (*value != "0" && *value != "1" && *value != "2")
      return UsageError(command, "--mode takes 0, 1 or 2");
    *mode = (*value)[0] - '0';
  }
  return kExitOk;
}

int RunRewrite(std::span<const std::string> args) {
  const Command& self = kRewriteCommand;
  static constexpr std::string_view kValued[] = {"--mode", kEncodingOption, kOutputEncodingOption};
  const ParsedArgs parsed = Parse(args, kValued);
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 2) return UsageError(self, "expected IN and OUT");
  int mode;
  if (int status = ModeOption(parsed, self, &mode); status != kExitOk) return status;
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(self, error);
  SamiDocument doc;
  DecodedCaption text;
  if (!AnalyseFile(parsed.positional[0], mode, encodings.input, doc, &text)) return kExitFailed;
  return WriteCaptionOutput(parsed.positional[1], doc.Write(), doc.code_page(), encodings.For(text))
             ? kExitOk
             : kExitFailed;
}

int RunInfo(std::span<const std::string> args) {
  const Command& self = kInfoCommand;
  static constexpr std::string_view kValued[] = {"--mode", kEncodingOption};
  const ParsedArgs parsed = Parse(args, kValued);
  if (!parsed.error.empty()) return UsageError(self, parsed.error);
  if (parsed.positional.size() != 1) return UsageError(self, "expected IN");
  int mode;
  if (int status = ModeOption(parsed, self, &mode); status != kExitOk) return status;
  std::string error;
  const EncodingOptions encodings = ReadEncodingOptions(parsed, &error);
  if (!error.empty()) return UsageError(self, error);
  SamiDocument doc;
  DecodedCaption text;
  if (!AnalyseFile(parsed.positional[0], mode, encodings.input, doc, &text)) return kExitFailed;

  long syncs = 0, paragraphs = 0, others = 0, overflows = 0;
  std::optional<int32_t> first, last;
  for (const auto& node : doc.nodes) {
    switch (node.kind) {
      case SamiNodeKind::Sync:
        ++syncs;
        if (!first) first = node.start;
        last = node.start;
        break;
      case SamiNodeKind::Paragraph: ++paragraphs; break;
      case SamiNodeKind::Other: ++others; break;
      case SamiNodeKind::Overflow: ++overflows; break;
    }
  }
  // The body's first node is always an Other node; every later one is a comment.
  const long comments = others > 0 ? others - 1 : 0;
  std::string classes;
  for (auto it = doc.classes.rbegin(); it != doc.classes.rend(); ++it)
    classes += (classes.empty() ? "" : " ") + *it;
  auto number = [](const std::optional<int32_t>& v) {
    return v ? std::to_string(*v) : std::string("-");
  };
  auto shown = [&doc](const std::string& s) {
    return doc.code_page().kind() == CodePage::Kind::Cp949 ? Cp949ToUtf8(s) : s;
  };
  std::printf("classes: %s\n", shown(classes).c_str());
  std::printf("colour: %s\n", shown(doc.colour).c_str());
  std::printf("syncs: %ld\nparagraphs: %ld\ncomments: %ld\noverflow: %ld\n", syncs, paragraphs,
              comments, overflows);
  std::printf("first start: %s\nlast start: %s\n", number(first).c_str(), number(last).c_str());
  std::printf("valid: %s\n", doc.valid ? "yes" : "no");
  // A CP949 file's report stays as it always was.
  if (text.encoding != CaptionEncoding::Cp949) {
    const std::string_view name = EncodingDisplayName(text.encoding, text.bom);
    std::printf("encoding: %.*s\nbom: %s\n", static_cast<int>(name.size()), name.data(),
                text.bom ? "yes" : "no");
  }
  return kExitOk;
}

}  // namespace

std::span<const Command* const> Commands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
  for (const Command* command : kCommands)
    if (command->name == name) return command;
  return nullptr;
}

void PrintError(std::string_view utf8) {
  std::fprintf(stderr, "cadenzio-cli: %.*s\n", static_cast<int>(utf8.size()), utf8.data());
}

void PrintCp949Error(std::string_view cp949) { PrintError(Cp949ToUtf8(cp949)); }

int UsageError(const Command& command, std::string_view utf8) {
  PrintError(utf8);
  const std::string_view help = command.help;
  const std::string_view usage = help.substr(0, help.find('\n'));
  std::fprintf(stderr, "%.*s\n", static_cast<int>(usage.size()), usage.data());
  return kExitUsage;
}

}  // namespace cadenzio::cli
