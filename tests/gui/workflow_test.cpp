// A user's session from start to end, with a real window, a real mpv player
// and real keys under Xvfb: a caption written from nothing, stamped while the
// movie plays, previewed, saved, checked and exported; then the sample
// caption split by language, shifted and merged in the sync utility, and an
// SRT imported. Every file the session writes is checked byte for byte; where
// a time comes from mpv's real position, within the window of positions mpv
// reported around the key. Screenshots go to the test output folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>

#include "app/qt/main_window.h"
#include "app/qt/small_dialogs.h"
#include "app/qt/sync_utility_dialog.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_editor.h"
#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_text.h"
#include "settings/settings.h"
#include "test_support.h"

namespace cadenzio {
namespace {

using test::AnswerNextMessageBox;
using test::OnNextModal;
using test::ReadFile;
using test::WaitUntil;

constexpr int kMovieTimeoutMs = 15000;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
std::string Cp949(const char* utf8) { return ToCp949Lossy(U(utf8)); }

// The lines in CP949, each ended with CR LF.
std::string Lines(std::initializer_list<const char*> utf8_lines) {
  std::string text;
  for (const char* line : utf8_lines) text += Cp949(line) + "\r\n";
  return text;
}

// The sample's header up to its style block, and its captions.
constexpr const char* kSampleTop[] = {
    "<SAMI>", "<HEAD>", "<Title>Cadenzio 예제 자막</Title>", "<Style TYPE=\"text/css\">", "<!--",
    "P {margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;",
    "   text-align:center; font-size:22pt; font-family: Arial, Sans-serif;",
    "   font-weight:bold; color:white;}"};
std::string SampleTop() {
  std::string text;
  for (const char* line : kSampleTop) text += Cp949(line) + "\r\n";
  return text;
}
const std::string kStyleEnd = Lines({"-->", "</Style>", "</HEAD>", "<BODY>", ""});
const std::string kKorean[4] = {
    Lines({"안녕하세요, <font color=\"yellow\">카덴지오</font>입니다."}),
    Lines({"<font color=\"red\">빨간</font> 글자와<br>", "<b>굵은 글자</b>"}),
    Lines({"<font color=\"#00ff00\">초록색</font> 자막"}),
    Lines({"<i>마지막</i> 자막입니다"})};
const std::string kEnglish[4] = {
    Lines({"Hello, this is <font color=\"yellow\">Cadenzio</font>."}),
    Lines({"<font color=\"red\">Red</font> text and<br>", "<b>bold text</b>"}),
    Lines({"<font color=\"#00ff00\">Green</font> caption"}), Lines({"<i>The last</i> caption"})};

// One language of the sample with the syncs given: captions at s[0], s[2],
// s[4], s[5], clears at s[1], s[3], s[6].
std::string OneLanguage(const char* declaration, const char* name, const std::string (&captions)[4],
                        const int (&s)[7]) {
  const auto sync = [&](int i) {
    return "<SYNC Start=" + std::to_string(s[i]) + "><P Class=" + name + ">";
  };
  return SampleTop() + Lines({declaration}) + kStyleEnd + sync(0) + "\r\n" + captions[0] +
         sync(1) + "&nbsp;\r\n" + sync(2) + "\r\n" + captions[1] + sync(3) + "&nbsp;\r\n" +
         sync(4) + "\r\n" + captions[2] + sync(5) + "\r\n" + captions[3] + sync(6) +
         "&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}
constexpr const char* kKoreanDeclaration = ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC;}";
constexpr const char* kEnglishDeclaration = ".ENCC {Name:English; lang:en-US; SAMIType:CC;}";
constexpr int kSampleSyncs[7] = {500, 2000, 2500, 4000, 4500, 6000, 7500};

// HH:MM:SS,mmm of an SRT timing line.
std::string SrtTime(int ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

class WorkflowTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallFontSubstitutions(); }
  void TearDown() override {
    if (window_ && window_->isVisible()) {
      window_->editor().SetModified(false);
      window_->close();
    }
  }

