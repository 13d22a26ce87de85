// Message boxes and file dialogs of the window, answered from a timer as a
// user would; the type list and the clipboard.
#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>

#include <gtest/gtest.h>

#include "gui/gui_support.h"
#include "test_support.h"

namespace cadenzio {
namespace {

// " 현재 동영상을 닫고 새로 여시겠습니까? "
const std::string kCloseQuestion =
    "\x20\xC7\xF6\xC0\xE7\x20\xB5\xBF\xBF\xB5\xBB\xF3\xC0\xBB\x20\xB4\xDD\xB0\xED\x20\xBB\xF5"
    "\xB7\xCE\x20\xBF\xA9\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE\x3F\x20";
const std::string kError = "\xBF\xC0\xB7\xF9";  // 오류

TEST(QtDialogsTest, MessageBoxesShowTheTextAndReturnTheButton) {
  struct Case {
    MessageIcon icon;
    MessageButtons buttons;
    QMessageBox::StandardButton click;
    MessageAnswer answer;
    QMessageBox::Icon shown_icon;
    QMessageBox::StandardButtons shown_buttons;
  };
  const Case cases[] = {
      {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::No, MessageAnswer::No,
       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
      {MessageIcon::Error, MessageButtons::Ok, QMessageBox::Ok, MessageAnswer::Ok,
       QMessageBox::Critical, QMessageBox::Ok},
      {MessageIcon::Warning, MessageButtons::OkCancel, QMessageBox::Cancel, MessageAnswer::Cancel,
       QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel},
      {MessageIcon::Information, MessageButtons::YesNoCancel, QMessageBox::Yes, MessageAnswer::Yes,
       QMessageBox::Information, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
      {MessageIcon::None, MessageButtons::YesNoCancel, QMessageBox::Cancel, MessageAnswer::Cancel,
       QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel},
      // Closed without a button (there is no Cancel): the answer is No.
      {MessageIcon::Question, MessageButtons::YesNo, QMessageBox::Cancel, MessageAnswer::No,
       QMessageBox::Question, QMessageBox::Yes | QMessageBox::No},
  };
  QtDialogs dialogs;
  for (const Case& c : cases) {
    auto shown = test::AnswerNextMessageBox(c.click);
    EXPECT_EQ(dialogs.ShowMessage(kCloseQuestion, kError, c.icon, c.buttons), c.answer);
    ASSERT_TRUE(shown->answered);
    EXPECT_EQ(shown->text, QString::fromUtf8(" 현재 동영상을 닫고 새로 여시겠습니까? "));
    EXPECT_EQ(shown->title, QString::fromUtf8("오류"));
    EXPECT_EQ(shown->icon, c.shown_icon);
    EXPECT_EQ(shown->buttons, c.shown_buttons);
  }
}

TEST(QtDialogsTest, FileDialogsStartInTheFolderWithTheTypeListAndAddTheExtension) {
  const std::vector<FileFilter> filters = {{"Caption File(*.smi, *.sami)", "*.smi; *.sami"},
                                           {"All Files (*.*)", "*.*"}};
  EXPECT_EQ(QtNameFilters(filters),
            (QStringList{"Caption File(*.smi, *.sami) (*.smi *.sami)", "All Files (*.*) (*)"}));

  test::TempDir dir;
  test::WriteFile(dir.File("old.smi"), "x");
  const QString folder = QDir(QString::fromStdString(dir.path().string())).canonicalPath();
  QtDialogs dialogs;
  FileDialogRequest save{true, "Save SAMI File...", "smi", filters, dir.File("old.smi"), true};

  QStringList seen;
  test::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return false;
    seen << dialog->windowTitle() << dialog->nameFilters() << dialog->selectedNameFilter()
         << QDir(dialog->directory()).canonicalPath() << dialog->defaultSuffix()
         << (dialog->acceptMode() == QFileDialog::AcceptSave ? "save" : "open");
    return test::ChooseInFileDialog(*dialog, "typed");
  });
  EXPECT_EQ(dialogs.ShowFileDialog(save), (folder + "/typed.smi").toStdString());
  EXPECT_EQ(seen, (QStringList{"Save SAMI File...", "Caption File(*.smi, *.sami) (*.smi *.sami)",
                               "All Files (*.*) (*)", "Caption File(*.smi, *.sami) (*.smi *.sami)",
                               folder, "smi", "save"}));

  // An Open dialog takes an existing file; Cancel gives nothing.
  FileDialogRequest open{false, "Open", "smi", filters, dir.File("old.smi"), false};
  test::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return false;
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    return test::ChooseInFileDialog(*dialog, "old.smi");
  });
  EXPECT_EQ(dialogs.ShowFileDialog(open), (folder + "/old.smi").toStdString());
  test::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (dialog) dialog->reject();
    return dialog != nullptr;
  });
  EXPECT_EQ(dialogs.ShowFileDialog(open), std::nullopt);
}

TEST(QtDialogsTest, ClipboardTakesKoreanAndAMissingDocumentDoesNotOpen) {
  QtDialogs dialogs;
  dialogs.SetClipboardText("\xB0\xA1\xB3\xAA 12");  // 가나
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("가나 12"));
  test::TempDir dir;
  EXPECT_FALSE(dialogs.ShellOpen(dir.File("Cadenzio.html")));
}

}  // namespace
}  // namespace cadenzio
