// A user's session from start to end, with a real window, a real mpv player
// and real keys under Xvfb: a caption written from nothing, stamped while the
// movie plays, previewed, saved, checked and exported; then the sample
// caption split by language, shifted and merged in the sync utility, and an
// SRT imported. Every file the session writes is checked byte for byte; where
// a time comes from mpv's real position, within the window of positions mpv
// reported around the key. Screenshots go to the test output folder.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <regex>

#include "app/qt/main_window.h"
#include "app/qt/small_dialogs.h"
#include "app/qt/sync_utility_dialog.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_editor.h"
#include "platform/qt/qt_text.h"
#include "settings/settings.h"
#include "tools/import_header.h"

namespace cadenzio {
namespace {

using test::AnswerNextMessageBox;
using test::ReadFile;
using test::U;
using test::WaitUntil;

std::string Cp949(const char* utf8) { return ToCp949Lossy(U(utf8)); }

// The lines in CP949, each ended with CR LF.
std::string Lines(std::initializer_list<const char*> utf8_lines) {
  std::string text;
  for (const char* line : utf8_lines) text += Cp949(line) + "\r\n";
  return text;
}

// The sample's header up to its style block, and its captions.
const std::string kSampleTop =
    Lines({"<SAMI>", "<HEAD>", "<Title>Cadenzio 예제 자막</Title>", "<Style TYPE=\"text/css\">",
           "<!--", "P {margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;",
           "   text-align:center; font-size:22pt; font-family: Arial, Sans-serif;",
           "   font-weight:bold; color:white;}"});
const std::string kStyleEnd = Lines({"-->", "</Style>", "</HEAD>", "<BODY>", ""});
const std::string kKorean[4] = {
    Lines({"안녕하세요, <font color=\"yellow\">카덴지오</font>입니다."}),
    Lines({"<font color=\"red\">빨간</font> 글자와<br>", "<b>굵은 글자</b>"}),
    Lines({"<font color=\"#00ff00\">초록색</font> 자막"}), Lines({"<i>마지막</i> 자막입니다"})};
const std::string kEnglish[4] = {
    Lines({"Hello, this is <font color=\"yellow\">Cadenzio</font>."}),
    Lines({"<font color=\"red\">Red</font> text and<br>", "<b>bold text</b>"}),
    Lines({"<font color=\"#00ff00\">Green</font> caption"}), Lines({"<i>The last</i> caption"})};
constexpr const char* kKoreanDeclaration = ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC;}";
constexpr const char* kEnglishDeclaration = ".ENCC {Name:English; lang:en-US; SAMIType:CC;}";
constexpr int kSampleSyncs[7] = {500, 2000, 2500, 4000, 4500, 6000, 7500};

// One language of the sample with the syncs given: captions at s[0], s[2],
// s[4], s[5], clears at s[1], s[3], s[6].
std::string OneLanguage(const char* declaration, const char* name, const std::string (&captions)[4],
                        const int (&s)[7]) {
  const auto sync = [&](int i) {
    return "<SYNC Start=" + std::to_string(s[i]) + "><P Class=" + name + ">";
  };
  return kSampleTop + Lines({declaration}) + kStyleEnd + sync(0) + "\r\n" + captions[0] +
         sync(1) + "&nbsp;\r\n" + sync(2) + "\r\n" + captions[1] + sync(3) + "&nbsp;\r\n" +
         sync(4) + "\r\n" + captions[2] + sync(5) + "\r\n" + captions[3] + sync(6) +
         "&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}

// HH:MM:SS,mmm of an SRT timing line.
std::string SrtTime(int ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

class WorkflowTest : public test::WindowTest {
 protected:
  // Hangul arrives as an input method's committed text, as a Korean IME
  // delivers it; key clicks cannot type it.
  void TypeCommitted(const char* utf8) {
    QInputMethodEvent commit;
    commit.setCommitString(U(utf8));
    QApplication::sendEvent(&window_->editor(), &commit);
  }
  void Choose(const char* label) {
    if (QAction* action = MenuAction(label)) action->trigger();
  }
  // Runs the menu item that writes a file chosen in a file dialog; the title
  // of the message box that ends it.
  QString ChooseWritingTo(const char* label, const std::string& path) {
    test::ChooseNextFile(path);
    const auto done = AnswerNextMessageBox(QMessageBox::Ok);
    Choose(label);
    EXPECT_TRUE(WaitUntil([&] { return done->answered; })) << label;
    return done->title;
  }
  static void Screenshot(const char* name) {
    EXPECT_FALSE(test::TakeScreenshot(name).empty()) << name;
  }
};

TEST_F(WorkflowTest, WritesStampsPreviewsSavesChecksAndExportsACaption) {
  const std::string movie = dir_.File("movie.mp4");
  std::filesystem::copy_file(test::SampleMovie(), movie);
  Start({movie});  // no movie.smi beside it: an empty caption
  CadenzioWindow& w = *window_;
  ASSERT_TRUE(WaitForMovie());
  EXPECT_EQ(w.windowTitle(), U("  Cadenzio v2.08 [동영상 - movie.mp4] [자막 - New SMI]"));
  EXPECT_EQ(w.editor().Text(), "");

  // Paused while writing (F6); F9 puts the header, the caret in the empty
  // line after <BODY>.
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

  // F4 goes back to the start and plays; F2 and F3 stamp while it plays,
  // each within 100 ms of what mpv reported around the key (plus DELAY).
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
  for (auto it = std::sregex_iterator(text.begin(), text.end(), sync_tag);
       it != std::sregex_iterator(); ++it)
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
  EXPECT_EQ(w.windowTitle(), U("  Cadenzio v2.08 [동영상 - movie.mp4] [자막 - movie.smi]"));

  // The preview, caption on, inside the typed Korean caption (the stamps hold
  // DELAY, the preview reads the bare position).
  Reactivate();
  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  ASSERT_TRUE(PauseAt((starts[2] + starts[3]) / 2000.0));
  EXPECT_TRUE(WaitUntil([&] { return Preview() == U("안녕, 카덴지오"); }))
      << Preview().toStdString();
  Screenshot("workflow_main_window.png");

  // F11: the sync error check opens its report window.
  Reactivate();
  Key(Qt::Key_F11);
  ReportDialog* report = test::WaitForWindow<ReportDialog>();
  ASSERT_NE(report, nullptr);
  const QString report_text = report->text()->toPlainText();
  EXPECT_TRUE(report_text.contains(U("# 모든 검사에서 총 오류 0 개 발견")))
      << report_text.toStdString();
  EXPECT_TRUE(report_text.contains(U("작업이 정상적으로 완료되었습니다.")));
  Screenshot("workflow_report_window.png");
  report->close();

  // SRT export from the menu.
  Reactivate();
  const std::string srt = dir_.File("movie.srt");
  EXPECT_EQ(ChooseWritingTo("SRT 자막으로 출력하기 (SMI2SRT)", srt), U("작업 완료"));
  EXPECT_EQ(ReadFile(srt), "1\n" + SrtTime(starts[0]) + " --> " + SrtTime(starts[1]) +
                               "\nHello, Cadenzio\n\n2\n" + SrtTime(starts[2]) + " --> " +
                               SrtTime(starts[3]) + "\n" + korean + "\n\n");
  EXPECT_FALSE(std::filesystem::exists(app_.log_path()));
}

// The sample caption (resources/sample/sample.smi): KRCC and ENCC captions at
// 500, 2500, 4500 and 6000 with clears at 2000, 4000 and 7500.
TEST_F(WorkflowTest, SplitsShiftsMergesAndImports) {
  const std::string caption = dir_.File("sample.smi");
  std::filesystem::copy_file(test::ResourcesDir() + "/sample/sample.smi", caption);
  std::filesystem::copy_file(test::SampleMovie(), dir_.File("sample.mp4"));
  Start({caption, dir_.File("sample.mp4")});
  CadenzioWindow& w = *window_;

  // Split by language: one file per class beside the chosen base name.
  EXPECT_EQ(ChooseWritingTo("언어별로 나눠출력하기", caption), U("작업 완료"));
  const std::string korean = dir_.File("sample.KRCC.smi"), english = dir_.File("sample.ENCC.smi");
  EXPECT_EQ(ReadFile(korean), OneLanguage(kKoreanDeclaration, "KRCC", kKorean, kSampleSyncs));
  EXPECT_EQ(ReadFile(english), OneLanguage(kEnglishDeclaration, "ENCC", kEnglish, kSampleSyncs));

  // F12: the sync utility, its source the caption being edited.
  Reactivate();
  Key(Qt::Key_F12);
  ASSERT_TRUE(WaitUntil([&] { return w.sync_utility() != nullptr; }));
  SyncUtilityDialog* utility = w.sync_utility();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(utility));
  const auto edit = [&](int id) { return qobject_cast<QLineEdit*>(utility->Control(id)); };
  const auto click = [&](int id) { QTest::mouseClick(utility->Control(id), Qt::LeftButton); };
  const auto run = [&] {  // the work button, and the message box that ends the work
    const auto box = AnswerNextMessageBox(QMessageBox::Ok);
    click(1013);
    WaitUntil([&] { return box->answered; });
    EXPECT_EQ(box->title, U("작업 완료")) << box->text.toStdString();
  };
  EXPECT_EQ(edit(1003)->text().toStdString(), caption);

  // Shift the Korean captions from 2500 to 4500 by 300: 4500 itself stays.
  const std::string shifted = dir_.File("shifted.smi");
  click(1017);
  edit(1003)->setText(QString::fromStdString(korean));
  edit(1005)->setText(QString::fromStdString(shifted));
  edit(1007)->setText("2500");
  edit(1009)->setText("300");
  edit(1011)->setText("4500");
  run();
  EXPECT_EQ(ReadFile(shifted), OneLanguage(kKoreanDeclaration, "KRCC", kKorean,
                                           {500, 2000, 2800, 4300, 4500, 6000, 7500}));
  EXPECT_EQ(ReadFile(korean), OneLanguage(kKoreanDeclaration, "KRCC", kKorean, kSampleSyncs));
  Screenshot("workflow_sync_utility.png");

  // Merge the two languages back in time order into the first file +
  // ".Sorted": one sync line per time, the Korean paragraph first, one
  // class-less clear where both languages clear.
  click(1039);
  edit(1003)->setText(QString::fromStdString(korean));
  edit(1005)->setText(QString::fromStdString(english));
  run();
  std::string merged;
  const int caption_syncs[4] = {500, 2500, 4500, 6000}, clear_after[4] = {2000, 4000, 0, 7500};
  for (int i = 0; i < 4; ++i) {
    merged += "<SYNC Start=" + std::to_string(caption_syncs[i]) + "><P Class=KRCC>\r\n" +
              kKorean[i] + "<P Class=ENCC>\r\n" + kEnglish[i];
    if (clear_after[i])
      merged += "<SYNC Start=" + std::to_string(clear_after[i]) + "><P>&nbsp;\r\n";
  }
  EXPECT_EQ(ReadFile(korean + ".Sorted"), kSampleTop +
                                              Lines({kKoreanDeclaration, kEnglishDeclaration}) +
                                              kStyleEnd + merged + "</BODY>\r\n</SAMI>\r\n");
  utility->close();
  ASSERT_TRUE(WaitUntil([&] { return w.sync_utility() == nullptr; }));

  // Import an SRT from the menu, the title question answered: the text
  // arrives as film.smi beside it, unsaved, and CTRL+S writes it there.
  Reactivate();
  const std::string srt = dir_.File("film.srt");
  test::WriteFile(srt,
                  "1\r\n00:00:01,000 --> 00:00:02,500\r\nFirst line\r\n\r\n"
                  "2\r\n00:00:03,000 --> 00:00:04,250\r\n" + Cp949("두 번째 줄") + "\r\n\r\n");
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
  // The header (pinned with the import) names the title and the time of the
  // import; the captions keep the SRT's times, each ended by a clear.
  const std::string stamp_line = "  This file is created by Cadenzio on ";
  const std::size_t stamp_at = imported.find(stamp_line);
  ASSERT_NE(stamp_at, std::string::npos) << imported;
  std::tm when{};
  ASSERT_NE(strptime(imported.c_str() + stamp_at + stamp_line.size(), "%Y/%m/%d %H:%M:%S", &when),
            nullptr);
  EXPECT_GE(when.tm_year, 120);
  std::string header;
  WriteImportHeader(header, Cp949("영화 제목"), when);
  EXPECT_EQ(imported, header + Lines({"<SYNC Start=1000><P Class=ENCC>", "First line",
                                      "<SYNC Start=2500><P Class=ENCC>&nbsp;",
                                      "<SYNC Start=3000><P Class=ENCC>", "두 번째 줄",
                                      "<SYNC Start=4250><P Class=ENCC>&nbsp;", "</BODY>"}) +
                          "</SAMI>");
}

}  // namespace
}  // namespace cadenzio
