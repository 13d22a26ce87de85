// SamiDocument::RenderCaption: the caption active at a playback position, for
// one language class, as the RTF text the preview box streams in. The caption
// text keeps the document's bytes in the RTF: CP949 (\ansicpg949), or UTF-8
// (\ansicpg65001) for a document of that code page.
#include <string>
#include <string_view>

#include "preview/caption_preview.h"
#include "preview/caption_sync_index.h"
#include "preview/colour_table.h"
#include "sami/sami_document.h"
#include "sami/sami_text.h"

namespace cadenzio {
namespace {

// "<자막 문자가 너무 많습니다>" in red, then the start of the text in colour 1.
constexpr std::string_view kTooLongNotice =
    "\\cf2 <\xC0\xDA\xB8\xB7 \xB9\xAE\xC0\xDA\xB0\xA1 \xB3\xCA\xB9\xAB "
    "\xB8\xB9\xBD\xC0\xB4\xCF\xB4\xD9> \\par\\cf1 ";  // <자막 문자가 너무 많습니다>

// Caption bytes go into the RTF as they are, except the three bytes RTF
// itself reads as markup. None of them is a CP949 trail byte, so a Korean
// character is never split.
void AppendCaptionBytes(std::string& rtf, std::string_view bytes) {
  for (const char c : bytes) {
    if (c == '\\' || c == '{' || c == '}') rtf += '\\';
    rtf += c;
  }
}

// The paragraph shown for a sync: the first Paragraph node after it without a
// class or of the chosen class, searching to the end of the document.
const SamiNode* CaptionParagraph(const SamiDocument& doc, std::size_t sync, int class_index) {
  for (std::size_t i = sync + 1; i < doc.nodes.size(); ++i) {
    const SamiNode& node = doc.nodes[i];
    if (node.kind != SamiNodeKind::Paragraph) continue;
    if (node.class_name.empty() || doc.ClassIndex(node.class_name) == class_index) return &node;
  }
  return nullptr;
}

// The visible start of an over-long caption: the text after the last tag
// before the walk ends. A tag runs to the end of its line, since a caption
// this long is not worth parsing; outside a tag a CR or the byte after the
// limit ends the walk.
std::string TooLongFragment(std::string_view text) {
  std::string fragment;
  bool in_tag = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '<') {
      fragment.clear();
      in_tag = true;
    } else if (in_tag) {
      if (c == '\r') {
        in_tag = false;
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      }
    } else if (c == '\r' || i > kCaptionTextLimit) {
      break;
    } else {
      fragment += c;
    }
  }
  return fragment;
}

// Builds the colour table and the body of one caption together: each font
// colour the table knows gets the next colour number.
class CaptionConverter {
 public:
  CaptionConverter(const SamiDocument& doc, std::string& colour_table)
      : doc_(doc), colour_table_(colour_table) {}

  std::string Convert(std::string_view text) {
    std::string tag;
    bool in_tag = false;
    for (const char c : text) {
      if (c == '<') {
        tag.clear();
        in_tag = true;
      } else if (c == '>') {
        // A '>' outside a tag applies the last tag again, as it always has.
        tag = AsciiLower(tag, doc_.code_page());
        EmitTag(tag);
        in_tag = false;
      } else if (in_tag) {
        tag += c;
      } else {
        AppendCaptionBytes(body_, std::string_view(&c, 1));
      }
    }
    return std::move(body_);
  }

 private:
  void EmitTag(std::string_view tag) {
    if (tag == "br") {
      body_ += "\\par ";
    } else if (tag == "b") {
      body_ += "\\b ";
    } else if (tag == "/b") {
      body_ += "\\b0 ";
    } else if (tag == "i") {
      body_ += "\\i ";
    } else if (tag == "/i") {
      body_ += "\\i0 ";
    } else if (tag == "ul") {
      body_ += "\\ul ";
    } else if (tag == "/ul") {
      body_ += "\\ulnone ";
    } else if (tag.starts_with("font")) {
      EmitFontColour(tag);
    } else if (tag.starts_with("/font")) {
      body_ += "\\cf1 ";
    }
    // Every other tag, the paragraph's own among them, shows nothing.
  }

  void EmitFontColour(std::string_view tag) {
    constexpr std::string_view kColourAttribute = "color=";
    const std::size_t at = tag.find(kColourAttribute, 5);
    if (at == std::string_view::npos) return;
    std::string value;
    for (std::size_t i = at + kColourAttribute.size(); i < tag.size(); ++i) {
      const char c = tag[i];
      if (c == ' ' || c == '\t') break;
      if (c != '"') value += c;
    }
    std::string entry;
    if (!ProgramColourTable().Lookup(value, entry)) return;
    colour_table_ += entry;
    ++colour_count_;
    body_ += "\\cf" + std::to_string(colour_count_) + " ";
  }

  const SamiDocument& doc_;
  std::string& colour_table_;
  std::string body_;
  int colour_count_ = 1;  // colour 1 is the document's colour
};

}  // namespace

int32_t SamiDocument::RenderCaption(int32_t position_ms, int class_index, int32_t previous_start,
                                    std::string& rtf, CaptionSyncIndex* index) const {
  const uint32_t mask = PreviewClassMask(class_index);
  const std::size_t sync = index != nullptr ? index->Find(*this, position_ms, mask)
                                            : FindCaptionSync(*this, position_ms, mask);
  if (sync == kNoCaptionSync) {
    rtf.clear();
    return 0;
  }
  const SamiNode& sync_node = nodes[sync];
  if (sync_node.start == previous_start) return sync_node.start;
  rtf.clear();
  if (sync_node.clear_mask != 0) return sync_node.start;
  const SamiNode* paragraph = CaptionParagraph(*this, sync, class_index);
  if (paragraph == nullptr || paragraph->clear_mask != 0) return sync_node.start;

  // Colour 1 is the document's colour; one the table does not know falls
  // back to white so that the font colours keep their numbers.
  std::string document_colour;
  if (!ProgramColourTable().Lookup(colour, document_colour)) {
    ProgramColourTable().Lookup("white", document_colour);
  }
  // The text keeps the document's bytes: CP949, or UTF-8 (code page 65001).
  rtf = std::string(code_page().kind() == CodePage::Kind::Utf8
                        ? "{\\rtf1\\ansi\\ansicpg65001{\\colortbl;"
                        : "{\\rtf1\\ansi\\ansicpg949{\\colortbl;") +
        document_colour;

  if (paragraph->text.size() > kCaptionTextLimit) {
    rtf += "\\red255;}";
    rtf += kTooLongNotice;
    AppendCaptionBytes(rtf, TooLongFragment(paragraph->text));
    rtf += " ...  }";
    return sync_node.start;
  }
  const std::string body = CaptionConverter(*this, rtf).Convert(paragraph->text);
  rtf += "}\\b\\i0\\ulnone\\cf1 ";
  rtf += body;
  rtf += '}';
  return sync_node.start;
}

}  // namespace cadenzio
