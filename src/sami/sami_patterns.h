// The fixed patterns with which the analyser and its post-processing
// recognise SAMI markup, compiled together once per analysis. TAB bytes
// stand in the patterns as themselves. The sync tag and the paragraph with a
// class are recognised directly (sami_tags.h), so they have no matcher here.
#pragma once

#include "pattern/pattern_matcher.h"
#include "sami/sami_document.h"

namespace cadenzio {

struct SamiPatterns {
  explicit SamiPatterns(const CodePage& cp)
      : sami_close(cp), body_close(cp), any_paragraph(cp), comment(cp), empty_paragraph(cp),
        break_paragraph(cp), nbsp_paragraph(cp), class_declaration(cp) {}

  bool Compile();

  PatternMatcher sami_close;
  PatternMatcher body_close;
  PatternMatcher any_paragraph;
  PatternMatcher comment;
  PatternMatcher empty_paragraph;
  PatternMatcher break_paragraph;
  PatternMatcher nbsp_paragraph;
  PatternMatcher class_declaration;
};

// The steps that finish a document once its body is cut into nodes:
// classes, default colour, masks and blank paragraphs, line breaks (mode 1).
void PostProcess(SamiDocument& doc, SamiPatterns& patterns, int mode);

}  // namespace cadenzio
