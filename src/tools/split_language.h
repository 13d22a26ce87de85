// Split by language: one SAMI file per declared language class, each holding
// the common header with only its own class declaration, the syncs and
// captions of that class, the nodes of no class, and the common tail.
//
// Pure: bytes in, named byte strings out. The caller writes the files.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sami/sami_document.h"

namespace cadenzio {

// One output file per entry of the classes array; more cannot be told apart
// by a paragraph without a class (its mask 1023 covers ten), so the split
// refuses such documents instead of leaving the extra languages out of the
// unnamed captions.
inline constexpr std::size_t kSplitFileSlots = 10;

// The declaration the split looks for in the header. Stricter than the
// analyser's own: it wants a blank before the brace and at least one byte
// between the brace and LANG, so some classes the analyser finds get their
// bare name in place of a declaration.
inline constexpr char kSplitClassDeclarationPattern[] =
    "^(.*[\r\n]*)([ \t]*\\.)([a-zA-Z]+)([ \t]+{[^{}]+LANG[ \t]*:[^}]+}[ \t\r\n]*)(.*)$";

struct SplitOutput {
  std::string name;   // base name with the class put before ".smi"
  std::string bytes;  // the whole file
};

struct SplitResult {
  std::vector<SplitOutput> files;  // in the order of the classes array
  std::string error;               // CP949 reason of a failure; empty on success
  bool ok() const { return error.empty(); }
};

// CP949 messages of the split. kSplitDoneFormat takes the elapsed seconds.
extern const char kSplitFailedMessage[];
extern const char kSplitDoneFormat[];
extern const char kSplitTooManyClassesMessage[];

// The analysis mode the split uses: line-break repair whenever the CHECKBR
// setting is not 0, whatever its value; never the blank-keeping mode 2.
int SplitAnalysisMode(long check_br);

// Every ".smi" in base, in any case, becomes "." + class + ".smi"; a base
// without one gets "." + class appended. Folders are not spared.
std::string SplitFileName(std::string_view base, std::string_view class_name);

// Analyses input in the given mode and splits it. A document without classes
// (also a file without any sync tag) gives no files and no error. When a
// class is declared twice its file comes twice; the later one is kept, in the
// place of the first.
SplitResult SplitByLanguage(std::string_view input, std::string_view base_name, int mode);

// The same for a document already analysed.
SplitResult SplitDocument(const SamiDocument& doc, std::string_view base_name);

}  // namespace cadenzio
