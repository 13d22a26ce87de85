// The main window end to end: a real window, mpv and real key events under
// Xvfb. The quoted texts are in main_window_texts_test.cpp, stamping while
// the movie plays in workflow_test.cpp.
#include "app/qt/main_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/qt/small_dialogs.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_editor.h"
#include "platform/qt/qt_text.h"
#include "settings/file_services.h"

namespace cadenzio {
namespace {

using test::AnswerNextMessageBox;
using test::kMovieTimeoutMs;
using test::U;
using test::WaitUntil;

// Opening a 10 MB caption takes under a second in an optimised build; the
// sanitizers slow it about tenfold, where the bound only catches a blow-up.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CADENZIO_TEST_SANITIZED 1
#endif
#endif
#if defined(NDEBUG) && !defined(CADENZIO_TEST_SANITIZED)
constexpr qint64 kOpenTenMegabytesMs = 1000;
#else
constexpr qint64 kOpenTenMegabytesMs = 30000;
#endif

class MainWindowTest : public test::WindowTest {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(test::SampleMovie(), movie_);
    std::filesystem::copy_file(test::ResourcesDir() + "/sample/sample.smi", caption_);
  }
  QString CaptureCell(int row) { return window_->capture_list().item(row, 0)->text(); }

  std::string movie_ = dir_.File("sample.mp4");
  std::string caption_ = dir_.File("sample.smi");
};

TEST_F(MainWindowTest, FreshWindowLayoutControlsAndClosing) {
  Start({});
  CadenzioWindow& w = *window_;
  EXPECT_EQ(w.pos(), QPoint(0, 0));
  EXPECT_EQ(w.size(), QSize(800, 600));
  EXPECT_FALSE(w.caption_on_box().isChecked());
  EXPECT_FALSE(w.class_combo().isEnabled());
  EXPECT_EQ(w.capture_list().rowCount(), 10);
  EXPECT_EQ(CaptureCell(0), U("00000000"));
  EXPECT_EQ(w.capture_list().item(0, 1)->text(), U("CTRL+1"));
  EXPECT_EQ(w.capture_list().item(9, 1)->text(), U("CTRL+0"));
  EXPECT_EQ(w.preview_box().palette().color(QPalette::Base), QColor(Qt::black));
  EXPECT_FALSE(w.refresh_timer_running());

  // The client area (below the menu bar) at 800 x 600.
  w.resize(800, 600 + w.menuBar()->height());
  ASSERT_TRUE(WaitUntil([&] { return w.client_area().size() == QSize(800, 600); }));
  EXPECT_EQ(w.player().geometry(), QRect(0, 0, 400, 360));
  EXPECT_EQ(w.preview_box().geometry(), QRect(0, 360, 400, 80));
  EXPECT_EQ(w.capture_list().geometry(), QRect(0, 440, 266, 160));
  EXPECT_EQ(w.caption_on_box().geometry(), QRect(274, 440, 70, 20));
  EXPECT_EQ(w.class_combo().geometry(), QRect(274, 464, 70, 20));
  EXPECT_EQ(w.editor().geometry(), QRect(400, 0, 400, 580));
  EXPECT_EQ(w.status_line().geometry(), QRect(400, 580, 400, 20));

  // A value typed into row 1 updates the difference in row 4 (row 1 - row 0).
  QTableWidget& list = w.capture_list();
  list.setCurrentCell(1, 0);
  list.editItem(list.item(1, 0));
  auto* cell_editor = qobject_cast<QLineEdit*>(list.indexWidget(list.model()->index(1, 0)));
  ASSERT_NE(cell_editor, nullptr);
  cell_editor->setText(QStringLiteral("1500"));
  QTest::keyClick(cell_editor, Qt::Key_Return);  // commits from the event loop
  EXPECT_TRUE(WaitUntil([&] { return CaptureCell(4) == QStringLiteral("1500"); }));
  EXPECT_EQ(w.dlg().capture_list().CaptureRowText(1), "1500");

  // Enter and Escape never close it; the close box asks about changes.
  Key(Qt::Key_Escape);
  Key(Qt::Key_Return);
  EXPECT_TRUE(w.isVisible());
  QTest::keyClicks(&w.editor(), "x");
  const auto question = AnswerNextMessageBox(QMessageBox::Cancel);
  EXPECT_FALSE(w.close());
  EXPECT_EQ(question->text, U("수정된 자막을 저장하시겠습니까?"));
  w.editor().SetModified(false);
  EXPECT_TRUE(w.close());
}

TEST_F(MainWindowTest, PlaysTheMovieAndPreviewsTheCaptionAtThePosition) {
  Start({caption_, movie_});  // either order
  CadenzioWindow& w = *window_;
  EXPECT_EQ(w.windowTitle(), U("  Cadenzio v2.08 [동영상 - sample.mp4] [자막 - sample.smi]"));
  EXPECT_EQ(w.editor().Text(), test::ReadFile(caption_));
  ASSERT_TRUE(WaitForMovie());
  EXPECT_TRUE(w.refresh_timer_running());
  const double first = Position();
  ASSERT_TRUE(WaitUntil([&] { return Position() > first + 0.5; }, kMovieTimeoutMs))
      << "the position stays at " << Position();

  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  EXPECT_TRUE(w.class_combo().isEnabled());
  ASSERT_EQ(w.class_combo().count(), 2);
  EXPECT_EQ(w.class_combo().currentText(), U("KRCC"));

  ASSERT_TRUE(PauseAt(3.0));  // in the caption of 2.5 s
  ASSERT_TRUE(WaitUntil([&] { return Preview().startsWith(U("빨간 글자와")); }))
      << Preview().toStdString();
  EXPECT_EQ(PreviewColourOf(U("빨간")), QColor(255, 0, 0));
  EXPECT_EQ(PreviewColourOf(U("글자와")), QColor(255, 255, 255));
  EXPECT_FALSE(test::TakeScreenshot("main_window.png").empty());

  ASSERT_TRUE(PauseAt(4.2));  // the clear of 4.0 s
  EXPECT_TRUE(WaitUntil([&] { return Preview().isEmpty(); }));

  // English from the next caption on.
  w.class_combo().setFocus();
  QTest::keyClick(&w.class_combo(), Qt::Key_Down);
  EXPECT_EQ(w.dlg().chosen_class_index(), 1);
  ASSERT_TRUE(PauseAt(4.7));
  ASSERT_TRUE(WaitUntil([&] { return Preview() == U("Green caption"); }))
      << Preview().toStdString();
  EXPECT_EQ(PreviewColourOf(U("Green")), QColor(0, 255, 0));
}

TEST_F(MainWindowTest, SavingRoundTripsAndClipboardKeysReachTheEditor) {
  Start({caption_});
  CadenzioWindow& w = *window_;
  const std::string original = test::ReadFile(caption_);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(caption_), original);
  EXPECT_EQ(w.editor().Text(), original);

