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
#include "test_support.h"

namespace cadenzio {
namespace {

QString Text(const char* cp949) { return FromCp949(cp949); }

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
  for (const char* text : controls) texts << Text(text);
  texts.sort();
  texts.prepend(Text(title));
  return texts;
}

QPushButton* Button(QWidget* window, const char* cp949) {
  for (auto* button : window->findChildren<QPushButton*>())
    if (button->text() == Text(cp949)) return button;
  ADD_FAILURE() << "no button " << cp949;
  return nullptr;
}

TEST(SmallDialogs, TextsAsQuoted) {
  TimeConvertDialog time(nullptr, {});
  EXPECT_EQ(TextsOf(&time),
            Expected(" \xBD\xC3\xB0\xA3\xB0\xAA \xBA\xAF\xC8\xAF \xC0\xDB\xBE\xF7",  //  시간값 변환 작업
                     {"Hour:Min:Sec,ms \xC8\xA4\xC0\xBA Milliseconds \xBC\xF6\xC4\xA1\xB8\xA6 "
                      "\xC0\xD4\xB7\xC2\xC7\xCF\xB8\xE9",  // ... 혹은 Milliseconds 수치를 입력하면
                      "\xBF\xEC\xC3\xF8\xBF\xA1 \xBA\xAF\xC8\xAF\xB5\xC8 \xB0\xAA\xC0\xBB "
                      "\xC8\xAE\xC0\xCE\xC7\xD2 \xBC\xF6 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.",  // 우측에 변환된 값을 확인할 수 있습니다.
                      "H:M:S,MS / MS \xBA\xAF\xC8\xAF",  // H:M:S,MS / MS 변환
                      "\xBA\xAF \xC8\xAF", "OK"}));      // 변 환
  EXPECT_TRUE(time.result()->isReadOnly());

  TextViewDialog help(nullptr, "\xB5\xB5\xBF\xF2", "");  // 도움
  EXPECT_EQ(TextsOf(&help), Expected("Cadenzio Help", {"\xB4\xD9 \xBA\xB8\xBC\xCC\xB3\xAA\xBF\xE4?"}));  // 다 보셨나요?

  TitleRateDialog rate(nullptr, false);
  EXPECT_EQ(TextsOf(&rate),
            Expected("\xC0\xDA\xB8\xB7 \xC5\xB8\xC0\xCC\xC6\xB2 \xC1\xF6\xC1\xA4",  // 자막 타이틀 지정
                     {"2\xB9\xD9\xC0\xCC\xC6\xAE \xB1\xC7 SRT \xC0\xDA\xB8\xB7\xC0\xBA ' ' "
                      "\xB0\xF8\xB9\xE9\xC0\xB8\xB7\xCE \xBD\xC3\xC0\xDB\xC7\xCF\xBC\xBC\xBF\xE4",  // 2바이트 권 SRT 자막은 ' ' 공백으로 시작하세요
                      "Title :",
                      "Frame Rate (AVI \xB5\xEE\xB7\xCF\xC1\xA4\xBA\xB8 \xC8\xAE\xC0\xCE) :",  // Frame Rate (AVI 등록정보 확인) :
                      "OK", "Cancel"}));

  MemoryDialogs dialogs;
  ReportDialog report(nullptr, "", dialogs);
  EXPECT_EQ(TextsOf(&report),
            Expected("Cadenzio \xB0\xA1 \xBE\xCB\xB7\xC1\xB5\xE5\xB8\xB3\xB4\xCF\xB4\xD9 !!",  // Cadenzio 가 알려드립니다 !!
                     {"\xB3\xBB\xBF\xEB \xC0\xFC\xC3\xBC \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xB7\xCE "
                      "\xBA\xB9\xBB\xE7",                          // 내용 전체 클립보드로 복사
                      "\xC8\xAD\xC0\xCF\xB7\xCE \xC0\xFA\xC0\xE5",  // 화일로 저장
                      "\xC3\xA2 \xB4\xDD\xB1\xE2"}));              // 창 닫기
  EXPECT_FALSE(report.isModal());

  Settings settings = Settings::Defaults(true);
  SettingsDialog settings_dialog(nullptr, settings, "/nonexistent/Cadenzio.ini");
  EXPECT_EQ(
      TextsOf(&settings_dialog),
      Expected("Cadenzio \xBC\xB3\xC1\xA4",  // Cadenzio 설정
               {"\xBD\xCC\xC5\xA9 \xBF\xC0\xB7\xF9\xC3\xBC\xC5\xA9 \xBD\xC3\xB0\xA3\xB0\xA3\xB0\xDD "
                "\xBC\xB3\xC1\xA4",  // 싱크 오류체크 시간간격 설정
                "MIN", "ms", "MAX", "ms",
                "\xC0\xD4\xB7\xC2 \xBA\xB8\xC1\xA4\xB0\xAA",         // 입력 보정값
                "\xC1\xF5\xB0\xA1 \xB0\xA8\xBC\xD2\xC4\xA1",         // 증가 감소치
                "( \xC0\xFA\xC0\xE5\xBD\xC3 \xB9\xDD\xBF\xB5 )",      // ( 저장시 반영 )
                "<BR> \xC1\xDF\xBA\xB9 \xBB\xE8\xC1\xA6 \xB9\xD7 \xC3\xDF\xB0\xA1",  // <BR> 중복 삭제 및 추가
                "\xC1\xD9 \xB9\xD9\xB2\xDE \xC7\xFC\xBD\xC4 \xC0\xFB\xBF\xEB",       // 줄 바꿈 형식 적용
                "\xB6\xF2 ON",                                        // 띵 ON
                "\xC5\xAC\xB8\xAE\xBE\xEE \xBB\xE8\xC1\xA6\xBD\xC3 \xC0\xFB\xBF\xEB\xC7\xD2 "
                "\xC3\xD6\xB4\xEB\xB1\xB8\xB0\xA3",                   // 클리어 삭제시 적용할 최대구간
                "ms (\xB9\xFC\xC0\xA7 1-999)",                        // ms (범위 1-999)
                "\xC7\xEC\xB4\xF5 \xC1\xA4\xBA\xB8 - </BODY>... \xC2\xCA\xC0\xBA "
                "\xC6\xF7\xC7\xD4\xBD\xC3\xC5\xB0\xC1\xF6 \xB8\xB6\xBC\xBC\xBF\xE4",  // 헤더 정보 - </BODY>... 쪽은 포함시키지 마세요
                "\xC0\xFB\xBF\xEB \xB9\xD7 \xB4\xDD\xB1\xE2",         // 적용 및 닫기
                "\xC3\xEB\xBC\xD2 \xB9\xD7 \xB4\xDD\xB1\xE2"}));      // 취소 및 닫기
}

TEST(SmallDialogs, TimeConversionAndCtrlDigitPaste) {
  std::vector<int> rows_asked;
  TimeConvertDialog dialog(nullptr, [&](int row) {
    rows_asked.push_back(row);
    return row == 2 ? std::string("3723456") : "row" + std::to_string(row);
  });
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QPushButton* convert = Button(&dialog, "\xBA\xAF \xC8\xAF");  // 변 환
  ASSERT_TRUE(convert);
  const auto convert_text = [&](const QString& input) {
    dialog.input()->setText(input);
    QTest::mouseClick(convert, Qt::LeftButton);
    return dialog.result()->text();
  };
  EXPECT_EQ(convert_text("01:02:03,456"), "3723456");
  EXPECT_EQ(convert_text("3723456"), "01:02:03,456");
  EXPECT_EQ(convert_text("0"), "");  // a refused input empties the result
  EXPECT_TRUE(dialog.isVisible());   // the button does not close the window

  dialog.input()->clear();
  QTest::keyClick(dialog.input(), Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(dialog.input()->text(), "3723456");  // row 2 replaces the input
  QTest::keyClick(dialog.input(), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(dialog.input()->text(), "row9");
  QTest::keyClick(dialog.input(), Qt::Key_5);  // without Ctrl a digit is typed
  EXPECT_EQ(dialog.input()->text(), "row95");
  EXPECT_EQ(rows_asked, (std::vector<int>{2, 9}));
}

TEST(SmallDialogs, TextWindowLinksOpenOnTheDesktop) {
  TextViewDialog dialog(nullptr, "F1 \xB5\xB5\xBF\xF2",  // F1 도움
                        "Keys:\r\n  F2 stamp\r\nhttps://example.org/cadenzio and maker@example.com.");
  EXPECT_EQ(dialog.findChild<QLabel*>("heading")->text(), Text("F1 \xB5\xB5\xBF\xF2"));
  EXPECT_TRUE(dialog.body()->isReadOnly());
  QStringList links;
  for (QTextBlock block = dialog.body()->document()->begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isAnchor()) links << it.fragment().charFormat().anchorHref();
  EXPECT_EQ(links, (QStringList{"https://example.org/cadenzio", "mailto:maker@example.com"}));

  // A click on a link hands the address to the desktop.
  QTextBrowser opened;
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
  ASSERT_TRUE(rate->isEnabled());
  ASSERT_TRUE(rate->isEditable());
  QStringList items;
  for (int i = 0; i < rate->count(); ++i) items << rate->itemText(i);
  EXPECT_EQ(items, (QStringList{"23.976", "24.000", "25.000", "29.970", "30.000"}));

  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  dialog.title_edit()->setText(Text(" \xC1\xA6\xB8\xF1"));  // " 제목"
  rate->setEditText("25fps");  // which texts pass is the frame-rate check's test
  auto box = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::mouseClick(Button(&dialog, "OK"), Qt::LeftButton);
  ASSERT_TRUE(test::WaitUntil([&] { return box->answered; }));
  EXPECT_EQ(box->title, Text("\xBF\xC0 \xB7\xF9"));  // 오 류
  EXPECT_EQ(box->text, Text("Frame Rate \xB0\xAA\xC0\xBA 10.0 \xBF\xA1\xBC\xAD 50.0 "
                            "\xBB\xE7\xC0\xCC \xBC\xF6\xC4\xA1 \xC0\xD4\xB4\xCF\xB4\xD9."));
  EXPECT_EQ(box->icon, QMessageBox::Warning);
  EXPECT_TRUE(dialog.isVisible());
  rate->setEditText("29.970");
  QTest::mouseClick(Button(&dialog, "OK"), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.answer().title, " \xC1\xA6\xB8\xF1");
  EXPECT_EQ(dialog.answer().rate, "29.970");

  // Through the entry point: OK gives the answer, Cancel nothing.
  const auto answer_with = [](bool accept) {
    test::OnNextModal([accept](QWidget* modal) {
      auto* asked = qobject_cast<TitleRateDialog*>(modal);
      if (!asked) return false;
      asked->title_edit()->setText("Movie");
      accept ? asked->accept() : asked->reject();
      return true;
    });
  };
  answer_with(true);
  const std::optional<TitleAndRate> answer = AskTitleAndRate(nullptr, false);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->title, "Movie");
  EXPECT_EQ(answer->rate, "23.976");
  answer_with(false);
  EXPECT_FALSE(AskTitleAndRate(nullptr, true));
}

ReportDialog* OpenReport(const std::string& text, Dialogs& dialogs) {
  ShowReportWindow(nullptr, text, dialogs);
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* report = qobject_cast<ReportDialog*>(window); report && report->isVisible())
      return report;
  return nullptr;
}

TEST(SmallDialogs, ReportWindowSavesItsTextAndDeletesItselfOnClose) {
  test::TempDir dir;
  MemoryDialogs dialogs;
  const std::string report = "Line 12: \xBF\xC0\xB7\xF9\r\n\r\nend\r\n";  // 오류
  QPointer<ReportDialog> window = OpenReport(report, dialogs);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->text()->toPlainText(), Text("Line 12: \xBF\xC0\xB7\xF9\n\nend\n"));

