// Merge of two one-language SAMI files in time order, and the template made
// from one file. Both walk the nodes once and append to one output buffer.
#include "utility/merge_sorted.h"

#include <array>
#include <vector>

#include "pattern/pattern_matcher.h"

namespace cadenzio {

// "첫번째 자막이 맘에 안 드네요 -_-\r\n한가지 언어를 포함하고 있는 자막이여야 합니다.\r\n
//  헤드부에 언어클래스 정의부가 없다면 추가하시고...   "
const char kMergeFirstNotOneLanguageMessage[] =
    "\xC3\xB9\xB9\xF8\xC2\xB0 \xC0\xDA\xB8\xB7\xC0\xCC \xB8\xBE\xBF\xA1 \xBE\xC8 "
    "\xB5\xE5\xB3\xD7\xBF\xE4 -_-\r\n"
    "\xC7\xD1\xB0\xA1\xC1\xF6 \xBE\xF0\xBE\xEE\xB8\xA6 \xC6\xF7\xC7\xD4\xC7\xCF\xB0\xED "
    "\xC0\xD6\xB4\xC2 \xC0\xDA\xB8\xB7\xC0\xCC\xBF\xA9\xBE\xDF \xC7\xD5\xB4\xCF\xB4\xD9.\r\n"
    "\xC7\xEC\xB5\xE5\xBA\xCE\xBF\xA1 \xBE\xF0\xBE\xEE\xC5\xAC\xB7\xA1\xBD\xBA "
    "\xC1\xA4\xC0\xC7\xBA\xCE\xB0\xA1 \xBE\xF8\xB4\xD9\xB8\xE9 "
    "\xC3\xDF\xB0\xA1\xC7\xCF\xBD\xC3\xB0\xED...   ";
// The same, beginning "두번째".
const char kMergeSecondNotOneLanguageMessage[] =
    "\xB5\xCE\xB9\xF8\xC2\xB0 \xC0\xDA\xB8\xB7\xC0\xCC \xB8\xBE\xBF\xA1 \xBE\xC8 "
    "\xB5\xE5\xB3\xD7\xBF\xE4 -_-\r\n"
    "\xC7\xD1\xB0\xA1\xC1\xF6 \xBE\xF0\xBE\xEE\xB8\xA6 \xC6\xF7\xC7\xD4\xC7\xCF\xB0\xED "
    "\xC0\xD6\xB4\xC2 \xC0\xDA\xB8\xB7\xC0\xCC\xBF\xA9\xBE\xDF \xC7\xD5\xB4\xCF\xB4\xD9.\r\n"
    "\xC7\xEC\xB5\xE5\xBA\xCE\xBF\xA1 \xBE\xF0\xBE\xEE\xC5\xAC\xB7\xA1\xBD\xBA "
    "\xC1\xA4\xC0\xC7\xBA\xCE\xB0\xA1 \xBE\xF8\xB4\xD9\xB8\xE9 "
    "\xC3\xDF\xB0\xA1\xC7\xCF\xBD\xC3\xB0\xED...   ";
// "출력 화일을 열수가 없네요."
const char kMergeOutputOpenFailedMessage[] =
    "\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 \xBE\xF8\xB3\xD7\xBF\xE4.";

namespace {

using Nodes = std::vector<SamiNode>;

// Groups 1..5 of the header pattern, copied out of the matcher so that one
// matcher serves both headers.
using HeaderParts = std::array<std::string, 6>;

std::optional<HeaderParts> SplitHeader(PatternMatcher& matcher, std::string_view header) {
  if (matcher.Find(header) < 0) return std::nullopt;
  HeaderParts parts;
  for (int i = 1; i <= 5; ++i) parts[static_cast<std::size_t>(i)] = matcher.Group(i);
  return parts;
}

bool IsSync(const SamiNode& node) { return node.kind == SamiNodeKind::Sync; }
bool IsClearSync(const SamiNode& node) { return IsSync(node) && node.clear_mask != 0; }

// Index of the first Sync node at or after from, or the node count.
std::size_t SyncAtOrAfter(const Nodes& nodes, std::size_t from) {
  while (from < nodes.size() && !IsSync(nodes[from])) ++from;
  return from;
}

void AppendNodes(std::string& out, const Nodes& nodes, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) out += nodes[i].text;
}

std::size_t TextSize(const SamiDocument& doc) {
  std::size_t size = doc.header.size() + doc.tail.size();
  for (const auto& node : doc.nodes) size += node.text.size();
  return size;
}

// Both bodies in time order. Each document is a run of blocks, a block being
// a Sync node and the nodes up to the next one; the block with the earlier
// start goes first, and on equal starts the first document's sync line
// stands for both blocks.
void MergeBodies(std::string& out, const Nodes& a, const Nodes& b) {
  std::size_t ia = SyncAtOrAfter(a, 0), ib = SyncAtOrAfter(b, 0);
  AppendNodes(out, a, 0, ia);
  AppendNodes(out, b, 0, ib);
  while (ia < a.size() && ib < b.size()) {
    const std::size_t end_a = SyncAtOrAfter(a, ia + 1), end_b = SyncAtOrAfter(b, ib + 1);
    if (a[ia].start < b[ib].start) {
      AppendNodes(out, a, ia, end_a);
      ia = end_a;
    } else if (a[ia].start > b[ib].start) {
      AppendNodes(out, b, ib, end_b);
      ib = end_b;
    } else {
      out += a[ia].text;
      if (IsClearSync(a[ia]) && IsClearSync(b[ib])) {
        out += kMergeBlankParagraph;  // one blank for both clears
      } else {
        AppendNodes(out, a, ia + 1, end_a);
        AppendNodes(out, b, ib + 1, end_b);
      }
      ia = end_a;
      ib = end_b;
    }
  }
  AppendNodes(out, a, ia, a.size());
  AppendNodes(out, b, ib, b.size());
}

// The template body: every caption paragraph gets an empty KRCC caption
// before it, and the paragraphs of a clearing sync become one plain blank
// each, so the new class is cleared where the file's own class is.
void TemplateBody(std::string& out, const Nodes& nodes) {
  const std::size_t first_sync = SyncAtOrAfter(nodes, 0);
  AppendNodes(out, nodes, 0, first_sync);
  bool clearing = false;
  for (std::size_t i = first_sync; i < nodes.size(); ++i) {
    const SamiNode& node = nodes[i];
    if (IsSync(node)) {
      out += node.text;
      clearing = node.clear_mask != 0;
    } else if (node.kind == SamiNodeKind::Paragraph) {
      if (clearing) {
        out += kMergeBlankParagraph;
      } else {
        out += kTemplateCaption;
        out += node.text;
      }
    } else {
      out += node.text;
    }
  }
}

}  // namespace

