// Import of SRT, SUB and SUBRIP text: the header, each converter's body bytes,
// format detection, and the real caption files of other projects.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"
#include "tools/import_captions.h"
#include "tools/import_header.h"
#include "tools/import_srt.h"
#include "tools/import_sub.h"
#include "tools/import_subrip.h"

namespace cadenzio {
namespace {

struct Case {
  std::string input;
  std::string body;
};

std::string Sync(int start) { return "<SYNC Start=" + std::to_string(start) + "><P Class=ENCC>"; }
std::string Clear(int start) { return Sync(start) + "&nbsp;\r\n"; }

std::tm When() {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 7;
  t.tm_min = 8;
  t.tm_sec = 9;
  return t;
}

TEST(ImportTest, HeaderAndFooterFrameEveryFormat) {
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

  // An unknown format code writes the frame only; the footer has no line end.
  const std::string srt = "1\n00:00:01,000 --> 00:00:02,000\nHi\n";
  EXPECT_EQ(ConvertForeignCaptions(srt, " \xC7\xD1 T", 25.0, static_cast<ForeignFormat>(2), When()),
            header + "</BODY>\r\n</SAMI>");
  EXPECT_EQ(ConvertForeignCaptions(srt, " \xC7\xD1 T", 25.0, ForeignFormat::Srt, When()),
            header + Sync(1000) + "\r\nHi\r\n" + Clear(2000) + "</BODY>\r\n</SAMI>");
}

TEST(ImportTest, BlankLinesAndSubLineSplits) {
  for (const char* blank : {"", " ", "\t\r\n\v\f"}) EXPECT_TRUE(IsBlankLine(blank)) << blank;
  for (const char* text : {"a", " ."}) EXPECT_FALSE(IsBlankLine(text)) << text;
  EXPECT_FALSE(IsBlankLine(std::string_view("\0", 1)));  // a NUL byte is text like any other
  EXPECT_EQ(SplitSubLines("a|b|c|d"), "a<br>\r\nb<br>\r\nc|d");
  EXPECT_EQ(SplitSubLines("||"), "<br>\r\n<br>\r\n");
  EXPECT_EQ(SplitSubLines("none"), "none");
}

TEST(ImportTest, SrtBodies) {
  const std::string long_line(1030, 'x');
  const Case cases[] = {
      // The worked entry: two text lines, then a blank line.
      {"1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\nWorld\r\n\r\n",
       Sync(1000) + "\r\nHello<br>\r\nWorld\r\n" + Clear(2500)},
      // No blank line and no line end after the last caption: closed once at its end.
      {"1\n00:00:01,000 --> 00:00:02,000\nLast", Sync(1000) + "\r\nLast\r\n" + Clear(2000)},
      // An empty first text line makes the caption a clear with no end sync.
      {"1\n00:00:05,000 --> 00:00:06,000\n \t\nstray\n2\n00:00:07,000 --> 00:00:08,000\nB\n",
       Sync(5000) + "&nbsp;\r\n" + Sync(7000) + "\r\nB\r\n" + Clear(8000)},
      // One-digit fields; a timing line inside a caption is text.
      {"0:1:2,3 --> 0:1:4,5\nA\n00:00:09,000 --> 00:00:10,000\n\n",
       Sync(62003) + "\r\nA<br>\r\n00:00:09,000 --> 00:00:10,000\r\n" + Clear(64005)},
      // A file ending right after a timing line; an end the scan never reaches is 0.
      {"00:00:01,000 --> 00:00:02,000", Sync(1000) + "\r\n" + Clear(2000)},
      {"00:00:01,000 --> x\nA\n", Sync(1000) + "\r\nA\r\n" + Clear(0)},
      // A line cut at its first CR; a line past 1022 bytes is two lines.
      {"00:00:01,000 --> 00:00:02,000\nA\rB\n" + long_line + "\n",
       Sync(1000) + "\r\nA<br>\r\n" + long_line.substr(0, 1022) + "<br>\r\nxxxxxxxx\r\n" + Clear(2000)},
  };
  for (const auto& c : cases) {
    std::string out = "keep:";
    ConvertSrt(c.input, out, true);
    EXPECT_EQ(out, "keep:" + c.body) << c.input;
  }
}

TEST(ImportTest, SubBodies) {
  auto caption = [](int start, const std::string& text, int end) {
    return Sync(start) + "\r\n" + text + "\r\n" + Clear(end);
  };
  const std::string x504(504, 'x');
  const Case cases[] = {
      {"{100}{200}a|b|c|d", caption(4000, "a<br>\r\nb<br>\r\nc|d", 8000)},
      {"skipped\n {1}{2}no\r\n{25}{50}A\r\n", caption(1000, "A", 2000)},
      {"{ 25}{-25}neg\n", caption(1000, "neg", -1000)},
      // Places past the end of a short line read as frame 0 and empty text.
      {"{5\n{abc}\n", caption(200, "", 0) + caption(0, "}", 0)},
      // A frame past the int32 range is held at INT32_MAX, whose x1000 wraps to -1000.
      {"{99999999999}{0}big\n", caption(-40, "big", 0)},
      // Only the first 510 bytes of a line are a caption line.
      {"{1}{2}" + x504 + "TAIL\n", caption(40, x504, 80)},
  };
  for (const auto& c : cases) {
    std::string out;
    ConvertSub(c.input, out, 25.0);
    EXPECT_EQ(out, c.body) << c.input;
  }
  std::string ntsc;
  ConvertSub("{1}{30}\xB4", ntsc, 23.976);
  EXPECT_EQ(ntsc, caption(41, "\xB4", 1251));
}

TEST(ImportTest, SubripBodies) {
  const Case cases[] = {
      {"00:01:02.35,00:01:04.10\nfirst[br]second[BR]third[Br]fourth\n\n",
       Sync(62350) + "\r\nfirst<br>\r\nsecond<br>\r\nthird[Br]fourth\r\n" + Clear(64100)},
      {"[INFORMATION]\n[TITLE]x\n[END INFORMATION]\n[SUBTITLE]\n[COLF]&HFFFFFF,[STYLE]bd\n"
       "00:00:20.19,00:00:22.59\nHi \xB4\n",
       Sync(20190) + "\r\nHi \xB4\r\n" + Clear(22590)},
      // A three-digit fraction leaves the end unread; a leading [br] makes a clear.
      {"00:00:01.123,00:00:02.500\nx\n\n00:00:03.00,00:00:04.00\n[br]lost\n",
       Sync(1123) + "\r\nx\r\n" + Clear(0) + Sync(3000) + "&nbsp;\r\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    ConvertSubrip(c.input, out);
    EXPECT_EQ(out, c.body) << c.input;
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
      {"", std::nullopt},
      {utf16, std::nullopt},
  };
  for (const auto& c : cases) {
    const FormatDetection d = DetectForeignFormat(c.input);
    EXPECT_EQ(d.format, c.format) << c.input;
    EXPECT_EQ(d.message, c.format ? "" : kUnsupportedFormatMessage) << c.input;
  }
  EXPECT_EQ(ForeignFormatName(ForeignFormat::Subrip), "SUBRIP");
}

TEST(ImportTest, TitleMarksDoubleByteSrtAndBomIsDropped) {
  const std::string srt = "\xEF\xBB\xBF" "00:00:06,500 --> 00:00:09,000\nit\xB4s \xB1\xB4\n";
  const std::string kept = ConvertForeignCaptions(srt, " t", 25.0, ForeignFormat::Srt, When());
  const std::string replaced = ConvertForeignCaptions(srt, "t", 25.0, ForeignFormat::Srt, When());
  EXPECT_NE(kept.find(Sync(6500) + "\r\nit\xB4s \xB1\xB4\r\n" + Clear(9000) + "</BODY>"),
            std::string::npos);
  EXPECT_NE(replaced.find(Sync(6500) + "\r\nit's \xB1'\r\n"), std::string::npos);
  // SUBRIP keeps 0xB4 whatever the title.
  EXPECT_NE(ConvertForeignCaptions("00:00:01.00,00:00:02.00\n\xB4\n", "t", 25.0, ForeignFormat::Subrip,
                                   When()).find("\r\n\xB4\r\n"),
            std::string::npos);
}

TEST(ImportTest, FrameRatesAndNewNames) {
  for (const char* ok : {"10", "50", "29.970", "23.976", "10."}) EXPECT_TRUE(ReadFrameRate(ok)) << ok;
  for (const char* bad : {"9.99", "50.01", "25fps", "", ".", "1e1", " 25", "+25", "25.0.0"})
    EXPECT_FALSE(ReadFrameRate(bad)) << bad;
  EXPECT_EQ(ReadFrameRate("29.970"), 29.97);
  EXPECT_EQ(ImportedCaptionPath("/a/movie.sub"), "/a/movie.smi");
  EXPECT_EQ(ImportedCaptionPath("movie.txt \r\n"), "movie.smi");
  EXPECT_EQ(ImportedCaptionPath("ab"), "smi");
}

// Real files: SRT, MicroDVD and SubViewer files of other projects, some in
// UTF-8 or UTF-16. Whatever they hold, the import is framed and never crashes.
TEST(ImportTest, RealCaptionFiles) {
  const std::string dir = test::SamplesDir();
  if (dir.empty()) GTEST_SKIP() << "no samples folder";
  int converted = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".srt" && ext != ".sub") continue;
    const std::string name = entry.path().filename().string();
    const std::string bytes = test::ReadFile(entry.path().string());
    const FormatDetection d = DetectForeignFormat(bytes);
    if (!d.format) continue;
    const std::string sami = ConvertForeignCaptions(bytes, " t", 25.0, *d.format, When());
    EXPECT_EQ(sami.rfind("<SAMI>\r\n<HEAD>\r\n<Title> t</Title>\r\n", 0), 0u) << name;
    EXPECT_TRUE(sami.ends_with("</BODY>\r\n</SAMI>")) << name;
    EXPECT_NE(sami.find("<SYNC Start="), std::string::npos) << name;
    if (name.find("microdvd") != std::string::npos) {
      EXPECT_EQ(d.format, ForeignFormat::Sub) << name;
    }
    if (name.find("subviewer") != std::string::npos) {
      EXPECT_EQ(d.format, ForeignFormat::Subrip) << name;
    }
    if (name == "srt-tools-s01-cp949.srt") {
      EXPECT_EQ(d.format, ForeignFormat::Srt);
      EXPECT_NE(sami.find(Sync(62916) + "\r\n<i>\xBF\xEC-\xBF\xEC</i>\r\n" + Clear(64940)),
                std::string::npos);
    }
    ++converted;
  }
  EXPECT_GT(converted, 0);
}

}  // namespace
}  // namespace cadenzio
