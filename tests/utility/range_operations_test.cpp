// The sync utility's range operations on whole files, and the sync start rewrite.
#include "utility/range_operations.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
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

// A caption sync; a clearing sync as files have it; the one ClearSyncs adds.
std::string S(long t, const std::string& text = "\xC7\xD1") {
  return "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>" + text + "\r\n";
}
std::string B(long t) { return "<SYNC Start=" + std::to_string(t) + ">\r\n<P Class=KRCC>&nbsp;\r\n"; }
std::string Added(long t) { return "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>&nbsp;\r\n"; }

struct Case {
  const char* name;
  RangeNumbers range;
  std::string in, out;  // bodies
};

// The body written back, or the refusal's message.
std::string Apply(SyncOperation op, const Case& c, bool whole = false,
                  const std::string& head = kHead) {
  const RangeOutcome o = ApplyRangeOperation(op, head + c.in + kTail, c.range, whole, false);
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
    node.kind = kind, node.text = text, node.start = start;
    return node;
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

TEST(RangeShift, ShiftsTheSyncsOfTheRange) {
  const std::vector<Case> cases = {
      {"end 0: to the end", {2000, 500, 0, 0}, S(1000) + S(2000) + B(3000),
       S(1000) + S(2500) + B(3500)},
      {"end = start: nothing", {2000, 500, 0, 2000}, S(1000) + S(2000), S(1000) + S(2000)},
      {"end excluded", {1000, 10, 0, 3000}, S(1000) + S(2000) + S(3000),
       S(1010) + S(2010) + S(3000)},
      {"end < start: open", {2000, 1, 0, 1000}, S(1000) + S(3000), S(1000) + S(3001)},
      {"below zero", {0, -1500, 0, 0}, S(1000) + B(2000), S(-500) + B(500)},
      {"held at the largest", {0, INT_MAX, 0, 0}, S(2147483000), S(2147483647)},
  };
  for (const Case& c : cases) EXPECT_EQ(Apply(SyncOperation::RangeShift, c), c.out) << c.name;
}

TEST(RatioScale, MapsTheRangeOntoTheNewRange) {
  const RangeNumbers doubled{1000, 1000, 3000, 2000};
  const std::string in = S(999) + S(1000) + S(1250) + S(1500) + B(2000) + S(2001);
  EXPECT_EQ(Apply(SyncOperation::RatioScale, {"", doubled, in, ""}),
            S(999) + S(1000) + S(1500) + S(2000) + B(3000) + S(2001));
  EXPECT_EQ(Apply(SyncOperation::RatioScale, {"", doubled, in, ""}, true),
            S(998) + S(1000) + S(1500) + S(2000) + B(3000) + S(3002));
  // Out of order: each sync by its own start, the file's order kept.
  EXPECT_EQ(Apply(SyncOperation::RatioScale,
                  {"", doubled, S(5000) + S(1500) + S(999) + S(1250) + S(2000), ""}),
            S(5000) + S(2000) + S(999) + S(1500) + S(3000));
  // Divided, multiplied, truncated toward zero.
  EXPECT_EQ(Apply(SyncOperation::RatioScale, {"", {1000, 0, 1000, 4000}, S(0) + S(1001) + S(3999), ""},
                  true),
            S(-333) + S(0) + S(999));
  EXPECT_EQ(Apply(SyncOperation::RatioScale, {"", {1000, 0, 5, 1000}, S(1000), ""}, true), S(1000));
}

TEST(ClearSyncs, MovesTheClearingSyncsOfTheRange) {
  const RangeNumbers by300{0, 300, 0, 0};
  const std::vector<Case> cases = {
      {"by the change", by300, S(1000) + B(2000) + S(5000), S(1000) + B(2300) + S(5000)},
      {"50 ms before the next caption", by300, B(2000) + S(2200), B(2150) + S(2200)},
      {"back when it is close", by300, B(2000) + S(2020), B(1970) + S(2020)},
      {"a clearing sync has paragraphs", by300, B(2000) + B(2100), B(2050) + B(2400)},
      {"a bare sync is passed over", by300, B(2000) + "<SYNC Start=2100>\r\n" + S(2200),
       B(2150) + "<SYNC Start=2100>\r\n" + S(2200)},
      {"the range", {1500, 100, 0, 3000}, B(1000) + B(2000) + B(3000) + S(9000),
       B(1000) + B(2100) + B(3000) + S(9000)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Apply(SyncOperation::ClearSyncs, c), c.out) << c.name;
    EXPECT_EQ(Apply(SyncOperation::ClearSyncs, c, false, kHeadTwo), c.out) << c.name;
  }
}

TEST(ClearSyncs, ChangeZeroPutsABlankSyncBeforeEveryCaption) {
  const std::vector<Case> cases = {
      {"after a caption", {}, S(1000) + S(3000) + B(5000), S(1000) + Added(2950) + S(3000) + B(5000)},
      {"within 50 ms: moved", {}, S(1000) + B(4980) + S(5000), S(1000) + B(4950) + S(5000)},
      {"exactly 50 ms: stays", {}, B(4950) + S(5000), B(4950) + S(5000)},
      {"further: kept, one added", {}, B(4949) + S(5000), B(4949) + Added(4950) + S(5000)},
      {"after the caption: moved", {}, B(5100) + S(5000), B(4950) + S(5000)},
      {"not before the first, the range aside", {5000, 0, 0, 6000}, S(1000) + S(2000),
       S(1000) + Added(1950) + S(2000)},
  };
  for (const Case& c : cases) EXPECT_EQ(Apply(SyncOperation::ClearSyncs, c), c.out) << c.name;

  // The added sync's masks are the previous sync's class mask.
  SamiDocument doc;
  ASSERT_TRUE(doc.Analyse(kHead + S(1000) + "<SYNC Start=2000>\r\n" + S(3000) + kTail, 0));
  EXPECT_EQ(ClearSyncs(doc, {}), "");
  ASSERT_EQ(doc.nodes.size(), 10u);
  EXPECT_EQ(std::vector<uint32_t>({doc.nodes[3].clear_mask, doc.nodes[3].class_mask,
                                   doc.nodes[6].clear_mask, doc.nodes[6].class_mask}),
            std::vector<uint32_t>({1, 1, 0, 0}));

  for (const std::string& head : {kHeadTwo, std::string("<SAMI><BODY>\r\n")}) {
    EXPECT_EQ(Apply(SyncOperation::ClearSyncs, {"", {}, S(1000) + S(2000), ""}, false, head),
              kClearSyncsOneLanguageMessage);
  }
  std::string jp = kHead;
  jp.replace(jp.find("KRCC"), 4, "JPCC");
  EXPECT_EQ(Apply(SyncOperation::ClearSyncs, {"", {}, S(1000) + S(2000), ""}, false, jp),
            S(1000) + "<SYNC Start=1950><P Class=JPCC>&nbsp;\r\n" + S(2000));
}

TEST(ApplyRangeOperation, BreakRepairAndOtherCodes) {
  const std::string in = kHead + S(1000, "one\r\ntwo") + kTail;
  for (bool repair : {true, false}) {
    EXPECT_EQ(ApplyRangeOperation(SyncOperation::RangeShift, in, {0, 5, 0, 0}, false, repair).bytes,
              kHead + S(1005, repair ? "one<br>\r\ntwo" : "one\r\ntwo") + kTail);
  }
  EXPECT_FALSE(ApplyRangeOperation(SyncOperation::MergeTwo, in, {}, false, false).ok());
}

}  // namespace
}  // namespace cadenzio
