// Helpers for the window tests: the sample movie, waiting while Qt runs,
// answering modal dialogs from a timer, screenshots of the Xvfb screen, and
// a fixture that starts the main window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/main_window.h"
#include "test_support.h"

class QWidget;

namespace cadenzio::test {

// resources/sample/sample.mp4: 8 s of test picture and a 440 Hz tone, 320x240,
// 25 frames a second (see resources/sample/README.md).
std::string SampleMovie();
std::string ResourcesDir();

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Processes Qt events until done() is true or timeout_ms have passed; the
// last value of done().
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 5000);
// Processes Qt events for ms milliseconds.
void ProcessEventsFor(int ms);

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

// What a message box answered by AnswerNextMessageBox showed.
struct AnsweredMessageBox {
  bool answered = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
};

// Clicks `button` in the next modal message box that opens within timeout_ms
// (polling from a timer, so call it before the code that shows the box).
// The result fills in when the box has been answered.
std::shared_ptr<const AnsweredMessageBox> AnswerNextMessageBox(
    QMessageBox::StandardButton button, int timeout_ms = 10000);

// Calls act with the active modal widget, from a timer, until act returns true
// or timeout_ms pass; for file dialogs and the other modal windows. act
// decides whether the widget is the one it waits for.
void OnNextModal(std::function<bool(QWidget*)> act, int timeout_ms = 10000);

// Types path into a file dialog's name field and presses its accept button,
// as a user does. selectFile alone leaves the name field as it is while the
// field has the focus, which on a busy machine it may already have. True when
// the dialog closed, so an OnNextModal act can return it and try again.
bool ChooseInFileDialog(QFileDialog& dialog, const QString& path);

// Answers the next file dialog with path (a native path), as if the user had
// chosen it. The dialog closes as accepted without checking the path, so a
// file gone meanwhile or a folder gets through as well.
void ChooseNextFile(const std::string& path);

// A folder for the tests' output files (screenshots): $CADENZIO_TEST_OUTPUT, or
// gui_test_output under the current folder; created when missing.
std::string TestOutputDir();
// Saves the whole X screen (the mpv picture included, which QWidget::grab
// misses) as TestOutputDir()/file_name with imagemagick's import. The path
// written, or empty when it failed.
std::string TakeScreenshot(const std::string& file_name);

inline constexpr int kMovieTimeoutMs = 15000;

// The main window with real mpv and real keys; its settings, log and files
// in the test's own folder.
class WindowTest : public ::testing::Test {
 protected:
  void TearDown() override;
  void Start(const std::vector<std::string>& args);
  // Xvfb has no window manager to hand the focus back when a dialog closes;
  // the user would click into the window.
  void Reactivate();
  bool WaitForMovie();
  double Position();
  // Pauses the movie and moves it to seconds, waiting until mpv is there.
  bool PauseAt(double seconds);
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // The menu bar's item of the label the user reads, searched in every menu.
  QAction* MenuAction(const char* utf8_label);
  QString Preview();
  // The foreground colour of the preview's first character of word.
  QColor PreviewColourOf(const QString& word);

  TempDir dir_;
  CCadenzioApp app_{dir_.path().string()};
  std::unique_ptr<CadenzioWindow> window_;
};

}  // namespace cadenzio::test
