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
#include <utility>

#include "sami/sami_node_stream.h"
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
  explicit SrtWriter(const CodePage& cp) : cp_(cp) {}

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

// The caption walk, a node at a time: every sync met outside a caption
// opens one, a clearing one too.
class SrtWalk {
 public:
  SrtWalk(const CodePage& cp, std::size_t reserve) : writer_(cp) { result_.bytes.reserve(reserve); }

  void Visit(SamiNodeKind kind, std::int32_t start, uint32_t clear_mask, std::string_view text) {
    if (!collecting_) {
      if (kind == SamiNodeKind::Sync) {
        collecting_ = true;
        start_ = start;
        caption_.clear();
      }
      return;
    }
    switch (kind) {
      case SamiNodeKind::Other:
        break;
      case SamiNodeKind::Paragraph:
        caption_.append(ParagraphBody(text));
        break;
      case SamiNodeKind::Sync:
      case SamiNodeKind::Overflow:
        writer_.Entry(start_, start, caption_, result_.bytes);
        // A sync that clears nothing opens the next caption at once; a
        // clearing sync is used up, and after an Overflow node nothing is
        // recognised any more.
        if (kind == SamiNodeKind::Sync && clear_mask == 0) {
          start_ = start;
          caption_.clear();
        } else {
          collecting_ = false;
        }
        break;
    }
  }

  // A caption still open at the end has no end: left out and reported.
  SrtExport Finish() && {
    if (collecting_) result_.error = kSrtUnendedCaptionMessage;
    return std::move(result_);
  }

 private:
  SrtWriter writer_;
  SrtExport result_;
  bool collecting_ = false;
  std::int32_t start_ = 0;
  std::string caption_;  // the paragraph bodies joined, reused by every caption
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
  SrtWalk walk(doc.code_page(), EstimateSize(doc));
  for (const SamiNode& node : doc.nodes) walk.Visit(node.kind, node.start, node.clear_mask, node.text);
  return std::move(walk).Finish();
}

SrtTextExport WriteSrtFromText(std::string_view text, const CodePage& cp, int mode) {
  // The entries are rarely longer than the file; pages reserved and never
  // touched cost nothing.
  SrtWalk walk(cp, text.size() + text.size() / 4);
  SrtTextExport result;
  result.analysed = StreamSamiNodes(text, cp, mode, [&](const SamiNodeView& node) {
    result.has_sync = result.has_sync || node.kind == SamiNodeKind::Sync;
    walk.Visit(node.kind, node.start, node.clear_mask, node.text);
  });
  result.srt = std::move(walk).Finish();
  return result;
}

}  // namespace cadenzio
