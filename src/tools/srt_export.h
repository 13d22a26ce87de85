// SubRip export: every caption of an analysed SAMI document, of all language
// classes together and in file order, as one numbered SRT entry.
#pragma once

#include <string>

#include "sami/sami_document.h"

namespace cadenzio {

struct SrtExport {
  // The entries, "%d\n%s --> %s\n%s\n\n" each: LF ends the entry's own lines,
  // CR LF the lines inside its text, and the caption bytes stay as they are.
  std::string bytes;
  // Empty, or the CP949 message for a caption that no later sync ends; bytes
  // then hold the entries before that caption, which a caller still writes.
  std::string error;
};

// A caption starts at a sync and ends at the next Sync or Overflow node, of
// any class. A clearing sync that ends a caption is used up (its own
// paragraphs are not exported); any other sync starts the next caption at
// once. The text is the paragraphs' bodies after their P tags, trimmed, with
// "<br>" (exactly in lower case) turned into CR LF and the last SPANID or
// FONT opening tag removed.
SrtExport WriteSrt(const SamiDocument& doc);

// "SMI 화일에 오류가 있습니다." (CP949)
extern const char kSrtUnendedCaptionMessage[];

}  // namespace cadenzio
