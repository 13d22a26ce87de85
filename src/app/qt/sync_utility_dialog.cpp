// The sync utility window on Qt; see sync_utility_dialog.h.
#include "app/qt/sync_utility_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVariant>

#include "app/sync_utility_form.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

// Dialog units to pixels: a quarter of the font's average letter width and an
// eighth of its line height. For Verdana 9 pt, whose stand-in here (DejaVu
// Sans) averages 7.41 pixels a letter on a 15-pixel line, that is 7.5 x 15:
// the texts then fit their rectangles as they do on the original system.
constexpr double kPixelsPerUnitX = 1.875;
constexpr double kPixelsPerUnitY = 1.875;

QRect DialogRect(int x, int y, int width, int height) {
  return QRect(qRound(x * kPixelsPerUnitX), qRound(y * kPixelsPerUnitY),
               qRound(width * kPixelsPerUnitX), qRound(height * kPixelsPerUnitY));
}

// The owner keeps the paths the file buttons chose last, for the life of the
// program: the window itself is made anew each time it is opened.
constexpr char kPickerPathsProperty[] = "cadenzioSyncUtilityPickerPaths";

// The edits that take a capture row with Ctrl+digit.
constexpr int kNumberEdits[] = {kUtilityStartPositionEdit, kUtilityStartChangeEdit,
                                kUtilityEndPositionEdit, kUtilityEndChangeEdit};

bool IsNumberEdit(int id) {
  for (int number : kNumberEdits)
    if (number == id) return true;
  return false;
}

// A button label as the window shows it: the CR LF of a multi-line label is
// Qt's line feed.
QString ButtonLabel(std::string_view cp949) {
  QString text = FromCp949(cp949);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// Ctrl+1 .. Ctrl+9 give rows 0 .. 8, Ctrl+0 row 9; -1 for any other key.
int CaptureRowOfKey(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  if (mods != Qt::ControlModifier) return -1;
  if (key.key() < Qt::Key_0 || key.key() > Qt::Key_9) return -1;
  return key.key() == Qt::Key_0 ? 9 : key.key() - Qt::Key_1;
}

}  // namespace

SyncUtilityDialog::SyncUtilityDialog(QWidget* owner, const std::string& caption_path,
                                     std::function<std::string(int row)> capture_row)
    : QDialog(owner),
      dialogs_(std::make_unique<QtDialogs>(this)),
      form_(std::make_unique<SyncUtilityForm>(caption_path)),
      capture_row_(std::move(capture_row)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setWindowTitle(FromCp949(kSyncUtilityTitle));
  setFont(QFont(QStringLiteral("Verdana"), 9));
  const QRect size = DialogRect(0, 0, kSyncUtilityWidth, kSyncUtilityHeight);
  setFixedSize(size.width(), size.height());
  BuildControls();

  // As shown: the numbers 0, the names, the first option and its enabling.
  const SyncUtilityControls initial = form_->InitialControls();
  Edit(kUtilitySourceEdit)->setText(FromNativePath(initial.source_name));
  Edit(kUtilityOutputEdit)->setText(FromNativePath(initial.output_name));
  Edit(kUtilityStartPositionEdit)->setText(QString::fromStdString(initial.start_position));
  Edit(kUtilityStartChangeEdit)->setText(QString::fromStdString(initial.start_change));
  Edit(kUtilityEndChangeEdit)->setText(QString::fromStdString(initial.end_change));
  Edit(kUtilityEndPositionEdit)->setText(QString::fromStdString(initial.end_position));
  options_->button(kOptionRangeShift)->setChecked(true);
  ShowEnabling(form_->ChooseOption(kOptionRangeShift));
}

SyncUtilityDialog::~SyncUtilityDialog() = default;

