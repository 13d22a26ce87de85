#include "app/qt/small_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTextBrowser>
#include <QTextEdit>
#include <QUrl>

#include "app/capture_list.h"
#include "app/frame_rate_check.h"
#include "app/qt/find_replace_dialog.h"
#include "app/qt/settings_dialog.h"
#include "app/report_window.h"
#include "app/time_convert.h"
#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

// The window texts, CP949.
constexpr std::string_view kTimeConvertTitle =
    " \xBD\xC3\xB0\xA3\xB0\xAA \xBA\xAF\xC8\xAF \xC0\xDB\xBE\xF7";  // " 시간값 변환 작업"
constexpr std::string_view kTimeConvertLine1 =
    "Hour:Min:Sec,ms \xC8\xA4\xC0\xBA Milliseconds \xBC\xF6\xC4\xA1\xB8\xA6 "
    "\xC0\xD4\xB7\xC2\xC7\xCF\xB8\xE9";  // "Hour:Min:Sec,ms 혹은 Milliseconds 수치를 입력하면"
constexpr std::string_view kTimeConvertLine2 =
    "\xBF\xEC\xC3\xF8\xBF\xA1 \xBA\xAF\xC8\xAF\xB5\xC8 \xB0\xAA\xC0\xBB "
    "\xC8\xAE\xC0\xCE\xC7\xD2 \xBC\xF6 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";  // "우측에 변환된 값을 확인할 수 있습니다."
constexpr std::string_view kTimeConvertGroup = "H:M:S,MS / MS \xBA\xAF\xC8\xAF";  // "H:M:S,MS / MS 변환"
constexpr std::string_view kConvertButton = "\xBA\xAF \xC8\xAF";                   // "변 환"

constexpr std::string_view kTextViewTitle = "Cadenzio Help";
constexpr std::string_view kTextViewDone = "\xB4\xD9 \xBA\xB8\xBC\xCC\xB3\xAA\xBF\xE4?";  // "다 보셨나요?"

constexpr std::string_view kTitleRateTitle =
    "\xC0\xDA\xB8\xB7 \xC5\xB8\xC0\xCC\xC6\xB2 \xC1\xF6\xC1\xA4";  // "자막 타이틀 지정"
constexpr std::string_view kTitleRateGroup =
    "2\xB9\xD9\xC0\xCC\xC6\xAE \xB1\xC7 SRT \xC0\xDA\xB8\xB7\xC0\xBA ' ' "
    "\xB0\xF8\xB9\xE9\xC0\xB8\xB7\xCE \xBD\xC3\xC0\xDB\xC7\xCF\xBC\xBC\xBF\xE4";  // "2바이트 권 SRT 자막은 ' ' 공백으로 시작하세요"
constexpr std::string_view kTitleLabel = "Title :";
constexpr std::string_view kRateLabel =
    "Frame Rate (AVI \xB5\xEE\xB7\xCF\xC1\xA4\xBA\xB8 \xC8\xAE\xC0\xCE) :";  // "Frame Rate (AVI 등록정보 확인) :"

constexpr std::string_view kReportTitle =
    "Cadenzio \xB0\xA1 \xBE\xCB\xB7\xC1\xB5\xE5\xB8\xB3\xB4\xCF\xB4\xD9 !!";  // "Cadenzio 가 알려드립니다 !!"
constexpr std::string_view kReportCopy =
    "\xB3\xBB\xBF\xEB \xC0\xFC\xC3\xBC \xC5\xAC\xB8\xB3\xBA\xB8\xB5\xE5\xB7\xCE "
    "\xBA\xB9\xBB\xE7";  // "내용 전체 클립보드로 복사"
constexpr std::string_view kReportSave = "\xC8\xAD\xC0\xCF\xB7\xCE \xC0\xFA\xC0\xE5";  // "화일로 저장"
constexpr std::string_view kReportClose = "\xC3\xA2 \xB4\xDD\xB1\xE2";                 // "창 닫기"

QString Qt949(std::string_view cp949) { return FromCp949(cp949); }

