#include "gui/gui_support.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace cadenzio::test {

std::string ResourcesDir() { return CADENZIO_RESOURCES; }

std::string SampleMovie() { return ResourcesDir() + "/sample/sample.mp4"; }

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() >= timeout_ms) return done();
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}

void OnNextModal(std::function<bool(QWidget*)> act, int timeout_ms) {
  // The application owns the timer: it outlives the test's frame in a modal loop.
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, act = std::move(act), timeout_ms] {
    QWidget* modal = QApplication::activeModalWidget();
    if ((modal && act(modal)) || clock->elapsed() > timeout_ms) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(20);
}

static void TypeFileName(QFileDialog& dialog, const QString& path) {
  dialog.selectFile(path);
  if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(path);
}

bool ChooseInFileDialog(QFileDialog& dialog, const QString& path) {
  TypeFileName(dialog, path);
  static_cast<QDialog&>(dialog).accept();  // QFileDialog keeps accept() protected
  return !dialog.isVisible();
}

void ChooseNextFile(const std::string& path) {
  OnNextModal([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return false;
    TypeFileName(*dialog, QFile::decodeName(QByteArray::fromStdString(path)));
    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);
    return true;
  });
}

std::shared_ptr<const AnsweredMessageBox> AnswerNextMessageBox(QMessageBox::StandardButton button,
                                                               int timeout_ms) {
  auto answered = std::make_shared<AnsweredMessageBox>();
  OnNextModal(
      [answered, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        answered->title = box->windowTitle();
        answered->text = box->text();
        answered->icon = box->icon();
        answered->buttons = box->standardButtons();
        answered->answered = true;
        QAbstractButton* to_click = box->button(button);
        to_click ? to_click->click() : box->reject();  // no such button: seen in `buttons`
        return true;
      },
      timeout_ms);
  return answered;
}

std::string TakeScreenshot(const std::string& file_name) {
  const char* configured = std::getenv("CADENZIO_TEST_OUTPUT");
  const std::filesystem::path dir =
      configured && *configured ? std::filesystem::path(configured)
                                : std::filesystem::current_path() / "gui_test_output";
  std::filesystem::create_directories(dir);
  const std::string path = (dir / file_name).string();
  QApplication::processEvents();  // let pending paints reach the server
  QProcess import;
  import.start(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), QString::fromStdString(path)});
  if (!import.waitForFinished(20000) || import.exitStatus() != QProcess::NormalExit ||
      import.exitCode() != 0)
    return {};
  return std::filesystem::exists(path) ? path : std::string();
}

void WindowTest::TearDown() {
  if (window_ && window_->isVisible()) {
    window_->editor().SetModified(false);
    window_->close();
  }
}

void WindowTest::Start(const std::vector<std::string>& args) {
  window_ = std::make_unique<CadenzioWindow>(app_, MpvPlayerOptions{.audio = false});
  window_->Start(args);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  Reactivate();
}

void WindowTest::Reactivate() {
  window_->activateWindow();
  QApplication::setActiveWindow(window_.get());
  window_->editor().setFocus();
}

bool WindowTest::PauseAt(double seconds) {
  window_->player().Pause();
  window_->player().SetCurrentPosition(seconds);
  return WaitUntil([&] { return std::abs(Position() - seconds) < 0.05; }, kMovieTimeoutMs);
}

void WindowTest::Choose(const char* utf8_label) {
  for (QAction* menu : window_->menuBar()->actions())
    if (menu->menu())
      for (QAction* item : menu->menu()->actions())
        if (item->text() == U(utf8_label)) return item->trigger();
  ADD_FAILURE() << "no menu item " << utf8_label;
}

QColor WindowTest::PreviewColourOf(const QString& word) {
  QTextDocument* document = window_->preview_box().document();
  QTextCursor at(document);
  at.setPosition(document->find(word).selectionStart() + 1);
  return at.charFormat().foreground().color();
}

}  // namespace cadenzio::test
