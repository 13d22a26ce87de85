// The main window's controls for tests: keeps what the logic shows, answers
// the windows it opens from a script, and records every call to them.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window_view.h"

namespace cadenzio {

class MemoryMainWindowView : public MainWindowView {
 public:
  void SetTitle(const std::string& title) override { title_ = title; }
  void SetStatusText(const std::string& text) override { status_ = text; }
  void SetEncodingText(const std::string& text) override { encoding_text_ = text; }
  void SetPreviewRtf(const std::string& rtf) override {
    preview_ = rtf;
    ++preview_loads_;
  }

  void ClearClassCombo() override;
  void InsertClassAtTop(const std::string& name) override;
  int ClassComboCount() const override { return static_cast<int>(combo_items_.size()); }
  int ClassComboSelection() const override { return combo_selection_; }
  void SetClassComboSelection(int index) override;
  std::string ClassComboItem(int index) const override;
  std::string ClassComboText() const override { return combo_text_; }
  void EnableClassCombo(bool enabled) override { combo_enabled_ = enabled; }

  bool CaptionOnChecked() const override { return caption_on_; }
  void SetCaptionOnChecked(bool checked) override { caption_on_ = checked; }

  void ShowCaptureRow(int row, const std::string& value, const std::string& label) override;

  void StartRefreshTimer() override { timer_running_ = true; }
  void StopRefreshTimer() override { timer_running_ = false; }
  void FreezePainting(bool frozen) override { frozen_ = frozen; }
  void EndDialog() override { ended_ = true; }

  void ShowTextView(const std::string& heading, const std::string& body) override;
  void ShowTimeConverter() override { opened_.push_back("time converter"); }
  std::optional<TitleAndRate> AskTitleAndRate(bool want_rate) override;
  void ShowReport(const std::string& report) override { reports_.push_back(report); }
  void EditSettings(Settings&) override { opened_.push_back("settings"); }
  void ShowFindReplace(bool replace) override {
    opened_.push_back(replace ? "replace" : "find");
  }
  std::optional<std::string> ChooseFontFace(const std::string& current_face) override;
  void OpenSyncUtility(const std::string& caption_path) override {
    opened_.push_back("sync utility " + caption_path);
  }
  void ShowEditorPopupMenu(int x, int y) override {
    opened_.push_back("popup " + std::to_string(x) + "," + std::to_string(y));
  }

  // Test controls.
  void set_combo_text(std::string text) { combo_text_ = std::move(text); }
  void QueueTitleAndRate(std::optional<TitleAndRate> answer) {
    title_answers_.push_back(std::move(answer));
  }
  void QueueFontFace(std::optional<std::string> face) { font_answers_.push_back(std::move(face)); }

  const std::string& title() const { return title_; }
  const std::string& status() const { return status_; }
  const std::string& encoding_text() const { return encoding_text_; }
  const std::string& preview() const { return preview_; }
  int preview_loads() const { return preview_loads_; }
  const std::vector<std::string>& combo_items() const { return combo_items_; }
  bool combo_enabled() const { return combo_enabled_; }
  const std::string& capture_value(int row) const { return capture_[static_cast<std::size_t>(row)].value; }
  const std::string& capture_label(int row) const { return capture_[static_cast<std::size_t>(row)].label; }
  bool timer_running() const { return timer_running_; }
  bool frozen() const { return frozen_; }
  bool ended() const { return ended_; }
  const std::vector<std::string>& reports() const { return reports_; }
  // "text view HEADING", "time converter", "title and rate", "settings",
  // "find", "replace", "font", "sync utility PATH", "popup X,Y", in order.
  const std::vector<std::string>& opened() const { return opened_; }
  const std::string& text_view_body() const { return text_view_body_; }
  const std::vector<bool>& title_requests() const { return title_requests_; }

 private:
  struct CaptureRow {
    std::string value, label;
  };
  std::string title_, status_, preview_, encoding_text_;
  int preview_loads_ = 0;
  std::vector<std::string> combo_items_;
  int combo_selection_ = -1;
  std::string combo_text_;
  bool combo_enabled_ = true;
  bool caption_on_ = false;
  std::array<CaptureRow, 10> capture_;
  bool timer_running_ = false;
  bool frozen_ = false;
  bool ended_ = false;
  std::vector<std::string> reports_;
  std::vector<std::string> opened_;
  std::string text_view_body_;
  std::vector<bool> title_requests_;
  std::deque<std::optional<TitleAndRate>> title_answers_;
  std::deque<std::optional<std::string>> font_answers_;
};

}  // namespace cadenzio
