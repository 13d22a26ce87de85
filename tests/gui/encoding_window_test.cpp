// The real window with captions in UTF-8 and with characters CP949 lacks.
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <filesystem>

#include "gui/gui_support.h"
#include "settings/caption_encoding.h"

namespace cadenzio {
namespace {

using test::U;
using test::WaitUntil;

using EncodingWindowTest = test::WindowTest;

// Shown in Korean, the encoding named, previewed, and saved back byte for byte.
TEST_F(EncodingWindowTest, Utf8CaptionIsEditedAndPreviewedInKorean) {
  const std::string movie = dir_.File("sample.mp4"), caption = dir_.File("sample.smi");
  std::filesystem::copy_file(test::SampleMovie(), movie);
  const std::string cp949 = test::ReadFile(test::ResourcesDir() + "/sample/sample.smi");
  const std::string utf8 =
      EncodeCaption(cp949, CodePage::Cp949(), CaptionEncoding::Utf8, true).bytes;
  test::WriteFile(caption, utf8);
  Start({caption, movie});
  CadenzioWindow& w = *window_;

  EXPECT_EQ(w.dlg().caption_encoding(), CaptionEncoding::Utf8);
  EXPECT_EQ(w.encoding_status().text(), U("UTF-8 (BOM)"));
  EXPECT_TRUE(w.editor().toPlainText().contains(U("안녕하세요, <font color=\"yellow\">카덴지오</font>")))
      << w.editor().toPlainText().left(400).toStdString();
  EXPECT_EQ(w.editor().Text(), utf8.substr(3));

  ASSERT_TRUE(WaitForMovie());
  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  ASSERT_TRUE(PauseAt(3.0));  // in the caption of 2.5 s
  ASSERT_TRUE(WaitUntil([&] { return Preview().startsWith(U("빨간 글자와")); }))
      << Preview().toStdString();
  EXPECT_EQ(PreviewColourOf(U("빨간")), QColor(255, 0, 0));

  ASSERT_TRUE(w.dlg().SaveCaption());
  EXPECT_EQ(test::ReadFile(caption), utf8);
}

// The window's editor counts a character beyond the basic plane as two
// positions: replacing every "a" by "😀a" still ends, each a replaced once.
TEST_F(EncodingWindowTest, ReplaceAllEndsWithCharactersBeyondTheBasicPlane) {
  Start({});
  CadenzioWindow& w = *window_;
  w.dlg().SMIOpen(dir_.File("emoji.smi"), "\xEF\xBB\xBF" "a \xF0\x9F\x98\x80" "a\r\n");
  w.dlg().OnFindReplace({kFrReplaceAll | kFrDown, "a", "\xF0\x9F\x98\x80" "a"});
  EXPECT_EQ(w.editor().Text(),
            "\xF0\x9F\x98\x80" "a \xF0\x9F\x98\x80\xF0\x9F\x98\x80" "a\r\n");
}

// A character CP949 lacks, typed into a CP949 caption, is not saved as '?':
// the save names it and offers UTF-8; No writes nothing, Yes writes UTF-8.
TEST_F(EncodingWindowTest, TypedCharacterCp949LacksIsNeverSavedAsAQuestionMark) {
  const std::string caption = dir_.File("sample.smi");
  const std::string cp949 = test::ReadFile(test::ResourcesDir() + "/sample/sample.smi");
  test::WriteFile(caption, cp949);
  Start({caption});
  CadenzioWindow& w = *window_;
  ASSERT_EQ(w.dlg().caption_encoding(), CaptionEncoding::Cp949);

  const long at = w.editor().FindText({0, -1}, "</BODY>", {}).start;
  ASSERT_GT(at, 0);
  w.editor().SetSelection({at, at});
  QInputMethodEvent typed;
  typed.setCommitString(U("\xE0\xB8\x81"));  // a Thai letter
  QApplication::sendEvent(&w.editor(), &typed);
  ASSERT_TRUE(w.editor().IsModified());

  const auto refused = test::AnswerNextMessageBox(QMessageBox::No);
  EXPECT_FALSE(w.dlg().SaveCaption());
  ASSERT_TRUE(refused->answered);
  EXPECT_TRUE(refused->text.contains(U("line 41, character 1"))) << refused->text.toStdString();
  EXPECT_TRUE(refused->text.contains(U("(U+0E01)")));
  EXPECT_EQ(test::ReadFile(caption), cp949);

  const auto accepted = test::AnswerNextMessageBox(QMessageBox::Yes);
  ASSERT_TRUE(w.dlg().SaveCaption());
  ASSERT_TRUE(accepted->answered);
  const std::string saved = test::ReadFile(caption);
  EXPECT_NE(saved.find("\xE0\xB8\x81"), std::string::npos) << saved.substr(saved.size() - 80);
  EXPECT_EQ(DetectEncoding(saved).encoding, CaptionEncoding::Utf8);
  EXPECT_EQ(w.dlg().caption_encoding(), CaptionEncoding::Utf8);
  EXPECT_FALSE(w.editor().IsModified());
}

}  // namespace
}  // namespace cadenzio
