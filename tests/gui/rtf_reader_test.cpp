// The preview box's RTF reader, on the renderer's own output and on the rest
// of the subset it reads.
#include "platform/qt/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <string>

#include "preview/caption_preview.h"
#include "preview/preview_document.h"

namespace cadenzio {
namespace {

const QColor kYellow(255, 255, 0);

// One line a paragraph: its alignment, then each run as
// <text|colour|flags>, flags b, i, u or '-' for bold, italic, underline.
// UTF-8, so that a failure prints readably.
std::string Dump(const QTextDocument& doc) {
  QString out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    const Qt::Alignment a = block.blockFormat().alignment();
    out += a == Qt::AlignHCenter ? "C" : a == Qt::AlignRight ? "R" : a == Qt::AlignJustify ? "J" : "L";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat f = fragment.charFormat();
      QString text = fragment.text();
      text.replace(QChar::LineSeparator, QStringLiteral("\\line"));
      out += "<" + text + "|" + f.foreground().color().name() + "|" +
             (f.fontWeight() >= QFont::Bold ? "b" : "-") + (f.fontItalic() ? "i" : "-") +
             (f.fontUnderline() ? "u" : "-") + ">";
    }
    out += "\n";
  }
  return out.toStdString();
}

QFont PreviewFont() {
  QFont font(QString::fromUtf8("굴림"));
  font.setPointSize(14);
  font.setBold(true);
  return font;
}

std::string Load(std::string_view rtf) {
  QTextDocument doc;
  LoadRtf(doc, rtf, PreviewFont(), kYellow, Qt::AlignHCenter);
  return Dump(doc);
}

TEST(RtfReader, ShowsARenderedCaption) {
  // "안녕<br><font color="#00ff00"><i>세상</i></font><ul>밑줄</ul>\{x}"
  SamiDocument doc = PreviewDocument(
      "<SYNC Start=0><P Class=KRCC>\xBE\xC8\xB3\xE7<br><font color=\"#00ff00\"><i>"
      "\xBC\xBC\xBB\xF3</i></font><ul>\xB9\xD8\xC1\xD9</ul>\\{x}\r\n");
  doc.colour = "aqua";
  std::string rtf;
  ASSERT_EQ(doc.RenderCaption(0, kKorean, kInitialShownSyncStart, rtf), 0);
  EXPECT_EQ(Load(rtf),
            "C<안녕|#00ffff|b-->\n"
            "C<세상|#00ff00|bi-><밑줄|#00ffff|b-u><\\{x}|#00ffff|b-->\n");

  QTextDocument box;
  LoadRtf(box, rtf, PreviewFont(), kYellow, Qt::AlignHCenter);
  EXPECT_EQ(box.begin().begin().fragment().charFormat().fontPointSize(), 14.0);
  LoadRtf(box, "", PreviewFont(), kYellow, Qt::AlignHCenter);  // nothing to show
  EXPECT_TRUE(box.isEmpty());
}

TEST(RtfReader, ShowsTheLongCaptionNotice) {
  const SamiDocument doc =
      PreviewDocument("<SYNC Start=0><P Class=KRCC>\r\n" + std::string(190, 'x') + "\r\n");
  std::string rtf;
  doc.RenderCaption(0, kKorean, kInitialShownSyncStart, rtf);
  EXPECT_EQ(Load(rtf), "C<<자막 문자가 너무 많습니다> |#ff0000|b-->\nC<" + std::string(185, 'x') +
                           " ...  |#ffff00|b-->\n");
}

TEST(RtfReader, ReadsTheRestOfTheSubset) {
  EXPECT_EQ(Load("{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}{\\*\\generator x}"
                 "{\\fonttbl{\\f0 Gulim;}}a\\line b{\\b0\\cf1 c}d\\par\\ql\\'c7\\'d1 \\cf7 e"
                 "\\b0 f\\ul g\\ul0 h\\par\\pard\\qr\\i i\r\n\\i0\\qj j\\par\\pard k}"),
            "C<a\\lineb|#ffff00|b--><c|#0000ff|---><d|#ffff00|b-->\n"
            "L<한 e|#ffff00|b--><f|#ffff00|---><g|#ffff00|--u><h|#ffff00|--->\n"
            "J<i|#ffff00|-i-><j|#ffff00|--->\n"
            "C<k|#ffff00|--->\n");
}

}  // namespace
}  // namespace cadenzio
