// The preview tests' document: KRCC is class 0 and ENCC class 1, the colour yellow.
#pragma once

#include <string>

#include "sami/analysed.h"

namespace cadenzio {

inline constexpr int kKorean = 0;
inline constexpr int kEnglish = 1;

inline SamiDocument PreviewDocument(const std::string& body) {
  return Analysed(kTwoClassHead + body + "</BODY>\r\n</SAMI>\r\n");
}

}  // namespace cadenzio
