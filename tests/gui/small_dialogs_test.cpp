// The small windows with real widgets: their quoted texts and what only the
// widgets do; the decisions behind the buttons are the logic tests' (tests/app).
#include "app/qt/small_dialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

#include "app/cadenzio_dlg.h"
#include "app/qt/find_replace_dialog.h"
#include "app/qt/settings_dialog.h"
#include "gui/gui_support.h"
#include "platform/memory_dialogs.h"
#include "platform/qt/qt_text.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace cadenzio {
namespace {

using test::U;

// The window title, then every group box title, label and button text, sorted.
QStringList TextsOf(QWidget* window) {
  QStringList texts;
  for (auto* group : window->findChildren<QGroupBox*>())
    if (!group->title().isEmpty()) texts << group->title();
  for (auto* label : window->findChildren<QLabel*>())
    if (!label->text().isEmpty() && label->objectName() != QLatin1String("heading"))
      texts << label->text();
  for (auto* button : window->findChildren<QAbstractButton*>())
    if (!button->text().isEmpty()) texts << button->text();
  texts.sort();
  texts.prepend(window->windowTitle());
  return texts;
}

QStringList Expected(const char* title, std::initializer_list<const char*> controls) {
  QStringList texts;
  for (const char* text : controls) texts << U(text);
  texts.sort();
  texts.prepend(U(title));
  return texts;
}

QPushButton* Button(QWidget* window, const char* utf8) {
  for (auto* button : window->findChildren<QPushButton*>())
    if (button->text() == U(utf8)) return button;
  ADD_FAILURE() << "no button " << utf8;
  return nullptr;
}

// The expected texts are UTF-8; the windows decode theirs from CP949.
TEST(SmallDialogs, TextsAsQuoted) {
  TimeConvertDialog time(nullptr, {});
  EXPECT_EQ(TextsOf(&time),
            Expected(" 시간값 변환 작업", {"Hour:Min:Sec,ms 혹은 Milliseconds 수치를 입력하면",
                                         "우측에 변환된 값을 확인할 수 있습니다.",
                                         "H:M:S,MS / MS 변환", "변 환", "OK"}));
  EXPECT_TRUE(time.result()->isReadOnly());

  TextViewDialog help(nullptr, "\xB5\xB5\xBF\xF2", "");  // 도움
  EXPECT_EQ(TextsOf(&help), Expected("Cadenzio Help", {"다 보셨나요?"}));

  TitleRateDialog rate(nullptr, false);
  EXPECT_EQ(TextsOf(&rate), Expected("자막 타이틀 지정",
                                     {"2바이트 권 SRT 자막은 ' ' 공백으로 시작하세요", "Title :",
                                      "Frame Rate (AVI 등록정보 확인) :", "OK", "Cancel"}));

  MemoryDialogs dialogs;
  ReportDialog report(nullptr, "", dialogs);
  EXPECT_EQ(TextsOf(&report), Expected("Cadenzio 가 알려드립니다 !!",
                                       {"내용 전체 클립보드로 복사", "화일로 저장", "창 닫기"}));
  EXPECT_FALSE(report.isModal());

  Settings settings = Settings::Defaults(true);
  SettingsDialog settings_dialog(nullptr, settings, "/nonexistent/Cadenzio.ini");
  EXPECT_EQ(TextsOf(&settings_dialog),
            Expected("Cadenzio 설정",
                     {"싱크 오류체크 시간간격 설정", "MIN", "ms", "MAX", "ms", "입력 보정값",
                      "증가 감소치", "( 저장시 반영 )", "<BR> 중복 삭제 및 추가",
                      "줄 바꿈 형식 적용", "띵 ON", "클리어 삭제시 적용할 최대구간",
                      "ms (범위 1-999)", "헤더 정보 - </BODY>... 쪽은 포함시키지 마세요",
                      "적용 및 닫기", "취소 및 닫기"}));
}

TEST(SmallDialogs, SettingsDialogRefusesOutOfRangeAndSavesValidValues) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  Settings settings = Settings::Defaults(true);
  SettingsDialog dialog(nullptr, settings, ini);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QPushButton* apply = Button(&dialog, "적용 및 닫기");
  dialog.field(SettingsField::kAddDel)->setText("250");
  dialog.field(SettingsField::kDelClear)->setText("1000");
  auto box = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::mouseClick(apply, Qt::LeftButton);
  ASSERT_TRUE(test::WaitUntil([&] { return box->answered; }));
  EXPECT_EQ(box->text, U("0에서 999 사이의 정수를 입력하십시오."));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.focusWidget(), dialog.field(SettingsField::kDelClear));
  EXPECT_FALSE(FileExists(ini));

  dialog.field(SettingsField::kDelClear)->setText("0");
  dialog.header()->setFocus();
  QTest::keyClick(dialog.header(), Qt::Key_Return);  // a new line, not Apply
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ini::GetInt(ini, "Cadenzio", "ADD_DEL", -1), 250);
}

TEST(SmallDialogs, FindReplaceReportsEachButton) {
  std::vector<FindReplaceRequest> requests;
  QPointer<QDialog> window = ShowFindReplaceDialog(
      nullptr, true, [&](const FindReplaceRequest& request) { requests.push_back(request); });
  auto* dialog = qobject_cast<FindReplaceDialog*>(window.data());
  ASSERT_TRUE(dialog);
  QPushButton* find_next = Button(dialog, "다음 찾기(&F)");
  EXPECT_FALSE(find_next->isEnabled());  // no find text yet
  dialog->find_text()->setText(U("한a"));
  dialog->replace_text()->setText("ab");
  dialog->match_case()->setChecked(true);
  QTest::mouseClick(Button(dialog, "바꾸기(&R)"), Qt::LeftButton);
  dialog->whole_word()->setChecked(true);
  QTest::mouseClick(find_next, Qt::LeftButton);
  QTest::mouseClick(Button(dialog, "모두 바꾸기(&A)"), Qt::LeftButton);
  QTest::mouseClick(Button(dialog, "취소"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(window);

  const uint32_t all = kFrDown | kFrMatchCase | kFrWholeWord;
  const uint32_t flags[] = {kFrReplace | kFrDown | kFrMatchCase, kFrFindNext | all,
                            kFrReplaceAll | all, kFrDialogTerm | all};
  ASSERT_EQ(requests.size(), 4u);
  for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i].flags, flags[i]) << i;
  EXPECT_EQ(requests[0].find_text, "\xED\x95\x9C" "a");  // 한a as typed, in UTF-8
  EXPECT_EQ(requests[0].replace_text, "ab");
}

}  // namespace
}  // namespace cadenzio
