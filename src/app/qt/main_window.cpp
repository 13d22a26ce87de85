#include "app/qt/main_window.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTableWidget>
#include <QTextEdit>
#include <algorithm>
#include <functional>
#include <utility>

#include "app/command_ids.h"
#include "app/product.h"
#include "app/qt/small_dialogs.h"
#include "app/qt/sync_utility_dialog.h"
#include "platform/qt/qt_editor.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/rtf_reader.h"

namespace cadenzio {
namespace {

// The face of the editor and the preview: "굴림" (substituted where missing,
// see qt_fonts.h).
constexpr std::string_view kGulim = "\xB1\xBC\xB8\xB2";             // 굴림
constexpr std::string_view kCaptionOnLabel = "\xC0\xDA\xB8\xB7ON";  // 자막ON
// "F1 을 입력하면 단축키 정보를 볼 수 있습니다."
constexpr std::string_view kStatusHint =
    "F1 \xC0\xBB \xC0\xD4\xB7\xC2\xC7\xCF\xB8\xE9 \xB4\xDC\xC3\xE0\xC5\xB0 "
    "\xC1\xA4\xBA\xB8\xB8\xA6 "
    "\xBA\xBC \xBC\xF6 \xC0\xD6\xBD\xC0\xB4\xCF\xB4\xD9.";
constexpr int kPreviewPointSize = 14;
// A screen this narrow or narrower starts the window maximised.
constexpr int kMaximiseBelowWidth = 800;
constexpr QSize kStartSize{800, 600};
constexpr int kCaptureColumns = 2;

// The logic's key codes: Qt's codes of letters and digits are their ASCII
// capitals and digits already.
int KeyCodeOf(const QKeyEvent& key) {
  const int k = key.key();
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return kKeyF1 + (k - Qt::Key_F1);
  if (k == Qt::Key_Up) return kKeyUp;
  if (k == Qt::Key_Down) return kKeyDown;
  // With SHIFT the number row reports its symbols; ALT+SHIFT+digit needs the
  // digit. The US number row, which Korean keyboards share.
  static constexpr std::pair<int, int> kShiftedDigits[] = {
      {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},       {Qt::Key_NumberSign, '3'},
      {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'},  {Qt::Key_AsciiCircum, '6'},
      {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
      {Qt::Key_ParenRight, '0'}};
  if (key.modifiers() & Qt::ShiftModifier) {
    for (const auto& [symbol, digit] : kShiftedDigits)
      if (k == symbol) return digit;
  }
  return 0;
}

QRect ToQRect(const WidgetRect& r) { return QRect(r.x, r.y, r.width, r.height); }

// "동영상 화일을 재생할 수 없습니다.\r\n" and the movie's path.
constexpr std::string_view kCannotPlayMovie =
    "\xB5\xBF\xBF\xB5\xBB\xF3 \xC8\xAD\xC0\xCF\xC0\xBB \xC0\xE7\xBB\xFD\xC7\xD2 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\r\n";

// Passes the player's reports on to the logic and notices an open that ends
// (state 0) before the movie played (state 6).
class OpenFailureWatch : public PlayerEvents {
 public:
  OpenFailureWatch(PlayerEvents& logic, std::function<void()> on_failure)
      : logic_(logic), on_failure_(std::move(on_failure)) {}

  void OpenStateChanged(int old_state, int new_state) override {
    logic_.OpenStateChanged(old_state, new_state);
    if (new_state == kOpenStateOpening) {
      opening_ = true;
    } else if (new_state == kOpenStateOpen) {
      opening_ = false;
    } else if (new_state == kOpenStateClosed && opening_) {
      opening_ = false;
      on_failure_();
    }
  }
  void PlayStateChanged(int old_state, int new_state) override {
    logic_.PlayStateChanged(old_state, new_state);
  }

 private:
  PlayerEvents& logic_;
  std::function<void()> on_failure_;
  bool opening_ = false;
};

}  // namespace

CadenzioWindow::CadenzioWindow(CCadenzioApp& app, MpvPlayerOptions player_options)
    : app_(app), dialogs_(this) {
  setWindowTitle(FromCp949(CCadenzioDlg::kBaseTitle));
  BuildMenus();
  client_ = new QWidget(this);
  setCentralWidget(client_);
  player_ = new MpvPlayer(client_, std::move(player_options));
  BuildControls();
  dlg_ = std::make_unique<CCadenzioDlg>(app_, *editor_, *player_, dialogs_, *this);
  player_watch_ = std::make_unique<OpenFailureWatch>(*dlg_, [this] {
    // Shown after the report has reached everyone, not from inside it.
    QTimer::singleShot(0, this, [this] { ShowMovieFailure(); });
  });
  player_->SetEvents(player_watch_.get());
  ConnectControls();
  client_->installEventFilter(this);
  capture_list_->viewport()->installEventFilter(this);
  // Keys go to the logic before any control sees them.
  qApp->installEventFilter(this);
}

CadenzioWindow::~CadenzioWindow() {
  qApp->removeEventFilter(this);
  if (dlg_) ShutDown();
}

void CadenzioWindow::ShutDown() {
  refresh_timer_.stop();
  // The windows this one opened call back into the logic; they go first.
  for (QDialog* dialog : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) delete dialog;
  dlg_.reset();
  player_watch_.reset();
  // mpv draws into a child of this window's native window: it must stop
  // before that window is destroyed, which a closed top-level window is at
  // once, and a deleted one before its children.
  delete player_;
  player_ = nullptr;
}

void CadenzioWindow::BuildMenus() {
  const auto add_items = [this](QMenu* menu, std::span<const MenuItem> items) {
    for (const MenuItem& item : items) {
      // The text after the tab shows as the shortcut hint; the keys themselves
      // go through the key filter, so no shortcut is registered.
      QAction* action = menu->addAction(FromCp949(item.label));
      const int id = item.id;
      connect(action, &QAction::triggered, this, [this, id] {
        if (dlg_) dlg_->OnCommand(id);
      });
    }
  };
  for (const Menu& menu : kMainMenu)
    add_items(menuBar()->addMenu(FromCp949(menu.title)), menu.items);
}

void CadenzioWindow::BuildControls() {
  // The player takes the focus when clicked, so F1 can be addressed to it.
  player_->setFocusPolicy(Qt::ClickFocus);

  preview_ = new QTextEdit(client_);
  preview_->setReadOnly(true);
  preview_->setFocusPolicy(Qt::NoFocus);
  preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  preview_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QPalette preview_palette = preview_->palette();
  preview_palette.setColor(QPalette::Base, Qt::black);
  preview_palette.setColor(QPalette::Text, Qt::yellow);
  preview_->setPalette(preview_palette);
  QFont preview_font(FromCp949(kGulim), kPreviewPointSize, QFont::Bold);
  preview_->document()->setDefaultFont(preview_font);
  QTextOption centred = preview_->document()->defaultTextOption();
  centred.setAlignment(Qt::AlignHCenter);
  preview_->document()->setDefaultTextOption(centred);

  capture_list_ = new QTableWidget(CaptureList::kRows, kCaptureColumns, client_);
  capture_list_->horizontalHeader()->hide();
  capture_list_->verticalHeader()->hide();
  capture_list_->setShowGrid(true);
  capture_list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  capture_list_->setSelectionMode(QAbstractItemView::SingleSelection);
  capture_list_->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed);
  capture_list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  capture_list_->verticalHeader()->setDefaultSectionSize(capture_list_->fontMetrics().height() + 4);
  for (int row = 0; row < CaptureList::kRows; ++row) {
    auto* value = new QTableWidgetItem();
    value->setTextAlignment(Qt::AlignCenter);
    capture_list_->setItem(row, 0, value);
    auto* label = new QTableWidgetItem();
    label->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFlags(label->flags() & ~Qt::ItemIsEditable);  // only the value is edited
    capture_list_->setItem(row, 1, label);
  }

  caption_on_ = new QCheckBox(FromCp949(kCaptionOnLabel), client_);
  class_combo_ = new QComboBox(client_);
  class_combo_->setEditable(true);
  class_combo_->setInsertPolicy(QComboBox::NoInsert);
  class_combo_->setEnabled(false);

  editor_ = new QtEditor(client_);
  editor_->SetFaceName(std::string(kGulim));
  // The popup menu comes from the logic on the right button's release.
  editor_->setContextMenuPolicy(Qt::PreventContextMenu);
  editor_->viewport()->installEventFilter(this);

  status_ = new QLabel(FromCp949(kStatusHint), client_);
  encoding_status_ = new QLabel(status_);
  encoding_status_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  encoding_status_->setAttribute(Qt::WA_TransparentForMouseEvents);

  refresh_timer_.setInterval(CCadenzioDlg::kRefreshTimerMs);
}

void CadenzioWindow::ConnectControls() {
  connect(&refresh_timer_, &QTimer::timeout, this, [this] {
    if (dlg_) dlg_->OnTimer();
  });
  connect(caption_on_, &QCheckBox::clicked, this, [this] {
    if (dlg_) dlg_->OnCaptionOnClicked();
  });
  connect(class_combo_, &QComboBox::activated, this, [this] {
    if (dlg_) dlg_->OnClassComboChanged();
  });
  QAbstractItemDelegate* delegate = capture_list_->itemDelegate();
  connect(delegate, &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
            CaptureEditClosed(hint == QAbstractItemDelegate::RevertModelCache);
          });
}

void CadenzioWindow::Start(const std::vector<std::string>& args) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen && screen->availableGeometry().width() <= kMaximiseBelowWidth) {
    resize(kStartSize);
    showMaximized();
  } else {
    move(0, 0);
    resize(kStartSize);
    show();
  }
  activateWindow();
  // The player is in its window and has a window id before anything opens.
  dlg_->Initialise(args);
}

