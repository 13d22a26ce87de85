// The direct tag recognisers against the patterns they stand for, on tables
// and on random text: the same verdict, and for the sync tag and the class
// paragraph the same length and value.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "pattern/pattern_matcher.h"
#include "sami/sami_tags.h"
#include "sami/sami_text.h"

namespace cadenzio {
namespace {

class SamiTags : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sync_.Compile(kSyncTagPattern) && paragraph_.Compile(kClassParagraphPattern) &&
                nbsp_.Compile(kNbspParagraphPattern));
  }

  // Compares every recogniser with its pattern on text; true when one matched.
  bool ExpectSame(std::string_view text) {
    SCOPED_TRACE("[" + Escape(text) + "]");
    bool any = false;
    for (auto [pattern, recognise] : {std::pair{&sync_, &MatchSyncTag},
                                      std::pair{&paragraph_, &MatchClassParagraph}}) {
      const TagMatch got = recognise(text);
      any = any || got;
      if (pattern->Find(text) != 0) {
        EXPECT_FALSE(got);
        continue;
      }
      EXPECT_EQ(text.substr(0, got.length),
                std::string(pattern->Group(1)).append(pattern->Group(2)).append(pattern->Group(3)));
      EXPECT_EQ(got.value, pattern->Group(2));
    }
    EXPECT_EQ(MatchNbspParagraph(text), nbsp_.Find(text) == 0);
    return any;
  }

  PatternMatcher sync_, paragraph_, nbsp_;
};

TEST_F(SamiTags, AgreeWithTheirPatternsOnTables) {
  using namespace std::string_view_literals;
  for (std::string_view text :
       {"<SYNC Start=1000>"sv, "<sync start = -20 >x<P>"sv, "< \tSYNC\tSTART=1500MS>\r\n"sv,
        "<SYNC Start=1500ms >"sv, "<SYNC Start=15 MS>"sv, "<SYNC Start=--5>"sv,
        "<SYNC Start=abc>"sv, "<SYNCStart=1>"sv, "<SYNC Start=1"sv, "<SYNC Start=7>\xB0<"sv,
        "<SYNC Start=7>a\0<b>"sv, "<SYNC Start=-0MS>tail"sv, "x<SYNC Start=1>"sv, ""sv,
        "<P Class=KRCC>Hello\r\n"sv, "<p class = encc >x<br>y"sv, "<P Class=\"KRCC\">"sv,
        "<P ID=x Class=KRCC>"sv, "<P Class=KRCC ID=x>"sv, "<PClass=KRCC>"sv, "< P\tCLASS=a>"sv,
        "<P Class=K\xB0RCC>"sv, "<P Class=KRCC"sv, "<P Class=>"sv,
        // Clear paragraphs.
        "<P Class=KRCC>&nbsp;"sv, "<P Class=KRCC>&nbsp;\r\n"sv, "< p>\r\n &NBSP; \t"sv,
        "<P Class=KRCC>&nbsp;<font color=red>\r\n"sv, "<P>&nbsp;<SPANID=x> \n"sv,
        "<P>&nbsp;<b>"sv, "<P>&nbsp;<font>x"sv, "<P>&nbsp;<font"sv, "<P>&nbsp;&nbsp;"sv,
        "<P>x&nbsp;"sv, "<P><b>&nbsp;"sv, "<P>&nbsp;\0junk"sv, "<P\0>&nbsp;"sv, "<Q>&nbsp;"sv,
        "<P>&nbsp"sv, "<P>&nbsp;<font a><font b>"sv, "P>&nbsp;"sv, "<P \r\n class=a>&nbsp;"sv,
        "<P>\xB0\xA1&nbsp;"sv}) {
    ExpectSame(text);
  }
}

TEST_F(SamiTags, AgreeWithTheirPatternsOnRandomText) {
  static const char* const kTagPieces[] = {
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
    for (int k = static_cast<int>(rng() % 6); k > 0; --k) text += kTagPieces[rng() % std::size(kTagPieces)];
    if (rng() % 5 == 0) text += std::string(1, '\0') + ">";
    matched += ExpectSame(text);
  }
  EXPECT_GT(matched, 1000);  // the comparison is not all misses

  static const char* const kClearPieces[] = {"<", ">", " ", "\t", "\r\n", "P", "p", "&nbsp;",
                                             "&NBSP;", "&nbsp", "<font x>", "<SPANID=y>", "<b>",
                                             "x", "\xB0\xA1", ""};
  matched = 0;
  for (int i = 0; i < 20000; ++i) {
    std::string text = i % 3 ? "<P Class=KRCC>" : "<";
    for (int k = static_cast<int>(rng() % 5); k > 0; --k) {
      const std::string_view piece = kClearPieces[rng() % std::size(kClearPieces)];
      text += piece.empty() ? std::string(1, '\0') : std::string(piece);
    }
    ExpectSame(text);
    matched += MatchNbspParagraph(text);
  }
  EXPECT_GT(matched, 500);
}

}  // namespace
}  // namespace cadenzio
