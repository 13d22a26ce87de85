// The analysis of a caption file without a document: every body node handed
// over in file order, finished as SamiDocument::Analyse leaves it, but none
// kept. Exports that read a whole file once (SRT) use it to spare the
// document's million small strings on large files.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "pattern/code_page.h"
#include "sami/sami_document.h"

namespace cadenzio {

// One node, as SamiNode holds it; the views last until the visit returns.
struct SamiNodeView {
  SamiNodeKind kind = SamiNodeKind::Other;
  int32_t line = 0;
  uint32_t clear_mask = 0;
  uint32_t class_mask = 0;
  int32_t start = 0;
  std::string_view text;
  std::string_view class_name;
};

// Analyses file in mode exactly as SamiDocument::Analyse(file, mode) does and
// visits the nodes it would hold, in order. Only the nodes of one sync are
// held at a time (a sync's masks depend on its paragraphs); texts the
// analysis leaves as written are views into file. False, with nothing
// visited, when the patterns cannot be prepared.
bool StreamSamiNodes(std::string_view file, const CodePage& cp, int mode,
                     const std::function<void(const SamiNodeView&)>& visit);

}  // namespace cadenzio