// The editors break lines at "\n"; the system's texts end lines in CR LF.
QString ForDisplay(std::string_view cp949) {
  QString text = FromCp949(cp949);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string FromDisplay(const QString& text) {
  QString crlf = text;
  crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return ToCp949Lossy(crlf);
}

// The base dialog window of the small dialogs: Verdana 9.
void SetUpDialog(QDialog* dialog, std::string_view title) {
  dialog->setWindowTitle(Qt949(title));
  dialog->setFont(SmallDialogFont());
}

template <typename Widget>
Widget* Make(QWidget* parent, DialogLayout& units, std::string_view text, int x, int y,
             int width, int height) {
  auto* widget = new Widget(Qt949(text), parent);
  units.Place(widget, x, y, width, height);
  return widget;
}

QLineEdit* MakeEdit(QWidget* parent, DialogLayout& units, const char* name, int x, int y,
                    int width, int height) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  units.Place(edit, x, y, width, height);
  return edit;
}

// The body of the text window as rich text: addresses and mail addresses
// become links, everything else stays as written (blanks and line breaks kept).
QString LinkedHtml(const QString& text) {
  static const QRegularExpression kAddress(
      QStringLiteral(R"((?:https?://|ftp://|file://|mailto:|www\.)[^\s<>"]+)"
                     R"(|[\w.+-]+@[\w-]+(?:\.[\w-]+)+)"));
  QString html = QStringLiteral("<body style=\"white-space: pre-wrap\">");
  qsizetype start = 0;
  for (auto it = kAddress.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    QString address = match.captured();
    // Sentence punctuation after an address is not part of it.
    while (!address.isEmpty() && QStringLiteral(".,;:!?)'").contains(address.back()))
      address.chop(1);
    html += text.mid(start, match.capturedStart() - start).toHtmlEscaped();
    QString target = address;
    if (target.startsWith(QStringLiteral("www.")))
      target.prepend(QStringLiteral("http://"));
    else if (!target.contains(QStringLiteral(":")))
      target.prepend(QStringLiteral("mailto:"));
    html += QStringLiteral("<a href=\"%1\">%2</a>")
                .arg(target.toHtmlEscaped(), address.toHtmlEscaped());
    start = match.capturedStart() + address.size();
  }
  html += text.mid(start).toHtmlEscaped();
  html += QStringLiteral("</body>");
  return html;
}

}  // namespace

// ---- Layout ------------------------------------------------------------------

QFont SmallDialogFont() { return QFont(QStringLiteral("Verdana"), 9); }

DialogLayout::DialogLayout(const QFont& font) {
  const QFontMetrics metrics(font);
  // The system's rule: the width of the 52 letters, averaged, rounded up.
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  base_x_ = std::max(1, (letters / 26 + 1) / 2);
  base_y_ = std::max(1, metrics.height());
}

void DialogLayout::Place(QWidget* widget, int x, int y, int width, int height) {
  placed_.push_back({widget, QRect(x, y, width, height)});
}

QSize DialogLayout::Size(int width, int height) const {
  return QSize(width * base_x_ / 4, height * base_y_ / 8);
}

void DialogLayout::Finish(QWidget* window, int width, int height) {
  // The pixels each text needs against the pixels its rectangle gives.
  constexpr double kMostWidening = 2.0;
  double scale = 1.0;
  for (const Placed& p : placed_) {
    int needed = 0;
    // A push button's size hint has a style minimum far above its text;
    // only the text itself must fit.
    if (auto* button = qobject_cast<QPushButton*>(p.widget))
      needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
    else if (qobject_cast<QLabel*>(p.widget) || qobject_cast<QAbstractButton*>(p.widget))
      needed = p.widget->sizeHint().width();
    else if (auto* group = qobject_cast<QGroupBox*>(p.widget))
      needed = group->fontMetrics().horizontalAdvance(group->title()) + 16;
    const int given = p.units.width() * base_x_ / 4;
    if (needed > 0 && given > 0) scale = std::max(scale, double(needed) / given);
  }
  scale = std::min(scale, kMostWidening);
  const auto px = [&](int units) { return int(units * base_x_ * scale / 4); };
  const auto py = [&](int units) { return units * base_y_ / 8; };
  for (const Placed& p : placed_)
    p.widget->setGeometry(px(p.units.x()), py(p.units.y()), px(p.units.width()),
                          py(p.units.height()));
  window->setFixedSize(px(width), py(height));
}

// ---- Time conversion -----------------------------------------------------------