void SyncUtilityDialog::BuildControls() {
  using Kind = UtilityControlPlacement::Kind;
  options_ = new QButtonGroup(this);
  for (const UtilityControlPlacement& placement : UtilityControlPlacements()) {
    QWidget* widget = nullptr;
    switch (placement.kind) {
      case Kind::GroupBox: widget = new QGroupBox(FromCp949(placement.text), this); break;
      case Kind::Label: widget = new QLabel(FromCp949(placement.text), this); break;
      case Kind::Edit: {
        auto* edit = new QLineEdit(this);
        edit->installEventFilter(this);
        widget = edit;
        break;
      }
      case Kind::Button: {
        auto* button = new QPushButton(ButtonLabel(placement.text), this);
        button->setAutoDefault(false);  // Enter presses nothing here
        widget = button;
        break;
      }
      case Kind::CheckBox: {
        auto* box = new QCheckBox(FromCp949(placement.text), this);
        box->setLayoutDirection(Qt::RightToLeft);  // the text on the left of the box
        widget = box;
        break;
      }
      case Kind::Radio: {
        auto* radio = new QRadioButton(FromCp949(placement.text), this);
        options_->addButton(radio, placement.id);
        widget = radio;
        break;
      }
    }
    widget->setGeometry(
        DialogRect(placement.x, placement.y, placement.width, placement.height));
    if (placement.id != 0) {
      widget->setObjectName(QStringLiteral("c%1").arg(placement.id));
      controls_[placement.id] = widget;
    }
  }
  connect(options_, &QButtonGroup::idClicked, this, &SyncUtilityDialog::ChooseOption);
  connect(static_cast<QPushButton*>(Control(kUtilitySourcePicker)), &QPushButton::clicked, this,
          [this] { PickFile(false); });
  connect(static_cast<QPushButton*>(Control(kUtilityOutputPicker)), &QPushButton::clicked, this,
          [this] { PickFile(true); });
  connect(static_cast<QPushButton*>(Control(kUtilityWorkButton)), &QPushButton::clicked, this,
          &SyncUtilityDialog::RunWork);
}

QWidget* SyncUtilityDialog::Control(int control_id) const {
  const auto found = controls_.find(control_id);
  return found == controls_.end() ? nullptr : found->second;
}

QLineEdit* SyncUtilityDialog::Edit(int control_id) const {
  return qobject_cast<QLineEdit*>(Control(control_id));
}

void SyncUtilityDialog::ChooseOption(int option) {
  const UtilityOptionView& view = form_->ChooseOption(option);
  if (view.source_hint) Edit(kUtilitySourceEdit)->setText(FromCp949(*view.source_hint));
  if (view.output_hint) Edit(kUtilityOutputEdit)->setText(FromCp949(*view.output_hint));
  ShowEnabling(view);
}

void SyncUtilityDialog::ShowEnabling(const UtilityOptionView& view) {
  Control(kUtilityOutputPicker)->setEnabled(view.output_enabled);
  Control(kUtilityOutputEdit)->setEnabled(view.output_enabled);
  for (int id : {kUtilityStartPositionEdit, kUtilityStartChangeEdit, kUtilityEndPositionEdit})
    Control(id)->setEnabled(view.numbers_enabled);
  Control(kUtilityEndChangeEdit)->setEnabled(view.ratio_enabled);
  Control(kUtilityWholeFileBox)->setEnabled(view.ratio_enabled);
}

SyncUtilityControls SyncUtilityDialog::ReadControls() const {
  SyncUtilityControls controls;
  controls.source_name = ToNativePath(Edit(kUtilitySourceEdit)->text());
  controls.output_name = ToNativePath(Edit(kUtilityOutputEdit)->text());
  // A character CP949 lacks makes the text no number, as any letter does.
  controls.start_position = ToCp949Lossy(Edit(kUtilityStartPositionEdit)->text());
  controls.start_change = ToCp949Lossy(Edit(kUtilityStartChangeEdit)->text());
  controls.end_change = ToCp949Lossy(Edit(kUtilityEndChangeEdit)->text());
  controls.end_position = ToCp949Lossy(Edit(kUtilityEndPositionEdit)->text());
  controls.break_repair = static_cast<QCheckBox*>(Control(kUtilityBreakRepairBox))->isChecked();
  controls.whole_file = static_cast<QCheckBox*>(Control(kUtilityWholeFileBox))->isChecked();
  controls.option = options_->checkedId() < 0 ? 0 : options_->checkedId();
  return controls;
}

