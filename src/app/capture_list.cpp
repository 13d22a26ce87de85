// The sync capture list's rows, presets and derived differences.
#include "app/capture_list.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

#include "settings/file_services.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace cadenzio {
namespace {

constexpr std::size_t kPresetLimit = 1023;  // bytes of a preset value read

bool ValidRow(int row) { return row >= 0 && row < CaptureList::kRows; }

const std::string& NoText() {
  static const std::string empty;
  return empty;
}

}  // namespace

int32_t CaptureValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Saturates like strtol, so a typed run of digits never overflows.
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(value * 10 + (text[i] - '0'), kLimit);
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

CaptureList::CaptureList() {
  for (int row = 0; row < kRows; ++row) {
    Row& r = rows_[static_cast<std::size_t>(row)];
    r.value = std::string(kInitialValue);
    r.label = "CTRL+" + std::to_string((row + 1) % 10);
  }
}

void CaptureList::LoadPresets(const std::string& settings_path) {
  if (!FileExists(settings_path)) return;
  std::string bytes;
  if (!ReadWholeFile(settings_path, bytes)) return;
  const ini::IniText ini(std::move(bytes));
  static constexpr std::pair<std::string_view, int> kPresets[] = {
      {"CTRL_8", 7}, {"CTRL_9", 8}, {"CTRL_0", 9}};
  for (const auto& [key, row] : kPresets) {
    std::string value = ini.GetString(kSettingsSection, key, "0");
    if (value.size() > kPresetLimit) value.resize(kPresetLimit);
    if (value != "0") SetRowText(row, std::move(value));
  }
}

void CaptureList::SetCaptureRow(int row, int32_t value) {
  if (!ValidRow(row)) return;
  SetRowText(row, std::to_string(value));
  UpdateDerivedRows(row);
}

const std::string& CaptureList::CaptureRowText(int row) const {
  return ValidRow(row) ? rows_[static_cast<std::size_t>(row)].value : NoText();
}

const std::string& CaptureList::RowLabel(int row) const {
  return ValidRow(row) ? rows_[static_cast<std::size_t>(row)].label : NoText();
}

void CaptureList::SetRowText(int row, std::string text) {
  if (ValidRow(row)) rows_[static_cast<std::size_t>(row)].value = std::move(text);
}

void CaptureList::EndLabelEdit(int row, std::optional<std::string> text) {
  if (!text || !ValidRow(row)) return;
  SetRowText(row, std::move(*text));
  UpdateDerivedRows(row);
}

void CaptureList::UpdateDerivedRows(int row) {
  // The difference of two 32-bit values needs 33 bits; it is shown whole.
  auto difference = [&](int later, int earlier, int target) {
    const int64_t d =
        int64_t{CaptureValue(CaptureRowText(later))} - CaptureValue(CaptureRowText(earlier));
    SetRowText(target, std::to_string(d));
  };
  if (row == 0 || row == 1) difference(1, 0, 4);
  if (row == 2 || row == 3) difference(3, 2, 5);
}

int CaptureList::RowForDigit(int key) {
  if (key < '0' || key > '9') return -1;
  return key == '0' ? 9 : key - '1';
}

}  // namespace cadenzio
