// Fuzz target: any bytes analysed in every mode and written back; the
// sanitizers and the timeout catch crashes, reads out of bounds and hangs.
// The direct tag recognisers are checked against their patterns at every '<'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pattern/pattern_matcher.h"
#include "sami/sami_document.h"
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
  }

  static cadenzio::PatternMatcher sync, paragraph;
  static const bool compiled =
      sync.Compile(cadenzio::kSyncTagPattern) && paragraph.Compile(cadenzio::kClassParagraphPattern);
  if (!compiled) std::abort();
  for (std::size_t at = input.find('<'); at != std::string_view::npos && at < 4096;
       at = input.find('<', at + 1)) {
    const std::string_view line = input.substr(at, input.find('\n', at) - at + 1);
    CheckRecogniser(sync, cadenzio::MatchSyncTag, line);
    CheckRecogniser(paragraph, cadenzio::MatchClassParagraph, line);
  }
  return 0;
}
