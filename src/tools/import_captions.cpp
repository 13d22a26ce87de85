// Format detection and the assembly of an imported SAMI text.
#include "tools/import_captions.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "pattern/pattern_matcher.h"
#include "settings/cp949_conversion.h"
#include "settings/file_services.h"
#include "tools/import_header.h"
#include "tools/import_srt.h"
#include "tools/import_sub.h"
#include "tools/import_subrip.h"

namespace cadenzio {
namespace {

constexpr std::string_view kImportFooter = "</BODY>\r\n</SAMI>";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

struct DetectPattern {
  ForeignFormat format;
  std::string_view pattern;
  std::string_view compile_error;  // CP949 "오류.. RegExp-..."
};
// Braces are ordinary characters to the matcher.
constexpr DetectPattern kDetectPatterns[] = {
    {ForeignFormat::Sub, "^{[0-9]+}{[0-9]+}", "\xBF\xC0\xB7\xF9.. RegExp-Sub"},
    {ForeignFormat::Srt, "^[0-9]+:[0-9]+:[0-9]+,[0-9]+ --> [0-9]+:[0-9]+:[0-9]+,[0-9]+",
     "\xBF\xC0\xB7\xF9.. RegExp-Srt"},
    {ForeignFormat::Subrip, "^[0-9]+:[0-9]+:[0-9]+.[0-9]+,[0-9]+:[0-9]+:[0-9]+.[0-9]+",
     "\xBF\xC0\xB7\xF9.. RegExp-Subrip"},
};
constexpr std::size_t kDetectPatternCount = std::size(kDetectPatterns);

std::string_view WithoutUtf8Bom(std::string_view bytes) {
  return bytes.starts_with(kUtf8Bom) ? bytes.substr(kUtf8Bom.size()) : bytes;
}

}  // namespace

std::string_view ForeignFormatName(ForeignFormat format) {
  switch (format) {
    case ForeignFormat::Sub: return "SUB";
    case ForeignFormat::Srt: return "SRT";
    case ForeignFormat::Subrip: return "SUBRIP";
  }
  return "";
}

FormatDetection DetectForeignFormat(std::string_view bytes) {
  PatternMatcher matchers[kDetectPatternCount];
  for (std::size_t i = 0; i < kDetectPatternCount; ++i)
    if (!matchers[i].Compile(kDetectPatterns[i].pattern))
      return {std::nullopt, kDetectPatterns[i].compile_error};
  LineReader reader(WithoutUtf8Bom(bytes));
  std::string_view line;
  while (reader.Next(line, kDetectLineLimit))
    for (std::size_t i = 0; i < kDetectPatternCount; ++i)
      if (matchers[i].Find(line) >= 0) return {kDetectPatterns[i].format, {}};
  return {std::nullopt, kUnsupportedFormatMessage};
}

std::string ConvertForeignCaptions(std::string_view input, std::string_view title, double frame_rate,
                                   ForeignFormat format, const std::tm& when,
                                   const CodePage& cp) {
  input = WithoutUtf8Bom(input);
  std::string out;
  out.reserve(input.size() * 2 + 2048);
  WriteImportHeader(out, cp.kind() == CodePage::Kind::Utf8 ? Cp949ToUtf8(title) : std::string(title),
                    when);
  switch (format) {
    case ForeignFormat::Sub: ConvertSub(input, out, frame_rate); break;
    case ForeignFormat::Srt: ConvertSrt(input, out, !title.starts_with(' '), cp); break;
    case ForeignFormat::Subrip: ConvertSubrip(input, out); break;
  }
  out.append(kImportFooter);
  return out;
}

std::optional<double> ReadFrameRate(std::string_view text) {
  const std::size_t point = text.find('.');
  const bool well_formed =
      text.find_first_not_of("0123456789.") == std::string_view::npos &&
      text.find_first_of("0123456789") != std::string_view::npos &&
      (point == std::string_view::npos || text.find('.', point + 1) == std::string_view::npos);
  if (!well_formed) return std::nullopt;
  double rate = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (rate < kMinFrameRate || rate > kMaxFrameRate) return std::nullopt;
  return rate;
}

std::string ImportedCaptionPath(std::string_view chosen) {
  const std::size_t kept = chosen.find_last_not_of(" \t\r\n\v\f");
  chosen = chosen.substr(0, kept == std::string_view::npos ? 0 : kept + 1);
  constexpr std::size_t kOldExtension = 3;
  chosen.remove_suffix(std::min(chosen.size(), kOldExtension));
  return std::string(chosen) + "smi";
}

}  // namespace cadenzio
