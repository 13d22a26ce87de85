// The small windows the main window opens: time conversion, the text window,
// the import's title and frame-rate question, the report window, the settings
// dialog, find and replace, and the font choice. Their decisions live in the
// Qt-free src/app files (time_convert.h, frame_rate_check.h, report_window.h,
// settings_form.h); these classes only show texts and pass the user's input on.
//
// Texts given and returned are CP949 bytes. Every window here is created on
// the user-interface thread and lives on it.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_view.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class QTextEdit;

namespace cadenzio {

class Dialogs;
struct Settings;
struct FindReplaceRequest;  // app/cadenzio_dlg.h

// The main window's capture list as the other windows reach it: the value
// text (column 0) of row 0..9.
using CaptureRowReader = std::function<std::string(int row)>;

// ---- Entry points the main window calls -----------------------------------

// " 시간값 변환 작업", modal. Ctrl+digit in its input pastes a capture row.
void ShowTimeConvertDialog(QWidget* parent, CaptureRowReader capture_row);
// "Cadenzio Help", modal: a heading and a read-only body with clickable links.
void ShowTextViewDialog(QWidget* parent, const std::string& heading_cp949,
                        const std::string& body_cp949);
// "자막 타이틀 지정", modal. The rate list is enabled only when want_rate;
// the rate returned is always one the check accepts. Nothing on Cancel.
std::optional<TitleAndRate> AskTitleAndRate(QWidget* parent, bool want_rate);
// "Cadenzio 가 알려드립니다 !!", modeless, a new window each call; it deletes
// itself when closed. dialogs (the main window's) must outlive it: it shows
// the save dialog and the messages of the copy and save buttons.
void ShowReportWindow(QWidget* parent, const std::string& report_cp949, Dialogs& dialogs);
// "Cadenzio 설정", modal, on the live settings; Apply copies the fields into
// settings and saves them to settings_path (and the header file beside it).
void EditSettingsDialog(QWidget* parent, Settings& settings, const std::string& settings_path);
// Modeless find (replace false) or find-and-replace dialog, created anew and
// deleted when closed. Every button press reports one request; closing it
// reports a request with dialog_term set. The returned window is owned by
// parent (Qt ownership) and may be deleted by closing at any time: keep it in
// a QPointer.
QDialog* ShowFindReplaceDialog(QWidget* parent, bool replace,
                               std::function<void(const FindReplaceRequest&)> on_request);
// The font dialog, starting at current_face; the chosen face, or nothing
// when cancelled. Size, style and colour chosen there are not returned.
std::optional<std::string> ChooseFontFace(QWidget* parent, const std::string& current_face_cp949);

// ---- Layout ----------------------------------------------------------------

// The font of every small window: Verdana 9 (Hangul falls back to the
// system's Korean face).
QFont SmallDialogFont();

// The windows are laid out from their dialog-unit rectangles: a horizontal
// unit is a quarter of the font's average character width, a vertical unit
// an eighth of its height. Korean text in the fallback face can be wider than
// the rectangles allow, so the horizontal unit grows (for the whole window,
// keeping its proportions) until every label, check box, button and group
// box title fits.
class DialogLayout {
 public:
  explicit DialogLayout(const QFont& font);
  // Records the widget's rectangle; geometry is set by Finish.
  void Place(QWidget* widget, int x, int y, int width, int height);
  // Sets every recorded geometry and the window's fixed size.
  void Finish(QWidget* window, int width, int height);
  // A size in pixels at the unscaled units (for icons).
  QSize Size(int width, int height) const;

 private:
  struct Placed {
    QWidget* widget;
    QRect units;
  };
  int base_x_;
  int base_y_;
  std::vector<Placed> placed_;
};

// ---- The windows themselves (for the entry points and the tests) ----------

// Dialog 151. The input field ("input"), "변 환" ("convert") and the
// read-only result ("result").
class TimeConvertDialog : public QDialog {
  Q_OBJECT
 public:
  TimeConvertDialog(QWidget* parent, CaptureRowReader capture_row);
  QLineEdit* input() const { return input_; }
  QLineEdit* result() const { return result_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Convert();
  CaptureRowReader capture_row_;
  QLineEdit* input_;
  QLineEdit* result_;
};

// Dialog 139.
class TextViewDialog : public QDialog {
  Q_OBJECT
 public:
  TextViewDialog(QWidget* parent, const std::string& heading_cp949,
                 const std::string& body_cp949);
  QTextBrowser* body() const { return body_; }

 private:
  QTextBrowser* body_;
};

// Dialog 153.
class TitleRateDialog : public QDialog {
  Q_OBJECT
 public:
  TitleRateDialog(QWidget* parent, bool want_rate);
  QLineEdit* title_edit() const { return title_; }
  QComboBox* rate_combo() const { return rate_; }
  // Valid after the dialog was accepted.
  const TitleAndRate& answer() const { return answer_; }

  void accept() override;  // refuses a bad rate and stays open

 private:
  QLineEdit* title_;
  QComboBox* rate_;
  TitleAndRate answer_;
};

// Dialog 135, modeless.
class ReportDialog : public QDialog {
  Q_OBJECT
 public:
  ReportDialog(QWidget* parent, const std::string& report_cp949, Dialogs& dialogs);
  QTextEdit* text() const { return text_; }
  void CopyAll();
  void SaveToFile();

 private:
  // The text the buttons take: the report as given until the user edits it.
  std::string TextBytes() const;
  QTextEdit* text_;
  std::string report_;
  Dialogs& dialogs_;
};

}  // namespace cadenzio
