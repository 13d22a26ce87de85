// Fuzz target: any bytes analysed in every mode and written back; the
// sanitizers and the timeout catch crashes, reads out of bounds and hangs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sami/sami_document.h"

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
  return 0;
}
