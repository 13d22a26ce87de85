// The sync utility window with real widgets: its texts and placement, the
// widgets following each option, a run through its buttons with refusals that
// leave it usable, Ctrl+digit and closing. The form's decisions (every hint,
// message and focus) are pinned in tests/app/sync_utility_form_test.cpp.
#include "app/qt/sync_utility_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

#include "gui/gui_support.h"
#include "platform/qt/qt_text.h"
#include "test_support.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr char kSmi[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n"  // 한
    "<SYNC Start=2000><P Class=KRCC>two\r\n"
    "<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>\r\n";

// Every sync from 1500 on moved back by 250.
constexpr char kShifted[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n"
    "<SYNC Start=1750><P Class=KRCC>two\r\n"
    "<SYNC Start=2750><P Class=KRCC>&nbsp;\r\n"
    "</BODY>\r\n</SAMI>\r\n";

// The window's texts as CP949 bytes, decoded as the widgets must show them.
QString Text(const char* cp949) { return FromCp949(cp949); }

class SyncUtilityDialogTest : public testing::Test {
 protected:
  void Open(const std::string& caption_path) {
    dialog_ = new SyncUtilityDialog(&owner_, caption_path, [](int row) {
      return "row" + std::to_string(row);
    });
    dialog_->show();
    dialog_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_));
  }
  void TearDown() override { delete dialog_; }

  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(dialog_->Control(id)); }
  QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(dialog_->Control(id)); }

  // Clicks a button whose command shows one message box, answers it, and
  // returns what it showed.
  test::AnsweredMessageBox ClickAnswering(int id, QMessageBox::StandardButton answer) {
    const auto box = test::AnswerNextMessageBox(answer);
    QTest::mouseClick(Button(id), Qt::LeftButton);
    test::WaitUntil([&] { return box->answered; });
    Reactivate();
    return *box;
  }

  // Xvfb has no window manager to give the focus back when a message box
  // closes; the user would click into the window.
  void Reactivate() {
    dialog_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog_));
  }
  // The field the window's focus is on, active or not.
  bool Focused(int id) {
    return test::WaitUntil([&] { return dialog_->focusWidget() == Edit(id); });
  }

  // Chooses path in the file dialog the button opens.
  void Pick(int id, const std::string& path, QFileDialog::AcceptMode* mode = nullptr) {
    test::OnNextModal([path, mode](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      if (!dialog) return false;
      if (mode) *mode = dialog->acceptMode();
      return test::ChooseInFileDialog(*dialog, QString::fromStdString(path));
    });
    QTest::mouseClick(Button(id), Qt::LeftButton);
  }

  QWidget owner_;
  QPointer<SyncUtilityDialog> dialog_;
};

