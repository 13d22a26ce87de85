// Helpers for the window tests: the sample movie, waiting while Qt runs,
// answering modal dialogs from a timer, and screenshots of the Xvfb screen.
#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace cadenzio::test {

// resources/sample/sample.mp4: 8 s of test picture and a 440 Hz tone, 320x240,
// 25 frames a second (see resources/sample/README.md).
std::string SampleMovie();
std::string ResourcesDir();

// Processes Qt events until done() is true or timeout_ms have passed; the
// last value of done().
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 5000);
// Processes Qt events for ms milliseconds.
void ProcessEventsFor(int ms);

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

}  // namespace cadenzio::test
