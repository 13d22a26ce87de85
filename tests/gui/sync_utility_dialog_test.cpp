// The sync utility window with real widgets: its texts and placement, a run
// through its buttons with refusals that leave it usable, and Ctrl+digit.
// The form's decisions are tests/app/sync_utility_form_test.cpp's.
#include "app/qt/sync_utility_dialog.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <filesystem>

#include "gui/gui_support.h"
#include "platform/qt/qt_text.h"

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

  // Clicks a button whose command shows one message box; the box, answered.
  test::AnsweredMessageBox ClickAnswering(int id, QMessageBox::StandardButton answer) {
    const auto box = test::AnswerNextMessageBox(answer);
    QTest::mouseClick(Button(id), Qt::LeftButton);
    test::WaitUntil([&] { return box->answered; });
    dialog_->activateWindow();  // Xvfb has no window manager to give the focus back
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog_));
    return *box;
  }
  bool Focused(int id) {
    return test::WaitUntil([&] { return dialog_->focusWidget() == Edit(id); });
  }

  QWidget owner_;
  QPointer<SyncUtilityDialog> dialog_;
};

// The expected texts are UTF-8; the window decodes its own from CP949.
TEST_F(SyncUtilityDialogTest, ShowsEveryTextAtItsPlaceAndPastesCaptureRows) {
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

  // Dialog units at 1.875 x 1.875 pixels.
  EXPECT_EQ(dialog_->size(), QSize(576, 339));
  EXPECT_EQ(dialog_->Control(1013)->geometry(), QRect(279, 229, 279, 92));

  EXPECT_EQ(Edit(1003)->text(), "/films/movie.smi");
  EXPECT_TRUE(Button(1017)->isChecked());

  // CTRL+digit puts a capture row in place of a number; Enter and Escape do not close.
  QTest::keyClick(Edit(1009), Qt::Key_3, Qt::ControlModifier);
  QTest::keyClick(Edit(1009), Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(Edit(1009)->text(), "row9");
  QTest::keyClick(Edit(1009), Qt::Key_Escape);
  QTest::keyClick(Edit(1009), Qt::Key_Return);
  test::WaitUntil([] { return false; }, 50);  // events for 50 ms
  EXPECT_TRUE(dialog_ && dialog_->isVisible());
}

TEST_F(SyncUtilityDialogTest, ShiftsARangeThroughTheButtonsAndKeepsWorkingAfterRefusals) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, Caption(2000, 3000));
  Open("");

  // The output picker is a Save dialog for a range option.
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
  test::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog) mode = dialog->acceptMode();
    return dialog && test::ChooseInFileDialog(*dialog, QString::fromStdString(out));
  });
  QTest::mouseClick(Button(1002), Qt::LeftButton);
  EXPECT_EQ(mode, QFileDialog::AcceptSave);
  EXPECT_EQ(Edit(1005)->text().toStdString(), out);
  Edit(1003)->setText(QString::fromStdString(in));

  // Not a number: its message, its focus, nothing written.
  Edit(1007)->setText("15OO");
  Edit(1009)->setText("-250");
  test::AnsweredMessageBox box = ClickAnswering(1013, QMessageBox::Ok);
  EXPECT_EQ(box.text, U("정수를 입력하십시오."));
  EXPECT_TRUE(Focused(1007));
  EXPECT_FALSE(std::filesystem::exists(out));

  // The output named as the source: the question; Cancel writes nothing.
  Edit(1007)->setText("1500");
  Edit(1005)->setText(QString::fromStdString(in));
  box = ClickAnswering(1013, QMessageBox::Cancel);
  EXPECT_EQ(box.buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_TRUE(Focused(1005));
  EXPECT_EQ(ReadFile(in), Caption(2000, 3000));

  // Still usable: the shift runs and reports its time.
  Edit(1005)->setText(QString::fromStdString(out));
  box = ClickAnswering(1013, QMessageBox::Ok);
  EXPECT_EQ(box.title, U("작업 완료"));
  EXPECT_EQ(ReadFile(out), Caption(1750, 2750));  // from 1500 on, back by 250
  EXPECT_EQ(ReadFile(in), Caption(2000, 3000));
}

}  // namespace
}  // namespace cadenzio
