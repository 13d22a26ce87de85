#include "platform/qt/qt_fonts.h"

#include <QFont>
#include <QString>

namespace cadenzio {

void InstallFontSubstitutions() {
  struct Substitute {
    const char* face;  // UTF-8
    const char* nanum;
  };
  // The fixed-width Gulim and Dotum faces get the fixed-width Nanum face.
  static constexpr Substitute kSubstitutes[] = {
      {"굴림", "NanumGothic"},          {"Gulim", "NanumGothic"},
      {"굴림체", "NanumGothicCoding"},  {"GulimChe", "NanumGothicCoding"},
      {"돋움", "NanumGothic"},          {"Dotum", "NanumGothic"},
      {"돋움체", "NanumGothicCoding"},  {"DotumChe", "NanumGothicCoding"},
      {"바탕", "NanumMyeongjo"},        {"Batang", "NanumMyeongjo"},
      {"궁서", "NanumMyeongjo"},        {"맑은 고딕", "NanumGothic"},
  };
  for (const Substitute& s : kSubstitutes)
    QFont::insertSubstitution(QString::fromUtf8(s.face), QString::fromLatin1(s.nanum));
}

}  // namespace cadenzio