  void Start(const std::vector<std::string>& args) {
    window_ = std::make_unique<CadenzioWindow>(app_, MpvPlayerOptions{.audio = false});
    window_->Start(args);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    Reactivate();
  }
  // Xvfb has no window manager to hand the focus back when a dialog closes;
  // the user would click into the window.
  void Reactivate() {
    window_->activateWindow();
    QApplication::setActiveWindow(window_.get());
    window_->editor().setFocus();
  }
  bool WaitForMovie() {
    return WaitUntil([this] { return window_->dlg().open_state() == kOpenStateOpen; },
                     kMovieTimeoutMs);
  }
  double Position() { return window_->player().CurrentPosition(); }
  bool WaitForPosition(double seconds) {
    return WaitUntil([&] { return Position() >= seconds; }, kMovieTimeoutMs);
  }
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&window_->editor(), static_cast<Qt::Key>(key), modifiers);
  }
  // Hangul arrives as an input method's committed text, as a Korean IME
  // delivers it; key clicks cannot type it.
  void TypeCommitted(const char* utf8) {
    QInputMethodEvent commit;
    commit.setCommitString(U(utf8));
    QApplication::sendEvent(&window_->editor(), &commit);
  }
  // The menu item with the label the user reads.
  QAction* MenuAction(const char* label) {
    for (QAction* menu : window_->menuBar()->actions())
      if (menu->menu())
        for (QAction* item : menu->menu()->actions())
          if (item->text() == U(label)) return item;
    ADD_FAILURE() << "no menu item " << label;
    return nullptr;
  }
  void Choose(const char* label) {
    if (QAction* action = MenuAction(label)) action->trigger();
  }
  template <typename Window>
  Window* WaitForWindow() {
    Window* found = nullptr;
    WaitUntil([&] {
      for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(top); window && window->isVisible())
          found = window;
      return found != nullptr;
    });
    return found;
  }
  static void Screenshot(const char* name) {
    const std::string shot = test::TakeScreenshot(name);
    EXPECT_FALSE(shot.empty()) << name;
    std::printf("screenshot: %s\n", shot.c_str());
  }

  test::TempDir dir_;
  CCadenzioApp app_{dir_.path().string()};
  std::unique_ptr<CadenzioWindow> window_;
};

// What mpv reported just before and after a stamping key.
struct Stamp {
  double before = 0, after = 0;
};

