// SUBRIP import: a line-by-line rewrite into SRT, then the SRT importer.
#include "tools/import_subrip.h"

#include "settings/file_services.h"
#include "tools/import_srt.h"
#include "tools/time_format.h"

namespace cadenzio {
namespace {

void AppendWithLineBreaks(std::string& out, std::string_view line) {
  constexpr std::string_view kLower = "[br]", kUpper = "[BR]";
  std::size_t from = 0;
  for (std::size_t i = 0; i + kLower.size() <= line.size();) {
    const std::string_view here = line.substr(i, kLower.size());
    if (here == kLower || here == kUpper) {
      out.append(line.substr(from, i - from)).append("\r\n");
      i += kLower.size();
      from = i;
    } else {
      ++i;
    }
  }
  out.append(line.substr(from));
}

}  // namespace

void ConvertSubrip(std::string_view input, std::string& output) {
  std::string srt;
  srt.reserve(input.size() + input.size() / 4);
  LineReader reader(input);
  std::string_view piece;
  while (reader.Next(piece, kSubripLineLimit)) {
    if (auto timing = SubripToSrtTiming(piece))
      srt.append(*timing);
    else
      AppendWithLineBreaks(srt, piece);
  }
  ConvertSrt(srt, output, /*replace_acute=*/false);
}

}  // namespace cadenzio