  // The user's edits are what is saved and copied, lines ending in CR LF.
  window->text()->moveCursor(QTextCursor::End);
  QTest::keyClicks(window->text(), "more");
  dialogs.QueuePath(dir.File("edited.txt"));
  QTest::mouseClick(Button(window, "\xC8\xAD\xC0\xCF\xB7\xCE \xC0\xFA\xC0\xE5"), Qt::LeftButton);  // 화일로 저장
  EXPECT_EQ(test::ReadFile(dir.File("edited.txt")), report + "more");
  QTest::mouseClick(Button(window, "\xB3\xBB\xBF\xEB \xC0\xFC\xC3\xBC \xC5\xAC\xB8\xB3\xBA\xB8"
                                   "\xB5\xE5\xB7\xCE \xBA\xB9\xBB\xE7"),  // 내용 전체 클립보드로 복사
                    Qt::LeftButton);
  EXPECT_EQ(dialogs.clipboard(), report + "more");

  QTest::mouseClick(Button(window, "\xC3\xA2 \xB4\xDD\xB1\xE2"), Qt::LeftButton);  // 창 닫기
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

  QPushButton* apply = Button(&dialog, "\xC0\xFB\xBF\xEB \xB9\xD7 \xB4\xDD\xB1\xE2");  // 적용 및 닫기
  dialog.field(SettingsField::kAddDel)->setText("250");
  dialog.field(SettingsField::kDelClear)->setText("1000");
  auto box = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::mouseClick(apply, Qt::LeftButton);
  ASSERT_TRUE(test::WaitUntil([&] { return box->answered; }));
  EXPECT_EQ(box->icon, QMessageBox::Warning);
  EXPECT_EQ(box->text, Text("0\xBF\xA1\xBC\xAD 999 \xBB\xE7\xC0\xCC\xC0\xC7 \xC1\xA4\xBC\xF6\xB8\xA6 "
                            "\xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0."));  // 0에서 999 사이의 정수를 입력하십시오.
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
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(settings.add_del, 250);
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
  EXPECT_EQ(again.result(), QDialog::Rejected);
  EXPECT_EQ(settings.add_del, 250);
}

