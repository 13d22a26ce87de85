// SRT export: SAMI bodies analysed as the export analyses them, and the exact bytes of their entries.
#include "tools/srt_export.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "pattern/pattern_matcher.h"

namespace cadenzio {
namespace {

// Head declaring ENCC (mask 2) and KRCC (mask 1): the last declaration comes first.
constexpr char kHead[] = "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n.ENCC {Name:English; lang:en-US; }\r\n"
                        ".KRCC {Name:Korean; lang:ko-KR; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

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
  // A paragraph past 2048 bytes is ended by the first Overflow node, whose
  // start gives the empty end text; the lines after it are not exported.
  const std::string line(98, 'x');
  std::string long_body = "<SYNC Start=1000><P Class=KRCC>", long_text;
  for (int i = 0; i < 21; ++i) long_body += line + "\r\n", long_text += (i ? "\r\n" : "") + line;
  struct Case { std::string body, srt; int mode = kAnalysePlain; };
  const std::vector<Case> cases = {
      // A clear ends a caption; <br> becomes CR LF; a clear at the very start is an entry.
      {Sync(500) + Sync(1000, "Hello") + Sync(3000) + Sync(4000, "first line<br>second line") + Sync(6000),
       "1\n00:00:00,500 --> 00:00:01,000\n&nbsp;\n\n2\n00:00:01,000 --> 00:00:03,000\nHello\n\n"
       "3\n00:00:04,000 --> 00:00:06,000\nfirst line\r\nsecond line\n\n"},
      // Starts of 0 or less have an empty clock text; hours pass two digits.
      {Sync(-40, "a") + Sync(360000000), "1\n --> 100:00:00,000\na\n\n"},
      // Two classes share an entry; a clear of either class uses the sync up.
      {Sync(1000, "\xC7\xD1\xB1\xDB") + "<P Class=ENCC>English\r\n" + Sync(2000, "lost") +
           "<P Class=ENCC>&nbsp;\r\n" + Sync(3000, "more", "ENCC") + Sync(4000),
       "1\n00:00:01,000 --> 00:00:02,000\n\xC7\xD1\xB1\xDB\r\nEnglish\n\n2\n00:00:03,000 --> 00:00:04,000\nmore\n\n"},
      // The last SPANID or FONT opening tag goes, closing tags and <BR> stay; "<span id" is no SPANID.
      {Sync(1000, "<FONT color=red>a</FONT> <SPANID x=1>b<BR>") + Sync(2000, "c <span id=x>d") + Sync(3000),
       "1\n00:00:01,000 --> 00:00:02,000\n<FONT color=red>a</FONT> b<BR>\n\n2\n00:00:02,000 --> 00:00:03,000\nc <span id=x>d\n\n"},
      // Trimmed first; <br> before CR LF gives one line end; comments are skipped.
      {Sync(1000, "\r\n  a<br>\r\nb<br>  ") + "<!-- note -->\r\n" + Sync(2000), "1\n00:00:01,000 --> 00:00:02,000\na\r\nb\r\n\n\n"},
      // Line-break repair makes an upper-case <BR> a <br>.
      {Sync(1000, "a<BR>b\r\nc") + Sync(2000), "1\n00:00:01,000 --> 00:00:02,000\na\r\nb\r\nc\n\n", kAnalyseFixBreaks},
      // The last caption has no clear: the entries before it stay, with the message.
      {Sync(1000, "one") + Sync(2000, "two"), "1\n00:00:01,000 --> 00:00:02,000\none\n\n"  // SMI 화일에 오류가 있습니다.
                                              "SMI \xC8\xAD\xC0\xCF\xBF\xA1 \xBF\xC0\xB7\xF9\xB0\xA1 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9."},
      {long_body + "overflow\r\n" + Sync(9000), "1\n00:00:01,000 --> \n" + long_text + "\n\n"},
  };
  for (const Case& c : cases) {
    const SrtExport srt = Export(c.body, c.mode);
    EXPECT_EQ(srt.bytes + srt.error, c.srt) << c.body;
  }
}

// The direct search removes what the pattern's group 2 matches, on texts made
// of the bytes that matter: tag openings in either case, '>', CP949 lead and
// trail bytes (a lead byte right before '>' or '<').
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

}  // namespace
}  // namespace cadenzio