void CadenzioWindow::ShowMovieFailure() {
  // A movie closed by the user empties the media path before its report comes.
  if (!dlg_ || dlg_->media_path().empty()) return;
  // The path is native bytes; the message is CP949.
  const std::string path = ToCp949Lossy(FromNativePath(dlg_->media_path()));
  dialogs_.ShowMessage(std::string(kCannotPlayMovie) + path, std::string(kProgramName),
                       MessageIcon::Warning, MessageButtons::Ok);
}

// ---- Layout and the close box --------------------------------------------

void CadenzioWindow::LayOutClient() {
  // The client area is the central widget: the menu bar lies outside it, as
  // on Windows, where the menu is not part of the dialog's client area.
  const MainWindowLayout layout = LayoutMainWindow(client_->width(), client_->height());
  FreezePainting(true);
  player_->setGeometry(ToQRect(layout.player));
  preview_->setGeometry(ToQRect(layout.preview));
  capture_list_->setGeometry(ToQRect(layout.capture_list));
  caption_on_->setGeometry(ToQRect(layout.caption_on));
  class_combo_->setGeometry(ToQRect(layout.class_combo));
  editor_->setGeometry(ToQRect(layout.editor));
  status_->setGeometry(ToQRect(layout.status));
  encoding_status_->setGeometry(0, 0, std::max(0, layout.status.width - 4), layout.status.height);
  FreezePainting(false);
  FitCaptureColumns();
}

