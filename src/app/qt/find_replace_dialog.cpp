#include "app/qt/find_replace_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/cadenzio_dlg.h"
#include "app/qt/small_dialogs.h"
#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

// The texts of the system's Korean find dialogs, CP949.
constexpr std::string_view kFindTitle = "\xC3\xA3\xB1\xE2";               // "찾기"
constexpr std::string_view kReplaceTitle = "\xB9\xD9\xB2\xD9\xB1\xE2";    // "바꾸기"
constexpr std::string_view kFindLabel = "\xC3\xA3\xC0\xBB \xB3\xBB\xBF\xEB(&N):";     // "찾을 내용(&N):"
constexpr std::string_view kReplaceLabel = "\xB9\xD9\xB2\xDC \xB3\xBB\xBF\xEB(&P):";  // "바꿀 내용(&P):"
constexpr std::string_view kWholeWord = "\xB4\xDC\xBE\xEE \xB4\xDC\xC0\xA7\xB7\xCE(&W)";  // "단어 단위로(&W)"
constexpr std::string_view kMatchCase =
    "\xB4\xEB/\xBC\xD2\xB9\xAE\xC0\xDA \xB1\xB8\xBA\xD0(&C)";  // "대/소문자 구분(&C)"
constexpr std::string_view kDirection = "\xB9\xE6\xC7\xE2";          // "방향"
constexpr std::string_view kUp = "\xC0\xA7\xC2\xCA(&U)";              // "위쪽(&U)"
constexpr std::string_view kDown = "\xBE\xC6\xB7\xA1\xC2\xCA(&D)";    // "아래쪽(&D)"
constexpr std::string_view kFindNext = "\xB4\xD9\xC0\xBD \xC3\xA3\xB1\xE2(&F)";        // "다음 찾기(&F)"
constexpr std::string_view kReplaceButton = "\xB9\xD9\xB2\xD9\xB1\xE2(&R)";             // "바꾸기(&R)"
constexpr std::string_view kReplaceAll = "\xB8\xF0\xB5\xCE \xB9\xD9\xB2\xD9\xB1\xE2(&A)";  // "모두 바꾸기(&A)"
constexpr std::string_view kCancel = "\xC3\xEB\xBC\xD2";               // "취소"

}  // namespace

FindReplaceDialog::FindReplaceDialog(QWidget* parent, bool replace,
                                     std::function<void(const FindReplaceRequest&)> on_request)
    : QDialog(parent), on_request_(std::move(on_request)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setModal(false);
  setFont(SmallDialogFont());
  setWindowTitle(FromCp949(replace ? kReplaceTitle : kFindTitle));

  auto* fields = new QGridLayout;
  find_ = new QLineEdit(this);
  find_->setObjectName(QStringLiteral("find"));
  auto* find_label = new QLabel(FromCp949(kFindLabel), this);
  find_label->setBuddy(find_);
  fields->addWidget(find_label, 0, 0);
  fields->addWidget(find_, 0, 1);
  if (replace) {
    replace_ = new QLineEdit(this);
    replace_->setObjectName(QStringLiteral("replace"));
    auto* replace_label = new QLabel(FromCp949(kReplaceLabel), this);
    replace_label->setBuddy(replace_);
    fields->addWidget(replace_label, 1, 0);
    fields->addWidget(replace_, 1, 1);
  }

  whole_word_ = new QCheckBox(FromCp949(kWholeWord), this);
  match_case_ = new QCheckBox(FromCp949(kMatchCase), this);
  auto* options = new QVBoxLayout;
  options->addWidget(whole_word_);
  options->addWidget(match_case_);
  options->addStretch();

  // Searches start downwards; the replace dialog has no direction to change.
  auto* direction = new QGroupBox(FromCp949(kDirection), this);
  up_ = new QRadioButton(FromCp949(kUp), direction);
  down_ = new QRadioButton(FromCp949(kDown), direction);
  down_->setChecked(true);
  auto* direction_layout = new QHBoxLayout(direction);
  direction_layout->addWidget(up_);
  direction_layout->addWidget(down_);
  direction->setVisible(!replace);

  auto* lower = new QHBoxLayout;
  lower->addLayout(options);
  lower->addWidget(direction);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addLayout(lower);
  left->addStretch();

  auto* buttons = new QVBoxLayout;
  find_next_ = new QPushButton(FromCp949(kFindNext), this);
  find_next_->setDefault(true);
  buttons->addWidget(find_next_);
  connect(find_next_, &QPushButton::clicked, this, [this] { Report(Action::kFindNext); });
  if (replace) {
    replace_button_ = new QPushButton(FromCp949(kReplaceButton), this);
    replace_all_ = new QPushButton(FromCp949(kReplaceAll), this);
    replace_button_->setAutoDefault(false);
    replace_all_->setAutoDefault(false);
    buttons->addWidget(replace_button_);
    buttons->addWidget(replace_all_);
    connect(replace_button_, &QPushButton::clicked, this, [this] { Report(Action::kReplace); });
    connect(replace_all_, &QPushButton::clicked, this, [this] { Report(Action::kReplaceAll); });
  }
  auto* cancel = new QPushButton(FromCp949(kCancel), this);
  cancel->setAutoDefault(false);
  buttons->addWidget(cancel);
  buttons->addStretch();
  connect(cancel, &QPushButton::clicked, this, &FindReplaceDialog::reject);

  auto* top = new QHBoxLayout(this);
  top->addLayout(left, 1);
  top->addLayout(buttons);

  connect(find_, &QLineEdit::textChanged, this, &FindReplaceDialog::UpdateButtons);
  UpdateButtons();
  find_->setFocus();
}

void FindReplaceDialog::UpdateButtons() {
  // Nothing to search for: the search buttons wait for a find text.
  const bool has_text = !find_->text().isEmpty();
  find_next_->setEnabled(has_text);
  if (replace_button_) replace_button_->setEnabled(has_text);
  if (replace_all_) replace_all_->setEnabled(has_text);
}

void FindReplaceDialog::Report(Action action) {
  FindReplaceRequest request;
  switch (action) {
    case Action::kFindNext: request.flags = kFrFindNext; break;
    case Action::kReplace: request.flags = kFrReplace; break;
    case Action::kReplaceAll: request.flags = kFrReplaceAll; break;
    case Action::kTerminate: request.flags = kFrDialogTerm; break;
  }
  if (down_->isChecked()) request.flags |= kFrDown;
  if (whole_word_->isChecked()) request.flags |= kFrWholeWord;
  if (match_case_->isChecked()) request.flags |= kFrMatchCase;
  request.find_text = find_->text().toStdString();
  if (replace_) request.replace_text = replace_->text().toStdString();
  if (on_request_) on_request_(request);
}

void FindReplaceDialog::reject() {
  if (!terminated_) {
    terminated_ = true;
    Report(Action::kTerminate);
  }
  QDialog::reject();
}

}  // namespace cadenzio
