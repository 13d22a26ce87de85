// The fixed patterns with which the analyser and its post-processing
// recognise SAMI markup, compiled together once per analysis. TAB bytes
// stand in the patterns as themselves. The sync tag, the paragraph with a
// class and the "&nbsp;" paragraph are recognised directly (sami_tags.h), so
// they have no matcher here.
#pragma once

#include "pattern/pattern_matcher.h"
#include "sami/sami_document.h"

namespace cadenzio {

struct SamiPatterns {
  explicit SamiPatterns(const CodePage& cp)
      : sami_close(cp), body_close(cp), any_paragraph(cp), comment(cp), empty_paragraph(cp),
        break_paragraph(cp), class_declaration(cp) {}

  bool Compile();

  PatternMatcher sami_close;
  PatternMatcher body_close;
  PatternMatcher any_paragraph;
  PatternMatcher comment;
  PatternMatcher empty_paragraph;
  PatternMatcher break_paragraph;
  PatternMatcher class_declaration;
};

// The steps that finish a document once its body is cut into nodes. The
// streamed analysis (sami_node_stream.h) takes the same steps a sync at a time.

// The language classes and the default colour, from doc.header.
void FinishHead(SamiDocument& doc, SamiPatterns& patterns);

// What a blank paragraph does: nothing (No); its mask joins its sync's clear
// mask (Clears); the same, and its text becomes its tag and a non-breaking
// space, a span or font tag after it dropped (Rewritten, the new text in
// rewritten).
enum class BlankParagraph { No, Clears, Rewritten };
BlankParagraph FinishParagraph(std::string_view text, SamiPatterns& patterns, int mode,
                               std::string& rewritten);

// Class and clear masks of every sync and the blank paragraphs made clears.
void MarkMasks(SamiDocument& doc, SamiPatterns& patterns, int mode);

// Paragraphs this long (in CP949 bytes) take no part in masks or break repair.
bool TooLongForMasks(const CodePage& cp, std::string_view text);

// Mode kAnalyseFixBreaks: "<br>" at the end of every caption line that
// continues on the next.
void RepairBreaks(std::string& text);

}  // namespace cadenzio