MergeResult MergeSortedDocuments(const SamiDocument& first, const SamiDocument* second) {
  MergeResult result;
  if (first.classes.size() != 1) {
    result.error = kMergeFirstNotOneLanguageMessage;
    return result;
  }
  if (second && second->classes.size() != 1) {
    result.error = kMergeSecondNotOneLanguageMessage;
    return result;
  }
  PatternMatcher matcher(first.code_page());
  if (!matcher.Compile(kMergeHeaderPattern)) {
    result.error = kAnalyseInitFailedMessage;
    return result;
  }
  // A class the analyser found but the header pattern cannot (no blank
  // before the brace, say) leaves no groups to build a header from: such a
  // file is refused like one without exactly one class.
  const std::optional<HeaderParts> head_a = SplitHeader(matcher, first.header);
  if (!head_a) {
    result.error = kMergeFirstNotOneLanguageMessage;
    return result;
  }
  std::optional<HeaderParts> head_b;
  if (second) {
    head_b = SplitHeader(matcher, second->header);
    if (!head_b) {
      result.error = kMergeSecondNotOneLanguageMessage;
      return result;
    }
  }

  std::string& out = result.bytes;
  out.reserve(TextSize(first) +
              (second ? TextSize(*second) : first.nodes.size() * (sizeof kTemplateCaption)));
  const HeaderParts& a = *head_a;
  out += a[1];
  if (second) {
    const HeaderParts& b = *head_b;
    out.append(a[2]).append(a[3]).append(a[4]);
    out.append(b[2]).append(b[3]).append(b[4]).append(b[5]);
    MergeBodies(out, first.nodes, second->nodes);
  } else {
    out += kTemplateClassDeclaration;
    out.append(a[2]).append(a[3]).append(a[4]).append(a[5]);
    TemplateBody(out, first.nodes);
  }
  out += first.tail;
  return result;
}

MergeResult MergeSorted(std::string_view first, std::optional<std::string_view> second,
                        bool fix_breaks, SamiDocument* first_doc) {
  const int mode = fix_breaks ? kAnalyseFixBreaks : kAnalysePlain;
  SamiDocument local_first;
  SamiDocument& doc_a = first_doc ? *first_doc : local_first;
  MergeResult result;
  if (!doc_a.Analyse(first, mode) || !doc_a.valid) {
    result.error = kAnalyseInitFailedMessage;
    return result;
  }
  if (doc_a.classes.size() != 1) {
    result.error = kMergeFirstNotOneLanguageMessage;
    return result;
  }
  if (!second) return MergeSortedDocuments(doc_a, nullptr);
  SamiDocument doc_b(doc_a.code_page());
  if (!doc_b.Analyse(*second, mode) || !doc_b.valid) {
    result.error = kAnalyseInitFailedMessage;
    return result;
  }
  return MergeSortedDocuments(doc_a, &doc_b);
}

}  // namespace cadenzio