  // CTRL+C and CTRL+V are the editor's own: copy the first caption line
  // ("안녕하세요, ...") and paste it before itself.
  const long line = w.editor().LineIndex(16);
  w.editor().SetSelection({line, w.editor().LineIndex(17)});
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith(U("안녕하세요")));
  w.editor().SetSelection({line, line});
  Key(Qt::Key_V, Qt::ControlModifier);
  const std::string edited = w.editor().Text();
  ASSERT_NE(edited, original);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(caption_), edited);
  EXPECT_FALSE(w.editor().IsModified());
  EXPECT_FALSE(std::filesystem::exists(app_.log_path()));
  EXPECT_EQ(w.status_line().text().toStdString(),
            "Line: " + std::to_string(w.editor().LineCount()) +
                ", Contents: " + std::to_string(w.editor().TextLength()) + " bytes");
}

TEST_F(MainWindowTest, PositionKeysFollowThePlayer) {
  Start({movie_});
  CadenzioWindow& w = *window_;
  ASSERT_TRUE(WaitForMovie());
  const int delay = w.dlg().settings().delay;

  // F6 pauses; CTRL+J on a sync line moves the movie to its whole second.
  Key(Qt::Key_F6);
  ASSERT_TRUE(WaitUntil([&] { return w.dlg().play_state() == kPlayStatePaused; }));
  w.editor().SetText("<SYNC Start=5999><P Class=KRCC>\r\nx\r\n");
  Key(Qt::Key_J, Qt::ControlModifier);
  ASSERT_TRUE(WaitUntil([&] { return std::abs(Position() - 5.0) < 0.05; }, kMovieTimeoutMs))
      << Position();

  // ALT+SHIFT+digit: X11 reports the shifted symbol ('#' for 3), tests may
  // send the digit itself.
  Key(Qt::Key_NumberSign, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_NEAR(CaptureCell(2).toInt(), delay + 5000, 40);
  Key(Qt::Key_1, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_NEAR(CaptureCell(0).toInt(), delay + 5000, 40);
  Key(Qt::Key_F7);
  EXPECT_EQ(CaptureCell(6), QString::number(static_cast<int>(w.player().Duration() * 1000.0)));
  // CTRL+digit pastes a row at the caret.
  w.editor().SetSelection({0, 0});
  Key(Qt::Key_7, Qt::ControlModifier);
  EXPECT_EQ(w.editor().GetLine(0, 100),
            CaptureCell(6).toStdString() + "<SYNC Start=5999><P Class=KRCC>");
}

TEST_F(MainWindowTest, F11ShowsTheReportOfAFaultyCaption) {
  Start({test::TestDataDir() + "/gui/faulty_sync.smi"});
  Key(Qt::Key_F11);
  ReportDialog* report = test::WaitForWindow<ReportDialog>();
  ASSERT_NE(report, nullptr);
  // The report's lines are the checker's (pinned with it); here they arrive decoded.
  const QString text = report->text()->toPlainText();
  EXPECT_TRUE(text.contains(U("(LINE:0016) 싱크 감소 - <SYNC Start=900>"))) << text.toStdString();
  EXPECT_TRUE(text.contains(U("# 모든 검사에서 총 오류 5 개 발견")));
}

TEST_F(MainWindowTest, OpensATenMegabyteCaptionQuickly) {
  // About 10 MB of Korean captions, nine times the editor's typing limit of
  // 1048576 characters: the limit bounds typing, not a file opened.
  const std::string sample = test::ReadFile(caption_);
  std::string big = sample.substr(0, sample.find("<SYNC"));
  for (int i = 0; big.size() < 10'000'000; ++i) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "<SYNC Start=%d><P Class=KRCC>\r\n\xC7\xD1\xB1\xDB \xC0\xDA\xB8\xB7 %d "
                  "<font color=red>\xBB\xA1\xB0\xAD</font>\r\n",
                  i * 100, i);
    big += line;
  }
  big += "</BODY>\r\n</SAMI>\r\n";
  const std::string big_path = dir_.File("big.smi");
  test::WriteFile(big_path, big);
  Start({});
  CadenzioWindow& w = *window_;

  QElapsedTimer clock;
  clock.start();
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(big_path, bytes));
  w.dlg().SMIOpen(big_path, bytes);
  QApplication::processEvents();  // the first paint of the new text
  const qint64 elapsed = clock.elapsed();
  EXPECT_EQ(w.editor().Text(), big);
  EXPECT_GT(w.editor().TextLength(), w.editor().TextLimit());
  EXPECT_TRUE(w.dlg().document().valid);
  EXPECT_EQ(w.dlg().caption_path(), big_path);
  EXPECT_LT(elapsed, kOpenTenMegabytesMs) << big.size() << " bytes";
}