TEST_F(SyncUtilityDialogTest, ShowsEveryTextOfTheWindowAtItsPlace) {
  Open("/films/movie.smi");
  EXPECT_EQ(dialog_->windowTitle(),
            Text("Cadenzio \xC3\xDF\xB0\xA1\xC5\xF8 - \xC0\xDA\xB8\xB7\xBD\xCC\xC5\xA9 "
                 "\xC0\xAF\xC6\xBF"));  // Cadenzio 추가툴 - 자막싱크 유틸

  // Buttons, boxes and radios by id. The work button's CR LF is a line feed.
  const std::pair<int, const char*> by_id[] = {
      {1001, "\xBC\xB1 \xC5\xC3"},  // 선 택
      {1002, "\xBC\xB1 \xC5\xC3"},
      {1048, "\xC1\xDF\xBA\xB9 BR \xBB\xE8\xC1\xA6 \xB9\xD7 \xC7\xCA\xBF\xE4\xC7\xD1 "
             "\xB0\xE6\xBF\xEC \xC3\xDF\xB0\xA1"},  // 중복 BR 삭제 및 필요한 경우 추가
      {1017, "\xB9\xFC\xC0\xA7\xBF\xA1 \xB4\xEB\xC7\xD1 \xBA\xAF\xB0\xE6 \xB0\xAA "
             "\xC0\xFB\xBF\xEB"},  // 범위에 대한 변경 값 적용
      {1019, "\xB9\xFC\xC0\xA7\xBF\xA1 \xB4\xEB\xC7\xD1 \xBA\xF1\xC0\xB2 \xC1\xB6\xC1\xA4"},
      // 범위에 대한 &&nbsp; 싱크 변경값만큼 증가
      {1025, "\xB9\xFC\xC0\xA7\xBF\xA1 \xB4\xEB\xC7\xD1 &&nbsp; \xBD\xCC\xC5\xA9 "
             "\xBA\xAF\xB0\xE6\xB0\xAA\xB8\xB8\xC5\xAD \xC1\xF5\xB0\xA1"},
      // 두개 SMI 자막 싱크 정렬 하여 합치기 (*_*)
      {1039, "\xB5\xCE\xB0\xB3 SMI \xC0\xDA\xB8\xB7 \xBD\xCC\xC5\xA9 \xC1\xA4\xB7\xC4 "
             "\xC7\xCF\xBF\xA9 \xC7\xD5\xC4\xA1\xB1\xE2 (*_*)"},
      // 자막 싱크 SRT && 자막 텍스트
      {1046, "\xC0\xDA\xB8\xB7 \xBD\xCC\xC5\xA9 SRT && \xC0\xDA\xB8\xB7 "
             "\xC5\xD8\xBD\xBA\xC6\xAE"},
      // 텍스트와 시간간격 SRT && 시작 시간 IDX
      {1047, "\xC5\xD8\xBD\xBA\xC6\xAE\xBF\xCD \xBD\xC3\xB0\xA3\xB0\xA3\xB0\xDD SRT && "
             "\xBD\xC3\xC0\xDB \xBD\xC3\xB0\xA3 IDX"},
      // 비율 조정 - 해당 비율로 전체 수정
      {1023, "\xBA\xF1\xC0\xB2 \xC1\xB6\xC1\xA4 - \xC7\xD8\xB4\xE7 \xBA\xF1\xC0\xB2\xB7\xCE "
             "\xC0\xFC\xC3\xBC \xBC\xF6\xC1\xA4"},
      {1013, "\xBF\xF8\xC7\xCF\xB4\xC2 \xC0\xDB\xBE\xF7\n    \xB0\xED\xB0\xED !!"},
  };
  for (const auto& [id, text] : by_id) EXPECT_EQ(Button(id)->text(), Text(text)) << id;

  // Group boxes and labels, in the window's order.
  QStringList groups, labels;
  for (QObject* child : dialog_->children()) {
    if (auto* group = qobject_cast<QGroupBox*>(child)) groups << group->title();
    if (auto* label = qobject_cast<QLabel*>(child)) labels << label->text();
  }
  EXPECT_EQ(groups, (QStringList{Text("\xC0\xDA\xB8\xB7 \xBC\xB1\xC5\xC3"),     // 자막 선택
                                 Text("\xBC\xF6\xC1\xA4 \xB9\xE6\xB9\xFD"),     // 수정 방법
                                 Text("\xBA\xAF\xB0\xE6 \xBF\xE4\xBC\xD2")}));  // 변경 요소
  EXPECT_EQ(labels, (QStringList{Text("\xBF\xF8\xBA\xBB \xC8\xAD\xC0\xCF"),     // 원본 화일
                                 Text("\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF"),     // 출력 화일
                                 Text("\xBD\xC3\xC0\xDB \xC0\xA7\xC4\xA1"),     // 시작 위치
                                 Text("\xBA\xAF\xB0\xE6 \xB0\xAA"),             // 변경 값
                                 Text("\xC1\xBE\xB7\xE1 \xC0\xA7\xC4\xA1"),     // 종료 위치
                                 Text("\xBA\xAF\xB0\xE6 \xB0\xAA")}));

  // Dialog units at 1.875 x 1.875 pixels, and every text shown whole.
  EXPECT_EQ(dialog_->size(), QSize(576, 339));
  EXPECT_EQ(dialog_->Control(1013)->geometry(), QRect(279, 229, 279, 92));
  EXPECT_EQ(dialog_->Control(1003)->geometry(), QRect(94, 41, 392, 24));
  EXPECT_EQ(dialog_->Control(1025)->geometry(), QRect(24, 206, 246, 23));
  for (QObject* child : dialog_->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (auto* push = qobject_cast<QPushButton*>(widget)) {
      // A push button's size hint has a floor of its own; its lines must fit.
      for (const QString& line : push->text().split('\n'))
        EXPECT_LT(push->fontMetrics().horizontalAdvance(line), push->width() - 8);
    } else if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget)) {
      EXPECT_LE(widget->sizeHint().width(), widget->width()) << widget->objectName().toStdString();
    }
  }

  // As shown: the caption's name, the numbers 0, the first option.
  EXPECT_EQ(Edit(1003)->text(), "/films/movie.smi");
  EXPECT_EQ(Edit(1005)->text(), "");
  for (int id : {1007, 1009, 1011, 1015}) EXPECT_EQ(Edit(id)->text(), "0") << id;
  EXPECT_TRUE(Button(1017)->isChecked());
}

