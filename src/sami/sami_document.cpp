// The document's own operations: writing, class lookups and a dump for tests.
#include "sami/sami_document.h"

#include <cstdio>

#include "sami/sami_text.h"

namespace cadenzio {

// "SMI 화일 분석루틴 - 초기화 실패 (RegExp)"
const char kAnalyseInitFailedMessage[] =
    "SMI \xC8\xAD\xC0\xCF \xBA\xD0\xBC\xAE\xB7\xE7\xC6\xBE - \xC3\xCA\xB1\xE2\xC8\xAD "
    "\xBD\xC7\xC6\xD0 (RegExp)";

void SamiDocument::Reset() {
  valid = false;
  classes.clear();
  colour = "white";
  header.clear();
  nodes.clear();
  tail.clear();
}

std::string SamiDocument::Write() const {
  std::size_t size = header.size() + tail.size();
  for (const auto& node : nodes) size += node.text.size();
  std::string out;
  out.reserve(size);
  out += header;
  for (const auto& node : nodes) out += node.text;
  out += tail;
  return out;
}

bool SamiDocument::Write(std::FILE* stream) const {
  auto put = [stream](const std::string& s) {
    return std::fwrite(s.data(), 1, s.size(), stream) == s.size();
  };
  bool ok = put(header);
  for (const auto& node : nodes) ok = ok && put(node.text);
  return ok && put(tail);
}

uint32_t SamiDocument::ClassMask(std::string_view name) const {
  name = TrimSpace(name);
  if (name.empty()) return kAllClasses;
  const int index = ClassIndex(name);
  if (index < 0) return kUndeclaredClass;
  // Classes past the 32nd have no bit of their own.
  return index < 32 ? uint32_t{1} << index : 0;
}

int SamiDocument::ClassIndex(std::string_view name) const {
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (EqualNoCase(classes[i], name, *cp_)) return static_cast<int>(i);
  }
  return -1;
}

std::string SamiDocument::Dump() const {
  static const char* const kKinds[] = {"Sync", "Other", "Paragraph", "Overflow"};
  std::string out = "valid: " + std::to_string(valid) + "\n";
  out += "classes:";
  for (const auto& c : classes) out.append(" ").append(Escape(c));
  out += "\ncolour: " + Escape(colour) + "\n";
  out += "header: \"" + Escape(header) + "\"\n";
  for (const auto& node : nodes) {
    char head[160];
    std::snprintf(head, sizeof head, "%s line=%d start=%d class=%u clear=%u",
                  kKinds[static_cast<int>(node.kind) & 3], node.line, node.start,
                  node.class_mask, node.clear_mask);
    out += head;
    if (!node.class_name.empty()) out += " name=" + Escape(node.class_name);
    out += " \"" + Escape(node.text) + "\"\n";
  }
  out += "tail: \"" + Escape(tail) + "\"\n";
  return out;
}

}  // namespace cadenzio
