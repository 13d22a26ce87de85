// Clock text and timing-line readers: worked values, and the scans against sscanf itself.
#include "tools/time_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <random>

namespace cadenzio {
namespace {

TEST(TimeFormatTest, FormatsClockTimeAndReadsTimingLines) {
  EXPECT_EQ(FormatClockTime(0) + "|" + FormatClockTime(3723004) + "|" + FormatClockTime(INT32_MAX),
            "|01:02:03,004|596:31:23,647");
  EXPECT_TRUE(IsSrtTimingLine("x-->y") && !IsSrtTimingLine("00:00:01,500 -> 00:00:03,000"));
  EXPECT_EQ(SubripToSrtTiming(" 00:01:02.35,00:01:04.10"), std::nullopt);
  // A three-digit fraction gains a fourth digit that the SRT scan stops at.
  EXPECT_EQ(ReadSrtTiming(*SubripToSrtTiming("00:00:01.123,00:00:02.500")), (SrtTiming{1123, 0, 4}));
  EXPECT_EQ(SubFrameToMs(2147484, 1.0), -2147483296);  // frame x 1000 wraps at 32 bits
}

// Random text over the bytes that matter to the scans must read the same as with sscanf itself.
TEST(TimeFormatTest, ScansMatchSscanf) {
  std::mt19937 rng(949);
  const std::string alphabet = "0123456789:, \t-+>x";
  for (int round = 0; round < 20000; ++round) {
    std::string s;
    for (int n = static_cast<int>(rng() % 24); n > 0; --n) s += alphabet[rng() % alphabet.size()];
    if (round % 2) s.insert(rng() % (s.size() + 1), " --> ");
    int c[4] = {};
    std::sscanf(s.c_str(), "%02d:%02d:%02d,%03d", &c[0], &c[1], &c[2], &c[3]);
    ASSERT_EQ(ParseClockTime(s), ((c[0] * 60 + c[1]) * 60 + c[2]) * 1000 + c[3]) << s;
    int f[8] = {};
    const int got = std::sscanf(s.c_str(), "%2d:%2d:%2d,%3d --> %2d:%2d:%2d,%3d", &f[0], &f[1],
                                &f[2], &f[3], &f[4], &f[5], &f[6], &f[7]);
    const SrtTiming want{((f[0] * 60 + f[1]) * 60 + f[2]) * 1000 + f[3],
                         ((f[4] * 60 + f[5]) * 60 + f[6]) * 1000 + f[7], got < 0 ? 0 : got};
    ASSERT_EQ(ReadSrtTiming(s), want) << s;
  }
}

}  // namespace
}  // namespace cadenzio
