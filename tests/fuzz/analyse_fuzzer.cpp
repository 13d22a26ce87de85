// Fuzz target: any bytes analysed in every mode and written back; the
// sanitizers and the timeout catch crashes, reads out of bounds and hangs.
// The streamed analysis must visit exactly the document's nodes, and the
// direct tag recognisers are checked against their patterns at every '<'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pattern/pattern_matcher.h"
#include "sami/sami_document.h"
#include "sami/sami_node_stream.h"
#include "sami/sami_tags.h"

namespace {

void CheckRecogniser(cadenzio::PatternMatcher& pattern,
                     cadenzio::TagMatch (*recognise)(std::string_view), std::string_view text) {
  const cadenzio::TagMatch got = recognise(text);
  const bool matched = pattern.Find(text) == 0;
  if (matched != static_cast<bool>(got)) std::abort();
  if (!matched) return;
  const std::string joined = std::string(pattern.Group(1)) + std::string(pattern.Group(2)) +
                             std::string(pattern.Group(3));
  if (text.substr(0, got.length) != joined || got.value != pattern.Group(2)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (int mode = 0; mode <= 2; ++mode) {
    cadenzio::SamiDocument doc;
    if (!doc.Analyse(input, mode) || !doc.valid) std::abort();
    // The head is kept byte for byte, whatever the body holds.
    if (input.substr(0, doc.header.size()) != doc.header) std::abort();
    const std::string out = doc.Write();
    if (doc.nodes.empty() && out != input) std::abort();
    cadenzio::SamiDocument again;
    if (!again.Analyse(out, mode)) std::abort();
    std::size_t visited = 0;
    const bool streamed = cadenzio::StreamSamiNodes(
        input, doc.code_page(), mode, [&](const cadenzio::SamiNodeView& view) {
          if (visited >= doc.nodes.size()) std::abort();
          const cadenzio::SamiNode& node = doc.nodes[visited++];
          if (view.kind != node.kind || view.text != node.text || view.line != node.line ||
              view.clear_mask != node.clear_mask || view.class_mask != node.class_mask ||
              view.start != node.start || view.class_name != node.class_name)
            std::abort();
        });
    if (!streamed || visited != doc.nodes.size()) std::abort();
  }

  static cadenzio::PatternMatcher sync, paragraph, nbsp;
  static const bool compiled = sync.Compile(cadenzio::kSyncTagPattern) &&
                               paragraph.Compile(cadenzio::kClassParagraphPattern) &&
                               nbsp.Compile(cadenzio::kNbspParagraphPattern);
  if (!compiled) std::abort();
  for (std::size_t at = input.find('<'); at != std::string_view::npos && at < 4096;
       at = input.find('<', at + 1)) {
    const std::string_view line = input.substr(at, input.find('\n', at) - at + 1);
    CheckRecogniser(sync, cadenzio::MatchSyncTag, line);
    CheckRecogniser(paragraph, cadenzio::MatchClassParagraph, line);
    if (cadenzio::MatchNbspParagraph(line) != (nbsp.Find(line) == 0)) std::abort();
  }
  return 0;
}
