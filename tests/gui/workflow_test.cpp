// A user's session with a real window, mpv and real keys under Xvfb: a
// caption written from nothing, stamped while the movie plays, previewed,
// saved and exported; the sample split by language, the sync utility opened,
// an SRT imported. Stamped times are checked against the positions mpv
// reported around the key.
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "app/qt/small_dialogs.h"
#include "app/qt/sync_utility_dialog.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_text.h"
#include "settings/settings.h"
#include "tools/split_language.h"

namespace cadenzio {
namespace {

using test::AnswerNextMessageBox;
using test::ReadFile;
using test::U;
using test::WaitUntil;

std::string Cp949(const char* utf8) { return ToCp949Lossy(U(utf8)); }

// HH:MM:SS,mmm of an SRT timing line.
std::string SrtTime(int ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

class WorkflowTest : public test::WindowTest {
 protected:
  // Hangul arrives as a Korean input method's committed text.
  void TypeCommitted(const char* utf8) {
    QInputMethodEvent commit;
    commit.setCommitString(U(utf8));
    QApplication::sendEvent(&window_->editor(), &commit);
  }
  // Runs the menu item writing to a chosen file; the title of the box ending it.
  QString ChooseWritingTo(const char* label, const std::string& path) {
    test::ChooseNextFile(path);
    const auto done = AnswerNextMessageBox(QMessageBox::Ok);
    Choose(label);
    EXPECT_TRUE(WaitUntil([&] { return done->answered; })) << label;
    return done->title;
  }
};

TEST_F(WorkflowTest, WritesStampsSavesPreviewsAndExportsACaption) {
  const std::string movie = dir_.File("movie.mp4");
  std::filesystem::copy_file(test::SampleMovie(), movie);
  Start({movie});  // no movie.smi beside it: an empty caption
  CadenzioWindow& w = *window_;
  ASSERT_TRUE(WaitForMovie());
  // Paused while writing (F6); F9 puts the header, the caret after <BODY>.
  Key(Qt::Key_F6);
  ASSERT_TRUE(WaitUntil([&] { return w.dlg().play_state() == kPlayStatePaused; }));
  Key(Qt::Key_F9);
  const std::string header = BuiltInHeader();
  ASSERT_EQ(w.editor().Text(), header + "\r\n</BODY>\r\n</SAMI>");
  const std::string head = header.substr(0, header.size() - 2);
  QTest::keyClicks(&w.editor(), "Hello, Cadenzio");
  Key(Qt::Key_Return);
  TypeCommitted("안녕, 카덴지오");
  const std::string korean = Cp949("안녕, 카덴지오");
  Key(Qt::Key_Up);  // back to the first caption
  Key(Qt::Key_Home);

  // F4 goes back to the start and plays; F2 and F3 stamp within 100 ms of
  // what mpv reported around the key (plus DELAY).
  Key(Qt::Key_F4);
  ASSERT_TRUE(WaitUntil([&] { return w.dlg().play_state() == kPlayStatePlaying; },
                        test::kMovieTimeoutMs));
  const double at[4] = {1.0, 2.0, 3.0, 4.5};  // within the 8 s of the movie
  const int keys[4] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F2, Qt::Key_F3};
  double before[4], after[4];
  ASSERT_LT(Position(), at[0]);
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(WaitUntil([&] { return Position() >= at[i]; }, test::kMovieTimeoutMs));
    before[i] = Position();
    Key(keys[i]);
    after[i] = Position();
  }
  const int delay = w.dlg().settings().delay;
  const std::string text = w.editor().Text();
  const std::regex sync_tag("<SYNC Start=(-?[0-9]+)>");
  std::vector<int> starts;
  for (std::sregex_iterator it(text.begin(), text.end(), sync_tag), end; it != end; ++it)
    starts.push_back(std::stoi((*it)[1]));
  ASSERT_EQ(starts.size(), 4u) << text;
  for (int i = 0; i < 4; ++i) {
    EXPECT_GE(starts[i] - delay, before[i] * 1000 - 100) << i;
    EXPECT_LE(starts[i] - delay, after[i] * 1000 + 100) << i;
  }
  const auto sync = [&](int i) {
    return "<SYNC Start=" + std::to_string(starts[i]) + "><P Class=KRCC>";
  };
  EXPECT_EQ(text, head + sync(0) + "\r\nHello, Cadenzio\r\n" + sync(1) + "&nbsp;\r\n" + sync(2) +
                      "\r\n" + korean + "\r\n" + sync(3) + "&nbsp;\r\n\r\n</BODY>\r\n</SAMI>");