TEST_F(WorkflowTest, WritesStampsPreviewsSavesChecksAndExportsACaption) {
  const std::string movie = dir_.File("movie.mp4");
  std::filesystem::copy_file(test::SampleMovie(), movie);
  Start({movie});  // no movie.smi beside it: an empty caption
  CadenzioWindow& w = *window_;
  ASSERT_TRUE(WaitForMovie());
  EXPECT_EQ(w.windowTitle(), U("  Cadenzio v2.08 [동영상 - movie.mp4] [자막 - New SMI]"));
  EXPECT_EQ(w.editor().Text(), "");

  // Pause while writing: F6.
  Key(Qt::Key_F6);
  ASSERT_TRUE(WaitUntil([&] { return w.dlg().play_state() == kPlayStatePaused; }));

  // F9: the header; the caret lands in the body.
  Key(Qt::Key_F9);
  // The template ends in an empty line after <BODY>: the caret stands there.
  const std::string header = BuiltInHeader();
  ASSERT_EQ(w.editor().Text(), header + "\r\n</BODY>\r\n</SAMI>");
  const std::string head = header.substr(0, header.size() - 2);
  QTest::keyClicks(&w.editor(), "Hello, Cadenzio");
  Key(Qt::Key_Return);
  TypeCommitted("안녕, 카덴지오");
  const std::string korean = Cp949("안녕, 카덴지오");
  ASSERT_EQ(w.editor().Text(),
            head + "Hello, Cadenzio\r\n" + korean + "\r\n\r\n</BODY>\r\n</SAMI>");
  Key(Qt::Key_Up);  // back to the first caption
  Key(Qt::Key_Home);

  // F4 goes back to the start and plays; F2 and F3 stamp while it plays.
  Key(Qt::Key_F4);
  ASSERT_TRUE(WaitUntil([&] { return w.dlg().play_state() == kPlayStatePlaying; },
                        kMovieTimeoutMs));
  Stamp stamps[4];
  const double at[4] = {1.0, 2.0, 3.0, 4.5};  // within the 8 s of the movie
  ASSERT_LT(Position(), at[0]);
  const int keys[4] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F2, Qt::Key_F3};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(WaitForPosition(at[i])) << Position();
    stamps[i].before = Position();
    Key(keys[i]);
    stamps[i].after = Position();
  }
  const int delay = w.dlg().settings().delay;

  // The stamps, read back and held against mpv's positions around each key.
  const std::string text = w.editor().Text();
  const std::regex sync_tag("<SYNC Start=(-?[0-9]+)>");
  std::vector<int> starts;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), sync_tag);
       it != std::sregex_iterator(); ++it)
    starts.push_back(std::stoi((*it)[1]));
  ASSERT_EQ(starts.size(), 4u) << text;
  for (int i = 0; i < 4; ++i) {
    EXPECT_GE(starts[i] - delay, stamps[i].before * 1000 - 100) << i;
    EXPECT_LE(starts[i] - delay, stamps[i].after * 1000 + 100) << i;
  }
  const auto sync = [&](int i) { return "<SYNC Start=" + std::to_string(starts[i]) + ">"; };
  const std::string body = sync(0) + "<P Class=KRCC>\r\nHello, Cadenzio\r\n" + sync(1) +
                           "<P Class=KRCC>&nbsp;\r\n" + sync(2) + "<P Class=KRCC>\r\n" + korean +
                           "\r\n" + sync(3) + "<P Class=KRCC>&nbsp;\r\n";
  EXPECT_EQ(text, head + body + "\r\n</BODY>\r\n</SAMI>");

  // CTRL+S on a caption without a name: the Save As dialog.
  const std::string caption = dir_.File("movie.smi");
  test::ChooseNextFile(caption);
  Key(Qt::Key_S, Qt::ControlModifier);
  ASSERT_TRUE(std::filesystem::exists(caption));
  const std::string saved = ReadFile(caption);
  EXPECT_EQ(saved, text);  // the editor's text was in normal form already
  EXPECT_EQ(w.editor().Text(), saved);
  EXPECT_FALSE(w.editor().IsModified());
  EXPECT_EQ(w.windowTitle(), U("  Cadenzio v2.08 [동영상 - movie.mp4] [자막 - movie.smi]"));

  // The preview: caption on, the movie paused inside each caption (the
  // stamps hold DELAY, the preview reads the bare position).
  Reactivate();
  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  ASSERT_TRUE(w.caption_on_box().isChecked());
  const auto preview = [&] { return w.preview_box().toPlainText().trimmed(); };
  const auto pause_at = [&](int ms) {
    w.player().Pause();
    w.player().SetCurrentPosition(ms / 1000.0);  // the preview takes no DELAY
    return WaitUntil([&] { return std::abs(Position() - ms / 1000.0) < 0.05; },
                     kMovieTimeoutMs);
  };
  ASSERT_TRUE(pause_at((starts[0] + starts[1]) / 2));
  EXPECT_TRUE(WaitUntil([&] { return preview() == U("Hello, Cadenzio"); })) << preview().toStdString();
  ASSERT_TRUE(pause_at((starts[2] + starts[3]) / 2));
  EXPECT_TRUE(WaitUntil([&] { return preview() == U("안녕, 카덴지오"); })) << preview().toStdString();
  Screenshot("workflow_main_window.png");
  ASSERT_TRUE(pause_at((starts[1] + starts[2]) / 2));
  EXPECT_TRUE(WaitUntil([&] { return preview().isEmpty(); })) << preview().toStdString();

  // F11: the sync error check opens its report window.
  Reactivate();
  Key(Qt::Key_F11);
  ReportDialog* report = WaitForWindow<ReportDialog>();
  ASSERT_NE(report, nullptr);
  const QString report_text = report->text()->toPlainText();
  EXPECT_TRUE(report_text.contains(U("# 모든 검사에서 총 오류 0 개 발견"))) << report_text.toStdString();
  EXPECT_TRUE(report_text.contains(U("작업이 정상적으로 완료되었습니다.")));
  Screenshot("workflow_report_window.png");
  report->close();

  // SRT export from the menu: movie.smi proposes movie.srt.
  Reactivate();
  const std::string srt = dir_.File("movie.srt");
  test::ChooseNextFile(srt);
  const auto done = AnswerNextMessageBox(QMessageBox::Ok);
  Choose("SRT 자막으로 출력하기 (SMI2SRT)");
  ASSERT_TRUE(WaitUntil([&] { return done->answered; }));
  EXPECT_EQ(done->title, U("작업 완료"));
  EXPECT_EQ(ReadFile(srt), "1\n" + SrtTime(starts[0]) + " --> " + SrtTime(starts[1]) +
                               "\nHello, Cadenzio\n\n2\n" + SrtTime(starts[2]) + " --> " +
                               SrtTime(starts[3]) + "\n" + korean + "\n\n");
  EXPECT_FALSE(std::filesystem::exists(app_.log_path()));
}

