// The direct tag recognisers against the patterns they stand for.
#include <gtest/gtest.h>

#include <random>

#include "pattern/pattern_matcher.h"
#include "sami/sami_tags.h"

namespace cadenzio {
namespace {


void ExpectSame(PatternMatcher& pattern, TagMatch (*recognise)(std::string_view),
                std::string_view text) {
  const TagMatch got = recognise(text);
  if (pattern.Find(text) != 0) {
    EXPECT_FALSE(got) << "[" << text << "]";
    return;
  }
  const std::string joined = std::string(pattern.Group(1)) + std::string(pattern.Group(2)) +
                             std::string(pattern.Group(3));
  ASSERT_TRUE(got) << "[" << text << "]";
  EXPECT_EQ(text.substr(0, got.length), joined) << "[" << text << "]";
  EXPECT_EQ(got.value, pattern.Group(2)) << "[" << text << "]";
}

TEST(SamiTags, AgreeWithPatternsOnTables) {
  PatternMatcher sync, paragraph;
  ASSERT_TRUE(sync.Compile(kSyncTagPattern));
  ASSERT_TRUE(paragraph.Compile(kClassParagraphPattern));
  for (std::string_view text :
       {"<SYNC Start=1000>", "<sync start = -20 >x<P>", "< \tSYNC\tSTART=1500MS>\r\n",
        "<SYNC Start=1500ms >", "<SYNC Start=15 MS>", "<SYNC Start=--5>", "<SYNC Start=abc>",
        "<SYNCStart=1>", "<SYNC Start=1", "<SYNC Start=7>\xB0<", "<SYNC Start=7>a\0<b>",
        "<SYNC Start=-0MS>tail", "x<SYNC Start=1>", ""}) {
    ExpectSame(sync, MatchSyncTag, text);
  }
  for (std::string_view text :
       {"<P Class=KRCC>Hello\r\n", "<p class = encc >x<br>y", "<P Class=\"KRCC\">",
        "<P ID=x Class=KRCC>", "<P Class=KRCC ID=x>", "<PClass=KRCC>", "< P\tCLASS=a>",
        "<P Class=K\xB0RCC>", "<P Class=KRCC", "<P Class=>"}) {
    ExpectSame(paragraph, MatchClassParagraph, text);
  }
}

TEST(SamiTags, AgreeWithPatternsOnRandomText) {
  PatternMatcher sync, paragraph;
  ASSERT_TRUE(sync.Compile(kSyncTagPattern));
  ASSERT_TRUE(paragraph.Compile(kClassParagraphPattern));
  static const char* const kPieces[] = {
      "<", ">", " ", "\t", "SYNC", "sync", "Start", "START", "=", "-", "1", "42", "MS", "ms",
      "M", "P", "p", "Class", "CLASS", "KRCC", "x", "\r\n", "\xB0\xA1", "\xB0", "\"", "",
  };
  std::mt19937 rng(11);
  int matched = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text = i % 2 ? "<SYNC Start=" : "<P Class=";
    if (i % 7 == 0) text = "<";
    // Mostly well-formed: a value, then the close, then noise.
    text += i % 2 ? (rng() % 2 ? "-12" : "345") : (rng() % 2 ? "KRCC" : "encc");
    if (rng() % 3) text += rng() % 2 ? ">" : " \t>";
    const int pieces = static_cast<int>(rng() % 6);
    for (int k = 0; k < pieces; ++k) text += kPieces[rng() % std::size(kPieces)];
    if (rng() % 5 == 0) text += std::string(1, '\0') + ">";
    ExpectSame(sync, MatchSyncTag, text);
    ExpectSame(paragraph, MatchClassParagraph, text);
    matched += MatchSyncTag(text) || MatchClassParagraph(text);
  }
  EXPECT_GT(matched, 1000);  // the comparison is not all misses
}

// The clear paragraph: the recogniser's yes or no is the pattern's.
TEST(SamiTags, NbspParagraphAgreesWithPattern) {
  PatternMatcher nbsp;
  ASSERT_TRUE(nbsp.Compile(kNbspParagraphPattern));
  auto expect_same = [&](std::string_view text) {
    EXPECT_EQ(MatchNbspParagraph(text), nbsp.Find(text) == 0) << "[" << text << "]";
  };
  using namespace std::string_view_literals;
  for (std::string_view text :
       {"<P Class=KRCC>&nbsp;"sv, "<P Class=KRCC>&nbsp;\r\n"sv, "< p>\r\n &NBSP; \t"sv,
        "<P Class=KRCC>&nbsp;<font color=red>\r\n"sv, "<P>&nbsp;<SPANID=x> \n"sv,
        "<P>&nbsp;<b>"sv, "<P>&nbsp;<font>x"sv, "<P>&nbsp;<font"sv, "<P>&nbsp;&nbsp;"sv,
        "<P>x&nbsp;"sv, "<P><b>&nbsp;"sv, "<P>&nbsp;\0junk"sv, "<P\0>&nbsp;"sv, "<Q>&nbsp;"sv,
        "<P>&nbsp"sv, "<P>&nbsp;<font a><font b>"sv, "P>&nbsp;"sv, "<P \r\n class=a>&nbsp;"sv,
        "<P>\xB0\xA1&nbsp;"sv, ""sv}) {
    expect_same(text);
  }
  static const char* const kPieces[] = {"<", ">", " ", "\t", "\r\n", "P", "p", "&nbsp;",
                                        "&NBSP;", "&nbsp", "<font x>", "<SPANID=y>", "<b>",
                                        "x", "\xB0\xA1", "\0"};
  std::mt19937 rng(5);
  int matched = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text = i % 3 ? "<P Class=KRCC>" : "<";
    const int pieces = static_cast<int>(rng() % 5);
    for (int k = 0; k < pieces; ++k) {
      const std::string_view piece = kPieces[rng() % std::size(kPieces)];
      text += piece.empty() ? std::string(1, '\0') : std::string(piece);
    }
    expect_same(text);
    matched += MatchNbspParagraph(text);
  }
  EXPECT_GT(matched, 500);
}

}  // namespace
}  // namespace cadenzio
