// Message boxes, file dialogs, the beep, the desktop's opener and the
// clipboard of the window (Dialogs on Qt).
//
// Message boxes and file dialogs are modal to the parent given at
// construction. A file filter ("Caption File(*.smi, *.sami)" with
// "*.smi; *.sami") becomes Qt's "Caption File(*.smi, *.sami) (*.smi *.sami)";
// the pattern "*.*" stands for every file, so it becomes "*".
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

class QWidget;

namespace cadenzio {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageIcon icon, MessageButtons buttons) override;
  void Beep() override;
  std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override;
  // A target with a scheme ("https://...", "mailto:...") opens as an address,
  // anything else as a local path; a path that does not exist gives false.
  bool ShellOpen(const std::string& target) override;
  void SetClipboardText(const std::string& text) override;

 private:
  QWidget* parent_;
};

// Qt's name filters for a file dialog's type list, in order.
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

}  // namespace cadenzio