void CadenzioWindow::FitCaptureColumns() {
  const int half = capture_list_->viewport()->width() / 2;
  capture_list_->setColumnWidth(0, half);
  capture_list_->setColumnWidth(1, half);
}

void CadenzioWindow::closeEvent(QCloseEvent* event) {
  if (!dlg_) return;  // closed already
  if (!ending_) {
    asking_to_close_ = true;
    dlg_->OnClose();  // calls EndDialog when the caption may be dropped
    asking_to_close_ = false;
  }
  if (ending_) {
    ShutDown();
    event->accept();
  } else {
    event->ignore();
  }
}

void CadenzioWindow::EndDialog() {
  ending_ = true;
  // Inside closeEvent the pending close goes ahead. Elsewhere ("종료") the
  // close waits until the logic's call has returned, since closing ends it.
  if (!asking_to_close_) QTimer::singleShot(0, this, [this] { close(); });
}

// ---- Keys and the mouse --------------------------------------------------

bool CadenzioWindow::IsOwnWidget(QObject* object) const {
  if (!object->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(object);
  // isAncestorOf stops at window borders: dialogs owned by this window are
  // windows of their own and keep their keys.
  return widget == this || isAncestorOf(widget);
}

bool CadenzioWindow::TranslateKey(const QKeyEvent& key, QObject* receiver, KeyEvent& out) const {
  out.key = KeyCodeOf(key);
  if (out.key == 0) return false;
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  out.ctrl = modifiers & Qt::ControlModifier;
  out.shift = modifiers & Qt::ShiftModifier;
  out.alt = modifiers & Qt::AltModifier;
  out.message = out.alt ? KeyMessage::SysKeyDown : KeyMessage::KeyDown;
  if (receiver == player_) {
    out.target = KeyTarget::Player;
  } else if (receiver == editor_ || receiver == editor_->viewport()) {
    out.target = KeyTarget::Editor;
  } else {
    out.target = KeyTarget::Other;
  }
  return true;
}

bool CadenzioWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!dlg_) return QMainWindow::eventFilter(watched, event);  // closed
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == client_) LayOutClient();
      if (watched == capture_list_->viewport()) FitCaptureColumns();
      break;
    case QEvent::KeyPress: {
      if (!IsOwnWidget(watched)) break;
      // An ignored key travels up to the parents and passes the filter again;
      // the logic sees it once, at the widget it was sent to.
      const QWidget* focus = QApplication::focusWidget();
      if (focus && focus != watched && static_cast<QWidget*>(watched)->isAncestorOf(focus)) break;
      KeyEvent key;
      if (!TranslateKey(*static_cast<QKeyEvent*>(event), watched, key)) break;
      if (dlg_->PreTranslateMessage(key)) return true;
      break;
    }
    case QEvent::ContextMenu:
      if (watched == editor_->viewport()) return true;  // the release shows the menu
      break;
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (watched != editor_->viewport() || mouse->button() != Qt::RightButton) break;
      KeyEvent click;
      click.message = KeyMessage::RightButtonUp;
      click.target = KeyTarget::Editor;
      click.x = mouse->position().toPoint().x();
      click.y = mouse->position().toPoint().y();
      if (dlg_->PreTranslateMessage(click)) return true;
      break;
    }
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void CadenzioWindow::ShowEditorPopupMenu(int x, int y) {
  QMenu menu(FromCp949(kEditorPopupMenu.title), this);
  for (const MenuItem& item : kEditorPopupMenu.items)
    menu.addAction(FromCp949(item.label))->setData(item.id);
  const QAction* chosen = menu.exec(editor_->viewport()->mapToGlobal(QPoint(x, y)));
  if (chosen && dlg_) dlg_->OnCommand(chosen->data().toInt());
}

