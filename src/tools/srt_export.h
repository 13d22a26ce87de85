// SubRip export: every caption of an analysed SAMI document, of all language
// classes together and in file order, as one numbered SRT entry.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "pattern/code_page.h"
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

// The same export straight from a file's working text, analysed in mode as
// SamiDocument::Analyse(text, mode) would (sami_node_stream.h) but without
// a document: the same bytes for far less time and memory on large files.
struct SrtTextExport {
  bool analysed = false;  // false: the analyser's patterns could not be prepared
  bool has_sync = false;  // the text holds at least one sync
  SrtExport srt;
};
SrtTextExport WriteSrtFromText(std::string_view text, const CodePage& cp, int mode);

// The caption text clean-up removes the opening tag that this pattern's
// group 2 matches: greedy group 1 makes it the last one.
inline constexpr std::string_view kSrtOpeningTagPattern =
    "^(.*)(<SPANID[^>]*>|<FONT[^>]*>)(.*)$";

// The same match done directly, as the export needs it for every caption:
// the last '<' that opens "<SPANID" or "<FONT" (ASCII case ignored) with a '>'
// after it, up to that first '>' (no CP949 character hides a '>' as its trail
// byte, so [^>]* always stops there). No value where the pattern fails.
struct OpeningTag {
  std::size_t offset = 0;
  std::size_t length = 0;
  bool operator==(const OpeningTag&) const = default;
};
std::optional<OpeningTag> FindLastOpeningTag(std::string_view text,
                                             const CodePage& cp = CodePage::Cp949());

// "SMI 화일에 오류가 있습니다." (CP949)
extern const char kSrtUnendedCaptionMessage[];

}  // namespace cadenzio
