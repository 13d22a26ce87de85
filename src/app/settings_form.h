// The settings dialog's content as text, and its Apply: the fields are read
// into the members in the dialog's order, the first bad one keeps the dialog
// open, and a complete form is saved at once.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace cadenzio {

inline constexpr int kSettingsFieldCount = 5;
// The numeric fields in the order Apply reads them (MIN, MAX, DELAY,
// ADD_DEL, DELCLEAR); SettingsField's values index this order.
inline constexpr std::array<SettingsField, kSettingsFieldCount> kSettingsFieldOrder = {
    SettingsField::kMinInterval, SettingsField::kMaxInterval, SettingsField::kDelay,
    SettingsField::kAddDel, SettingsField::kDelClear};

struct SettingsForm {
  // The edit boxes' texts, indexed by static_cast<int>(SettingsField).
  std::array<std::string, kSettingsFieldCount> fields;
  bool check_br = false;
  bool insert_nl = false;
  bool ting = false;
  // The header edit's text with "\n" line ends, as a plain-text editor holds
  // it (CP949).
  std::string header;

  std::string& field(SettingsField which) { return fields[static_cast<int>(which)]; }
  const std::string& field(SettingsField which) const { return fields[static_cast<int>(which)]; }

  // What the dialog shows for the live settings: the numbers as decimal
  // text, the header with its CR LF line ends turned into "\n".
  static SettingsForm FromSettings(const Settings& settings);
};

// The header template that an edited header text stands for. The header edit
// breaks lines at "\n" only; an unchanged text keeps the template's bytes
// exactly (whatever its line ends), a changed one has every line end written
// as CR LF, the form an Enter in the edit makes.
std::string HeaderFromForm(std::string_view edited, const std::string& original);

// "적용 및 닫기": reads the fields in the dialog's order into a copy of the
// settings. The first refusal is returned (the dialog shows its message with
// the program's name as caption, focuses the field and stays open) and the
// live settings stay as they were. Otherwise the copy becomes the live
// settings and is saved to settings_path with the header file beside it;
// write failures are not reported, the members keep the new values.
std::optional<SettingsRefusal> ApplySettingsForm(const SettingsForm& form, Settings& settings,
                                                 const std::string& settings_path);

}  // namespace cadenzio
