// The analyser tests' way to get a document (analysed, and known valid) and
// to compare it whole.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

inline SamiDocument Analysed(std::string_view text, int mode = kAnalysePlain) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(text, mode));
  EXPECT_TRUE(doc.valid);
  return doc;
}

// The dump from the header on: the header, a line per node, the tail.
inline std::string BodyDump(const SamiDocument& doc) {
  const std::string dump = doc.Dump();
  return dump.substr(dump.find("header: "));
}

}  // namespace cadenzio
