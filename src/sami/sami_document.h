// The in-memory form of one SAMI caption file: head, declared language
// classes, default colour, the body as a flat list of nodes that each keep
// their exact source text, and the tail. Writing the head, every node's text
// and the tail in order gives the file back with the analyser's few
// normalisations.
//
// A document owns its nodes (a plain vector of values); tools make their own
// documents, the editor window keeps one for the edited caption.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "pattern/code_page.h"

namespace cadenzio {

enum class SamiNodeKind : int32_t { Sync = 0, Other = 1, Paragraph = 2, Overflow = 3 };

struct SamiNode {
  SamiNodeKind kind = SamiNodeKind::Other;
  std::string text;        // exact source text, line breaks included
  int32_t line = 0;        // 1-based line of the tag (Sync and Paragraph only)
  uint32_t clear_mask = 0; // Sync: classes cleared here; Paragraph: its mask when blank
  uint32_t class_mask = 0; // Sync: classes that have a paragraph here
  int32_t start = 0;       // Sync: time in milliseconds, may be negative
  std::string class_name;  // Paragraph: its Class attribute, "" when none

  // Moves a sync: the start digits in the text and the start field change
  // together (sami_node_edit.h says how). False when nothing changed.
  bool SetSyncStart(int32_t value);

  bool operator==(const SamiNode&) const = default;
};

// How blank paragraphs and line breaks are treated by Analyse().
enum AnalysisMode : int {
  kAnalysePlain = 0,        // blank paragraphs become "&nbsp;" clears
  kAnalyseFixBreaks = 1,    // the same, and multi-line captions get <br> tags
  kAnalyseKeepBlanks = 2,   // empty paragraphs stay as written (the sync check)
};

// Masks: bit i for the i-th declared class; a paragraph without a class has
// kAllClasses; an undeclared class has kUndeclaredClass (every bit).
inline constexpr uint32_t kAllClasses = 1023;
inline constexpr uint32_t kUndeclaredClass = 0xFFFFFFFFu;

// Limits of the analyser, named where they are enforced.
inline constexpr std::size_t kHeadLimit = 8191;        // bytes of head before the body must start
inline constexpr std::size_t kBodyPieceLimit = 1022;   // bytes of one body read
inline constexpr std::size_t kNodeTextLimit = 2048;    // node text that ends element recognition
inline constexpr std::size_t kMaskedParagraphLimit = 300;  // longer paragraphs take no part in masks

class CaptionSyncIndex;  // preview/caption_sync_index.h

class SamiDocument {
 public:
  SamiDocument() = default;
  explicit SamiDocument(const CodePage& cp) : cp_(&cp) {}

  // Fills the document from a file's bytes (the whole file). Returns false
  // only when the analyser's patterns cannot be prepared; the document is
  // then empty and not valid.
  bool Analyse(std::string_view file, int mode);
  // The same from an open stream, rewound first and read to its end.
  bool Analyse(std::FILE* stream, int mode);

  // Header, node texts and tail, exactly as stored.
  std::string Write() const;
  bool Write(std::FILE* stream) const;

  // Trimmed name -> mask: kAllClasses for "", 1 << index of the first class
  // equal ignoring ASCII case, kUndeclaredClass when none.
  uint32_t ClassMask(std::string_view name) const;
  // Index of the first class equal to name (not trimmed), or -1.
  int ClassIndex(std::string_view name) const;
  // The preview's caption at a position for the class at class_index, as RTF
  // into rtf; returns the start of the sync found (0 for none) and leaves rtf
  // untouched when that is previous_start. index, when given, finds the same
  // sync faster. Defined in preview/caption_renderer.cpp.
  int32_t RenderCaption(int32_t position_ms, int class_index, int32_t previous_start,
                        std::string& rtf, CaptionSyncIndex* index = nullptr) const;
  void ClearNodes() { nodes.clear(); }
  void Reset();

  // A readable dump of the whole document for tests and `cadenzio-cli info`.
  std::string Dump() const;

  const CodePage& code_page() const { return *cp_; }

  bool valid = false;
  std::vector<std::string> classes;  // last declaration in the file first
  std::string colour = "white";
  std::string header;
  std::vector<SamiNode> nodes;
  std::string tail;

 private:
  const CodePage* cp_ = &CodePage::Cp949();
};

// CP949 text of the message shown when the analyser cannot prepare its patterns.
extern const char kAnalyseInitFailedMessage[];

}  // namespace cadenzio