// ---- Controls ----------------------------------------------------------------

void CadenzioWindow::SetTitle(const std::string& title) { setWindowTitle(FromCp949(title)); }

void CadenzioWindow::SetStatusText(const std::string& text) { status_->setText(FromCp949(text)); }

void CadenzioWindow::SetEncodingText(const std::string& text) {
  encoding_status_->setText(FromCp949(text));
}

void CadenzioWindow::SetPreviewRtf(const std::string& rtf) {
  // Starts from the box's default format: the face, 14 pt bold, yellow, centred.
  LoadRtf(*preview_->document(), rtf, preview_->document()->defaultFont(), Qt::yellow,
          Qt::AlignHCenter);
}

void CadenzioWindow::ClearClassCombo() { class_combo_->clear(); }

void CadenzioWindow::InsertClassAtTop(const std::string& name) {
  // Qt selects the first item put into an empty list; the list box of the
  // logic keeps "nothing selected" and the typed text until it selects.
  const int selection = class_combo_->currentIndex();
  const QString text = class_combo_->currentText();
  class_combo_->insertItem(0, FromCp949(name));
  if (selection < 0) {
    class_combo_->setCurrentIndex(-1);
    class_combo_->setEditText(text);
  }
}

int CadenzioWindow::ClassComboCount() const { return class_combo_->count(); }

