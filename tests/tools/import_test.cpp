// Import of SRT, SUB and SUBRIP text: the header, each converter's body bytes
// and format detection.
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
std::string Clear(int start) { return Sync(start) + "&nbsp;\r\n"; }
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
  auto caption = [](int start, const std::string& text, int end) {
    return Sync(start) + "\r\n" + text + "\r\n" + Clear(end);
  };
  const std::string long_line(1030, 'x'), x504(504, 'x');
  const struct { ForeignFormat format; std::string input, body; } cases[] = {
      // The worked entry: two text lines, then a blank line.
      {ForeignFormat::Srt, "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\nWorld\r\n\r\n",
       caption(1000, "Hello<br>\r\nWorld", 2500)},
      // No blank line and no line end after the last caption: closed once at its end.
      {ForeignFormat::Srt, "1\n00:00:01,000 --> 00:00:02,000\nLast", caption(1000, "Last", 2000)},
      // An empty first text line makes the caption a clear with no end sync.
      {ForeignFormat::Srt,
       "1\n00:00:05,000 --> 00:00:06,000\n \t\nstray\n2\n00:00:07,000 --> 00:00:08,000\nB\n",
       Sync(5000) + "&nbsp;\r\n" + caption(7000, "B", 8000)},
      // One-digit fields; a timing line inside a caption is text.
      {ForeignFormat::Srt, "0:1:2,3 --> 0:1:4,5\nA\n00:00:09,000 --> 00:00:10,000\n\n",
       caption(62003, "A<br>\r\n00:00:09,000 --> 00:00:10,000", 64005)},
      // An end the scan never reaches is 0.
      {ForeignFormat::Srt, "00:00:01,000 --> x\nA\n", caption(1000, "A", 0)},
      // A line cut at its first CR; a line past 1022 bytes is two lines.
      {ForeignFormat::Srt, "00:00:01,000 --> 00:00:02,000\nA\rB\n" + long_line + "\n",
       caption(1000, "A<br>\r\n" + long_line.substr(0, 1022) + "<br>\r\nxxxxxxxx", 2000)},
      {ForeignFormat::Sub, "{100}{200}a|b|c|d", caption(4000, "a<br>\r\nb<br>\r\nc|d", 8000)},
      {ForeignFormat::Sub, "skipped\n {1}{2}no\r\n{25}{50}A\r\n", caption(1000, "A", 2000)},
      {ForeignFormat::Sub, "{ 25}{-25}neg\n", caption(1000, "neg", -1000)},
      // A frame past the int32 range is held at INT32_MAX, whose x1000 wraps to -1000.
      {ForeignFormat::Sub, "{99999999999}{0}big\n", caption(-40, "big", 0)},
      // Only the first 510 bytes of a line are a caption line.
      {ForeignFormat::Sub, "{1}{2}" + x504 + "TAIL\n", caption(40, x504, 80)},
      {ForeignFormat::Subrip, "00:01:02.35,00:01:04.10\nfirst[br]second[BR]third[Br]fourth\n\n",
       caption(62350, "first<br>\r\nsecond<br>\r\nthird[Br]fourth", 64100)},
      {ForeignFormat::Subrip,
       "[INFORMATION]\n[TITLE]x\n[END INFORMATION]\n[SUBTITLE]\n[COLF]&HFFFFFF,[STYLE]bd\n"
       "00:00:20.19,00:00:22.59\nHi \xB4\n",
       caption(20190, "Hi \xB4", 22590)},
      // A three-digit fraction leaves the end unread; a leading [br] makes a clear.
      {ForeignFormat::Subrip, "00:00:01.123,00:00:02.500\nx\n\n00:00:03.00,00:00:04.00\n[br]lost\n",
       caption(1123, "x", 0) + Sync(3000) + "&nbsp;\r\n"},
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
  const std::string utf16 = std::string("\xFF\xFE" "1\0\n\0" "0\0:\0", 10);
  const struct {
    std::string input;
    std::optional<ForeignFormat> format;
  } cases[] = {
      {"{1}{2}x\n00:00:01,000 --> 00:00:02,000\n", ForeignFormat::Sub},
      {"1\n0:1:2,3 --> 0:1:4,5\n{1}{2}x\n", ForeignFormat::Srt},
      {"[INFO]\n00:00:01.00,00:00:02.00\n", ForeignFormat::Subrip},
      {"\xEF\xBB\xBF" "00:00:06,500 --> 00:00:09,000\n", ForeignFormat::Srt},
      {std::string(1022, 'x') + "{1}{2}y", ForeignFormat::Sub},  // a piece counts as a line
      {"00:00:01,000-->00:00:02,000\n {1}{2}\n", std::nullopt},
      {utf16, std::nullopt},
  };
  for (const auto& c : cases) {
    const FormatDetection d = DetectForeignFormat(c.input);
    EXPECT_EQ(d.format, c.format) << c.input;
    EXPECT_EQ(d.message, c.format ? "" : kUnsupportedFormatMessage) << c.input;
  }
}

