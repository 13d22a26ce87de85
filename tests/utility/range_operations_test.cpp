// The sync utility's range operations on whole files, and the sync start rewrite.
#include "utility/range_operations.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <random>
#include <sstream>
#include <tuple>

#include "pattern/pattern_matcher.h"
#include "sami/sami_node_edit.h"

namespace cadenzio {
namespace {

constexpr char kHead[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
constexpr char kEncc[] = ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n";
constexpr char kTail[] = "</BODY>\r\n</SAMI>\r\n";
constexpr std::size_t kTailSize = sizeof kTail - 1;
const std::string kHeadTwo = std::string(kHead).insert(std::string(kHead).find("-->"), kEncc);

std::string S(long t, const std::string& text = "\xC7\xD1") {
  return "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>" + text + "\r\n";
}

// "1000 _2000 +2950 =2100": a caption sync, a clearing sync as files write it
// (its tag on a line of its own), the blank sync ClearSyncs adds, a bare sync.
std::string Body(const std::string& list) {
  std::string out;
  std::istringstream items(list);
  for (std::string item; items >> item;) {
    const std::string tag = "<SYNC Start=" + item.substr(std::isdigit(item[0]) || item[0] == '-' ? 0 : 1) + ">";
    if (item[0] == '_') out += tag + "\r\n<P Class=KRCC>&nbsp;\r\n";
    else if (item[0] == '+') out += tag + "<P Class=KRCC>&nbsp;\r\n";
    else if (item[0] == '=') out += tag + "\r\n";
    else out += S(std::stol(item));
  }
  return out;
}

// The body written back, or the refusal's message.
std::string Apply(SyncOperation op, const RangeNumbers& range, const std::string& in, bool whole = false,
                  const std::string& head = kHead) {
  const RangeOutcome o = ApplyRangeOperation(op, head + Body(in) + kTail, range, whole, false);
  if (!o.ok()) return o.error;
  EXPECT_EQ(o.bytes.substr(0, head.size()) + o.bytes.substr(o.bytes.size() - kTailSize), head + kTail);
  return o.bytes.substr(head.size(), o.bytes.size() - head.size() - kTailSize);
}

TEST(SetSyncStart, RewritesOnlyTheDigits) {
  const std::vector<std::tuple<std::string, int32_t, std::string>> edits = {
      {"<sync  start = 1000 >\r\n", 7, "<sync  start = 7 >\r\n"},
      {"<SYNC Start=1000ms>", -250, "<SYNC Start=-250ms>"},
      {"<SYNC Start=-500>", 500, "<SYNC Start=500>"},  // a minus sign is read too
      {std::string("<SYNC Start=1>\0tail", 19), INT32_MIN,
       std::string("<SYNC Start=-2147483648>\0tail", 29)},
  };
  auto node_of = [](SamiNodeKind kind, const std::string& text, int32_t start) {
    SamiNode node;
    return node.kind = kind, node.text = text, node.start = start, node;
  };
  for (const auto& [text, value, expected] : edits) {
    SamiNode node = node_of(SamiNodeKind::Sync, text, 1);
    EXPECT_TRUE(node.SetSyncStart(value));
    EXPECT_EQ(node, node_of(SamiNodeKind::Sync, expected, value));
  }
  for (const SamiNode& before : {node_of(SamiNodeKind::Sync, "<SYNC Start=- 5>", 0),
                                 node_of(SamiNodeKind::Paragraph, "<P Start=5>", 0)}) {
    SamiNode node = before;
    EXPECT_FALSE(node.SetSyncStart(99));
    EXPECT_EQ(node, before);
  }
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
  const struct { const char* what; O op; RangeNumbers range; bool whole; std::string in, out; } cases[] = {
      {"shift, end 0: to the end", O::RangeShift, {2000, 500, 0, 0}, false, "1000 2000 _3000", "1000 2500 _3500"},
      {"shift, end = start: nothing", O::RangeShift, {2000, 500, 0, 2000}, false, "1000 2000", "1000 2000"},
      {"shift, end excluded", O::RangeShift, {1000, 10, 0, 3000}, false, "1000 2000 3000", "1010 2010 3000"},
      {"shift, end < start: open", O::RangeShift, {2000, 1, 0, 1000}, false, "1000 3000", "1000 3001"},
      {"shift below zero", O::RangeShift, {0, -1500, 0, 0}, false, "1000 _2000", "-500 _500"},
      {"shift held at the largest", O::RangeShift, {0, INT_MAX, 0, 0}, false, "2147483000", "2147483647"},
      {"scale, both ends included", O::RatioScale, doubled, false, "999 1000 1250 1500 _2000 2001",
       "999 1000 1500 2000 _3000 2001"},
      {"scale over the whole file", O::RatioScale, doubled, true, "999 1000 1250 1500 _2000 2001",
       "998 1000 1500 2000 _3000 3002"},
      {"scale out of order: each by its start, the order kept", O::RatioScale, doubled, false,
       "5000 1500 999 1250 2000", "5000 2000 999 1500 3000"},
      {"scale divides, multiplies, truncates toward zero", O::RatioScale, {1000, 0, 1000, 4000}, true,
       "0 1001 3999", "-333 0 999"},
      {"scale to an empty span", O::RatioScale, {1000, 0, 5, 1000}, true, "1000", "1000"},
      {"clears move by the change", O::ClearSyncs, by300, false, "1000 _2000 5000", "1000 _2300 5000"},
      {"clears stop 50 ms before the next caption", O::ClearSyncs, by300, false, "_2000 2200", "_2150 2200"},
      {"clears go back when it is close", O::ClearSyncs, by300, false, "_2000 2020", "_1970 2020"},
      {"a clearing sync has paragraphs", O::ClearSyncs, by300, false, "_2000 _2100", "_2050 _2400"},
      {"a bare sync is passed over", O::ClearSyncs, by300, false, "_2000 =2100 2200", "_2150 =2100 2200"},
      {"clears of the range only", O::ClearSyncs, {1500, 100, 0, 3000}, false, "_1000 _2000 _3000 9000",
       "_1000 _2100 _3000 9000"},
      {"change 0: a blank sync before a caption", O::ClearSyncs, {}, false, "1000 3000 _5000", "1000 +2950 3000 _5000"},
      {"change 0: a clear within 50 ms is moved", O::ClearSyncs, {}, false, "1000 _4980 5000", "1000 _4950 5000"},
      {"change 0: exactly 50 ms stays", O::ClearSyncs, {}, false, "_4950 5000", "_4950 5000"},
      {"change 0: further, kept and one added", O::ClearSyncs, {}, false, "_4949 5000", "_4949 +4950 5000"},
      {"change 0: after the caption, moved", O::ClearSyncs, {}, false, "_5100 5000", "_4950 5000"},
      {"change 0: not before the first, the range aside", O::ClearSyncs, {5000, 0, 0, 6000}, false, "1000 2000",
       "1000 +1950 2000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Apply(c.op, c.range, c.in, c.whole), Body(c.out));
    if (c.op == O::ClearSyncs && c.range.start_change != 0)  // moving clears works whatever the classes
      EXPECT_EQ(Apply(c.op, c.range, c.in, false, kHeadTwo), Body(c.out));
  }
}

TEST(ClearSyncs, ChangeZeroNeedsOneClassAndCopiesItsMasks) {
  // The added sync's masks are the previous sync's class mask.
  SamiDocument doc;
  ASSERT_TRUE(doc.Analyse(kHead + S(1000) + "<SYNC Start=2000>\r\n" + S(3000) + kTail, 0));
  EXPECT_EQ(ClearSyncs(doc, {}), "");
  ASSERT_EQ(doc.nodes.size(), 10u);
  EXPECT_EQ(std::vector<uint32_t>({doc.nodes[3].clear_mask, doc.nodes[3].class_mask,
                                   doc.nodes[6].clear_mask, doc.nodes[6].class_mask}),
            std::vector<uint32_t>({1, 1, 0, 0}));

  for (const std::string& head : {kHeadTwo, std::string("<SAMI><BODY>\r\n")})
    EXPECT_EQ(Apply(SyncOperation::ClearSyncs, {}, "1000 2000", false, head), kClearSyncsOneLanguageMessage);
  std::string jp = kHead;
  jp.replace(jp.find("KRCC"), 4, "JPCC");
  EXPECT_EQ(Apply(SyncOperation::ClearSyncs, {}, "1000 2000", false, jp),
            S(1000) + "<SYNC Start=1950><P Class=JPCC>&nbsp;\r\n" + S(2000));
}

TEST(ApplyRangeOperation, BreakRepairAndOtherCodes) {
  const std::string in = kHead + S(1000, "one\r\ntwo") + kTail;
  for (bool repair : {true, false})
    EXPECT_EQ(ApplyRangeOperation(SyncOperation::RangeShift, in, {0, 5, 0, 0}, false, repair).bytes,
              kHead + S(1005, repair ? "one<br>\r\ntwo" : "one\r\ntwo") + kTail);
  EXPECT_FALSE(ApplyRangeOperation(SyncOperation::MergeTwo, in, {}, false, false).ok());
}

}  // namespace
}  // namespace cadenzio