TimeConvertDialog::TimeConvertDialog(QWidget* parent, CaptureRowReader capture_row)
    : QDialog(parent), capture_row_(std::move(capture_row)) {
  DialogLayout units(SmallDialogFont());
  SetUpDialog(this, kTimeConvertTitle);
  Make<QLabel>(this, units, kTimeConvertLine1, 32, 14, 157, 14);
  Make<QLabel>(this, units, kTimeConvertLine2, 44, 31, 125, 10);
  Make<QGroupBox>(this, units, kTimeConvertGroup, 24, 47, 161, 39);
  input_ = MakeEdit(this, units, "input", 32, 67, 53, 13);
  auto* convert = Make<QPushButton>(this, units, kConvertButton, 90, 67, 30, 13);
  convert->setObjectName(QStringLiteral("convert"));
  convert->setAutoDefault(false);
  result_ = MakeEdit(this, units, "result", 124, 67, 53, 13);
  result_->setReadOnly(true);
  auto* ok = Make<QPushButton>(this, units, "OK", 79, 102, 50, 14);
  ok->setDefault(true);
  units.Finish(this, 209, 123);
  connect(convert, &QPushButton::clicked, this, &TimeConvertDialog::Convert);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  input_->installEventFilter(this);
  input_->setFocus();
}

void TimeConvertDialog::Convert() {
  result_->setText(Qt949(ConvertTimeText(ToCp949Lossy(input_->text()))));
}

bool TimeConvertDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched != input_ ||
      (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
    return QDialog::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const int row = CaptureList::RowForDigit(key->key());
  if (row < 0 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
    return QDialog::eventFilter(watched, event);
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();  // the key comes to the input, not to a shortcut of the main window
    return true;
  }
  if (capture_row_) input_->setText(Qt949(capture_row_(row)));
  return true;  // consumed
}

void ShowTimeConvertDialog(QWidget* parent, CaptureRowReader capture_row) {
  TimeConvertDialog dialog(parent, std::move(capture_row));
  dialog.exec();
}

// ---- Text window -----------------------------------------------------------------

TextViewDialog::TextViewDialog(QWidget* parent, const std::string& heading_cp949,
                               const std::string& body_cp949)
    : QDialog(parent) {
  DialogLayout units(SmallDialogFont());
  SetUpDialog(this, kTextViewTitle);

  auto* icon = new QLabel(this);
  units.Place(icon, 8, 5, 20, 20);
  QIcon app_icon = QApplication::windowIcon();
  if (app_icon.isNull()) app_icon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
  icon->setPixmap(app_icon.pixmap(units.Size(20, 20)));

  auto* heading = new QLabel(ForDisplay(heading_cp949), this);
  heading->setObjectName(QStringLiteral("heading"));
  heading->setAlignment(Qt::AlignCenter);
  units.Place(heading, 36, 10, 175, 11);

  body_ = new QTextBrowser(this);
  body_->setObjectName(QStringLiteral("body"));
  units.Place(body_, 8, 26, 226, 171);
  body_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  body_->setOpenLinks(false);  // the desktop opens them, not the browser
  body_->setHtml(LinkedHtml(ForDisplay(body_cp949)));
  connect(body_, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QDesktopServices::openUrl(url);  // what the desktop makes of it is not checked
    QApplication::restoreOverrideCursor();
  });

  auto* done = Make<QPushButton>(this, units, kTextViewDone, 96, 200, 51, 14);
  done->setDefault(true);
  units.Finish(this, 243, 221);
  connect(done, &QPushButton::clicked, this, &QDialog::accept);
  done->setFocus();
}

void ShowTextViewDialog(QWidget* parent, const std::string& heading_cp949,
                        const std::string& body_cp949) {
  TextViewDialog dialog(parent, heading_cp949, body_cp949);
  dialog.exec();
}

// ---- Title and frame rate ------------------------------------------------------