TEST_F(MainWindowTest, BadInputGivesAMessageAndLeavesTheEditorAlone) {
  Start({dir_.File("missing.avi"), dir_.File("missing.smi")});  // dropped without a word
  CadenzioWindow& w = *window_;
  EXPECT_EQ(w.dlg().caption_path(), "");
  EXPECT_EQ(w.dlg().open_state(), kOpenStateClosed);
  const std::string kept = "keep me\r\n";
  w.editor().SetText(kept);

  for (const std::string& path : {dir_.File("gone.smi"), dir_.path().string()}) {
    test::ChooseNextFile(path);
    const auto message = AnswerNextMessageBox(QMessageBox::Ok);
    Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil([&] { return message->answered; })) << path;
    EXPECT_EQ(message->text, U("화일을 읽을수 없습니다.")) << path;
    EXPECT_EQ(message->title, U("Cadenzio"));
    EXPECT_EQ(w.editor().Text(), kept);
  }

  // One character more than the editor can hold is refused whole.
  const std::string huge = dir_.File("huge.smi");
  test::WriteFile(huge, std::string(static_cast<std::size_t>(QtEditor::kCapacity) + 1, 'x'));
  test::ChooseNextFile(huge);
  const auto too_long = AnswerNextMessageBox(QMessageBox::Ok);
  Key(Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(WaitUntil([&] { return too_long->answered; }, kMovieTimeoutMs));
  EXPECT_EQ(too_long->text, U("SMIOpen() 우잉... 다 못 읽었다네.. 새로 읽으세용\r\n"));
  EXPECT_EQ(w.editor().Text(), kept);
  EXPECT_EQ(w.dlg().caption_path(), "");

  const std::string broken = dir_.File("broken.avi");
  test::WriteFile(broken, "this is no movie\r\n");
  test::ChooseNextFile(broken);
  const auto cannot_play = AnswerNextMessageBox(QMessageBox::Ok);
  Key(Qt::Key_O, Qt::AltModifier);
  ASSERT_TRUE(WaitUntil([&] { return cannot_play->answered; }, kMovieTimeoutMs));
  EXPECT_TRUE(cannot_play->text.startsWith(U("동영상 화일을 재생할 수 없습니다.\r\n")));
  EXPECT_TRUE(cannot_play->text.endsWith(FromNativePath(broken)));
  EXPECT_EQ(w.dlg().open_state(), kOpenStateClosed);
  EXPECT_EQ(w.editor().Text(), kept);

  // A file that is no SAMI is text like any other: shown, with no classes.
  const std::string plain = dir_.File("notes.txt");
  test::WriteFile(plain, "just a note\r\n");
  test::ChooseNextFile(plain);
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(w.editor().Text(), "just a note\r\n");
  EXPECT_TRUE(w.dlg().document().classes.empty());
  EXPECT_EQ(w.class_combo().count(), 0);
}

}  // namespace
}  // namespace cadenzio
