// The sync utility window: a modeless tool window beside the main window that
// shifts or scales the syncs of a range, moves or adds clearing syncs, merges
// two caption files and builds SRT files, all on files the user names in it.
// Its decisions (enabling, checks, the run and its messages) live in the
// Qt-free SyncUtilityForm; this class only shows the controls and passes the
// user's input on.
//
// Lifetime: created with new on the user-interface thread and shown by the
// caller (show()); it deletes itself when closed (Qt::WA_DeleteOnClose). The
// owner keeps a QPointer, or clears its pointer on QObject::destroyed, and
// opens at most one at a time. The paths the two file buttons chose last are
// kept on the owner, so a later window starts from them.
#pragma once

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QButtonGroup;
class QLineEdit;

namespace cadenzio {

class QtDialogs;
class SyncUtilityForm;
struct SyncUtilityControls;
struct UtilityOptionView;

class SyncUtilityDialog : public QDialog {
  Q_OBJECT
 public:
  // owner: the main window (the dialog stays above it and is deleted with it).
  // caption_path: the caption file now open in the editor, shown as the
  // source name (native path bytes; may be empty). capture_row: the value
  // text (CP949) of row 0..9 of the main window's capture list, read at each
  // Ctrl+digit; it must stay callable for the window's life.
  SyncUtilityDialog(QWidget* owner, const std::string& caption_path,
                    std::function<std::string(int row)> capture_row);
  ~SyncUtilityDialog() override;

  // Enter and Esc do nothing here; only the system close ends the window.
  void accept() override {}
  void reject() override {}

  // The control of a window id (1001 .. 1048, the radios included), for tests
  // and for the owner's checks; nullptr for an unknown id.
  QWidget* Control(int control_id) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildControls();
  void ChooseOption(int option);
  void ShowEnabling(const UtilityOptionView& view);
  void PickFile(bool second);
  void RunWork();
  SyncUtilityControls ReadControls() const;
  // Copies the edits and boxes into the form; false (after the message) when
  // a number field does not hold a number in range.
  bool CopyControls();
  void FocusField(int control_id);
  QLineEdit* Edit(int control_id) const;
  bool PasteCaptureRow(QLineEdit* edit, int key);

  std::unique_ptr<QtDialogs> dialogs_;
  std::unique_ptr<SyncUtilityForm> form_;
  std::function<std::string(int row)> capture_row_;
  std::map<int, QWidget*> controls_;  // by control id
  QButtonGroup* options_ = nullptr;   // the six radios, by id
  bool busy_ = false;          // a message box of a copy or run is up
  bool copy_pending_ = false;  // an edit lost the focus; its copy runs next
};

}  // namespace cadenzio
