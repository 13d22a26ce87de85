// The settings: defaults, loading from and saving to "Cadenzio.ini" and
// "Cadenzio.hdr", the program folder, and the settings dialog's ranges.
#include "settings/settings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "settings/file_services.h"
#include "settings/ini_file.h"

namespace cadenzio {

Settings Settings::Defaults(bool ini_exists) {
  Settings s;
  s.min_interval = ini_exists ? 500 : 800;
  s.max_interval = 8000;
  s.header_template = BuiltInHeader();
  s.delay = -500;
  s.check_br = false;
  s.add_del = 200;
  s.ting = true;
  s.del_clear = 0;
  s.insert_nl = !ini_exists;
  return s;
}

std::string HeaderFilePath(const std::string& ini_path) {
  // Beside the settings file whatever that file is called (a settings file
  // named on the command line too), never the settings file itself.
  return FolderOf(ini_path) + "Cadenzio.hdr";
}

Settings Settings::Load(const std::string& ini_path) {
  const bool ini_exists = FileExists(ini_path);
  Settings s = Defaults(ini_exists);
  if (ini_exists) {
    std::string text;
    ReadWholeFile(ini_path, text);
    const ini::IniText ini(std::move(text));
    const auto get = [&](std::string_view key, int32_t fallback) {
      return ini.GetInt(kSettingsSection, key, fallback);
    };
    // Read as the Windows function does: "-1" for MIN is 4294967295, "2" for
    // a switch is on. The dialog's ranges apply only to what the user types.
    s.min_interval = static_cast<uint32_t>(get("MIN", static_cast<int32_t>(s.min_interval)));
    s.max_interval = static_cast<uint32_t>(get("MAX", static_cast<int32_t>(s.max_interval)));
    s.delay = get("DELAY", s.delay);
    s.check_br = get("CHECKBR", s.check_br) != 0;
    s.add_del = get("ADD_DEL", s.add_del);
    s.ting = get("TING", s.ting) != 0;
    s.del_clear = get("DELCLEAR", s.del_clear);
    s.insert_nl = get("INSERTNL", s.insert_nl) != 0;
  }
  const std::string header_path = HeaderFilePath(ini_path);
  if (FileExists(header_path)) {
    // An empty file is an empty template. The template is text for an edit
    // box and the caption editor, so it ends at a NUL byte as text does there.
    std::string header;
    ReadWholeFile(header_path, header);
    if (const std::size_t nul = header.find('\0'); nul != std::string::npos) header.resize(nul);
    s.header_template = std::move(header);
  }
  return s;
}

bool Settings::Save(const std::string& ini_path) const {
  const std::string folder = FolderOf(ini_path);
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);

  // "%d" even for the unsigned MIN and MAX, so a value read from the file
  // is written back as it was read.
  const auto number = [](auto value) { return std::to_string(static_cast<int32_t>(value)); };
  const bool ini_saved = ini::WriteStrings(ini_path, kSettingsSection,
                                           {{"MIN", number(min_interval)},
                                            {"MAX", number(max_interval)},
                                            {"DELAY", number(delay)},
                                            {"ADD_DEL", number(add_del)},
                                            {"CHECKBR", number(check_br ? 1 : 0)},
                                            {"TING", number(ting ? 1 : 0)},
                                            {"DELCLEAR", number(del_clear)},
                                            {"INSERTNL", number(insert_nl ? 1 : 0)}});

  // A template equal to the built-in one creates no header file: Load gives
  // the built-in one anyway, and a later program's built-in header reaches a
  // user who never changed it. An existing file is always replaced, so the
  // next Load reads what was saved; an empty template makes an empty file.
  const std::string header_path = HeaderFilePath(ini_path);
  bool header_saved = true;
  if (header_template != BuiltInHeader() || FileExists(header_path))
    header_saved = WriteWholeFileAtomic(header_path, header_template);
  return ini_saved && header_saved;
}

namespace {

// The dialog's ranges; DELCLEAR takes 0 although its label says 1-999.
constexpr int64_t kIntervalMax = 99999999;
constexpr int64_t kDelayLimit = 5000;
constexpr int64_t kAddDelMax = 10000;
constexpr int64_t kDelClearMax = 999;
// Digits past this only make the number more out of range; stop counting.
constexpr int64_t kParseCeiling = 1'000'000'000'000;

struct FieldRule {
  SettingsField field;
  int64_t min, max;
  bool is_unsigned;
};

constexpr FieldRule kFieldRules[] = {
    {SettingsField::kMinInterval, 0, kIntervalMax, true},
    {SettingsField::kMaxInterval, 0, kIntervalMax, true},
    {SettingsField::kDelay, -kDelayLimit, kDelayLimit, false},
    {SettingsField::kAddDel, 0, kAddDelMax, false},
    {SettingsField::kDelClear, 0, kDelClearMax, false},
};

// "정수를 입력하십시오."
constexpr std::string_view kEnterInteger =
    "\xC1\xA4\xBC\xF6\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0.";
// "양의 " (positive), before kEnterInteger for MIN and MAX.
constexpr std::string_view kPositive = "\xBE\xE7\xC0\xC7 ";
// "%d에서 %d 사이의 " (between), before kEnterInteger.
constexpr std::string_view kFrom = "\xBF\xA1\xBC\xAD ";
constexpr std::string_view kBetween = " \xBB\xE7\xC0\xCC\xC0\xC7 ";

const FieldRule& RuleOf(SettingsField field) {
  for (const FieldRule& rule : kFieldRules)
    if (rule.field == field) return rule;
  return kFieldRules[0];  // unreachable: every field has a rule
}

int64_t MemberValue(SettingsField field, const Settings& s) {
  switch (field) {
    case SettingsField::kMinInterval: return s.min_interval;
    case SettingsField::kMaxInterval: return s.max_interval;
    case SettingsField::kDelay: return s.delay;
    case SettingsField::kAddDel: return s.add_del;
    case SettingsField::kDelClear: return s.del_clear;
  }
  return 0;
}

// Only called with a value inside the field's range, which fits the member.
void SetMember(SettingsField field, int64_t value, Settings& s) {
  switch (field) {
    case SettingsField::kMinInterval: s.min_interval = static_cast<uint32_t>(value); break;
    case SettingsField::kMaxInterval: s.max_interval = static_cast<uint32_t>(value); break;
    case SettingsField::kDelay: s.delay = static_cast<int32_t>(value); break;
    case SettingsField::kAddDel: s.add_del = static_cast<int32_t>(value); break;
    case SettingsField::kDelClear: s.del_clear = static_cast<int32_t>(value); break;
  }
}

std::optional<SettingsRefusal> CheckRange(const FieldRule& rule, int64_t value) {
  if (value >= rule.min && value <= rule.max) return std::nullopt;
  std::string message = std::to_string(rule.min);
  message.append(kFrom).append(std::to_string(rule.max)).append(kBetween).append(kEnterInteger);
  return SettingsRefusal{rule.field, std::move(message)};
}

}  // namespace

