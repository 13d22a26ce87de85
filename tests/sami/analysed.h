// The analyser tests' way to get a document: analysed, and known valid.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

inline SamiDocument Analysed(std::string_view text, int mode = kAnalysePlain) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(text, mode));
  EXPECT_TRUE(doc.valid);
  return doc;
}

}  // namespace cadenzio