bool SyncUtilityDialog::CopyControls() {
  copy_pending_ = false;
  busy_ = true;
  const UtilityFormReply reply = form_->CopyControls(ReadControls(), *dialogs_);
  // Still busy: moving the focus back to the field is no edit being left.
  FocusField(reply.focus);
  busy_ = false;
  return reply.focus == 0;
}

void SyncUtilityDialog::RunWork() {
  copy_pending_ = false;  // the run copies the controls itself
  busy_ = true;
  const UtilityFormReply reply = form_->RunWork(ReadControls(), *dialogs_);
  if (reply.source_name) Edit(kUtilitySourceEdit)->setText(FromNativePath(*reply.source_name));
  if (reply.output_name) Edit(kUtilityOutputEdit)->setText(FromNativePath(*reply.output_name));
  if (reply.start_change)
    Edit(kUtilityStartChangeEdit)->setText(QString::fromStdString(*reply.start_change));
  FocusField(reply.focus);
  busy_ = false;
}

void SyncUtilityDialog::FocusField(int control_id) {
  QLineEdit* edit = Edit(control_id);
  if (!edit) return;
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
}

void SyncUtilityDialog::PickFile(bool second) {
  QObject* keeper = parent() ? parent() : this;
  const QStringList kept = keeper->property(kPickerPathsProperty).toStringList();
  UtilityPickerPaths remembered;
  if (kept.size() == 2) {
    remembered.first = ToNativePath(kept[0]);
    remembered.second = ToNativePath(kept[1]);
  }
  busy_ = true;
  const std::optional<std::string> path = form_->PickFile(second, *dialogs_, remembered);
  busy_ = false;
  if (!path) return;
  keeper->setProperty(kPickerPathsProperty,
                      QStringList{FromNativePath(remembered.first),
                                  FromNativePath(remembered.second)});
  Edit(second ? kUtilityOutputEdit : kUtilitySourceEdit)->setText(FromNativePath(*path));
}

bool SyncUtilityDialog::PasteCaptureRow(QLineEdit* edit, int key_row) {
  if (key_row < 0 || !capture_row_) return false;
  edit->setText(FromCp949(capture_row_(key_row)));
  return true;
}

bool SyncUtilityDialog::eventFilter(QObject* watched, QEvent* event) {
  int id = 0;
  for (const auto& [control_id, widget] : controls_)
    if (widget == watched) id = control_id;
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (!edit || id == 0) return QDialog::eventFilter(watched, event);

  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // Claim Ctrl+digit before any shortcut of the application sees it.
      if (IsNumberEdit(id) && CaptureRowOfKey(*static_cast<QKeyEvent*>(event)) >= 0) {
        event->accept();
        return true;
      }
      break;
    case QEvent::KeyPress:
      if (IsNumberEdit(id) &&
          PasteCaptureRow(edit, CaptureRowOfKey(*static_cast<QKeyEvent*>(event))))
        return true;
      break;
    case QEvent::FocusOut: {
      // Leaving an edit copies the controls. Not while a message box of this
      // window is up, and not when the whole window merely loses the focus.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (busy_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        break;
      // After the focus has settled: a message box inside the focus change
      // would interrupt Qt's own bookkeeping of it. A click on the work
      // button in between copies first and clears the pending copy.
      copy_pending_ = true;
      QTimer::singleShot(0, this, [this] {
        if (copy_pending_ && !busy_) CopyControls();
      });
      break;
    }
    default: break;
  }
  return QDialog::eventFilter(watched, event);
}

void SyncUtilityDialog::closeEvent(QCloseEvent* event) {
  // QDialog would call reject(), which does nothing here; the system close
  // ends the window (and WA_DeleteOnClose frees it).
  event->accept();
}

bool SyncUtilityDialog::event(QEvent* event) {
  // Help requests (F1) inside the window are swallowed.
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
      event->accept();
      return true;
    }
  }
  return QDialog::event(event);
}

}  // namespace cadenzio
