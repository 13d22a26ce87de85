// The main window end to end: a real window, mpv and real key events under
// Xvfb, and its quoted texts. F2/F3 stamping is in workflow_test.cpp.
#include "app/qt/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

#include "app/qt/small_dialogs.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_text.h"
#include "settings/file_services.h"

namespace cadenzio {
namespace {

using test::AnswerNextMessageBox;
using test::kMovieTimeoutMs;
using test::U;
using test::WaitUntil;

// Opening 10 MB takes under a second optimised; the sanitizers slow it about
// tenfold, where the bound only catches a blow-up.
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

TEST_F(MainWindowTest, LayoutAt800By600AndEnterOrEscapeDoNotClose) {
  Start({});
  CadenzioWindow& w = *window_;
  EXPECT_EQ(w.size(), QSize(800, 600));
  w.resize(800, 600 + w.menuBar()->height());  // the client area below the menu bar
  ASSERT_TRUE(WaitUntil([&] { return w.client_area().size() == QSize(800, 600); }));
  EXPECT_EQ(w.player().geometry(), QRect(0, 0, 400, 360));
  EXPECT_EQ(w.preview_box().geometry(), QRect(0, 360, 400, 80));
  EXPECT_EQ(w.capture_list().geometry(), QRect(0, 440, 266, 160));
  EXPECT_EQ(w.caption_on_box().geometry(), QRect(274, 440, 70, 20));
  EXPECT_EQ(w.class_combo().geometry(), QRect(274, 464, 70, 20));
  EXPECT_EQ(w.editor().geometry(), QRect(400, 0, 400, 580));
  EXPECT_EQ(w.status_line().geometry(), QRect(400, 580, 400, 20));

  Key(Qt::Key_Escape);  // Enter and Escape never close it
  Key(Qt::Key_Return);
  EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, PlaysPreviewsSavesAndFollowsThePositionKeys) {
  Start({caption_, movie_});  // either order
  CadenzioWindow& w = *window_;
  const std::string original = test::ReadFile(caption_);
  EXPECT_EQ(w.editor().Text(), original);
  ASSERT_TRUE(WaitForMovie());  // open state 6
  const double first = Position();
  ASSERT_TRUE(WaitUntil([&] { return Position() > first + 0.5; }, kMovieTimeoutMs))
      << "the position stays at " << Position();

  QTest::mouseClick(&w.caption_on_box(), Qt::LeftButton);
  EXPECT_EQ(w.class_combo().currentText(), U("KRCC"));
  ASSERT_TRUE(PauseAt(3.0));  // in the caption of 2.5 s
  ASSERT_TRUE(WaitUntil([&] { return Preview().startsWith(U("빨간 글자와")); }))
      << Preview().toStdString();
  EXPECT_EQ(PreviewColourOf(U("빨간")), QColor(255, 0, 0));
  EXPECT_EQ(PreviewColourOf(U("글자와")), QColor(255, 255, 255));
  // The movie's picture is on the screen (QWidget::grab misses mpv's window).
  const QImage shot(QString::fromStdString(test::TakeScreenshot("main_window.png")));
  ASSERT_FALSE(shot.isNull());
  const QRect area(w.player().mapToGlobal(QPoint(0, 0)), w.player().size());
  std::set<QRgb> colours;
  for (int y = area.top() + 4; y < area.bottom() - 4; y += 7)
    for (int x = area.left() + 4; x < area.right() - 4; x += 7) colours.insert(shot.pixel(x, y));
  EXPECT_GT(colours.size(), 8u) << "the test picture is on the screen";
  ASSERT_TRUE(PauseAt(4.2));  // the clear of 4.0 s
  EXPECT_TRUE(WaitUntil([&] { return Preview().isEmpty(); }));

  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(caption_), original);
  QTest::keyClicks(&w.editor(), "x");
  const std::string edited = w.editor().Text();
  ASSERT_NE(edited, original);
  Key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(test::ReadFile(caption_), edited);
  EXPECT_FALSE(w.editor().IsModified());
  EXPECT_FALSE(std::filesystem::exists(app_.log_path()));

