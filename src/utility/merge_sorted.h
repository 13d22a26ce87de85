// Merge of two one-language SAMI files into one two-language file with its
// syncs in time order; given one file only, the same operation makes a
// two-language template with an empty KRCC caption before every caption.
//
// Pure: bytes (or analysed documents) in, the merged file's bytes out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

// Finds the class declaration in a header. Groups: 1 everything before it,
// 2 the blanks and the dot, 3 the class name, 4 the brace block with LANG and
// the blanks and line ends after it, 5 the rest of the header.
inline constexpr char kMergeHeaderPattern[] =
    "^(.*[\r\n]*)([ \t]*\\.)([a-zA-Z]+)([ \t]+{[^{}]+LANG[ \t]*:[^}]+}[ \t\r\n]*)(.*)$";

// The class the template puts before the file's own one.
inline constexpr char kTemplateClassDeclaration[] =
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n";
inline constexpr char kTemplateCaption[] = "<P Class=KRCC>\r\n\r\n";
// Stands for the blank paragraphs of a clearing sync in the output.
inline constexpr char kMergeBlankParagraph[] = "<P>&nbsp;\r\n";

// CP949 messages. The first two also cover a header whose class declaration
// the header pattern cannot find.
extern const char kMergeFirstNotOneLanguageMessage[];
extern const char kMergeSecondNotOneLanguageMessage[];
// For the caller that writes the output and cannot open it.
extern const char kMergeOutputOpenFailedMessage[];

struct MergeResult {
  std::string bytes;  // the whole output file when ok()
  std::string error;  // CP949 message; empty on success
  bool ok() const { return error.empty(); }
};

// Merges two analysed documents (first's syncs win ties), or, with second
// null, makes the template of first. The first document is checked before
// the second; nothing is built from a header the pattern does not match.
// Linear in the total size of both documents.
MergeResult MergeSortedDocuments(const SamiDocument& first, const SamiDocument* second);

// Analyses the files (mode 1 with break repair, else 0) and merges them; no
// second file gives the template. The second file is analysed only after the
// first passed its check. first_doc, when given, receives the first document.
MergeResult MergeSorted(std::string_view first, std::optional<std::string_view> second,
                        bool fix_breaks, SamiDocument* first_doc = nullptr);

}  // namespace cadenzio
