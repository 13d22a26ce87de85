#include "app/qt/settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/product.h"
#include "app/qt/small_dialogs.h"
#include "platform/qt/qt_text.h"
#include "settings/settings.h"

namespace cadenzio {
namespace {

// The window texts, CP949.
constexpr std::string_view kTitle = "Cadenzio \xBC\xB3\xC1\xA4";  // "Cadenzio 설정"
constexpr std::string_view kIntervalGroup =
    "\xBD\xCC\xC5\xA9 \xBF\xC0\xB7\xF9\xC3\xBC\xC5\xA9 \xBD\xC3\xB0\xA3\xB0\xA3\xB0\xDD "
    "\xBC\xB3\xC1\xA4";  // "싱크 오류체크 시간간격 설정"
constexpr std::string_view kDelayGroup = "\xC0\xD4\xB7\xC2 \xBA\xB8\xC1\xA4\xB0\xAA";   // "입력 보정값"
constexpr std::string_view kAddDelGroup = "\xC1\xF5\xB0\xA1 \xB0\xA8\xBC\xD2\xC4\xA1";  // "증가 감소치"
constexpr std::string_view kOnSaveGroup = "( \xC0\xFA\xC0\xE5\xBD\xC3 \xB9\xDD\xBF\xB5 )";  // "( 저장시 반영 )"
constexpr std::string_view kCheckBr =
    "<BR> \xC1\xDF\xBA\xB9 \xBB\xE8\xC1\xA6 \xB9\xD7 \xC3\xDF\xB0\xA1";  // "<BR> 중복 삭제 및 추가"
constexpr std::string_view kInsertNl =
    "\xC1\xD9 \xB9\xD9\xB2\xDE \xC7\xFC\xBD\xC4 \xC0\xFB\xBF\xEB";  // "줄 바꿈 형식 적용"
constexpr std::string_view kTing = "\xB6\xF2 ON";                  // "띵 ON"
constexpr std::string_view kDelClearGroup =
    "\xC5\xAC\xB8\xAE\xBE\xEE \xBB\xE8\xC1\xA6\xBD\xC3 \xC0\xFB\xBF\xEB\xC7\xD2 "
    "\xC3\xD6\xB4\xEB\xB1\xB8\xB0\xA3";  // "클리어 삭제시 적용할 최대구간"
constexpr std::string_view kDelClearUnit = "ms (\xB9\xFC\xC0\xA7 1-999)";  // "ms (범위 1-999)"
constexpr std::string_view kHeaderLabel =
    "\xC7\xEC\xB4\xF5 \xC1\xA4\xBA\xB8 - </BODY>... \xC2\xCA\xC0\xBA "
    "\xC6\xF7\xC7\xD4\xBD\xC3\xC5\xB0\xC1\xF6 \xB8\xB6\xBC\xBC\xBF\xE4";  // "헤더 정보 - </BODY>... 쪽은 포함시키지 마세요"
constexpr std::string_view kApply = "\xC0\xFB\xBF\xEB \xB9\xD7 \xB4\xDD\xB1\xE2";   // "적용 및 닫기"
constexpr std::string_view kCancel = "\xC3\xEB\xBC\xD2 \xB9\xD7 \xB4\xDD\xB1\xE2";  // "취소 및 닫기"

struct FieldPlace {
  SettingsField field;
  const char* name;
  int x, y;
};
constexpr FieldPlace kFieldPlaces[] = {
    {SettingsField::kMinInterval, "min", 33, 25},
    {SettingsField::kMaxInterval, "max", 98, 25},
    {SettingsField::kDelay, "delay", 149, 25},
    {SettingsField::kAddDel, "add_del", 190, 25},
    {SettingsField::kDelClear, "del_clear", 13, 79},
};

}  // namespace

SettingsDialog::SettingsDialog(QWidget* parent, Settings& settings, std::string settings_path)
    : QDialog(parent), settings_(settings), settings_path_(std::move(settings_path)) {
  DialogLayout units(SmallDialogFont());
  setWindowTitle(FromCp949(kTitle));
  setFont(SmallDialogFont());

  const auto group = [&](std::string_view text, int x, int y, int w, int h) {
    units.Place(new QGroupBox(FromCp949(text), this), x, y, w, h);
  };
  const auto label = [&](std::string_view text, int x, int y, int w, int h) {
    units.Place(new QLabel(FromCp949(text), this), x, y, w, h);
  };
  const auto check = [&](std::string_view text, const char* name, int x, int y, int w, int h) {
    auto* box = new QCheckBox(FromCp949(text), this);
    box->setObjectName(QString::fromLatin1(name));
    units.Place(box, x, y, w, h);
    return box;
  };

  // Group boxes first, so the controls inside lie above them.
  group(kIntervalGroup, 8, 13, 134, 34);
  group(kDelayGroup, 141, 13, 42, 34);
  group(kAddDelGroup, 182, 13, 41, 34);
  group(kOnSaveGroup, 8, 42, 175, 31);
  group("", 182, 42, 41, 31);
  group(kDelClearGroup, 8, 68, 215, 31);
  label("MIN", 14, 27, 13, 8);
  label("ms", 61, 27, 10, 8);
  label("MAX", 78, 27, 14, 8);
  label("ms", 127, 27, 10, 8);
  label(kDelClearUnit, 44, 82, 50, 8);
  label(kHeaderLabel, 10, 104, 144, 8);

  for (const FieldPlace& place : kFieldPlaces) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(place.name));
    edit->setAlignment(Qt::AlignRight);
    units.Place(edit, place.x, place.y, 27, 14);
    fields_[static_cast<int>(place.field)] = edit;
  }
  check_br_ = check(kCheckBr, "check_br", 13, 54, 80, 10);
  insert_nl_ = check(kInsertNl, "insert_nl", 96, 53, 80, 11);
  ting_ = check(kTing, "ting", 188, 54, 29, 10);

  header_ = new QPlainTextEdit(this);
  header_->setObjectName(QStringLiteral("header"));
  header_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  header_->setLineWrapMode(QPlainTextEdit::NoWrap);
  units.Place(header_, 8, 116, 215, 100);

  // Enter never presses a button here (see keyPressEvent), so neither
  // button is an automatic default; "적용 및 닫기" is drawn as the default.
  auto* apply = new QPushButton(FromCp949(kApply), this);
  units.Place(apply, 47, 223, 51, 17);
  apply->setAutoDefault(false);
  auto* cancel = new QPushButton(FromCp949(kCancel), this);
  units.Place(cancel, 139, 223, 50, 17);
  cancel->setAutoDefault(false);
  units.Finish(this, 232, 247);
  connect(apply, &QPushButton::clicked, this, &SettingsDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  const SettingsForm form = SettingsForm::FromSettings(settings_);
  for (SettingsField field : kSettingsFieldOrder)
    this->field(field)->setText(FromCp949(form.field(field)));
  check_br_->setChecked(form.check_br);
  insert_nl_->setChecked(form.insert_nl);
  ting_->setChecked(form.ting);
  header_->setPlainText(FromCp949(form.header));
  header_->document()->setModified(false);
  shown_header_ = form.header;
}

