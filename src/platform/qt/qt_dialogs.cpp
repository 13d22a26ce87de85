#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// The answer of a box closed without a button (Escape, the window's close
// box): what its escape button would have said.
MessageAnswer ClosedAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel: break;
  }
  return MessageAnswer::Cancel;
}

}  // namespace

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
  QStringList out;
  for (const FileFilter& filter : filters) {
    QStringList patterns;
    for (QString pattern : FromCp949(filter.patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      pattern = pattern.trimmed();
      if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
      if (!pattern.isEmpty()) patterns << pattern;
    }
    out << FromCp949(filter.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
               QLatin1Char(')');
  }
  return out;
}

MessageAnswer QtDialogs::ShowMessage(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
  QMessageBox box(ToQtIcon(icon), FromCp949(caption), FromCp949(text), ToQtButtons(buttons),
                  parent_);
  switch (box.exec()) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    default: return ClosedAnswer(buttons);
  }
}

void QtDialogs::Beep() { QApplication::beep(); }

std::optional<std::string> QtDialogs::ShowFileDialog(const FileDialogRequest& request) {
  QFileDialog dialog(parent_, FromCp949(request.title));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.confirm_overwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = QtNameFilters(request.filters);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
  }
  QString suffix = FromCp949(request.default_extension);
  while (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  dialog.setDefaultSuffix(suffix);
  if (!request.initial_path.empty()) {
    const QFileInfo initial(FromNativePath(request.initial_path));
    if (initial.isDir()) {
      dialog.setDirectory(initial.absoluteFilePath());
    } else {
      dialog.setDirectory(initial.absolutePath());
      dialog.selectFile(initial.fileName());
    }
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return std::nullopt;
  return ToNativePath(chosen.front());
}

bool QtDialogs::ShellOpen(const std::string& target) {
  const QString text = FromNativePath(target);
  const QUrl address(text, QUrl::StrictMode);
  // One letter before the colon is a drive, not a scheme.
  if (address.isValid() && address.scheme().size() > 1) return QDesktopServices::openUrl(address);
  const QFileInfo file(text);
  if (!file.exists()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

void QtDialogs::SetClipboardText(const std::string& text) {
  QApplication::clipboard()->setText(FromCp949(text));
}

}  // namespace cadenzio
