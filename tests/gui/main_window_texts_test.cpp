// The main window's texts as the user reads them: the menu bar, the editor's
// popup menu, the title, the caption-on box, the status hint, the hotkey
// window and the message boxes of the main window's own commands. The
// expected texts are written in UTF-8 here and must match what the window
// decodes from its CP949 resources, character for character.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>
#include <filesystem>

#include "app/qt/main_window.h"
#include "app/qt/small_dialogs.h"
#include "gui/gui_support.h"
#include "platform/qt/qt_editor.h"

namespace cadenzio {
namespace {

using test::AnswerNextMessageBox;
using test::U;
using test::WaitUntil;

struct QuotedMenu {
  const char* title;
  std::vector<const char*> items;
};

// The menus as quoted for the main window, left to right. The text after a
// tab is the shortcut hint, which Qt draws in the menu's shortcut column.
const std::vector<QuotedMenu>& QuotedMainMenu() {
  static const std::vector<QuotedMenu> menus = {
      {"동영상(&F)",
       {"열기\tALT+O", "닫기\tALT+C", "동영상 5초전으로 이동\t(F4)", "동영상 5초후로 이동\t(F5)",
        "동영상 일시정지/재생\t(F6)", "종료"}},
      {"자막관리(&S)",
       {"열기\tCTRL+O", "저장\tCTRL+S", "Save As\tCTRL+A", "초기화\tALT+X", "싱크 넣기\t(F2)",
        "지우기 싱크 넣기\t(F3)", "헤더 넣기\t(F9)", "찾기\tCTRL+F", "바꾸기\tCTRL+R"}},
      {"추가명령(&A)",
       {"싱크오류 체크\t(F11)", "자막싱크 유틸\t(F12)", "다른 포맷 자막 가져오기",
        "SRT 자막으로 출력하기 (SMI2SRT)", "언어별로 나눠출력하기", "싱크없는 순수 텍스트만 얻기",
        "짧은 클리어-시작 구간 삭제", "동영상 마지막 싱크를 리스트 7번째 저장\t(F7)",
        "시간 변환\t(F8)", "Cadenzio 설정"}},
      {"도움(&H)", {"Cadenzio 도움말(HTML)", "홈페이지 방문", "단축키 정보창 보기\t(F1)"}},
  };
  return menus;
}

// The hotkey window's body, line by line, up to the two address lines whose
// addresses are the product's own.
constexpr const char* kHotkeyLines[] = {
    "F1: 도움말 - 지금 보는 도움말 윈도우", "",
    "F2: 싱크 넣기", "  현 위치에서 <SYNC 로 시작하거나 공백라인은 무시한 후,",
    "  내용이 있는 라인의 시작부분에 싱크 입력", "  그리고, 라인의 마지막으로 이동",
    "F3: 지우기 싱크 넣기", "  현라인의 다음 라인에 클리어 싱크 입력후,",
    "  <SYNC 로 시작(공백라인 포함)하지 않는 라인으로 이동", "",
    "F4: 5초전으로 가기 (이동 후 자동 재생)", "F5: 5초후로 가기", "F6: 동영상 일시정지/재생", "",
    "F7: 동영상 마지막 싱크값 (싱크 리스트 7번째에) 얻기", "F8: 시간값 변환해보는 창",
    "F9: 헤더 넣기", "", "F11: 자막 오류 체크", "F12: 자막싱크 유틸 호출", "",
    "ALT +O: 동영상 열기", "ALT +C: 동영상 닫기", "CTRL+O: 자막 열기", "CTRL+S: 자막 저장",
    "CTRL+A: 자막 다른 이름으로 저장", "ALT +X: 자막 초기화",
    "  재생중인 자막은 저장하거나 읽어올때 반영되어 출력되며",
    "  편집중에는 편집창 팝업메뉴에서 '수정중인 내용 재생창에 반영' 이용", "",
    "ALT+1 ~ 0: 자막의 현재 싱크값 Sync Capture List 에 반영",
    "    5 번째 아이템 = 아이템 2 - 아이템 1", "    6 번째 아이템 = 아이템 4 - 아이템 3",
    "    ( F2 를 이용해, 원하는 위치 싱크를 확인해 본후,", "      맞는거 같으면 List에 삽입하시라구,",
    "      싱크라인을 동영상 보다 SHIFT 없애구 우선순위 줬음. )",
    "ALT+SHIFT+1 ~ 0: 동영상 현재 싱크값 Sync Capture List 에 반영", "",
    "CTRL+1 ~ 0: Sync Capture List 가져오기", "    자막싱크 유틸 윈도우에서 사용가능", "",
    "CTRL+J: 자막의 현재 싱크 위치로 동영상 이동", "CTRL+SHIFT+J: 동영상의 현재 싱크 위치로 자막 위치 이동", "",
    "CTRL+UP: 자막의 현재 싱크값 설정치 만큼 증가", "CTRL+DOWN: 자막의 현재 싱크값 설정치 만큼 감소", "",
    "CTRL+F or R: 찾기 및 바꾸기", "", "CTRL+C,X,V,Y: 편집창 복사/잘라내기/붙이기/한라인삭제", "",
    "추가기능이나 오류가 있다면 메일이나 홈피에 글남겨 주세요 ...",
};

class MainWindowTextsTest : public test::WindowTest {
 protected:
  void SetUp() override { Start({}); }
  // Runs the menu item and returns the one message box it shows, answered.
  test::AnsweredMessageBox MessageOf(const char* label,
                                     QMessageBox::StandardButton answer = QMessageBox::Ok) {
    QAction* action = MenuAction(label);
    if (!action) return {};
    const auto box = AnswerNextMessageBox(answer);
    action->trigger();
    EXPECT_TRUE(WaitUntil([&] { return box->answered; })) << label;
    return *box;
  }
};

TEST_F(MainWindowTextsTest, MenusTitleAndControlsShowTheQuotedTexts) {
  CadenzioWindow& w = *window_;
  // Menus the window adds beyond the quoted four (an encoding menu, say) may
  // stand anywhere; the quoted ones keep their order and their items.
  QList<QAction*> bar = w.menuBar()->actions();
  QStringList titles;
  for (QAction* menu : bar) titles << menu->text();
  qsizetype last_index = -1;
  for (const QuotedMenu& quoted : QuotedMainMenu()) {
    SCOPED_TRACE(quoted.title);
    const qsizetype index = titles.indexOf(U(quoted.title));
    ASSERT_GE(index, 0) << titles.join('|').toStdString();
    EXPECT_GT(index, last_index);
    last_index = index;
    QMenu* menu = bar[index]->menu();
    ASSERT_NE(menu, nullptr);
    QStringList shown, expected;
    for (QAction* item : menu->actions())
      if (!item->isSeparator()) shown << item->text();
    for (const char* item : quoted.items) expected << U(item);
    EXPECT_EQ(shown, expected);
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
  // F1 from the editor; the window is modal, so it is read from a timer.
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
  CadenzioWindow& w = *window_;
  EXPECT_EQ(MessageOf("SRT 자막으로 출력하기 (SMI2SRT)").text, U(" 흠... 출력할 데이타가 없잖아요... "));
  EXPECT_EQ(MessageOf("언어별로 나눠출력하기").text, U(" 흠... 자막 데이타가 없잖아요... "));

  // With text being edited: the plain-text command refuses, a new caption
  // and the import ask first.
  QTest::keyClicks(&w.editor(), "draft");
  EXPECT_EQ(MessageOf("싱크없는 순수 텍스트만 얻기").text,
            U("데이타가 수정중입니다.\r\n수정중인 데이타가 없어집니다.\r\n저장 후 사용하세요"));
  test::AnsweredMessageBox box = MessageOf("초기화\tALT+X", QMessageBox::Cancel);
  EXPECT_EQ(box.text, U(" 수정중인 데이타를 저장하시겠습니까?"));
  EXPECT_EQ(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.icon, QMessageBox::Question);
  EXPECT_EQ(w.editor().Text(), "draft");
  EXPECT_EQ(MessageOf("다른 포맷 자막 가져오기", QMessageBox::Cancel).text, box.text);

  // No: the text goes and the status line says so in its singular form.
  MessageOf("초기화\tALT+X", QMessageBox::No);
  EXPECT_EQ(w.editor().Text(), "");
  EXPECT_EQ(w.status_line().text(), U("Line: 0, Contents: 0 byte"));

  // A cancelled title question ends the import with its message.
  const std::string srt = dir_.File("one.srt");
  test::WriteFile(srt, "1\r\n00:00:01,000 --> 00:00:02,000\r\nHi\r\n\r\n");
  test::OnNextModal([srt](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    return dialog && test::ChooseInFileDialog(*dialog, QString::fromStdString(srt));
  });
  test::OnNextModal([](QWidget* modal) {
    auto* dialog = qobject_cast<TitleRateDialog*>(modal);
    if (dialog) dialog->reject();
    return dialog != nullptr;
  });
  EXPECT_EQ(MessageOf("다른 포맷 자막 가져오기").text, U("타이틀 입력을 취소하셨네요... 작업 종료 "));
  EXPECT_EQ(w.editor().Text(), "");
}

}  // namespace
}  // namespace cadenzio