  // CTRL+S on a caption without a name: the Save As dialog.
  const std::string caption = dir_.File("movie.smi");
  test::ChooseNextFile(caption);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ReadFile(caption), text);  // the editor's text was in normal form already
  EXPECT_FALSE(w.editor().IsModified());

  // The preview inside the typed Korean caption (stamps hold DELAY, the preview not).
  Reactivate();
  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  ASSERT_TRUE(PauseAt((starts[2] + starts[3]) / 2000.0));
  EXPECT_TRUE(WaitUntil([&] { return Preview() == U("안녕, 카덴지오"); }))
      << Preview().toStdString();
  EXPECT_FALSE(test::TakeScreenshot("workflow_main_window.png").empty());

  Reactivate();
  const std::string srt = dir_.File("movie.srt");
  EXPECT_EQ(ChooseWritingTo("SRT 자막으로 출력하기 (SMI2SRT)", srt), U("작업 완료"));
  EXPECT_EQ(ReadFile(srt), "1\n" + SrtTime(starts[0]) + " --> " + SrtTime(starts[1]) +
                               "\nHello, Cadenzio\n\n2\n" + SrtTime(starts[2]) + " --> " +
                               SrtTime(starts[3]) + "\n" + korean + "\n\n");
  EXPECT_FALSE(std::filesystem::exists(app_.log_path()));
}

// The split is compared with the tool's own output (its bytes are pinned in
// the tool's tests): the window passes the right file and settings.
TEST_F(WorkflowTest, SplitsOpensTheSyncUtilityAndImports) {
  const std::string caption = dir_.File("sample.smi");
  std::filesystem::copy_file(test::ResourcesDir() + "/sample/sample.smi", caption);
  Start({caption});
  CadenzioWindow& w = *window_;
  const std::string sample = ReadFile(caption);

  EXPECT_EQ(ChooseWritingTo("언어별로 나눠출력하기", caption), U("작업 완료"));
  const SplitResult split =
      SplitByLanguage(sample, caption, SplitAnalysisMode(w.dlg().settings().check_br));
  ASSERT_EQ(split.files.size(), 2u);
  const std::string korean = dir_.File("sample.KRCC.smi"), english = dir_.File("sample.ENCC.smi");
  EXPECT_EQ(split.files[0].name, korean);
  EXPECT_EQ(ReadFile(korean), split.files[0].bytes);
  EXPECT_EQ(ReadFile(english), split.files[1].bytes);

  // F12: the sync utility (its buttons are its own test's), source the caption.
  Reactivate();
  Key(Qt::Key_F12);
  ASSERT_TRUE(WaitUntil([&] { return w.sync_utility() != nullptr; }));
  SyncUtilityDialog* utility = w.sync_utility();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(utility));
  EXPECT_EQ(qobject_cast<QLineEdit*>(utility->Control(1003))->text().toStdString(), caption);
  EXPECT_FALSE(test::TakeScreenshot("workflow_sync_utility.png").empty());
  utility->close();
  ASSERT_TRUE(WaitUntil([&] { return w.sync_utility() == nullptr; }));

  // An SRT imported, the title answered: film.smi beside it, written by CTRL+S.
  Reactivate();
  const std::string srt = dir_.File("film.srt");
  test::WriteFile(srt, "1\r\n00:00:01,000 --> 00:00:02,500\r\n" + Cp949("첫 줄") + "\r\n\r\n");
  test::ChooseNextFile(srt);
  test::OnNextModal([](QWidget* modal) {
    auto* dialog = qobject_cast<TitleRateDialog*>(modal);
    if (!dialog) return false;
    dialog->title_edit()->setText(U("영화 제목"));
    dialog->accept();
    return true;
  });
  Choose("다른 포맷 자막 가져오기");
  ASSERT_TRUE(WaitUntil([&] { return w.windowTitle().endsWith(U("[자막 - film.smi]")); }))
      << w.windowTitle().toStdString();
  const std::string imported = w.editor().Text();
  EXPECT_FALSE(std::filesystem::exists(dir_.File("film.smi")));
  Reactivate();
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ReadFile(dir_.File("film.smi")), imported);
  // The header (its bytes are the import's test) names the title; the caption ends in a clear.
  EXPECT_NE(imported.find("<Title>" + Cp949("영화 제목")), std::string::npos) << imported;
  const std::string body = "<BODY>\r\n<SYNC Start=1000><P Class=ENCC>\r\n" + Cp949("첫 줄") +
                           "\r\n<SYNC Start=2500><P Class=ENCC>&nbsp;\r\n</BODY>\r\n</SAMI>";
  EXPECT_EQ(imported.substr(imported.size() - std::min(body.size(), imported.size())), body);
}

}  // namespace
}  // namespace cadenzio
