#include "app/memory_main_window_view.h"

namespace cadenzio {

void MemoryMainWindowView::ClearClassCombo() {
  combo_items_.clear();
  combo_selection_ = -1;
  combo_text_.clear();
}

void MemoryMainWindowView::InsertClassAtTop(const std::string& name) {
  combo_items_.insert(combo_items_.begin(), name);
  if (combo_selection_ >= 0) ++combo_selection_;
}

// Selecting an item shows its text in the edit field, as a drop-down combo does.
void MemoryMainWindowView::SetClassComboSelection(int index) {
  if (index < 0 || index >= ClassComboCount()) {
    combo_selection_ = -1;
    return;
  }
  combo_selection_ = index;
  combo_text_ = combo_items_[static_cast<std::size_t>(index)];
}

std::string MemoryMainWindowView::ClassComboItem(int index) const {
  if (index < 0 || index >= ClassComboCount()) return {};
  return combo_items_[static_cast<std::size_t>(index)];
}

void MemoryMainWindowView::ShowCaptureRow(int row, const std::string& value,
                                          const std::string& label) {
  if (row < 0 || row >= static_cast<int>(capture_.size())) return;
  capture_[static_cast<std::size_t>(row)] = {value, label};
}

void MemoryMainWindowView::ShowTextView(const std::string& heading, const std::string& body) {
  opened_.push_back("text view " + heading);
  text_view_body_ = body;
}

std::optional<TitleAndRate> MemoryMainWindowView::AskTitleAndRate(bool want_rate) {
  opened_.push_back("title and rate");
  title_requests_.push_back(want_rate);
  if (title_answers_.empty()) return std::nullopt;
  std::optional<TitleAndRate> answer = std::move(title_answers_.front());
  title_answers_.pop_front();
  return answer;
}

std::optional<std::string> MemoryMainWindowView::ChooseFontFace(const std::string&) {
  opened_.push_back("font");
  if (font_answers_.empty()) return std::nullopt;
  std::optional<std::string> face = std::move(font_answers_.front());
  font_answers_.pop_front();
  return face;
}

}  // namespace cadenzio
