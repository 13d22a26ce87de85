// The preview box's RTF reader on the renderer's own output.
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

// One line a paragraph, C if centred, then each run as <text|colour|flags>,
// flags b, i, u or '-' for bold, italic, underline; UTF-8 to print readably.
std::string Dump(const QTextDocument& doc) {
  QString out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    out += block.blockFormat().alignment() == Qt::AlignHCenter ? "C" : "-";
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

QFont PreviewFont() { return QFont(QString::fromUtf8("굴림"), 14, QFont::Bold); }

std::string Load(std::string_view rtf) {
  QTextDocument doc;
  LoadRtf(doc, rtf, PreviewFont(), kYellow, Qt::AlignHCenter);
  return Dump(doc);
}

TEST(RtfReader, ShowsARenderedCaptionAndTheLongCaptionNotice) {
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
  LoadRtf(box, "", PreviewFont(), kYellow, Qt::AlignHCenter);  // nothing to show
  EXPECT_TRUE(box.isEmpty());

  const SamiDocument long_doc =
      PreviewDocument("<SYNC Start=0><P Class=KRCC>\r\n" + std::string(190, 'x') + "\r\n");
  std::string notice;
  long_doc.RenderCaption(0, kKorean, kInitialShownSyncStart, notice);
  EXPECT_EQ(Load(notice), "C<<자막 문자가 너무 많습니다> |#ff0000|b-->\nC<" + std::string(185, 'x') +
                           " ...  |#ffff00|b-->\n");
}

}  // namespace
}  // namespace cadenzio
