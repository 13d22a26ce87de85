// The small windows with real widgets: their quoted texts and what only the
// widgets do; the decisions behind the buttons are pinned in
// tests/app/small_dialogs_logic_test.cpp.
#include "app/qt/small_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>

#include <gtest/gtest.h>

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

// The window title, then every group box title, label, button and check box
// text that is not empty, sorted.
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

TEST(SmallDialogs, TimeConversionAndCtrlDigitPaste) {
  std::vector<int> rows_asked;
  TimeConvertDialog dialog(nullptr, [&](int row) {
    rows_asked.push_back(row);
    return "row" + std::to_string(row);
  });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const auto convert = [&](const QString& input) {
    dialog.input()->setText(input);
    QTest::mouseClick(Button(&dialog, "변 환"), Qt::LeftButton);
    return dialog.result()->text();
  };
  EXPECT_EQ(convert("01:02:03,456"), "3723456");
  EXPECT_EQ(convert("0"), "");      // a refused input empties the result
  EXPECT_TRUE(dialog.isVisible());  // the button does not close the window

  QTest::keyClick(dialog.input(), Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(dialog.input()->text(), "row2");  // the row replaces the input
  QTest::keyClick(dialog.input(), Qt::Key_0, Qt::ControlModifier);
  QTest::keyClick(dialog.input(), Qt::Key_5);  // without Ctrl a digit is typed
  EXPECT_EQ(dialog.input()->text(), "row95");
  EXPECT_EQ(rows_asked, (std::vector<int>{2, 9}));
}

TEST(SmallDialogs, TextWindowLinksOpenOnTheDesktop) {
  TextViewDialog dialog(nullptr, "F1 \xB5\xB5\xBF\xF2",  // F1 도움
                        "Keys:\r\n  F2 stamp\r\nhttps://example.org/cadenzio and maker@example.com.");
  EXPECT_EQ(dialog.findChild<QLabel*>("heading")->text(), U("F1 도움"));
  EXPECT_TRUE(dialog.body()->isReadOnly());
  QStringList links;
  for (QTextBlock block = dialog.body()->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isAnchor()) links << it.fragment().charFormat().anchorHref();
  EXPECT_EQ(links, (QStringList{"https://example.org/cadenzio", "mailto:maker@example.com"}));

  QTextBrowser opened;  // a click on a link hands the address to the desktop
  QDesktopServices::setUrlHandler("https", &opened, "setSource");
  emit dialog.body()->anchorClicked(QUrl("https://example.org/cadenzio"));
  QDesktopServices::unsetUrlHandler("https");
  EXPECT_EQ(opened.source(), QUrl("https://example.org/cadenzio"));
}

TEST(SmallDialogs, FrameRateRefusalKeepsTheQuestionOpen) {
  TitleRateDialog disabled(nullptr, false);
  EXPECT_FALSE(disabled.rate_combo()->isEnabled());
  EXPECT_EQ(disabled.rate_combo()->currentText(), "23.976");

  TitleRateDialog dialog(nullptr, true);
  QComboBox* rate = dialog.rate_combo();
  ASSERT_TRUE(rate->isEnabled() && rate->isEditable());
  QStringList items;
  for (int i = 0; i < rate->count(); ++i) items << rate->itemText(i);
  EXPECT_EQ(items, (QStringList{"23.976", "24.000", "25.000", "29.970", "30.000"}));

  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.title_edit()->setText(U(" 제목"));
  rate->setEditText("25fps");  // which texts pass is the frame-rate check's test
  auto box = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::mouseClick(Button(&dialog, "OK"), Qt::LeftButton);
  ASSERT_TRUE(test::WaitUntil([&] { return box->answered; }));
  EXPECT_EQ(box->title, U("오 류"));
  EXPECT_EQ(box->text, U("Frame Rate 값은 10.0 에서 50.0 사이 수치 입니다."));
  EXPECT_EQ(box->icon, QMessageBox::Warning);
  EXPECT_TRUE(dialog.isVisible());
  rate->setEditText("29.970");
  QTest::mouseClick(Button(&dialog, "OK"), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.answer().title, " \xC1\xA6\xB8\xF1");  // " 제목"
  EXPECT_EQ(dialog.answer().rate, "29.970");

  // Through the entry point: OK gives the answer, Cancel nothing.
  for (const bool accept : {true, false}) {
    test::OnNextModal([accept](QWidget* modal) {
      auto* asked = qobject_cast<TitleRateDialog*>(modal);
      if (!asked) return false;
      asked->title_edit()->setText("Movie");
      accept ? asked->accept() : asked->reject();
      return true;
    });
    const std::optional<TitleAndRate> answer = AskTitleAndRate(nullptr, false);
    ASSERT_EQ(answer.has_value(), accept);
    if (accept) EXPECT_EQ(answer->title + " " + answer->rate, "Movie 23.976");
  }
}

TEST(SmallDialogs, ReportWindowSavesItsTextAndDeletesItselfOnClose) {
  test::TempDir dir;
  MemoryDialogs dialogs;
  const std::string report = "Line 12: \xBF\xC0\xB7\xF9\r\n\r\nend\r\n";  // 오류
  ShowReportWindow(nullptr, report, dialogs);
  QPointer<ReportDialog> window = test::WaitForWindow<ReportDialog>();
  ASSERT_TRUE(window);
  EXPECT_EQ(window->text()->toPlainText(), U("Line 12: 오류\n\nend\n"));

  // The user's edits are what is saved and copied, lines ending in CR LF.
  window->text()->moveCursor(QTextCursor::End);
  QTest::keyClicks(window->text(), "more");
  dialogs.QueuePath(dir.File("edited.txt"));
  QTest::mouseClick(Button(window, "화일로 저장"), Qt::LeftButton);
  EXPECT_EQ(test::ReadFile(dir.File("edited.txt")), report + "more");
  QTest::mouseClick(Button(window, "내용 전체 클립보드로 복사"), Qt::LeftButton);
  EXPECT_EQ(dialogs.clipboard(), report + "more");

  QTest::mouseClick(Button(window, "창 닫기"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(window);
}

TEST(SmallDialogs, SettingsDialogRefusesOutOfRangeAndSavesValidValues) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  Settings settings = Settings::Defaults(true);
  settings.header_template = "<SAMI>\r\n<BODY>\r\n";
  SettingsDialog dialog(nullptr, settings, ini);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(dialog.field(SettingsField::kMinInterval)->text(), "500");
  EXPECT_EQ(dialog.field(SettingsField::kDelay)->text(), "-500");
  EXPECT_EQ(dialog.field(SettingsField::kDelay)->alignment() & Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
  EXPECT_TRUE(dialog.ting()->isChecked());
  EXPECT_EQ(dialog.header()->toPlainText(), "<SAMI>\n<BODY>\n");

  // Enter and Esc in a field do nothing.
  QTest::keyClick(dialog.field(SettingsField::kAddDel), Qt::Key_Return);
  QTest::keyClick(dialog.field(SettingsField::kAddDel), Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());

  QPushButton* apply = Button(&dialog, "적용 및 닫기");
  dialog.field(SettingsField::kAddDel)->setText("250");
  dialog.field(SettingsField::kDelClear)->setText("1000");
  auto box = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::mouseClick(apply, Qt::LeftButton);
  ASSERT_TRUE(test::WaitUntil([&] { return box->answered; }));
  EXPECT_EQ(box->icon, QMessageBox::Warning);
  EXPECT_EQ(box->text, U("0에서 999 사이의 정수를 입력하십시오."));
  EXPECT_TRUE(dialog.isVisible());
  // The field to correct has the dialog's focus (the window's active again
  // once the box is gone; Xvfb has no window manager to hand activation back).
  EXPECT_EQ(dialog.focusWidget(), dialog.field(SettingsField::kDelClear));
  EXPECT_FALSE(FileExists(ini));

  dialog.field(SettingsField::kDelClear)->setText("0");
  dialog.ting()->setChecked(false);
  dialog.header()->setFocus();
  dialog.header()->moveCursor(QTextCursor::End);
  QTest::keyClicks(dialog.header(), "X");
  QTest::keyClick(dialog.header(), Qt::Key_Return);  // a new line, not Apply
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(settings.ting);  // the check box is read
  EXPECT_EQ(ini::GetInt(ini, "Cadenzio", "ADD_DEL", -1), 250);
  EXPECT_EQ(test::ReadFile(HeaderFilePath(ini)), "<SAMI>\r\n<BODY>\r\nX\r\n");

  // Esc in the header edit cancels; the changes are dropped.
  SettingsDialog again(nullptr, settings, ini);
  again.show();
  again.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
  again.field(SettingsField::kAddDel)->setText("999");
  again.header()->setFocus();
  QTest::keyClick(again.header(), Qt::Key_Escape);
  EXPECT_FALSE(again.isVisible());
  EXPECT_EQ(settings.add_del, 250);
}

TEST(SmallDialogs, FindReplaceReportsEachButton) {
  std::vector<FindReplaceRequest> requests;
  const auto record = [&](const FindReplaceRequest& request) { requests.push_back(request); };
  QPointer<QDialog> window = ShowFindReplaceDialog(nullptr, true, record);
  auto* dialog = qobject_cast<FindReplaceDialog*>(window.data());
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(dialog->isModal());
  QPushButton* find_next = Button(dialog, "다음 찾기(&F)");
  EXPECT_FALSE(find_next->isEnabled());  // no find text yet
  dialog->find_text()->setText(U("한a"));
  dialog->replace_text()->setText("ab");
  dialog->match_case()->setChecked(true);
  QTest::mouseClick(find_next, Qt::LeftButton);
  QTest::mouseClick(Button(dialog, "바꾸기(&R)"), Qt::LeftButton);
  dialog->whole_word()->setChecked(true);
  QTest::mouseClick(Button(dialog, "모두 바꾸기(&A)"), Qt::LeftButton);
  QTest::mouseClick(Button(dialog, "취소"), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(window);

  const uint32_t flags[] = {kFrFindNext | kFrDown | kFrMatchCase,
                            kFrReplace | kFrDown | kFrMatchCase,
                            kFrReplaceAll | kFrDown | kFrMatchCase | kFrWholeWord,
                            kFrDialogTerm | kFrDown | kFrMatchCase | kFrWholeWord};
  ASSERT_EQ(requests.size(), 4u);
  for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i].flags, flags[i]) << i;
  EXPECT_EQ(requests[1].find_text, "\xED\x95\x9C" "a");  // 한a as typed, in UTF-8
  EXPECT_EQ(requests[1].replace_text, "ab");

  // The find-only dialog has no replacement and can search upwards.
  requests.clear();
  window = ShowFindReplaceDialog(nullptr, false, record);
  dialog = qobject_cast<FindReplaceDialog*>(window.data());
  EXPECT_EQ(dialog->replace_text(), nullptr);
  dialog->find_text()->setText("x");
  dialog->findChildren<QRadioButton*>()[0]->setChecked(true);  // 위쪽
  QTest::keyClick(dialog->find_text(), Qt::Key_Return);        // Enter is Find Next
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(window);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].flags, kFrFindNext);
  EXPECT_EQ(requests[1].flags, kFrDialogTerm);
}

TEST(SmallDialogs, FontChoiceReturnsTheFace) {
  for (const bool accept : {true, false}) {
    auto chosen = std::make_shared<QString>();
    test::OnNextModal([chosen, accept](QWidget* modal) {
      auto* fonts = qobject_cast<QFontDialog*>(modal);
      if (!fonts) return false;
      fonts->setCurrentFont(QFont("DejaVu Serif", 20));
      *chosen = fonts->currentFont().family();
      accept ? fonts->accept() : fonts->reject();
      return true;
    });
    const std::optional<std::string> face = ChooseFontFace(nullptr, "DejaVu Sans");
    ASSERT_EQ(face.has_value(), accept);
    if (accept) EXPECT_EQ(*face, chosen->toStdString());
    if (accept) EXPECT_FALSE(face->empty());
  }
}

}  // namespace
}  // namespace cadenzio