// The whole conversion: header, body, footer. A title opening with a blank
// keeps an SRT file's 0xB4 bytes; SUBRIP keeps them always.
TEST(ImportTest, TitleMarksDoubleByteSrtAndBomIsDropped) {
  const std::string srt = "\xEF\xBB\xBF" "00:00:06,500 --> 00:00:09,000\nit\xB4s \xB1\xB4\n";
  auto body = [](std::string_view input, std::string_view title, ForeignFormat format) {
    std::string header;
    WriteImportHeader(header, title, When());
    const std::string all = ConvertForeignCaptions(input, title, 25.0, format, When());
    EXPECT_EQ(all.substr(0, header.size()), header);
    return all.substr(header.size());
  };
  EXPECT_EQ(body(srt, " t", ForeignFormat::Srt), Sync(6500) + "\r\nit\xB4s \xB1\xB4\r\n" + Clear(9000) + kFooter);
  EXPECT_EQ(body(srt, "t", ForeignFormat::Srt), Sync(6500) + "\r\nit's \xB1'\r\n" + Clear(9000) + kFooter);
  EXPECT_EQ(body("00:00:01.00,00:00:02.00\n\xB4\n", "t", ForeignFormat::Subrip),
            Sync(1000) + "\r\n\xB4\r\n" + Clear(2000) + kFooter);

  // In UTF-8 the accent is the character U+00B4; the byte 0xB4 inside 이 stays,
  // and the CP949 title (한글) is written in UTF-8.
  const std::string utf8 = "00:00:06,500 --> 00:00:09,000\nit\xC2\xB4s \xEC\x9D\xB4\n";
  for (const auto& [title, text] : {std::pair{"\xC7\xD1\xB1\xDB", "it's \xEC\x9D\xB4"},
                                    std::pair{" \xC7\xD1\xB1\xDB", "it\xC2\xB4s \xEC\x9D\xB4"}}) {
    const std::string all =
        ConvertForeignCaptions(utf8, title, 25.0, ForeignFormat::Srt, When(), CodePage::Utf8());
    EXPECT_NE(all.find("\xED\x95\x9C\xEA\xB8\x80</Title>"), std::string::npos) << title;
    EXPECT_TRUE(all.ends_with(Sync(6500) + "\r\n" + text + "\r\n" + Clear(9000) + kFooter)) << title;
  }
}

TEST(ImportTest, FrameRatesAndNewNames) {
  for (const char* ok : {"10", "50", "23.976", "10."}) EXPECT_TRUE(ReadFrameRate(ok)) << ok;
  for (const char* bad : {"9.99", "50.01", "25fps", "", "1e1", " 25", "+25"})
    EXPECT_FALSE(ReadFrameRate(bad)) << bad;
  EXPECT_EQ(ReadFrameRate("29.970"), 29.97);
  EXPECT_EQ(ImportedCaptionPath("/a/movie.sub"), "/a/movie.smi");
  EXPECT_EQ(ImportedCaptionPath("movie.txt \r\n"), "movie.smi");
}

}  // namespace
}  // namespace cadenzio