TitleRateDialog::TitleRateDialog(QWidget* parent, bool want_rate) : QDialog(parent) {
  DialogLayout units(SmallDialogFont());
  SetUpDialog(this, kTitleRateTitle);
  Make<QGroupBox>(this, units, kTitleRateGroup, 20, 23, 185, 63);
  Make<QLabel>(this, units, kTitleLabel, 38, 44, 19, 8);
  title_ = MakeEdit(this, units, "title", 60, 41, 124, 12);
  Make<QLabel>(this, units, kRateLabel, 38, 58, 106, 8);
  rate_ = new QComboBox(this);
  rate_->setObjectName(QStringLiteral("rate"));
  rate_->setEditable(true);
  rate_->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view rate : kFrameRateChoices) rate_->addItem(Qt949(rate));
  // The drop-down height (71 units) is the open list's; the closed box is an edit's.
  units.Place(rate_, 146, 55, 38, 12);
  rate_->setEnabled(want_rate);
  rate_->setCurrentText(Qt949(kInitialFrameRate));

  auto* ok = Make<QPushButton>(this, units, "OK", 24, 106, 50, 14);
  ok->setDefault(true);
  auto* cancel = Make<QPushButton>(this, units, "Cancel", 152, 106, 50, 14);
  cancel->setAutoDefault(false);
  units.Finish(this, 227, 127);
  connect(ok, &QPushButton::clicked, this, &TitleRateDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  title_->setFocus();
}

void TitleRateDialog::accept() {
  TitleAndRate answer{ToCp949Lossy(title_->text()), ToCp949Lossy(rate_->currentText())};
  if (!IsAcceptedFrameRate(answer.rate)) {
    QMessageBox::warning(this, Qt949(kFrameRateRefusalCaption), Qt949(kFrameRateRefusal));
    rate_->setFocus();
    return;
  }
  answer_ = std::move(answer);
  QDialog::accept();
}

std::optional<TitleAndRate> AskTitleAndRate(QWidget* parent, bool want_rate) {
  TitleRateDialog dialog(parent, want_rate);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.answer();
}

// ---- Report window ---------------------------------------------------------------

ReportDialog::ReportDialog(QWidget* parent, const std::string& report_cp949, Dialogs& dialogs)
    : QDialog(parent), dialogs_(dialogs) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  DialogLayout units(SmallDialogFont());
  SetUpDialog(this, kReportTitle);
  text_ = new QTextEdit(this);
  text_->setObjectName(QStringLiteral("report"));
  text_->setAcceptRichText(false);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  units.Place(text_, 0, 0, 263, 197);
  text_->setPlainText(ForDisplay(report_cp949));
  text_->document()->setModified(false);
  report_ = report_cp949;

  auto* copy = Make<QPushButton>(this, units, kReportCopy, 0, 198, 86, 16);
  copy->setAutoDefault(false);
  auto* save = Make<QPushButton>(this, units, kReportSave, 92, 198, 86, 16);
  save->setAutoDefault(false);
  auto* close_button = Make<QPushButton>(this, units, kReportClose, 183, 198, 80, 16);
  close_button->setDefault(true);
  units.Finish(this, 263, 214);
  connect(copy, &QPushButton::clicked, this, &ReportDialog::CopyAll);
  connect(save, &QPushButton::clicked, this, &ReportDialog::SaveToFile);
  connect(close_button, &QPushButton::clicked, this, &QWidget::close);
}

std::string ReportDialog::TextBytes() const {
  // An unedited report keeps its bytes exactly; an edited one has CR LF line ends.
  if (!text_->document()->isModified()) return report_;
  return FromDisplay(text_->toPlainText());
}

void ReportDialog::CopyAll() {
  text_->selectAll();
  CopyReportToClipboard(dialogs_, TextBytes());
}

void ReportDialog::SaveToFile() { SaveReportToFile(dialogs_, TextBytes()); }

void ShowReportWindow(QWidget* parent, const std::string& report_cp949, Dialogs& dialogs) {
  auto* window = new ReportDialog(parent, report_cp949, dialogs);
  window->show();
}

// ---- Settings, find and replace, font ----------------------------------------

void EditSettingsDialog(QWidget* parent, Settings& settings, const std::string& settings_path) {
  SettingsDialog dialog(parent, settings, settings_path);
  dialog.exec();
}

QDialog* ShowFindReplaceDialog(QWidget* parent, bool replace,
                               std::function<void(const FindReplaceRequest&)> on_request) {
  auto* dialog = new FindReplaceDialog(parent, replace, std::move(on_request));
  dialog->show();
  return dialog;
}

std::optional<std::string> ChooseFontFace(QWidget* parent, const std::string& current_face_cp949) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, QFont(Qt949(current_face_cp949)), parent);
  if (!ok) return std::nullopt;
  return ToCp949Lossy(font.family());
}

}  // namespace cadenzio
