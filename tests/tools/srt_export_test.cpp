// SRT export: SAMI bodies analysed as the export analyses them, and the exact
// bytes of the entries they give.
#include "tools/srt_export.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "pattern/pattern_matcher.h"
#include "test_support.h"

namespace cadenzio {
namespace {

// Head declaring ENCC (mask 2) and KRCC (mask 1): the last declaration comes first.
constexpr char kHead[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

SrtExport Export(const std::string& body, int mode = kAnalysePlain) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(kHead + body + "</BODY>\r\n</SAMI>\r\n", mode));
  return WriteSrt(doc);
}
// A sync line and its paragraph, by default a KRCC clear.
std::string Sync(int start, const std::string& text = "&nbsp;", const char* cls = "KRCC") {
  return "<SYNC Start=" + std::to_string(start) + "><P Class=" + cls + ">" + text + "\r\n";
}

TEST(SrtExportTest, WritesOneEntryPerCaption) {
  struct Case { std::string body, srt; int mode = kAnalysePlain; };
  const std::vector<Case> cases = {
      // A clear ends a caption; <br> becomes CR LF.
      {Sync(1000, "Hello") + Sync(3000) + Sync(4000, "first line<br>second line") + Sync(6000),
       "1\n00:00:01,000 --> 00:00:03,000\nHello\n\n"
       "2\n00:00:04,000 --> 00:00:06,000\nfirst line\r\nsecond line\n\n"},
      // Starts of 0 or less have an empty clock text; hours pass two digits.
      {Sync(0, "zero") + Sync(-40, "a") + Sync(360000000),
       "1\n --> \nzero\n\n2\n --> 100:00:00,000\na\n\n"},
      // A clear at the very start is an entry; a caption without a clear ends at the next.
      {Sync(500) + Sync(1000, "one") + Sync(2000, "two") + Sync(3500),
       "1\n00:00:00,500 --> 00:00:01,000\n&nbsp;\n\n2\n00:00:01,000 --> 00:00:02,000\none\n\n"
       "3\n00:00:02,000 --> 00:00:03,500\ntwo\n\n"},
      // Two classes share an entry; a clear of either class uses the sync up.
      {Sync(1000, "\xC7\xD1\xB1\xDB") + "<P Class=ENCC>English\r\n" + Sync(2000, "lost") +
           "<P Class=ENCC>&nbsp;\r\n" + Sync(3000, "more", "ENCC") + Sync(4000),
       "1\n00:00:01,000 --> 00:00:02,000\n\xC7\xD1\xB1\xDB\r\nEnglish\n\n"
       "2\n00:00:03,000 --> 00:00:04,000\nmore\n\n"},
      // The last SPANID or FONT opening tag goes, closing tags stay; "<span id" is no SPANID.
      {Sync(1000, "<font color=\"#ffff00\">yellow</font>") +
           Sync(2000, "<FONT color=red>a</FONT> <SPANID x=1>b") + Sync(3000, "c <span id=x>d") +
           Sync(4000),
       "1\n00:00:01,000 --> 00:00:02,000\nyellow</font>\n\n"
       "2\n00:00:02,000 --> 00:00:03,000\n<FONT color=red>a</FONT> b\n\n"
       "3\n00:00:03,000 --> 00:00:04,000\nc <span id=x>d\n\n"},
      // Trimmed first; <br> before CR LF gives one line end; comments are skipped.
      {Sync(1000, "\r\n  a<br>\r\nb<br>c<br>  ") + "<!-- note -->\r\n" + Sync(2000),
       "1\n00:00:01,000 --> 00:00:02,000\na\r\nb\r\nc\r\n\n\n"},
      // An upper-case <BR> stays, unless line-break repair made it a <br>.
      {Sync(1000, "a<BR>b") + Sync(2000), "1\n00:00:01,000 --> 00:00:02,000\na<BR>b\n\n"},
      {Sync(1000, "a<BR>b\r\nc") + Sync(2000),
       "1\n00:00:01,000 --> 00:00:02,000\na\r\nb\r\nc\n\n", kAnalyseFixBreaks},
  };
  for (const Case& c : cases) {
    const SrtExport srt = Export(c.body, c.mode);
    EXPECT_EQ(srt.bytes + srt.error, c.srt) << c.body;
  }
}

TEST(SrtExportTest, CaptionsThatNothingEnds) {
  // The last caption has no clear: the entries before it stay, with the message.
  SrtExport srt = Export(Sync(1000, "one") + Sync(2000, "two"));
  EXPECT_EQ(srt.bytes, "1\n00:00:01,000 --> 00:00:02,000\none\n\n");
  EXPECT_EQ(srt.error, "SMI \xC8\xAD\xC0\xCF\xBF\xA1 \xBF\xC0\xB7\xF9\xB0\xA1 "
                       "\xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.");

  // A paragraph past 2048 bytes is ended by the first Overflow node, whose
  // start gives the empty end text; the lines after it are not exported.
  const std::string line(98, 'x');
  std::string body = "<SYNC Start=1000><P Class=KRCC>", text;
  for (int i = 0; i < 21; ++i) {
    body += line + "\r\n";
    text += (i ? "\r\n" : "") + line;
  }
  srt = Export(body + "overflow\r\n" + Sync(9000));
  EXPECT_EQ(srt.bytes, "1\n00:00:01,000 --> \n" + text + "\n\n");
  EXPECT_EQ(srt.error, "");
}

// The direct search removes what the pattern's group 2 matches, on texts
// made of the bytes that matter: tag openings in either case, '>', CP949
// lead and trail bytes (a lead byte right before '>' or '<').
TEST(SrtExportTest, OpeningTagSearchAgreesWithThePattern) {
  PatternMatcher pattern;
  ASSERT_TRUE(pattern.Compile(kSrtOpeningTagPattern));
  const std::string pieces[] = {"<FONT", "<font", "<SpanId", "<SPAN", "<", ">", "x", " ",
                                "\r\n", "\xB0", "\xA1", "\x81", "\xC7\xD1", "=#ff"};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 12); n > 0; --n) text += pieces[random() % std::size(pieces)];
    std::optional<OpeningTag> want;
    if (pattern.Find(text) >= 0)
      want = OpeningTag{static_cast<std::size_t>(pattern.GroupOffset(2)), pattern.Group(2).size()};
    ASSERT_EQ(FindLastOpeningTag(text), want) << text;
  }
}