std::optional<int64_t> ParseDialogNumber(std::string_view text, bool is_unsigned) {
  constexpr std::string_view kBlanks = " \t";
  std::size_t i = text.find_first_not_of(kBlanks);
  if (i == std::string_view::npos) return std::nullopt;
  bool negative = false;
  if (text[i] == '+' || (text[i] == '-' && !is_unsigned)) negative = text[i++] == '-';
  const std::size_t digits = i;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < kParseCeiling) value = value * 10 + (text[i] - '0');
  if (i == digits || text.find_first_not_of(kBlanks, i) != std::string_view::npos)
    return std::nullopt;
  return negative ? -value : value;
}

std::optional<SettingsRefusal> ReadSettingsField(SettingsField field, std::string_view text,
                                                 Settings& settings) {
  const FieldRule& rule = RuleOf(field);
  const std::optional<int64_t> value = ParseDialogNumber(text, rule.is_unsigned);
  if (!value) {
    std::string message(rule.is_unsigned ? kPositive : std::string_view());
    message.append(kEnterInteger);
    return SettingsRefusal{field, std::move(message)};
  }
  if (auto refusal = CheckRange(rule, *value)) return refusal;
  SetMember(field, *value, settings);
  return std::nullopt;
}

std::optional<SettingsRefusal> ValidateSettings(const Settings& settings) {
  for (const FieldRule& rule : kFieldRules)
    if (auto refusal = CheckRange(rule, MemberValue(rule.field, settings))) return refusal;
  return std::nullopt;
}

std::string ProgramFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const std::string folder = exe.parent_path().string() + "/";
    if (FileExists(folder + "Cadenzio.ini")) return folder;
  }
  // A relative XDG_CONFIG_HOME is invalid by the XDG rules and is ignored.
  std::string base(1, '.');  // not = ".": GCC 12 warns falsely (-Wrestrict) on that
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') base = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) base = std::string(home) + "/.config";
  return base + "/cadenzio/";
}

std::string SettingsFilePath() { return ProgramFolder() + "Cadenzio.ini"; }
std::string LogFilePath() { return ProgramFolder() + "Cadenzio.log"; }

const std::string& BuiltInHeader() {
  // Korean lines 3, 19 and 20: "<Title>제목을 적어 주세요.</Title>",
  // "자막 제작 : " and "제작 날짜 : ".
  static const std::string kHeader =
      "<SAMI>\r\n"
      "<HEAD>\r\n"
      "<Title>\xC1\xA6\xB8\xF1\xC0\xBB \xC0\xFB\xBE\xEE \xC1\xD6\xBC\xBC\xBF\xE4.</Title>\r\n"
      "<Style TYPE=\"text/css\">\r\n"
      "<!--\r\n"
      "P {margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;\r\n"
      "   text-align:center; font-size:22pt; font-family: Arial, Sans-serif;\r\n"
      "   font-weight:bold; color:white;}\r\n"
      ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC;}\r\n"
      "#STDPrn {Name:Standard Print;}\r\n"
      "#VLargePrn {Name:34pt (VLarge Print); font-size:34pt;}\r\n"
      "#LargePrn {Name:28pt (Large Print); font-size:28pt;}\r\n"
      "#MediumPrn {Name:24pt (Medium Print); font-size:24pt;}\r\n"
      "#BSmallPrn {Name:18pt (BSmall Print); font-size:18pt;}\r\n"
      "#SmallPrn {Name:12pt (Small Print); font-size:12pt;}\r\n"
      "-->\r\n"
      "</Style>\r\n"
      "<!--\r\n"
      "\xC0\xDA\xB8\xB7 \xC1\xA6\xC0\xDB : \r\n"
      "\xC1\xA6\xC0\xDB \xB3\xAF\xC2\xA5 : \r\n"
      "-->\r\n"
      "</HEAD>\r\n"
      "<BODY>\r\n"
      "\r\n";
  return kHeader;
}

}  // namespace cadenzio
