// The SAMI tests' way to get a document (analysed, and known valid) and to
// compare it whole.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

// A head that declares ENCC then KRCC, so that KRCC is class 0 (the search for
// declarations finds the last one first), in the colour yellow.
inline constexpr char kTwoClassHead[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nP { color:Yellow; }\r\n"
    ".ENCC { Name:English; lang:en-US; }\r\n.KRCC { Name:Korean; lang:ko-KR; }\r\n-->\r\n"
    "</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

inline SamiDocument Analysed(std::string_view text, int mode = kAnalysePlain) {
  SamiDocument doc;
  EXPECT_TRUE(doc.Analyse(text, mode) && doc.valid);
  return doc;
}

// The dump from the header on: the header, a line per node, the tail.
inline std::string BodyDump(const SamiDocument& doc) {
  const std::string dump = doc.Dump();
  return dump.substr(dump.find("header: "));
}

}  // namespace cadenzio
