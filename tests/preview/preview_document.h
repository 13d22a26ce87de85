// The preview tests' document: the classes ENCC and KRCC declared in that
// order (so KRCC is class 0 and ENCC class 1) and the colour yellow.
#pragma once

#include <string>

#include "sami/analysed.h"

namespace cadenzio {

inline constexpr int kKorean = 0;
inline constexpr int kEnglish = 1;

inline SamiDocument PreviewDocument(const std::string& body) {
  return Analysed(
      "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nP { color:Yellow; }\r\n"
      ".ENCC { Name:English; lang:en-US; }\r\n.KRCC { Name:Korean; lang:ko-KR; }\r\n-->\r\n"
      "</STYLE>\r\n</HEAD>\r\n<BODY>\r\n" +
      body + "</BODY>\r\n</SAMI>\r\n");
}

}  // namespace cadenzio