TEST_F(SyncUtilityDialogTest, EachOptionEnablesItsControlsAndWritesItsHints) {
  Open("");
  struct Row {
    int option;
    bool numbers, ratio;
    const char* source_hint;  // nullptr: left as typed
  };
  // One option of each kind; every option's view is the form's test.
  const Row rows[] = {
      {1019, true, true, nullptr},
      {1039, false, false,  // 싱크 정렬후 합칠 '첫'번째 화일을 지정하세요.
       "\xBD\xCC\xC5\xA9 \xC1\xA4\xB7\xC4\xC8\xC4 \xC7\xD5\xC4\xA5 '\xC3\xB9'\xB9\xF8\xC2\xB0 "
       "\xC8\xAD\xC0\xCF\xC0\xBB \xC1\xF6\xC1\xA4\xC7\xCF\xBC\xBC\xBF\xE4."},
      {1047, false, false,  // 싱크 변위를 가지고 있는 SRT 화일
       "\xBD\xCC\xC5\xA9 \xBA\xAF\xC0\xA7\xB8\xA6 \xB0\xA1\xC1\xF6\xB0\xED \xC0\xD6\xB4\xC2 SRT "
       "\xC8\xAD\xC0\xCF"},
      {1017, true, false, nullptr},
  };
  // Shown as for the first option.
  EXPECT_FALSE(Edit(1015)->isEnabled());
  EXPECT_FALSE(Button(1023)->isEnabled());
  EXPECT_TRUE(Edit(1007)->isEnabled());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.option);
    const QString source = Edit(1003)->text(), output = Edit(1005)->text();
    QTest::mouseClick(Button(row.option), Qt::LeftButton);
    ASSERT_TRUE(Button(row.option)->isChecked());
    EXPECT_TRUE(Button(1002)->isEnabled());
    EXPECT_TRUE(Edit(1005)->isEnabled());
    for (int id : {1007, 1009, 1011}) EXPECT_EQ(Edit(id)->isEnabled(), row.numbers) << id;
    EXPECT_EQ(Edit(1015)->isEnabled(), row.ratio);
    EXPECT_EQ(Button(1023)->isEnabled(), row.ratio);
    EXPECT_EQ(Edit(1003)->text(), row.source_hint ? Text(row.source_hint) : source);
    EXPECT_EQ(Edit(1005)->text() != output, row.source_hint != nullptr);  // both hints or none
  }
}

