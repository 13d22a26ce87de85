// Helpers for the window tests: the sample movie, waiting while Qt runs,
// answering modal dialogs from a timer, screenshots, and a fixture that
// starts the main window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <QTextEdit>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/main_window.h"
#include "platform/qt/qt_editor.h"
#include "test_support.h"


namespace cadenzio::test {

// resources/sample/sample.mp4: 8 s of test picture and a 440 Hz tone, 320x240.
std::string SampleMovie();
std::string ResourcesDir();

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Processes Qt events until done() or timeout_ms; the last done().
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 5000);

// The visible top-level window of type Window, waited for; nullptr if none.
template <typename Window>
Window* WaitForWindow() {
  Window* found = nullptr;
  WaitUntil([&] {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* window = qobject_cast<Window*>(top); window && window->isVisible()) found = window;
    return found != nullptr;
  });
  return found;
}

struct AnsweredMessageBox {
  bool answered = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Clicks `button` in the next modal message box (call it before the code that
// shows the box); the result fills in when the box has been answered.
std::shared_ptr<const AnsweredMessageBox> AnswerNextMessageBox(
    QMessageBox::StandardButton button, int timeout_ms = 10000);

// Calls act with the active modal widget, from a timer, until act returns true
// or timeout_ms pass.
void OnNextModal(std::function<bool(QWidget*)> act, int timeout_ms = 10000);

// Types path into the dialog's name field and accepts, as a user does (selectFile
// alone leaves a focused name field as it is). True when the dialog closed.
bool ChooseInFileDialog(QFileDialog& dialog, const QString& path);
// Answers the next file dialog with path, accepted without checking the path.
void ChooseNextFile(const std::string& path);

// The whole X screen (the mpv picture included, which QWidget::grab misses) as
// file_name in $CADENZIO_TEST_OUTPUT or ./gui_test_output; the path, or empty.
std::string TakeScreenshot(const std::string& file_name);

inline constexpr int kMovieTimeoutMs = 15000;

// The main window with real mpv and real keys; its files in the test's folder.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;
  void Start(const std::vector<std::string>& args);
  // Xvfb has no window manager to hand the focus back when a dialog closes.
  void Reactivate();
  bool WaitForMovie() {
    return WaitUntil([this] { return window_->dlg().open_state() == kOpenStateOpen; },
                     kMovieTimeoutMs);
  }
  double Position() { return window_->player().CurrentPosition(); }
  // Pauses the movie at seconds, waiting until mpv is there.
  bool PauseAt(double seconds);
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&window_->editor(), static_cast<Qt::Key>(key), modifiers);
  }
  // Triggers the menu bar's item of that label, searched in every menu.
  void Choose(const char* utf8_label);
  QString Preview() { return window_->preview_box().toPlainText().trimmed(); }
  // The foreground colour of the preview's first character of word.
  QColor PreviewColourOf(const QString& word);

  TempDir dir_;
  CCadenzioApp app_{dir_.path().string()};
  std::unique_ptr<CadenzioWindow> window_;
};

}  // namespace cadenzio::test
