// Finishing an analysed document: the language classes and default colour
// of the head, the class and clear masks of every sync, blank paragraphs made
// explicit clears, and (mode 1) line-break tags in multi-line captions.
#include <algorithm>

#include "sami/sami_patterns.h"
#include "sami/sami_tags.h"
#include "sami/sami_text.h"

namespace cadenzio {
namespace {

// Declarations are removed from a working copy of the head one by one; the
// greedy lead of the pattern finds the last one first. Returns what is left.
std::string ReadClasses(SamiDocument& doc, PatternMatcher& declaration) {
  std::string rest = doc.header;
  while (declaration.Find(rest) == 0) {
    doc.classes.emplace_back(declaration.Group(2));
    std::string shorter(declaration.Group(1));
    shorter += declaration.Group(3);
    rest = std::move(shorter);
  }
  return rest;
}

// The first "color:" left in the head outside the class declarations.
void ReadColour(SamiDocument& doc, std::string_view head) {
  PatternMatcher colour(doc.code_page());
  if (!colour.Compile("[ \t\r\n;]?color[ \t]?:([^;]+)")) return;
  if (colour.Find(head) < 0) return;
  doc.colour = AsciiLower(TrimSpace(colour.Group(1)), doc.code_page());
}

// What a paragraph holds after its own tag, blanks and tags aside: nothing,
// one "&nbsp;", or other text. Only the blank-paragraph patterns that can
// match what it holds need to run; they stay the judges. The text ends at a
// NUL here, as it does for the patterns.
enum class Content { Nothing, Nbsp, Text };

Content Classify(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::size_t i = text.find('>');
  if (i == std::string_view::npos) return Content::Text;
  Content seen = Content::Nothing;
  for (++i; i < text.size();) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
    } else if (c == '<') {
      const std::size_t close = text.find('>', i);
      if (close == std::string_view::npos) return seen;
      i = close + 1;
    } else if (seen == Content::Nothing && c == '&' &&
               EqualNoCase(text.substr(i, 6), "&NBSP;")) {
      seen = Content::Nbsp;
      i += 6;
    } else {
      return Content::Text;
    }
  }
  return seen;
}

// Whether the text after a line feed holds more than tags and white space.
bool HasTextAfter(std::string_view rest) {
  for (std::size_t i = 0; i < rest.size();) {
    const unsigned char c = static_cast<unsigned char>(rest[i]);
    if (IsSpace(c)) {
      ++i;
    } else if (c == '<') {
      const std::size_t close = rest.find('>', i + 1);
      if (close == std::string_view::npos) return false;
      i = close + 1;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace

void RepairBreaks(std::string& text) {
  ReplaceAll(text, "<BR>", "<br>");
  while (ReplaceAll(text, "<br><br>", "<br>") > 0) {}
  while (ReplaceAll(text, "\r\n\r\n", "\r\n") > 0) {}

  std::string copy;
  bool inserted = false;
  std::size_t copied = 0, line_start = 0;
  for (std::size_t i = text.find('\n'); i != std::string::npos; i = text.find('\n', i + 1)) {
    const std::string_view view(text);
    const std::string_view line = TrimSpaceRight(view.substr(line_start, i - line_start));
    if (!line.empty() && line.back() != '>' && HasTextAfter(view.substr(i + 1))) {
      const std::size_t at = (i > line_start && text[i - 1] == '\r') ? i - 1 : i;
      copy.append(text, copied, at - copied);
      copy += "<br>";
      copied = at;
      inserted = true;
    }
    line_start = i + 1;
  }
  if (!inserted) return;
  copy.append(text, copied, std::string::npos);
  text = std::move(copy);
}

// Counted as CP949 bytes; a text is never wider than its bytes, so short
// ones need no count.
bool TooLongForMasks(const CodePage& cp, std::string_view text) {
  return text.size() >= kMaskedParagraphLimit && cp.Cp949Width(text) >= kMaskedParagraphLimit;
}

// Only the blank-paragraph patterns that can match what the paragraph holds
// run; they stay the judges.
BlankParagraph FinishParagraph(std::string_view text, SamiPatterns& p, int mode,
                               std::string& rewritten) {
  auto rewrite = [&](const PatternMatcher& m) {
    rewritten.assign(m.Group(1));
    rewritten += "&nbsp;\r\n";
    return BlankParagraph::Rewritten;
  };
  const Content content = Classify(text);
  if (content == Content::Nothing && mode != kAnalyseKeepBlanks &&
      p.empty_paragraph.Find(text) == 0)
    return rewrite(p.empty_paragraph);
  if (content == Content::Nothing && p.break_paragraph.Find(text) == 0)
    return rewrite(p.break_paragraph);
  if (content == Content::Nbsp && MatchNbspParagraph(text)) return BlankParagraph::Clears;
  return BlankParagraph::No;
}

void MarkMasks(SamiDocument& doc, SamiPatterns& p, int mode) {
  SamiNode* sync = nullptr;
  uint32_t gathered = 0;
  std::string rewritten;
  for (SamiNode& node : doc.nodes) {
    if (node.kind == SamiNodeKind::Sync) {
      if (gathered != 0 && sync) sync->clear_mask = gathered;
      sync = &node;
      gathered = 0;
      continue;
    }
    if (node.kind != SamiNodeKind::Paragraph || TooLongForMasks(doc.code_page(), node.text))
      continue;
    const uint32_t mask = doc.ClassMask(node.class_name);
    switch (FinishParagraph(node.text, p, mode, rewritten)) {
      case BlankParagraph::Rewritten:
        node.text.swap(rewritten);
        [[fallthrough]];
      case BlankParagraph::Clears:
        node.clear_mask = mask;
        gathered |= mask;
        break;
      case BlankParagraph::No:
        break;
    }
    if (sync) sync->class_mask |= mask;
  }
  if (gathered != 0 && sync) sync->clear_mask = gathered;
}

void FinishHead(SamiDocument& doc, SamiPatterns& p) {
  const std::string head_rest = ReadClasses(doc, p.class_declaration);
  ReadColour(doc, head_rest);
}

}  // namespace cadenzio
