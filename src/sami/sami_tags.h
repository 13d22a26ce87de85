// Direct recognisers for the two tags that make up most of a caption body: a
// sync tag with its start, and a paragraph tag with a plain class; and for the
// paragraph that holds only a non-breaking space, the usual clear. Each gives
// exactly what the analyser's pattern gives (tests/sami/sami_tags_test.cpp and
// the analyser fuzz target compare them), at a fraction of the cost: neither
// pattern can backtrack into another match, because every repetition in it is
// followed by a byte that the repetition cannot take.
#pragma once

#include <cstddef>
#include <string_view>

namespace cadenzio {

// The patterns the recognisers stand for (TAB bytes stand as themselves).
inline constexpr char kSyncTagPattern[] =
    "^(<[ \t]*SYNC[ \t]+START[ \t]*=[ \t]*)(-?[0-9]+|-?[0-9]+MS)([ \t]*>[^<]*).*$";
inline constexpr char kClassParagraphPattern[] =
    "^(<[ \t]*P[ \t]+CLASS[ \t]*=[ \t]*)([A-Za-z]+)([ \t]*>[^<]*).*$";
inline constexpr char kNbspParagraphPattern[] =
    "^<[ \t]*P[^>]*>[ \t\r\n]*\\&NBSP;[ \t\r\n]*(<SPANID[^>]*>|<FONT[^>]*>)?[ \t\r\n]*$";

struct TagMatch {
  std::size_t length = 0;  // bytes of groups 1 to 3 together; 0 when there is no match
  std::string_view value;  // group 2: the start digits (sign included) or the class name
  explicit operator bool() const { return length != 0; }
};

// Both look at the front of text, which ends at its first NUL as for the
// patterns.
TagMatch MatchSyncTag(std::string_view text);
TagMatch MatchClassParagraph(std::string_view text);
// Whether the whole text is a paragraph of one "&nbsp;" (kNbspParagraphPattern).
bool MatchNbspParagraph(std::string_view text);

}  // namespace cadenzio