TEST(SmallDialogs, FindReplaceReportsEachButton) {
  std::vector<FindReplaceRequest> requests;
  QPointer<QDialog> window = ShowFindReplaceDialog(
      nullptr, true, [&](const FindReplaceRequest& request) { requests.push_back(request); });
  auto* dialog = qobject_cast<FindReplaceDialog*>(window.data());
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(dialog->isModal());
  QPushButton* find_next = Button(dialog, "\xB4\xD9\xC0\xBD \xC3\xA3\xB1\xE2(&F)");  // 다음 찾기
  EXPECT_FALSE(find_next->isEnabled());  // no find text yet
  dialog->find_text()->setText(Text("\xC7\xD1" "a"));     // 한a
  dialog->replace_text()->setText("ab");
  dialog->match_case()->setChecked(true);
  QTest::mouseClick(find_next, Qt::LeftButton);
  QTest::mouseClick(Button(dialog, "\xB9\xD9\xB2\xD9\xB1\xE2(&R)"), Qt::LeftButton);  // 바꾸기
  dialog->whole_word()->setChecked(true);
  QTest::mouseClick(Button(dialog, "\xB8\xF0\xB5\xCE \xB9\xD9\xB2\xD9\xB1\xE2(&A)"),  // 모두 바꾸기
                    Qt::LeftButton);
  QTest::mouseClick(Button(dialog, "\xC3\xEB\xBC\xD2"), Qt::LeftButton);  // 취소
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(window);

  const uint32_t flags[] = {kFrFindNext | kFrDown | kFrMatchCase,
                            kFrReplace | kFrDown | kFrMatchCase,
                            kFrReplaceAll | kFrDown | kFrMatchCase | kFrWholeWord,
                            kFrDialogTerm | kFrDown | kFrMatchCase | kFrWholeWord};
  ASSERT_EQ(requests.size(), 4u);
  for (std::size_t i = 0; i < requests.size(); ++i) EXPECT_EQ(requests[i].flags, flags[i]) << i;
  EXPECT_EQ(requests[1].find_text, "\xC7\xD1" "a");
  EXPECT_EQ(requests[1].replace_text, "ab");

  // The find-only dialog has no replacement and can search upwards.
  requests.clear();
  window = ShowFindReplaceDialog(nullptr, false,
                                 [&](const FindReplaceRequest& r) { requests.push_back(r); });
  dialog = qobject_cast<FindReplaceDialog*>(window.data());
  EXPECT_EQ(dialog->replace_text(), nullptr);
  dialog->find_text()->setText("x");
  dialog->findChildren<QRadioButton*>()[0]->setChecked(true);  // 위쪽
  QTest::keyClick(dialog->find_text(), Qt::Key_Return);        // Enter is Find Next
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].flags, kFrFindNext);
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(window);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].flags, kFrDialogTerm);
}

TEST(SmallDialogs, FontChoiceReturnsTheFace) {
  auto chosen = std::make_shared<QString>();
  const auto answer = [chosen](bool accept) {
    test::OnNextModal([chosen, accept](QWidget* modal) {
      auto* fonts = qobject_cast<QFontDialog*>(modal);
      if (!fonts) return false;
      fonts->setCurrentFont(QFont("DejaVu Serif", 20));
      *chosen = fonts->currentFont().family();
      accept ? fonts->accept() : fonts->reject();
      return true;
    });
  };
  answer(true);
  const std::optional<std::string> face = ChooseFontFace(nullptr, "DejaVu Sans");
  ASSERT_TRUE(face);
  EXPECT_FALSE(chosen->isEmpty());
  EXPECT_EQ(*face, chosen->toStdString());
  answer(false);
  EXPECT_FALSE(ChooseFontFace(nullptr, "DejaVu Sans"));
}

}  // namespace
}  // namespace cadenzio
