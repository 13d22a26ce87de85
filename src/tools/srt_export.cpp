// SubRip export: the caption walk over the document's nodes and the entry
// format. Caption texts of any length are taken whole (the text buffers grow
// as needed and are reused from caption to caption), and the output is
// reserved once, so the export stays linear in the document's size.
#include "tools/srt_export.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/time_format.h"

namespace cadenzio {

// "SMI 화일에 오류가 있습니다."
const char kSrtUnendedCaptionMessage[] =
    "SMI \xC8\xAD\xC0\xCF\xBF\xA1 \xBF\xC0\xB7\xF9\xB0\xA1 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";

namespace {

// The white space that trimming removes (C isspace in the "C" locale).
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
// Bytes an entry adds besides its text: number, two clock texts, separators.
constexpr std::size_t kEntryOverhead = 48;

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kWhiteSpace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

// What a paragraph adds to its caption: the text after its first '>', the P
// tag cut off. Node texts are C strings to this export, so a NUL byte ends
// one. A paragraph node without '>' has lost its tag and is all caption
// body: it adds its whole text.
std::string_view ParagraphBody(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  const std::size_t close = text.find('>');
  return close == std::string_view::npos ? text : text.substr(close + 1);
}

// Every "<br>\r\n" becomes "\r\n", then every remaining "<br>" becomes
// "\r\n", comparing letters exactly. Done in one pass: a "<br>" followed by
// CR LF is dropped, any other becomes CR LF; no replacement can form a new
// "<br>", so this equals the two passes.
void ReplaceBreaks(std::string_view text, std::string& out) {
  constexpr std::string_view kBreak = "<br>";
  constexpr std::string_view kLineEnd = "\r\n";
  out.clear();
  std::size_t pos = 0;
  for (std::size_t at; (at = text.find(kBreak, pos)) != std::string_view::npos;) {
    out.append(text.substr(pos, at - pos));
    pos = at + kBreak.size();
    if (text.substr(pos, kLineEnd.size()) != kLineEnd) out.append(kLineEnd);
  }
  out.append(text.substr(pos));
}

}  // namespace

std::optional<OpeningTag> FindLastOpeningTag(std::string_view text, const CodePage& cp) {
  constexpr std::string_view kOpenings[] = {"<SPANID", "<FONT"};
  for (std::size_t at = text.rfind('<'); at != std::string_view::npos;
       at = at == 0 ? std::string_view::npos : text.rfind('<', at - 1)) {
    for (std::string_view opening : kOpenings) {
      if (text.size() - at < opening.size() ||
          !cp.EqualNoCase(text.data() + at, opening.data(), opening.size()))
        continue;
      const std::size_t close = text.find('>', at + opening.size());
      if (close != std::string_view::npos) return OpeningTag{at, close + 1 - at};
    }
  }
  return std::nullopt;
}

namespace {

class SrtWriter {
 public:
  explicit SrtWriter(const SamiDocument& doc) : cp_(doc.code_page()) {}

  // Appends one entry for a caption of raw text (the paragraph bodies joined).
  void Entry(std::int32_t start, std::int32_t end, std::string_view raw, std::string& out) {
    ReplaceBreaks(Trim(raw), text_);
    char digits[24];
    const auto converted = std::to_chars(digits, digits + sizeof digits, number_++);
    out.append(digits, converted.ptr);
    out += '\n';
    out += FormatClockTime(start);
    out += " --> ";
    out += FormatClockTime(end);
    out += '\n';
    // The last SPANID or FONT opening tag goes; closing tags stay.
    const std::string_view text = text_;
    if (const auto tag = FindLastOpeningTag(text, cp_)) {
      out.append(text.substr(0, tag->offset));
      out.append(text.substr(tag->offset + tag->length));
    } else {
      out.append(text);
    }
    out += "\n\n";
  }

 private:
  const CodePage& cp_;
  std::int64_t number_ = 1;
  std::string text_;  // reused by every entry
};

std::size_t EstimateSize(const SamiDocument& doc) {
  std::size_t size = 0;
  for (const SamiNode& node : doc.nodes) {
    if (node.kind == SamiNodeKind::Sync) size += kEntryOverhead;
    else if (node.kind == SamiNodeKind::Paragraph) size += node.text.size();
  }
  return size;
}

}  // namespace

SrtExport WriteSrt(const SamiDocument& doc) {
  SrtExport result;
  result.bytes.reserve(EstimateSize(doc));
  SrtWriter writer(doc);
  std::string caption;
  const std::vector<SamiNode>& nodes = doc.nodes;
  std::size_t i = 0;
  while (i < nodes.size()) {
    // Every sync the walk meets opens a caption, a clearing one too.
    if (nodes[i].kind != SamiNodeKind::Sync) {
      ++i;
      continue;
    }
    std::int32_t start = nodes[i++].start;
    caption.clear();
    for (bool collecting = true; collecting; ++i) {
      if (i == nodes.size()) {
        result.error = kSrtUnendedCaptionMessage;
        return result;
      }
      const SamiNode& node = nodes[i];
      switch (node.kind) {
        case SamiNodeKind::Other:
          break;
        case SamiNodeKind::Paragraph:
          caption.append(ParagraphBody(node.text));
          break;
        case SamiNodeKind::Sync:
        case SamiNodeKind::Overflow:
          writer.Entry(start, node.start, caption, result.bytes);
          // A sync that clears nothing opens the next caption at once; a
          // clearing sync is used up, and after an Overflow node nothing is
          // recognised any more.
          if (node.kind == SamiNodeKind::Sync && node.clear_mask == 0) {
            start = node.start;
            caption.clear();
          } else {
            collecting = false;
          }
          break;
      }
    }
  }
  return result;
}

}  // namespace cadenzio
