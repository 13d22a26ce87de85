// The sync utility window with real widgets: its texts and placement, the
// widgets following each option, a run through its buttons with refusals that
// leave it usable, Ctrl+digit and closing. The form's decisions (every hint,
// message and focus) are pinned in tests/app/sync_utility_form_test.cpp.
#include "app/qt/sync_utility_dialog.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
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
using test::U;
using test::WriteFile;

// A caption with syncs at 1000, second and third.
std::string Caption(int second, int third) {
  return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
         ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
         "<BODY>\r\n<SYNC Start=1000><P Class=KRCC>\xC7\xD1\r\n"  // 한
         "<SYNC Start=" + std::to_string(second) + "><P Class=KRCC>two\r\n"
         "<SYNC Start=" + std::to_string(third) +
         "><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}

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

// The expected texts are UTF-8; the window decodes its own from CP949.
TEST_F(SyncUtilityDialogTest, ShowsEveryTextOfTheWindowAtItsPlace) {
  Open("/films/movie.smi");
  EXPECT_EQ(dialog_->windowTitle(), U("Cadenzio 추가툴 - 자막싱크 유틸"));
  // Buttons, boxes and radios by id. The work button's CR LF is a line feed.
  const std::pair<int, const char*> by_id[] = {
      {1001, "선 택"}, {1002, "선 택"}, {1048, "중복 BR 삭제 및 필요한 경우 추가"},
      {1017, "범위에 대한 변경 값 적용"}, {1019, "범위에 대한 비율 조정"},
      {1025, "범위에 대한 &&nbsp; 싱크 변경값만큼 증가"},
      {1039, "두개 SMI 자막 싱크 정렬 하여 합치기 (*_*)"},
      {1046, "자막 싱크 SRT && 자막 텍스트"}, {1047, "텍스트와 시간간격 SRT && 시작 시간 IDX"},
      {1023, "비율 조정 - 해당 비율로 전체 수정"}, {1013, "원하는 작업\n    고고 !!"},
  };
  for (const auto& [id, text] : by_id) EXPECT_EQ(Button(id)->text(), U(text)) << id;

  // Group boxes and labels, in the window's order.
  QStringList groups, labels;
  for (QObject* child : dialog_->children()) {
    if (auto* group = qobject_cast<QGroupBox*>(child)) groups << group->title();
    if (auto* label = qobject_cast<QLabel*>(child)) labels << label->text();
  }
  EXPECT_EQ(groups, (QStringList{U("자막 선택"), U("수정 방법"), U("변경 요소")}));
  EXPECT_EQ(labels, (QStringList{U("원본 화일"), U("출력 화일"), U("시작 위치"), U("변경 값"),
                                 U("종료 위치"), U("변경 값")}));

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

// Every option's view is the form's test; here the widgets follow it.
TEST_F(SyncUtilityDialogTest, EachOptionEnablesItsControlsAndWritesItsHints) {
  Open("");
  EXPECT_TRUE(Edit(1007)->isEnabled());
  EXPECT_FALSE(Edit(1015)->isEnabled());
  EXPECT_FALSE(Button(1023)->isEnabled());
  QTest::mouseClick(Button(1019), Qt::LeftButton);  // the ratio of a range
  EXPECT_TRUE(Edit(1015)->isEnabled());
  EXPECT_TRUE(Button(1023)->isEnabled());
  EXPECT_TRUE(Edit(1007)->isEnabled());
  QTest::mouseClick(Button(1039), Qt::LeftButton);  // merging: no numbers, both names hinted
  for (int id : {1007, 1009, 1011, 1015}) EXPECT_FALSE(Edit(id)->isEnabled()) << id;
  EXPECT_FALSE(Button(1023)->isEnabled());
  EXPECT_EQ(Edit(1003)->text(), U("싱크 정렬후 합칠 '첫'번째 화일을 지정하세요."));
  EXPECT_FALSE(Edit(1005)->text().isEmpty());
  EXPECT_TRUE(Edit(1005)->isEnabled());
}

TEST_F(SyncUtilityDialogTest, ShiftsARangeThroughTheButtonsAndKeepsWorkingAfterRefusals) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, Caption(2000, 3000));
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
  EXPECT_EQ(box.text, U("정수를 입력하십시오."));
  EXPECT_TRUE(Focused(1007));
  EXPECT_FALSE(std::filesystem::exists(out));

  // Leaving the field with a number out of range: the message at once.
  Edit(1007)->setText("-2147483648");
  const auto left = test::AnswerNextMessageBox(QMessageBox::Ok);
  QTest::keyClick(Edit(1007), Qt::Key_Tab);
  EXPECT_TRUE(test::WaitUntil([&] { return left->answered; }));
  Reactivate();
  EXPECT_EQ(left->text, U("-2147483647에서 2147483647 사이의 정수를 입력하십시오."));
  EXPECT_TRUE(Focused(1007));

  // The output named as the source: the question; Cancel writes nothing.
  Edit(1007)->setText("1500");
  Edit(1005)->setText(QString::fromStdString(in));
  box = ClickAnswering(1013, QMessageBox::Cancel);
  EXPECT_EQ(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.title, U("경 고"));
  EXPECT_TRUE(Focused(1005));
  EXPECT_EQ(ReadFile(in), Caption(2000, 3000));

  // Still usable: the shift runs and reports its time.
  Edit(1005)->setText(QString::fromStdString(out));
  box = ClickAnswering(1013, QMessageBox::Ok);
  EXPECT_EQ(box.title, U("작업 완료"));
  EXPECT_TRUE(box.text.startsWith(U("작업이 정상적으로 완료되었습니다.\r\n")))
      << box.text.toStdString();
  EXPECT_EQ(ReadFile(out), Caption(1750, 2750));  // from 1500 on, back by 250
  EXPECT_EQ(ReadFile(in), Caption(2000, 3000));
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