  // CTRL+J on a sync line moves the movie to its whole second; ALT+SHIFT+3
  // stores the position, X11 reporting the shifted symbol '#'.
  const int delay = w.dlg().settings().delay;
  w.editor().SetText("<SYNC Start=5999><P Class=KRCC>\r\nx\r\n");
  Key(Qt::Key_J, Qt::ControlModifier);
  ASSERT_TRUE(WaitUntil([&] { return std::abs(Position() - 5.0) < 0.05; }, kMovieTimeoutMs))
      << Position();
  Key(Qt::Key_NumberSign, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_NEAR(CaptureCell(2).toInt(), delay + 5000, 40);
}

TEST_F(MainWindowTest, F11ShowsTheReportOfAFaultyCaption) {
  Start({test::TestDataDir() + "/gui/faulty_sync.smi"});
  Key(Qt::Key_F11);
  ReportDialog* report = test::WaitForWindow<ReportDialog>();
  ASSERT_NE(report, nullptr);
  const QString text = report->text()->toPlainText();  // the checker's lines, decoded
  EXPECT_TRUE(text.contains(U("(LINE:0016) 싱크 감소 - <SYNC Start=900>"))) << text.toStdString();
  EXPECT_TRUE(text.contains(U("# 모든 검사에서 총 오류 5 개 발견")));
  EXPECT_FALSE(test::TakeScreenshot("report_window.png").empty());
}

TEST_F(MainWindowTest, OpensATenMegabyteCaptionQuickly) {
  // Nine times the editor's typing limit: the limit bounds typing, not a file.
  const std::string sample = test::ReadFile(caption_);
  std::string big = sample.substr(0, sample.find("<SYNC"));
  for (int i = 0; big.size() < 10'000'000; ++i)  // 한글, 빨강
    big += "<SYNC Start=" + std::to_string(i * 100) +
           "><P Class=KRCC>\r\n\xC7\xD1\xB1\xDB <font color=red>\xBB\xA1\xB0\xAD</font>\r\n";
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
  EXPECT_LT(elapsed, kOpenTenMegabytesMs) << big.size() << " bytes";
}

TEST_F(MainWindowTest, BadInputGivesAMessageAndLeavesTheEditorAlone) {
  Start({dir_.File("missing.avi"), dir_.File("missing.smi")});  // dropped without a word
  CadenzioWindow& w = *window_;
  const std::string kept = "keep me\r\n";
  w.editor().SetText(kept);
  const std::string huge = dir_.File("huge.smi"), broken = dir_.File("broken.avi");
  test::WriteFile(huge, std::string(static_cast<std::size_t>(QtEditor::kCapacity) + 1, 'x'));
  test::WriteFile(broken, "this is no movie\r\n");

  struct Case {
    std::string path;
    Qt::KeyboardModifier key;  // with O: CTRL opens a caption, ALT a movie
    QString message;
  };
  const Case cases[] = {
      {dir_.File("gone.smi"), Qt::ControlModifier, U("화일을 읽을수 없습니다.")},
      {dir_.path().string(), Qt::ControlModifier, U("화일을 읽을수 없습니다.")},
      // One character more than the editor holds is refused whole.
      {huge, Qt::ControlModifier, U("SMIOpen() 우잉... 다 못 읽었다네.. 새로 읽으세용\r\n")},
      {broken, Qt::AltModifier,
       U("동영상 화일을 재생할 수 없습니다.\r\n") + FromNativePath(broken)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    test::ChooseNextFile(c.path);
    const auto message = AnswerNextMessageBox(QMessageBox::Ok);
    Key(Qt::Key_O, c.key);
    ASSERT_TRUE(WaitUntil([&] { return message->answered; }, kMovieTimeoutMs));
    EXPECT_EQ(message->text, c.message);
    EXPECT_EQ(message->title, U("Cadenzio"));
    EXPECT_EQ(w.editor().Text(), kept);
    EXPECT_EQ(w.dlg().caption_path(), "");
    EXPECT_EQ(w.dlg().open_state(), kOpenStateClosed);
  }

  // A file that is no SAMI is text like any other: shown, with no classes.
  const std::string plain = dir_.File("notes.txt");
  test::WriteFile(plain, "just a note\r\n");
  test::ChooseNextFile(plain);
  Key(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(w.editor().Text(), "just a note\r\n");
  EXPECT_EQ(w.class_combo().count(), 0);
}

// The menus left to right, title and items; after a tab the shortcut hint.
constexpr const char* kMenus[] = {
    "동영상(&F)|열기\tALT+O|닫기\tALT+C|동영상 5초전으로 이동\t(F4)|동영상 5초후로 이동\t(F5)|"
    "동영상 일시정지/재생\t(F6)|종료",
    "자막관리(&S)|열기\tCTRL+O|저장\tCTRL+S|Save As\tCTRL+A|초기화\tALT+X|싱크 넣기\t(F2)|"
    "지우기 싱크 넣기\t(F3)|헤더 넣기\t(F9)|찾기\tCTRL+F|바꾸기\tCTRL+R",
    "추가명령(&A)|싱크오류 체크\t(F11)|자막싱크 유틸\t(F12)|다른 포맷 자막 가져오기|"
    "SRT 자막으로 출력하기 (SMI2SRT)|언어별로 나눠출력하기|싱크없는 순수 텍스트만 얻기|"
    "짧은 클리어-시작 구간 삭제|동영상 마지막 싱크를 리스트 7번째 저장\t(F7)|시간 변환\t(F8)|Cadenzio 설정",
    "도움(&H)|Cadenzio 도움말(HTML)|홈페이지 방문|단축키 정보창 보기\t(F1)",
};

// The hotkey window's body up to the two address lines (the product's own).
constexpr const char* kHotkeyLines[] = {
    "F1: 도움말 - 지금 보는 도움말 윈도우", "", "F2: 싱크 넣기", "  현 위치에서 <SYNC 로 시작하거나 공백라인은 무시한 후,",
    "  내용이 있는 라인의 시작부분에 싱크 입력", "  그리고, 라인의 마지막으로 이동", "F3: 지우기 싱크 넣기", "  현라인의 다음 라인에 클리어 싱크 입력후,",
    "  <SYNC 로 시작(공백라인 포함)하지 않는 라인으로 이동", "", "F4: 5초전으로 가기 (이동 후 자동 재생)", "F5: 5초후로 가기",
    "F6: 동영상 일시정지/재생", "", "F7: 동영상 마지막 싱크값 (싱크 리스트 7번째에) 얻기", "F8: 시간값 변환해보는 창", "F9: 헤더 넣기", "",
    "F11: 자막 오류 체크", "F12: 자막싱크 유틸 호출", "", "ALT +O: 동영상 열기", "ALT +C: 동영상 닫기", "CTRL+O: 자막 열기",
    "CTRL+S: 자막 저장", "CTRL+A: 자막 다른 이름으로 저장", "ALT +X: 자막 초기화", "  재생중인 자막은 저장하거나 읽어올때 반영되어 출력되며",
    "  편집중에는 편집창 팝업메뉴에서 '수정중인 내용 재생창에 반영' 이용", "", "ALT+1 ~ 0: 자막의 현재 싱크값 Sync Capture List 에 반영",
    "    5 번째 아이템 = 아이템 2 - 아이템 1", "    6 번째 아이템 = 아이템 4 - 아이템 3",
    "    ( F2 를 이용해, 원하는 위치 싱크를 확인해 본후,", "      맞는거 같으면 List에 삽입하시라구,",
    "      싱크라인을 동영상 보다 SHIFT 없애구 우선순위 줬음. )", "ALT+SHIFT+1 ~ 0: 동영상 현재 싱크값 Sync Capture List 에 반영",
    "", "CTRL+1 ~ 0: Sync Capture List 가져오기", "    자막싱크 유틸 윈도우에서 사용가능", "",
    "CTRL+J: 자막의 현재 싱크 위치로 동영상 이동", "CTRL+SHIFT+J: 동영상의 현재 싱크 위치로 자막 위치 이동", "",
    "CTRL+UP: 자막의 현재 싱크값 설정치 만큼 증가", "CTRL+DOWN: 자막의 현재 싱크값 설정치 만큼 감소", "", "CTRL+F or R: 찾기 및 바꾸기",
    "", "CTRL+C,X,V,Y: 편집창 복사/잘라내기/붙이기/한라인삭제", "", "추가기능이나 오류가 있다면 메일이나 홈피에 글남겨 주세요 ...",
};

// The texts in UTF-8 against what the window decodes from its CP949 resources.
class MainWindowTextsTest : public test::WindowTest {
 protected:
  void SetUp() override { Start({}); }
  test::AnsweredMessageBox MessageOf(const char* menu_item) {
    const auto box = AnswerNextMessageBox(QMessageBox::Ok);
    Choose(menu_item);
    EXPECT_TRUE(WaitUntil([&] { return box->answered; })) << menu_item;
    return *box;
  }
};

TEST_F(MainWindowTextsTest, MenusTitleAndControlsShowTheQuotedTexts) {
  CadenzioWindow& w = *window_;
  QStringList shown;
  for (QAction* menu : w.menuBar()->actions()) {
    QStringList items{menu->text()};
    if (menu->menu())
      for (QAction* item : menu->menu()->actions())
        if (!item->isSeparator()) items << item->text();
    shown << items.join('|');
  }
  // Menus beyond the quoted four (encoding) may stand anywhere; the quoted keep their order.
  qsizetype last = -1;
  for (const char* menu : kMenus) {
    EXPECT_GT(shown.indexOf(U(menu)), last) << menu << "\n" << shown.join('\n').toStdString();
    last = std::max(last, shown.indexOf(U(menu)));
  }

  EXPECT_EQ(w.windowTitle(), U("  Cadenzio v2.08 [동영상 - NO MOVIE] [자막 - New SMI]"));
  EXPECT_EQ(w.caption_on_box().text(), U("자막ON"));
  EXPECT_EQ(w.status_line().text(), U("F1 을 입력하면 단축키 정보를 볼 수 있습니다."));

  // The popup menu's own title, and its items in order.
  QString popup_title;
  QStringList popup_items;
  QTimer::singleShot(300, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      popup_title = menu->title();
      for (QAction* action : menu->actions()) popup_items << action->text();
      menu->close();
    }
  });
  QTest::mouseClick(w.editor().viewport(), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(popup_title, U("리치에디트 팝업메뉴"));
  EXPECT_EQ(popup_items, QStringList({U("복사하기(&C)"), U("붙여넣기(&P)"), U("잘라내기(&X)"),
                                      U("한라인삭제(&D)"), U("수정중내용 재생창에 반영(&G)"),
                                      U("자막편집창 폰트변경(&F)")}));
}

TEST_F(MainWindowTextsTest, HotkeyWindowShowsTheWholeKeyList) {
  QString heading, body;
  test::OnNextModal([&](QWidget* modal) {
    auto* view = qobject_cast<TextViewDialog*>(modal);
    if (!view) return false;
    if (auto* label = view->findChild<QLabel*>(QStringLiteral("heading"))) heading = label->text();
    body = view->body()->toPlainText();
    view->close();
    return true;
  });
  Key(Qt::Key_F1);
  ASSERT_TRUE(WaitUntil([&] { return !body.isEmpty(); }));
  EXPECT_EQ(heading, U("Cadenzio 단축키 정보 ^^"));
  QStringList lines = body.split('\n');
  QStringList expected;
  for (const char* line : kHotkeyLines) expected << U(line);
  ASSERT_GE(lines.size(), expected.size() + 2) << body.toStdString();
  EXPECT_EQ(lines.mid(0, expected.size()), expected);
  EXPECT_TRUE(lines[expected.size()].startsWith(U("홈페이지 => ")));
  EXPECT_TRUE(lines[expected.size() + 1].startsWith(U("이메일 => mailto:")));
}

TEST_F(MainWindowTextsTest, CommandsWithNothingToWorkOnSayWhy) {
  EXPECT_EQ(MessageOf("SRT 자막으로 출력하기 (SMI2SRT)").text, U(" 흠... 출력할 데이타가 없잖아요... "));

  // A cancelled title question ends the import with its message.
  const std::string srt = dir_.File("one.srt");
  test::WriteFile(srt, "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n\r\n");
  test::ChooseNextFile(srt);
  test::OnNextModal([](QWidget* modal) {
    auto* dialog = qobject_cast<TitleRateDialog*>(modal);
    if (dialog) dialog->reject();
    return dialog != nullptr;
  });
  EXPECT_EQ(MessageOf("다른 포맷 자막 가져오기").text, U("타이틀 입력을 취소하셨네요... 작업 종료 "));
  EXPECT_EQ(window_->editor().Text(), "");

  QTest::keyClicks(&window_->editor(), "draft");
  EXPECT_EQ(MessageOf("싱크없는 순수 텍스트만 얻기").text,
            U("데이타가 수정중입니다.\r\n수정중인 데이타가 없어집니다.\r\n저장 후 사용하세요"));
}

}  // namespace
}  // namespace cadenzio
