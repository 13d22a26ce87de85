// The modeless find and find-and-replace window of the caption editor. It
// searches nothing itself: every button press becomes a FindReplaceRequest
// for the main window's OnFindReplace.
#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace cadenzio {

struct FindReplaceRequest;

class FindReplaceDialog : public QDialog {
  Q_OBJECT
 public:
  // replace false: find only (no replacement field, no replace buttons).
  FindReplaceDialog(QWidget* parent, bool replace,
                    std::function<void(const FindReplaceRequest&)> on_request);

  QLineEdit* find_text() const { return find_; }
  QLineEdit* replace_text() const { return replace_; }  // null for find only
  QCheckBox* whole_word() const { return whole_word_; }
  QCheckBox* match_case() const { return match_case_; }
  QRadioButton* down() const { return down_; }

 protected:
  // Cancel, Esc and the close box: reports the dialog's end, then closes.
  void reject() override;

 private:
  enum class Action { kFindNext, kReplace, kReplaceAll, kTerminate };
  void Report(Action action);
  void UpdateButtons();

  std::function<void(const FindReplaceRequest&)> on_request_;
  QLineEdit* find_;
  QLineEdit* replace_ = nullptr;
  QCheckBox* whole_word_;
  QCheckBox* match_case_;
  QRadioButton* up_;
  QRadioButton* down_;
  QPushButton* find_next_;
  QPushButton* replace_button_ = nullptr;
  QPushButton* replace_all_ = nullptr;
  bool terminated_ = false;
};

}  // namespace cadenzio
