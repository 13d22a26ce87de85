// Import of SRT, SUB and SUBRIP text: the header, each converter's body bytes, format detection.
#include <gtest/gtest.h>

#include <utility>

#include "tools/import_captions.h"
#include "tools/import_header.h"
#include "tools/import_srt.h"
#include "tools/import_sub.h"
#include "tools/import_subrip.h"

namespace cadenzio {
namespace {

std::string Sync(int start) { return "<SYNC Start=" + std::to_string(start) + "><P Class=ENCC>"; }
std::string Caption(int start, const std::string& text, int end) {
  return Sync(start) + "\r\n" + text + "\r\n" + Sync(end) + "&nbsp;\r\n";
}
constexpr char kFooter[] = "</BODY>\r\n</SAMI>";  // no line end after it

std::tm When() {  // 2024/03/05 07:08:09
  std::tm t{};
  t.tm_year = 124, t.tm_mon = 2, t.tm_mday = 5, t.tm_hour = 7, t.tm_min = 8, t.tm_sec = 9;
  return t;
}

TEST(ImportTest, HeaderBytes) {
  std::string header;
  WriteImportHeader(header, " \xC7\xD1 T", When());
  EXPECT_EQ(header,
            "<SAMI>\r\n<HEAD>\r\n<Title> \xC7\xD1 T</Title>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
            "P {margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;\r\n"
            "   text-align:center; font-size:22pt; font-family:Arial, sans-serif;\r\n"
            "   font-weight:bold; color:white;}\r\n"
            ".ENCC {Name:English; lang:en-US; SAMIType:CC;}\r\n"
            "#STDPrn {Name:Standard Print;}\r\n"
            "#VLargePrn {Name:34pt (VLarge Print); font-size:34pt;}\r\n"
            "#LargePrn {Name:28pt (Large Print); font-size:28pt;}\r\n"
            "#MediumPrn {Name:24pt (Medium Print); font-size:24pt;}\r\n"
            "#BSmallPrn {Name:18pt (BSmall Print); font-size:18pt;}\r\n"
            "#SmallPrn {Name:12pt (Small Print); font-size:12pt;}\r\n"
            "-->\r\n</Style>\r\n<!--\r\n"
            "  This file is created by Cadenzio on 2024/03/05 07:08:09\r\n"
            "  SRT, SUB and SUBRIP converters by the Cadenzio authors\r\n"
            "-->\r\n</HEAD>\r\n<BODY>\r\n");
}

// Each converter appends its body to what the output holds (SUB at 25 frames a second).
TEST(ImportTest, BodiesOfEachFormat) {
  const std::string long_line(1030, 'x');
  const struct { ForeignFormat format; std::string input, body; } cases[] = {
      {ForeignFormat::Srt, "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\nWorld\r\n\r\n",
       Caption(1000, "Hello<br>\r\nWorld", 2500)},
      // The last caption, with no blank line nor line end, is closed once.
      {ForeignFormat::Srt, "1\n00:00:01,000 --> 00:00:02,000\nLast", Caption(1000, "Last", 2000)},
      // An empty first text line makes a clear with no end sync.
      {ForeignFormat::Srt, "1\n00:00:05,000 --> 00:00:06,000\n \t\nstray\n00:00:07,000 --> 00:00:08,000\nB\n",
       Sync(5000) + "&nbsp;\r\n" + Caption(7000, "B", 8000)},
      // A line is cut at its first CR; a line past 1022 bytes is two lines.
      {ForeignFormat::Srt, "00:00:01,000 --> 00:00:02,000\nA\rB\n" + long_line + "\n",
       Caption(1000, "A<br>\r\n" + long_line.substr(0, 1022) + "<br>\r\nxxxxxxxx", 2000)},
      {ForeignFormat::Sub, "{100}{200}a|b|c|d", Caption(4000, "a<br>\r\nb<br>\r\nc|d", 8000)},
      {ForeignFormat::Subrip, "[INFORMATION]\n[END INFORMATION]\n00:01:02.35,00:01:04.10\nfirst[br]second[BR]t[Br]f\n\n",
       Caption(62350, "first<br>\r\nsecond<br>\r\nt[Br]f", 64100)},
  };
  for (const auto& c : cases) {
    std::string out = "keep:";
    if (c.format == ForeignFormat::Srt) ConvertSrt(c.input, out, true);
    if (c.format == ForeignFormat::Sub) ConvertSub(c.input, out, 25.0);
    if (c.format == ForeignFormat::Subrip) ConvertSubrip(c.input, out);
    EXPECT_EQ(out, "keep:" + c.body) << c.input;
  }
}

TEST(ImportTest, DetectsTheFormatOfTheFirstMatchingLine) {
  const std::pair<std::string, std::optional<ForeignFormat>> cases[] = {
      {"{1}{2}x\n00:00:01,000 --> 00:00:02,000\n", ForeignFormat::Sub},
      {"\xEF\xBB\xBF" "1\n0:1:2,3 --> 0:1:4,5\n{1}{2}x\n", ForeignFormat::Srt},
      {"[INFO]\n00:00:01.00,00:00:02.00\n", ForeignFormat::Subrip},
      {"00:00:01,000-->00:00:02,000\n {1}{2}\n", std::nullopt},
  };
  EXPECT_EQ(ImportedCaptionPath("/a/movie.sub"), "/a/movie.smi");
  for (const auto& [input, format] : cases) {
    const FormatDetection d = DetectForeignFormat(input);
    EXPECT_EQ(d.format, format) << input;
    EXPECT_EQ(d.message, format ? "" : kUnsupportedFormatMessage) << input;
  }
}

// A title opening with a blank keeps the accent (0xB4 in CP949, U+00B4 in
// UTF-8), otherwise it becomes an apostrophe; the BOM is dropped. In UTF-8 the
// byte 0xB4 inside 이 stays, and the CP949 title (한글) is written in UTF-8.
TEST(ImportTest, TitleMarksDoubleByteSrtAndBomIsDropped) {
  const std::string cp949 = "\xEF\xBB\xBF" "00:00:06,500 --> 00:00:09,000\nit\xB4s \xB1\xB4\n";
  const std::string utf8 = "00:00:06,500 --> 00:00:09,000\nit\xC2\xB4s \xEC\x9D\xB4\n";
  const std::string han = "\xC7\xD1\xB1\xDB", han8 = "\xED\x95\x9C\xEA\xB8\x80";
  const struct { std::string input, title, title_shown, text; const CodePage& cp; } cases[] = {
      {cp949, " t", " t", "it\xB4s \xB1\xB4", CodePage::Cp949()},
      {cp949, "t", "t", "it's \xB1'", CodePage::Cp949()},
      {utf8, han, han8, "it's \xEC\x9D\xB4", CodePage::Utf8()},
      {utf8, " " + han, " " + han8, "it\xC2\xB4s \xEC\x9D\xB4", CodePage::Utf8()},
  };
  for (const auto& c : cases) {
    std::string header;
    WriteImportHeader(header, c.title_shown, When());
    EXPECT_EQ(ConvertForeignCaptions(c.input, c.title, 25.0, ForeignFormat::Srt, When(), c.cp),
              header + Caption(6500, c.text, 9000) + kFooter) << c.title;
  }
}

}  // namespace
}  // namespace cadenzio
