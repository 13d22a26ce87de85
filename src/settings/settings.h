// The user's eight numeric settings and the header template, kept in
// "Cadenzio.ini" (section "Cadenzio") and "Cadenzio.hdr" in the program
// folder. One live object for the whole run; readers use the members.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sami/sami_document.h"

namespace cadenzio {

struct Settings {
  uint32_t min_interval = 800;  // MIN: shortest caption the sync check accepts (ms)
  uint32_t max_interval = 8000; // MAX: longest caption the sync check accepts (ms)
  std::string header_template;  // "Cadenzio.hdr", or the built-in header
  int32_t delay = -500;         // DELAY: input correction added to stamped times (ms)
  bool check_br = false;        // CHECKBR: analyse with line-break repair
  int32_t add_del = 200;        // ADD_DEL: step of the sync nudge keys (ms)
  bool ting = true;             // TING: beep on stamping
  int32_t del_clear = 0;        // DELCLEAR: largest gap for which a clear is removed (ms)
  bool insert_nl = true;        // INSERTNL: line-break form on save

  // The analysis mode that saving and most tools use.
  int AnalysisMode() const { return check_br ? kAnalyseFixBreaks : kAnalysePlain; }

  // The defaults: one set when the INI file exists (keys missing from it),
  // another when there is no INI file at all.
  static Settings Defaults(bool ini_exists);
  // Reads the INI file and the header file beside it; missing values take
  // the defaults. Values are taken as read, without the dialog's ranges.
  // Nothing is written: a settings file appears only with the first Save.
  static Settings Load(const std::string& ini_path);
  // Writes the eight keys (other keys and sections of the file stay) and the
  // header file, creating the folder when missing. False when a write failed;
  // the members stay as they are either way.
  bool Save(const std::string& ini_path) const;
};

// The INI section of every setting, the function-key remaps and the presets.
inline constexpr std::string_view kSettingsSection = "Cadenzio";

// "Cadenzio.hdr" in the folder of the settings file.
std::string HeaderFilePath(const std::string& ini_path);

// The numeric fields of the settings dialog, in the order Apply copies them.
enum class SettingsField { kMinInterval, kMaxInterval, kDelay, kAddDel, kDelClear };

// Why Apply keeps the dialog open: the field to focus and the message (CP949).
struct SettingsRefusal {
  SettingsField field;
  std::string message;
};

// Reads one edit box's text into its member the way the dialog does: blanks
// around an optional sign and decimal digits, nothing else ("" and "12a" are
// not numbers; the unsigned MIN and MAX take no '-'), then the field's range.
// On a refusal the member is left as it was.
std::optional<SettingsRefusal> ReadSettingsField(SettingsField field, std::string_view text,
                                                 Settings& settings);

// A number field of a dialog: blanks, an optional sign (no '-' when
// is_unsigned), at least one digit, blanks: the whole text or nothing. Digits
// past 10^12 stop counting, so a huge number stays out of every range instead
// of wrapping.
std::optional<int64_t> ParseDialogNumber(std::string_view text, bool is_unsigned);

// The first member, in Apply's order, that lies outside the dialog's range.
std::optional<SettingsRefusal> ValidateSettings(const Settings& settings);

// Where the settings, the header template and the log live: the folder of the
// executable when a "Cadenzio.ini" stands there already (portable use), else
// $XDG_CONFIG_HOME/cadenzio (~/.config/cadenzio). Ends in '/'.
std::string ProgramFolder();
std::string SettingsFilePath();  // ProgramFolder() + "Cadenzio.ini"
std::string LogFilePath();       // ProgramFolder() + "Cadenzio.log"

// The built-in header template (CP949, CR LF line ends).
const std::string& BuiltInHeader();

}  // namespace cadenzio
