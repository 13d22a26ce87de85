// SRT import as a three-state line machine: Seek (for a timing line), First
// (the line after it), Text (further caption lines).
#include "tools/import_srt.h"

#include <algorithm>
#include <cstdint>

#include "settings/file_services.h"
#include "tools/time_format.h"

namespace cadenzio {
namespace {

enum class SrtState { Seek, First, Text };

void AppendSyncTag(std::string& out, std::int32_t start) {
  out.append("<SYNC Start=").append(std::to_string(start)).append("><P Class=ENCC>");
}

void AppendClear(std::string& out, std::int32_t start) {
  out.append("\r\n");
  AppendSyncTag(out, start);
  out.append("&nbsp;\r\n");
}

}  // namespace

bool IsBlankLine(std::string_view text) {
  return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

namespace {

void ReplaceAcuteAccents(std::string& line, const CodePage& cp) {
  if (cp.kind() != CodePage::Kind::Utf8) {
    std::replace(line.begin(), line.end(), '\xB4', '\'');
    return;
  }
  constexpr std::string_view kAcute = "\xC2\xB4";  // U+00B4
  for (std::size_t at = line.find(kAcute); at != std::string::npos; at = line.find(kAcute, at + 1))
    line.replace(at, kAcute.size(), 1, '\'');
}

}  // namespace

void ConvertSrt(std::string_view input, std::string& output, bool replace_acute,
                const CodePage& cp) {
  LineReader reader(input);
  std::string_view piece;
  std::string line;
  SrtState state = SrtState::Seek;
  std::int32_t end = 0;  // end time of the last timing line
  while (reader.Next(piece, kSrtLineLimit)) {
    line.assign(piece.substr(0, piece.find_first_of("\r\n")));
    if (replace_acute) ReplaceAcuteAccents(line, cp);
    switch (state) {
      case SrtState::Seek:  // entry numbers, stray text and blank lines are skipped
        if (IsSrtTimingLine(line)) {
          const SrtTiming timing = ReadSrtTiming(line);
          end = timing.end;
          AppendSyncTag(output, timing.start);
          state = SrtState::First;
        }
        break;
      case SrtState::First:
        if (IsBlankLine(line)) {
          output.append("&nbsp;\r\n");
          state = SrtState::Seek;
        } else {
          output.append("\r\n").append(line);
          state = SrtState::Text;
        }
        break;
      case SrtState::Text:
        if (IsBlankLine(line)) {
          AppendClear(output, end);
          state = SrtState::Seek;
        } else {
          output.append("<br>\r\n").append(line);
        }
        break;
    }
  }
  // A file that ends inside a caption still closes it.
  if (state != SrtState::Seek) AppendClear(output, end);
}

}  // namespace cadenzio
