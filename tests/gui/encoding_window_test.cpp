// The real window with a UTF-8 caption: the editor shows its Korean, the
// status line names the encoding, the preview shows the caption at the
// movie's position, and saving gives the file back in UTF-8.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <cmath>
#include <filesystem>

#include "app/qt/main_window.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_editor.h"
#include "platform/qt/qt_fonts.h"
#include "platform/memory_editor.h"
#include "settings/caption_encoding.h"
#include "test_support.h"

namespace cadenzio {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(EncodingWindowTest, Utf8CaptionIsEditedAndPreviewedInKorean) {
  InstallFontSubstitutions();
  test::TempDir dir;
  const std::string movie = dir.File("sample.mp4");
  const std::string caption = dir.File("sample.smi");
  std::filesystem::copy_file(test::SampleMovie(), movie);
  const std::string cp949 = test::ReadFile(test::ResourcesDir() + "/sample/sample.smi");
  const std::string utf8 = EncodeCaption(cp949, CodePage::Cp949(), CaptionEncoding::Utf8, true).bytes;
  ASSERT_EQ(utf8.substr(0, 3), "\xEF\xBB\xBF");
  test::WriteFile(caption, utf8);

  CCadenzioApp app(dir.path().string());
  CadenzioWindow w(app, MpvPlayerOptions{.audio = false});
  w.Start({caption, movie});
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

  EXPECT_EQ(w.dlg().caption_encoding(), CaptionEncoding::Utf8);
  EXPECT_EQ(w.encoding_status().text(), U("UTF-8 (BOM)"));
  EXPECT_TRUE(w.status_line().text().startsWith(U("Line: ")));
  EXPECT_TRUE(w.editor().toPlainText().contains(
      U("\xEC\x95\x88\xEB\x85\x95\xED\x95\x98\xEC\x84\xB8\xEC\x9A\x94, <font color=\"yellow\">"
        "\xEC\xB9\xB4\xEB\x8D\xB4\xEC\xA7\x80\xEC\x98\xA4</font>")))  // 안녕하세요, ...카덴지오
      << w.editor().toPlainText().left(400).toStdString();
  EXPECT_EQ(w.editor().Text(), utf8.substr(3));

  ASSERT_TRUE(test::WaitUntil([&] { return w.dlg().open_state() == kOpenStateOpen; }, 15000));
  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  w.player().Pause();
  w.player().SetCurrentPosition(3.0);  // in the caption of 2.5 s
  const auto preview = [&] { return w.preview_box().toPlainText().trimmed(); };
  ASSERT_TRUE(test::WaitUntil([&] {
    return preview().startsWith(U("\xEB\xB9\xA8\xEA\xB0\x84 \xEA\xB8\x80\xEC\x9E\x90\xEC\x99\x80"));
  }))  // 빨간 글자와
      << preview().toStdString();
  QTextDocument* document = w.preview_box().document();
  QTextCursor at(document);
  at.setPosition(document->find(U("\xEB\xB9\xA8\xEA\xB0\x84")).selectionStart() + 1);  // 빨간
  EXPECT_EQ(at.charFormat().foreground().color(), QColor(255, 0, 0));

  // Saved unchanged, the file comes back byte for byte, BOM and all.
  ASSERT_TRUE(w.dlg().SaveCaption());
  EXPECT_EQ(test::ReadFile(caption), utf8);
  w.editor().SetModified(false);
  EXPECT_TRUE(w.close());
}

// Bytes that are no UTF-8 stay in the editor as one position each, as
// MemoryEditor counts them, and come back unchanged.
TEST(EncodingWindowTest, QtEditorKeepsStrayBytesOfUtf8Text) {
  const std::string text = "a\xFF" "b\xED\x95\x98\r\n\xED\xA0\x80z\xC3";  // 하, a lone surrogate
  QtEditor qt;
  MemoryEditor memory;
  for (TextEditor* editor : {static_cast<TextEditor*>(&qt), static_cast<TextEditor*>(&memory)}) {
    editor->SetCodePage(CodePage::Utf8());
    editor->SetText(text);
  }
  EXPECT_EQ(qt.Text(), text);
  EXPECT_EQ(qt.TextLength(), memory.TextLength());
  EXPECT_EQ(qt.LineLength(1), memory.LineLength(1));  // ED A0 80 is three stray bytes
  EXPECT_EQ(qt.GetLine(0, 3), "a\xFF" "b");
  qt.SetSelection({4, 4});
  qt.ReplaceSelection("\xEB\x91\x98", false);  // 둘
  EXPECT_EQ(qt.Text(), "a\xFF" "b\xED\x95\x98\xEB\x91\x98\r\n\xED\xA0\x80z\xC3");
  // The same bytes in a CP949 editor are CP949 text, unchanged as before.
  qt.SetCodePage(CodePage::Cp949());
  qt.SetText("\xC7\xCF\xB3\xAA");  // 하나
  EXPECT_EQ(qt.toPlainText(), QString::fromUtf8("\xED\x95\x98\xEB\x82\x98"));
  EXPECT_EQ(qt.Text(), "\xC7\xCF\xB3\xAA");
}

}  // namespace
}  // namespace cadenzio
