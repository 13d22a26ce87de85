// The sync utility's range operations on whole files, and the sync start rewrite.
#include "utility/range_operations.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <random>
#include <sstream>

#include "pattern/pattern_matcher.h"
#include "sami/sami_node_edit.h"

namespace cadenzio {
namespace {

constexpr char kHead[] = "<SAMI>\r\n<HEAD>\r\n<STYLE>\r\n<!--\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
constexpr char kEncc[] = ".ENCC {Name:English; lang:en-US; }\r\n";
constexpr char kTail[] = "</BODY>\r\n</SAMI>\r\n";
const std::string kHeadTwo = std::string(kHead).insert(std::string(kHead).find("-->"), kEncc);

std::string S(long t, const std::string& text = "\xC7\xD1") {
  return "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>" + text + "\r\n";
}

// "1000 _2000 +2950": a caption sync, a clearing sync as files write it (its
// tag on a line of its own), the blank sync ClearSyncs adds.
std::string Body(const std::string& list) {
  std::string out;
  std::istringstream items(list);
  for (std::string item; items >> item;) {
    const std::string tag = "<SYNC Start=" + item.substr(std::isdigit(item[0]) || item[0] == '-' ? 0 : 1) + ">";
    if (item[0] == '_') out += tag + "\r\n<P Class=KRCC>&nbsp;\r\n";
    else if (item[0] == '+') out += tag + "<P Class=KRCC>&nbsp;\r\n";
    else out += S(std::stol(item));
  }
  return out;
}

// The file written back, or the refusal's message.
std::string Apply(SyncOperation op, const RangeNumbers& range, const std::string& in, bool whole = false,
                  const std::string& head = kHead) {
  const RangeOutcome o = ApplyRangeOperation(op, head + Body(in) + kTail, range, whole, false);
  return o.ok() ? o.bytes : o.error;
}

TEST(SetSyncStart, FindsWhatThePatternFinds) {
  PatternMatcher pattern;
  ASSERT_TRUE(pattern.Compile(kSyncStartPattern));
  const std::vector<std::string> pieces = {"SYNC", "sync", "Start", " ", "\t", "=", "-", "12", "<",
                                           ">", "\r\n", std::string(1, '\0'), "\xC5S", "ms", "SYN"};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 9); n-- > 0;) text += pieces[random() % pieces.size()];
    const StartDigits direct = FindSyncStartDigits(text);
    ASSERT_EQ(static_cast<bool>(direct), pattern.Find(text) == 0) << text;
    if (!direct) continue;
    EXPECT_EQ(static_cast<long>(direct.from), pattern.GroupOffset(2)) << text;
    EXPECT_EQ(text.substr(direct.from, direct.to - direct.from), pattern.Group(2)) << text;
  }
}

// RangeNumbers: start position, start change, end change, end position.
TEST(RangeOperations, RewriteTheSyncsOfTheRange) {
  using O = SyncOperation;
  const RangeNumbers by300{0, 300, 0, 0}, doubled{1000, 1000, 3000, 2000};
  const struct { O op; RangeNumbers range; bool whole; std::string in, out; } cases[] = {
      {O::RangeShift, {2000, 500, 0, 0}, false, "1000 2000 _3000", "1000 2500 _3500"},  // end 0: to the end
      {O::RangeShift, {1000, 10, 0, 3000}, false, "1000 2000 3000", "1010 2010 3000"},  // end excluded
      {O::RangeShift, {2000, 1, 0, 1000}, false, "1000 3000", "1000 3001"},             // end < start: open
      {O::RangeShift, {-1000, -1500, 0, 0}, false, "-500 _2000", "-2000 _500"},  // a minus sign is read too
      {O::RangeShift, {0, INT_MAX, 0, 0}, false, "2147483000", "2147483647"},  // held at the largest
      {O::RatioScale, doubled, false, "999 1000 1250 1500 _2000 2001", "999 1000 1500 2000 _3000 2001"},
      {O::RatioScale, doubled, true, "999 1000 1250 1500 _2000 2001", "998 1000 1500 2000 _3000 3002"},
      {O::RatioScale, doubled, false, "5000 1500 999 1250 2000", "5000 2000 999 1500 3000"},  // out of order
      {O::RatioScale, {1000, 0, 1000, 4000}, true, "0 1001 3999", "-333 0 999"},  // truncated toward zero
      {O::ClearSyncs, by300, false, "1000 _2000 5000", "1000 _2300 5000"},
      // A moved clear stops 50 ms before the next caption, or goes back when it is close.
      {O::ClearSyncs, by300, false, "_2000 2200 _4000 4020", "_2150 2200 _3970 4020"},
      {O::ClearSyncs, {1500, 100, 0, 3000}, false, "_1000 _2000 _3000 9000", "_1000 _2100 _3000 9000"},
      // Change 0: a blank sync 50 ms before each caption, unless a clear is there.
      {O::ClearSyncs, {}, false, "1000 3000 _5000", "1000 +2950 3000 _5000"},
      {O::ClearSyncs, {}, false, "_4950 5000 _7949 8000", "_4950 5000 _7949 +7950 8000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Apply(c.op, c.range, c.in, c.whole), kHead + Body(c.out) + kTail) << c.in;
    if (c.op == O::ClearSyncs && c.range.start_change != 0)  // moving clears works whatever the classes
      EXPECT_EQ(Apply(c.op, c.range, c.in, false, kHeadTwo), kHeadTwo + Body(c.out) + kTail) << c.in;
  }
  // Adding blank syncs (change 0) needs a file of one language; break repair; no merge here.
  EXPECT_EQ(Apply(O::ClearSyncs, {}, "1000 2000", false, kHeadTwo), kClearSyncsOneLanguageMessage);
  const std::string two_lines = kHead + S(1000, "one\r\ntwo") + kTail;
  EXPECT_EQ(ApplyRangeOperation(O::RangeShift, two_lines, {0, 5, 0, 0}, false, true).bytes,
            kHead + S(1005, "one<br>\r\ntwo") + kTail);
  EXPECT_FALSE(ApplyRangeOperation(O::MergeTwo, two_lines, {}, false, false).ok());
}

}  // namespace
}  // namespace cadenzio