int CadenzioWindow::ClassComboSelection() const { return class_combo_->currentIndex(); }

void CadenzioWindow::SetClassComboSelection(int index) { class_combo_->setCurrentIndex(index); }

std::string CadenzioWindow::ClassComboItem(int index) const {
  return ToCp949Lossy(class_combo_->itemText(index));
}

std::string CadenzioWindow::ClassComboText() const {
  return ToCp949Lossy(class_combo_->currentText());
}

void CadenzioWindow::EnableClassCombo(bool enabled) { class_combo_->setEnabled(enabled); }

bool CadenzioWindow::CaptionOnChecked() const { return caption_on_->isChecked(); }

void CadenzioWindow::SetCaptionOnChecked(bool checked) { caption_on_->setChecked(checked); }

void CadenzioWindow::ShowCaptureRow(int row, const std::string& value, const std::string& label) {
  if (row < 0 || row >= CaptureList::kRows) return;
  capture_list_->item(row, 0)->setText(FromCp949(value));
  capture_list_->item(row, 1)->setText(FromCp949(label));
}

void CadenzioWindow::CaptureEditClosed(bool cancelled) {
  const int row = capture_list_->currentRow();
  if (!dlg_ || row < 0) return;
  std::optional<std::string> text;
  if (!cancelled) text = ToCp949Lossy(capture_list_->item(row, 0)->text());
  dlg_->OnCaptureLabelEdited(row, std::move(text));
}

void CadenzioWindow::StartRefreshTimer() { refresh_timer_.start(); }

void CadenzioWindow::StopRefreshTimer() { refresh_timer_.stop(); }

void CadenzioWindow::FreezePainting(bool frozen) { client_->setUpdatesEnabled(!frozen); }

// ---- Windows the main window opens ------------------------------------------

void CadenzioWindow::ShowTextView(const std::string& heading, const std::string& body) {
  ShowTextViewDialog(this, heading, body);
}

void CadenzioWindow::ShowTimeConverter() {
  ShowTimeConvertDialog(this, [this](int row) { return dlg_->capture_list().CaptureRowText(row); });
}

std::optional<TitleAndRate> CadenzioWindow::AskTitleAndRate(bool want_rate) {
  return ::cadenzio::AskTitleAndRate(this, want_rate);
}

void CadenzioWindow::ShowReport(const std::string& report) {
  ShowReportWindow(this, report, dialogs_);
}

void CadenzioWindow::EditSettings(Settings& settings) {
  EditSettingsDialog(this, settings, app_.settings_path());
}

void CadenzioWindow::ShowFindReplace(bool replace) {
  ShowFindReplaceDialog(
      this, replace, [this](const FindReplaceRequest& request) { dlg_->OnFindReplace(request); });
}

std::optional<std::string> CadenzioWindow::ChooseFontFace(const std::string& current_face) {
  return ::cadenzio::ChooseFontFace(this, current_face);
}

void CadenzioWindow::OpenSyncUtility(const std::string& caption_path) {
  if (sync_utility_) return;
  sync_utility_ = new SyncUtilityDialog(
      this, caption_path, [this](int row) { return dlg_->capture_list().CaptureRowText(row); });
  sync_utility_->show();
}

}  // namespace cadenzio
