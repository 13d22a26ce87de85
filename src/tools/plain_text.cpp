// Caption texts of a document, one caption a line.
#include "tools/plain_text.h"

#include <string_view>

namespace cadenzio {

std::string WriteCaptionTexts(const SamiDocument& doc) {
  std::string out;
  for (const SamiNode& node : doc.nodes) {
    if (node.kind != SamiNodeKind::Paragraph || node.clear_mask != 0) continue;
    const std::size_t tag_end = node.text.find('>');
    if (tag_end == std::string::npos) continue;
    const std::string_view body = std::string_view(node.text).substr(tag_end + 1);
    if (body.size() >= kCaptionLineLimit) {
      out += body;
      continue;
    }
    // One pass over the body: a CR left before a removed pair stays a CR.
    for (std::size_t i = 0; i < body.size(); ++i) {
      if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') {
        ++i;
        continue;
      }
      out += body[i];
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace cadenzio