// The sample caption (resources/sample/sample.smi), KRCC and ENCC captions at
// 500, 2500, 4500 and 6000 with clears at 2000, 4000 and 7500.
class SampleWorkflowTest : public WorkflowTest {
 protected:
  void SetUp() override {
    WorkflowTest::SetUp();
    std::filesystem::copy_file(test::ResourcesDir() + "/sample/sample.smi", caption_);
    std::filesystem::copy_file(test::SampleMovie(), dir_.File("sample.mp4"));
  }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(utility_->Control(id)); }
  QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(utility_->Control(id)); }
  // Runs the utility's work button and answers its one message box.
  test::AnsweredMessageBox RunUtility() {
    const auto box = AnswerNextMessageBox(QMessageBox::Ok);
    QTest::mouseClick(Button(1013), Qt::LeftButton);
    WaitUntil([&] { return box->answered; });
    return *box;
  }

  std::string caption_ = dir_.File("sample.smi");
  SyncUtilityDialog* utility_ = nullptr;
};

TEST_F(SampleWorkflowTest, SplitsShiftsMergesAndImports) {
  Start({caption_, dir_.File("sample.mp4")});
  CadenzioWindow& w = *window_;
  const std::string sample = ReadFile(caption_);
  ASSERT_EQ(w.editor().Text(), sample);

  // Split by language: one file per class beside the chosen base name.
  test::ChooseNextFile(caption_);
  const auto split_done = AnswerNextMessageBox(QMessageBox::Ok);
  Choose("언어별로 나눠출력하기");
  ASSERT_TRUE(WaitUntil([&] { return split_done->answered; }));
  EXPECT_EQ(split_done->title, U("작업 완료"));
  const std::string korean = dir_.File("sample.KRCC.smi"), english = dir_.File("sample.ENCC.smi");
  ASSERT_TRUE(std::filesystem::exists(korean));
  ASSERT_TRUE(std::filesystem::exists(english));
  EXPECT_EQ(ReadFile(korean), OneLanguage(kKoreanDeclaration, "KRCC", kKorean, kSampleSyncs));
  EXPECT_EQ(ReadFile(english), OneLanguage(kEnglishDeclaration, "ENCC", kEnglish, kSampleSyncs));

  // F12: the sync utility, its source the caption being edited.
  Reactivate();
  Key(Qt::Key_F12);
  ASSERT_TRUE(WaitUntil([&] { return w.sync_utility() != nullptr; }));
  utility_ = w.sync_utility();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(utility_));
  EXPECT_EQ(Edit(1003)->text().toStdString(), caption_);

  // Shift the Korean captions from 2500 to 4500 by 300.
  const std::string shifted = dir_.File("shifted.smi");
  QTest::mouseClick(Button(1017), Qt::LeftButton);
  Edit(1003)->setText(QString::fromStdString(korean));
  Edit(1005)->setText(QString::fromStdString(shifted));
  Edit(1007)->setText("2500");
  Edit(1009)->setText("300");
  Edit(1011)->setText("4500");
  test::AnsweredMessageBox box = RunUtility();
  EXPECT_EQ(box.title, U("작업 완료")) << box.text.toStdString();
  // 2500 <= t < 4500 moves; 4500 itself stays.
  EXPECT_EQ(ReadFile(shifted), OneLanguage(kKoreanDeclaration, "KRCC", kKorean,
                                           {500, 2000, 2800, 4300, 4500, 6000, 7500}));
  EXPECT_EQ(ReadFile(korean), OneLanguage(kKoreanDeclaration, "KRCC", kKorean, kSampleSyncs));
  Screenshot("workflow_sync_utility.png");

  // Merge the two languages back in time order: first file + ".Sorted".
  QTest::mouseClick(Button(1039), Qt::LeftButton);
  Edit(1003)->setText(QString::fromStdString(korean));
  Edit(1005)->setText(QString::fromStdString(english));
  box = RunUtility();
  EXPECT_EQ(box.title, U("작업 완료")) << box.text.toStdString();
  const std::string merged = korean + ".Sorted";
  ASSERT_TRUE(std::filesystem::exists(merged));
  // Both declarations; one sync line per time, the Korean paragraph first;
  // one class-less clear where both languages clear.
  std::string merged_body;
  const int caption_syncs[4] = {500, 2500, 4500, 6000};
  const int clear_after[4] = {2000, 4000, 0, 7500};
  for (int i = 0; i < 4; ++i) {
    merged_body += "<SYNC Start=" + std::to_string(caption_syncs[i]) + "><P Class=KRCC>\r\n" +
                   kKorean[i] + "<P Class=ENCC>\r\n" + kEnglish[i];
    if (clear_after[i])
      merged_body += "<SYNC Start=" + std::to_string(clear_after[i]) + "><P>&nbsp;\r\n";
  }
  EXPECT_EQ(ReadFile(merged), SampleTop() + Lines({kKoreanDeclaration, kEnglishDeclaration}) +
                                  kStyleEnd + merged_body + "</BODY>\r\n</SAMI>\r\n");
  utility_->close();
  ASSERT_TRUE(WaitUntil([&] { return w.sync_utility() == nullptr; }));

  // Import an SRT from the menu: the title question answered; the text
  // arrives as film.smi beside it, unsaved, and CTRL+S writes it there.
  Reactivate();
  const std::string srt = dir_.File("film.srt");
  test::WriteFile(srt,
                  "1\r\n00:00:01,000 --> 00:00:02,500\r\nFirst line\r\n\r\n"
                  "2\r\n00:00:03,000 --> 00:00:04,250\r\n" + Cp949("두 번째 줄") + "\r\n\r\n");
  test::ChooseNextFile(srt);
  OnNextModal([](QWidget* modal) {
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
  EXPECT_EQ(ReadFile(dir_.File("film.smi")), w.editor().Text());
  // The header names the title and the time of the import; the captions
  // keep the SRT's times, each ended by a clear.
  const std::string stamp_line = "  This file is created by Cadenzio on ";
  const std::size_t stamp_at = imported.find(stamp_line);
  ASSERT_NE(stamp_at, std::string::npos) << imported;
  const std::string when = imported.substr(stamp_at + stamp_line.size(), 19);
  EXPECT_TRUE(std::regex_match(when, std::regex("20[0-9]{2}/[01][0-9]/[0-3][0-9] "
                                                "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]")))
      << when;
  EXPECT_EQ(imported.substr(0, stamp_at),
            Lines({"<SAMI>", "<HEAD>", "<Title>영화 제목</Title>", "<STYLE TYPE=\"text/css\">",
                   "<!--", "P {margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;",
                   "   text-align:center; font-size:22pt; font-family:Arial, sans-serif;",
                   "   font-weight:bold; color:white;}",
                   ".ENCC {Name:English; lang:en-US; SAMIType:CC;}",
                   "#STDPrn {Name:Standard Print;}",
                   "#VLargePrn {Name:34pt (VLarge Print); font-size:34pt;}",
                   "#LargePrn {Name:28pt (Large Print); font-size:28pt;}",
                   "#MediumPrn {Name:24pt (Medium Print); font-size:24pt;}",
                   "#BSmallPrn {Name:18pt (BSmall Print); font-size:18pt;}",
                   "#SmallPrn {Name:12pt (Small Print); font-size:12pt;}", "-->", "</Style>",
                   "<!--"}));
  EXPECT_EQ(imported.substr(stamp_at + stamp_line.size() + 19),
            Lines({"", "  SRT, SUB and SUBRIP converters by the Cadenzio authors", "-->", "</HEAD>",
                   "<BODY>", "<SYNC Start=1000><P Class=ENCC>", "First line",
                   "<SYNC Start=2500><P Class=ENCC>&nbsp;", "<SYNC Start=3000><P Class=ENCC>",
                   "두 번째 줄", "<SYNC Start=4250><P Class=ENCC>&nbsp;", "</BODY>"}) +
                "</SAMI>");
}

}  // namespace
}  // namespace cadenzio
