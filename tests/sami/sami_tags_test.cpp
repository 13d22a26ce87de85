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

TEST(SamiTags, AgreeWithTheirPatterns) {
  PatternMatcher sync, paragraph, nbsp;
  ASSERT_TRUE(sync.Compile(kSyncTagPattern) && paragraph.Compile(kClassParagraphPattern) &&
              nbsp.Compile(kNbspParagraphPattern));
  int tags = 0, clears = 0;  // matches seen: the comparison is not all misses
  auto expect_same = [&](std::string_view text) {
    SCOPED_TRACE("[" + Escape(text) + "]");
    for (auto [pattern, recognise] : {std::pair{&sync, &MatchSyncTag}, std::pair{&paragraph, &MatchClassParagraph}}) {
      const TagMatch got = recognise(text);
      tags += static_cast<bool>(got);
      if (pattern->Find(text) != 0) {
        EXPECT_FALSE(got);
        continue;
      }
      const std::string whole = std::string(pattern->Group(1)).append(pattern->Group(2)).append(pattern->Group(3));
      EXPECT_EQ(std::pair(text.substr(0, got.length), got.value), std::pair(std::string_view(whole), pattern->Group(2)));
    }
    clears += MatchNbspParagraph(text);
    EXPECT_EQ(MatchNbspParagraph(text), nbsp.Find(text) == 0);
  };
  using namespace std::string_view_literals;
  for (std::string_view text : {"< \tSYNC\tSTART=1500MS>\r\n"sv, "<SYNC Start=7>a\0<b>"sv, "<P Class=\"KRCC\">"sv,
                                "<P ID=x Class=KRCC>"sv, "<P Class=K\xB0RCC>"sv, "< p>\r\n &NBSP; \t"sv,
                                "<P>&nbsp;<SPANID=x> \n"sv, "<P\0>&nbsp;"sv, "<P>\xB0\xA1&nbsp;"sv})
    expect_same(text);

  static const char* const kTagPieces[] = {"<", ">", " ", "\t", "SYNC", "sync", "Start", "START", "=", "-", "1",
                                           "42", "MS", "ms", "M", "P", "p", "Class", "CLASS", "KRCC", "x", "\r\n",
                                           "\xB0\xA1", "\xB0", "\"", ""};
  static const char* const kClearPieces[] = {"<", ">", " ", "\t", "\r\n", "P", "p", "&nbsp;", "&NBSP;", "&nbsp",
                                             "<font x>", "<SPANID=y>", "<b>", "x", "\xB0\xA1", ""};
  std::mt19937 rng(11);
  for (int i = 0; i < 20000; ++i) {
    // Mostly well-formed: a value, then the close, then noise; "" stands for a NUL.
    std::string tag = i % 7 == 0 ? "<" : i % 2 ? "<SYNC Start=" : "<P Class=";
    tag += i % 2 ? (rng() % 2 ? "-12" : "345") : (rng() % 2 ? "KRCC" : "encc");
    if (rng() % 3) tag += rng() % 2 ? ">" : " \t>";
    for (int k = static_cast<int>(rng() % 6); k > 0; --k) tag += kTagPieces[rng() % std::size(kTagPieces)];
    if (rng() % 5 == 0) tag += std::string(1, '\0') + ">";
    std::string clear = i % 3 ? "<P Class=KRCC>" : "<";
    for (int k = static_cast<int>(rng() % 5); k > 0; --k) {
      const std::string_view piece = kClearPieces[rng() % std::size(kClearPieces)];
      clear += piece.empty() ? std::string(1, '\0') : std::string(piece);
    }
    expect_same(tag), expect_same(clear);
  }
  EXPECT_GT(tags, 1000);
  EXPECT_GT(clears, 500);
}

}  // namespace
}  // namespace cadenzio