QLineEdit* SettingsDialog::field(SettingsField which) const {
  return fields_[static_cast<int>(which)];
}

SettingsForm SettingsDialog::ReadForm() const {
  SettingsForm form;
  for (SettingsField which : kSettingsFieldOrder)
    form.field(which) = ToCp949Lossy(field(which)->text());
  form.check_br = check_br_->isChecked();
  form.insert_nl = insert_nl_->isChecked();
  form.ting = ting_->isChecked();
  // An untouched header keeps the template's bytes, whatever the edit made of
  // its line ends.
  form.header = header_->document()->isModified() ? ToCp949Lossy(header_->toPlainText())
                                                  : shown_header_;
  return form;
}

void SettingsDialog::accept() {
  if (const auto refusal = ApplySettingsForm(ReadForm(), settings_, settings_path_)) {
    QMessageBox::warning(this, FromCp949(kProgramName), FromCp949(refusal->message));
    QLineEdit* bad = field(refusal->field);
    bad->setFocus();
    bad->selectAll();
    return;
  }
  QDialog::accept();
}

void SettingsDialog::keyPressEvent(QKeyEvent* event) {
  // Enter and Esc do nothing here, except Esc in the header edit, which
  // cancels (Enter there makes a new line before it reaches the dialog).
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    case Qt::Key_Escape:
      if (focusWidget() == header_) reject();
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

}  // namespace cadenzio
