// SRT built from SRT timings and a text file, and SRT start times from an IDX file.
#include "utility/srt_build.h"

#include <gtest/gtest.h>

#include <tuple>

namespace cadenzio {
namespace {

TEST(SrtBuild, MergeSrtWithTextPairsTimingsWithBlocks) {
  const std::string x507(507, 'x');
  const struct { std::string srt, text, expected; } cases[] = {
      // Own numbers and texts dropped; blank runs before and between blocks
      // count as one; each entry line ends in CR LF, copied lines keep theirs.
      {"7\r\n00:00:01,000 --> 00:00:02,000\r\nold one\r\n\r\n8\n00:00:03,000 --> 00:00:04,500\nold\n",
       "\r\n  \r\nfirst\r\n\r\n\t\r\n\r\nsecond a\nsecond b",
       "1\r\n00:00:01,000 --> 00:00:02,000\r\nfirst\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,500\nsecond a\nsecond b\r\n"},
      // Lines are read in pieces of 510 bytes, so an arrow cut by the limit is no arrow.
      {x507 + "-->\r\n" + x507 + "x-->\r\n", "t\r\n", "1\r\n" + x507 + "-->t\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(MergeSrtWithText(c.srt, c.text).bytes, c.expected) << c.srt;
  // "자막갯수가 두화일간 일치하지 않습니다.\r\n   SRT - 2,  TXT - 3"
  const SrtBuildResult r = MergeSrtWithText(cases[0].srt, "a\n\nb\n\n\nc");
  EXPECT_EQ(r.error + r.bytes, "\xC0\xDA\xB8\xB7\xB0\xB9\xBC\xF6\xB0\xA1 \xB5\xCE\xC8\xAD\xC0\xCF\xB0\xA3 "
                               "\xC0\xCF\xC4\xA1\xC7\xCF\xC1\xF6 \xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n   SRT - 2,  TXT - 3");
}

TEST(SrtBuild, ApplyIdxStartTimesKeepsDurations) {
  const struct { std::string srt, idx, expected; int captions, idx_starts, unreadable; } cases[] = {
      // Index lines dropped, texts and blank lines kept; a timestamp of 0 has
      // no clock text; past the last timestamp a caption keeps its start.
      {"5\r\n00:00:10,000 --> 00:00:11,500\r\nhello\r\n\r\n6\r\n00:00:20,000 --> 00:00:22,000\r\n"
       "a\r\nb\r\n\r\n\r\n7\r\n00:00:30,000 --> 00:00:30,250\r\nbye\r\n",
       "# VobSub\nid: en\ntimestamp: 00:01:02:345, filepos: 000000000\ntimestamp: 00:00:00:000\n",
       "1\r\n00:01:02,345 --> 00:01:03,845\r\nhello\r\n\r\n2\r\n --> 00:00:02,000\r\na\r\nb\r\n\r\n"
       "\r\n3\r\n00:00:30,000 --> 00:00:30,250\r\nbye\r\n",
       3, 2, 0},
      // A broken timing line is copied under its number and uses up a
      // timestamp; lines with fewer than four numbers are skipped; blanks
      // before numbers are skipped, and the milliseconds take three digits.
      {"1\n00:00:05 --> soon\ntext\n\n2\n00:00:10,000 --> 00:00:12,000\nok\n",
       "timestamp: 00:00:01:000\ntimestamp: 00:07\ntimestamp:   01: 02:03:0045, x\n",
       "1\r\n00:00:05 --> soon\ntext\n\n2\r\n01:02:03,004 --> 01:02:05,004\r\nok\n", 2, 1, 1},
  };
  for (const auto& c : cases) {
    const SrtBuildResult r = ApplyIdxStartTimes(c.srt, c.idx);
    EXPECT_EQ(r.bytes, c.expected) << c.srt;
    EXPECT_EQ(std::tie(r.captions, r.idx_starts, r.unreadable_timings), std::tie(c.captions, c.idx_starts, c.unreadable));
  }
  EXPECT_EQ(SrtBuildOutputName("/work/movie.srt"), "/work/movie.Merged.SRT");
}

}  // namespace
}  // namespace cadenzio