TEST_F(SyncUtilityDialogTest, ShiftsARangeThroughTheButtonsAndKeepsWorkingAfterRefusals) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, kSmi);
  Open("");

  // The pickers: Open for the source, Save for the output of a range option.
  QFileDialog::AcceptMode first_mode = QFileDialog::AcceptSave, second_mode = QFileDialog::AcceptOpen;
  Pick(1001, in, &first_mode);
  Pick(1002, out, &second_mode);
  EXPECT_EQ(first_mode, QFileDialog::AcceptOpen);
  EXPECT_EQ(second_mode, QFileDialog::AcceptSave);
  EXPECT_EQ(Edit(1003)->text().toStdString(), in);
  EXPECT_EQ(Edit(1005)->text().toStdString(), out);

  // A number field that holds no number: its message, its focus, nothing written.
  Edit(1007)->setText("15OO");
  Edit(1009)->setText("-250");
  test::AnsweredMessageBox box = ClickAnswering(1013, QMessageBox::Ok);
  EXPECT_EQ(box.text, Text("\xC1\xA4\xBC\xF6\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3"
                           "\xBF\xC0."));  // 정수를 입력하십시오.
  EXPECT_TRUE(Focused(1007));
  EXPECT_FALSE(std::filesystem::exists(out));

  // Leaving the field with a number out of range: the message at once.
  Edit(1007)->setText("-2147483648");
  const auto left = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::keyClick(Edit(1007), Qt::Key_Tab);
  EXPECT_TRUE(test::WaitUntil([&] { return left->answered; }));
  Reactivate();
  EXPECT_EQ(left->text, Text("-2147483647\xBF\xA1\xBC\xAD 2147483647 \xBB\xE7\xC0\xCC\xC0\xC7 "
                             "\xC1\xA4\xBC\xF6\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3"
                             "\xBF\xC0."));
  EXPECT_TRUE(Focused(1007));

  // The output named as the source: the question; Cancel writes nothing.
  Edit(1007)->setText("1500");
  Edit(1005)->setText(QString::fromStdString(in));
  box = ClickAnswering(1013, QMessageBox::Cancel);
  EXPECT_EQ(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.title, Text("\xB0\xE6 \xB0\xED"));  // 경 고
  EXPECT_TRUE(Focused(1005));
  EXPECT_EQ(ReadFile(in), kSmi);

  // Still usable: the shift runs and reports its time.
  Edit(1005)->setText(QString::fromStdString(out));
  box = ClickAnswering(1013, QMessageBox::Ok);
  EXPECT_EQ(box.title, Text("\xC0\xDB\xBE\xF7 \xBF\xCF\xB7\xE1"));  // 작업 완료
  EXPECT_TRUE(box.text.startsWith(Text("\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB"
                                       "\xC0\xB8\xB7\xCE \xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA"
                                       "\xBD\xC0\xB4\xCF\xB4\xD9.\r\n")))
      << box.text.toStdString();
  EXPECT_EQ(ReadFile(out), kShifted);
  EXPECT_EQ(ReadFile(in), kSmi);
  EXPECT_TRUE(dialog_->isVisible());
}

TEST_F(SyncUtilityDialogTest, CtrlDigitPastesACaptureRowIntoTheNumberFields) {
  Open("");
  QLineEdit* change = Edit(1009);
  change->setFocus();
  QTest::keyClick(change, Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(change->text(), "row2");
  QTest::keyClick(change, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(change->text(), "row9");
  QTest::keyClick(Edit(1011), Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(Edit(1011)->text(), "row0");
  Edit(1003)->setText("name");  // the name fields take the key as any edit does
  QTest::keyClick(Edit(1003), Qt::Key_1, Qt::ControlModifier);
  EXPECT_EQ(Edit(1003)->text(), "name");
}

TEST_F(SyncUtilityDialogTest, OnlyTheSystemCloseEndsTheWindowAndTellsTheOwner) {
  Open("");
  bool destroyed = false;
  QObject::connect(dialog_, &QObject::destroyed, [&destroyed] { destroyed = true; });
  QTest::keyClick(Edit(1009), Qt::Key_Escape);
  QTest::keyClick(Edit(1009), Qt::Key_Return);
  QTest::keyClick(dialog_, Qt::Key_F1);
  test::ProcessEventsFor(50);
  ASSERT_TRUE(dialog_);
  EXPECT_TRUE(dialog_->isVisible());
  dialog_->close();
  EXPECT_TRUE(test::WaitUntil([&] { return destroyed; }));
  EXPECT_FALSE(dialog_);
}

}  // namespace
}  // namespace cadenzio
