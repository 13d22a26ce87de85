// The window tests' main: one QApplication with mpv's numeric locale and the
// Korean face substitution. A watchdog closes a modal window nobody answers
// within 20 s and fails the test with its texts, instead of a hung test.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <clocale>
#include <memory>

#include <gtest/gtest.h>

#include "platform/qt/qt_fonts.h"

namespace {

void WatchForStrandedModals(QApplication& app) {
  auto* timer = new QTimer(&app);
  auto since = std::make_shared<QElapsedTimer>();
  auto seen = std::make_shared<QPointer<QWidget>>();
  QObject::connect(timer, &QTimer::timeout, &app, [since, seen] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != seen->data()) {
      *seen = modal;
      since->start();
      return;
    }
    if (!modal || since->elapsed() < 20000) return;
    QString text;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) text = box->text();
    ADD_FAILURE() << "a modal window nobody answered: \"" << modal->windowTitle().toStdString()
                  << "\" " << text.toStdString();
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
    else modal->close();
    since->start();
  });
  timer->start(500);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  cadenzio::InstallFontSubstitutions();
  WatchForStrandedModals(app);
  return RUN_ALL_TESTS();
}
