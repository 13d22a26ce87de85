// The settings dialog ("Cadenzio 설정") on the live settings object. The
// reading, checking and saving of its fields is SettingsForm's
// (app/settings_form.h); this window only shows the form.
#pragma once

#include <QDialog>
#include <string>

#include "app/settings_form.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace cadenzio {

struct Settings;

class SettingsDialog : public QDialog {
  Q_OBJECT
 public:
  // settings must outlive the dialog; Apply writes into it and saves it to
  // settings_path.
  SettingsDialog(QWidget* parent, Settings& settings, std::string settings_path);

  // The edit of a numeric field (objectName "min", "max", "delay", "add_del",
  // "del_clear").
  QLineEdit* field(SettingsField which) const;
  QCheckBox* check_br() const { return check_br_; }
  QCheckBox* insert_nl() const { return insert_nl_; }
  QCheckBox* ting() const { return ting_; }
  QPlainTextEdit* header() const { return header_; }

  // "적용 및 닫기": refuses a bad field with its message and stays open.
  void accept() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  SettingsForm ReadForm() const;
  Settings& settings_;
  std::string settings_path_;
  QLineEdit* fields_[kSettingsFieldCount];
  QCheckBox* check_br_;
  QCheckBox* insert_nl_;
  QCheckBox* ting_;
  QPlainTextEdit* header_;
  std::string shown_header_;  // the header text as the dialog first showed it
};

}  // namespace cadenzio
