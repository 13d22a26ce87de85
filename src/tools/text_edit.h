// Editing steps on byte strings by position, and a replacement that finds its
// piece without regard to ASCII case. The split command builds its output
// names with them; they know nothing of captions.
#pragma once

#include <string>
#include <string_view>

#include "pattern/code_page.h"

namespace cadenzio {

// Inserts piece before text[index]. An empty piece changes nothing; an index
// at or past the end pads the text with blanks up to the index and appends;
// a negative index inserts at the start.
void InsertAt(std::string& text, long index, std::string_view piece);

// Deletes count bytes from index. An index outside the text (negative, at or
// past the end) changes nothing; a negative count, or one larger than what is
// left, deletes to the end.
void DeleteAt(std::string& text, long index, long count);

// DeleteAt, then InsertAt at the same index.
void ReplaceAt(std::string& text, long index, long count, std::string_view piece);

// Replaces occurrences of piece in text by replacement, comparing ASCII
// letters without case (multibyte characters compare exactly); with all false
// only the first. The search goes on after each hit, so hits never overlap
// and a replacement is never searched again. A hit must start where a
// character starts: the trail byte of a double-byte character is no letter,
// even when its value is one. An empty piece is found nowhere. Returns the
// number of replacements.
int ReplaceNoCase(std::string& text, std::string_view piece, std::string_view replacement,
                  bool all, const CodePage& cp = CodePage::Cp949());

}  // namespace cadenzio