// A real file and the SRT another tool made of it: this export also writes
// the blank sync at 0 as an entry, so its entries are the other tool's with
// one in front; their times agree.
TEST(SrtExportTest, TimesAgreeWithAnotherToolOnARealFile) {
  const std::string dir = test::SamplesDir();
  const std::string smi = test::ReadFile(dir + "/srt-tools-s01-cp949.smi");
  const std::string theirs = test::ReadFile(dir + "/srt-tools-s01-cp949.srt");
  if (dir.empty() || smi.empty() || theirs.empty()) GTEST_SKIP() << "sample pair absent";
  SamiDocument doc;
  ASSERT_TRUE(doc.Analyse(smi, kAnalysePlain));
  const SrtExport srt = WriteSrt(doc);
  EXPECT_EQ(srt.error, "");
  auto timings = [](const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = text.find("-->"); at != std::string::npos; at = text.find("-->", at + 3)) {
      const std::size_t begin = text.rfind('\n', at) + 1;
      lines.push_back(text.substr(begin, text.find_first_of("\r\n", at) - begin));
    }
    return lines;
  };
  std::vector<std::string> other = timings(theirs);
  other.insert(other.begin(), " --> 00:01:02,916");
  EXPECT_EQ(timings(srt.bytes), other);
}

}  // namespace
}  // namespace cadenzio
