// INI reading and in-place value rewriting in the manner of the private-profile
// functions: only the line of the key written changes.
#include "settings/ini_file.h"

#include <filesystem>
#include <system_error>

#include "settings/file_services.h"

namespace cadenzio::ini {
namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kNewLine = "\r\n";  // what every added line ends in

// One line of the text: [begin, end) is its content, [end, next) its line end.
struct Line {
  std::size_t begin = 0, end = 0, next = 0;
  bool HasLineEnd() const { return next > end; }
};

bool NextLine(std::string_view text, std::size_t pos, Line& line) {
  if (pos >= text.size()) return false;
  line.begin = pos;
  line.end = text.find_first_of("\r\n", pos);
  if (line.end == std::string_view::npos) line.end = line.next = text.size();
  else if (text[line.end] == '\r' && line.end + 1 < text.size() && text[line.end + 1] == '\n')
    line.next = line.end + 2;
  else line.next = line.end + 1;
  return true;
}

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// What one line is, with offsets into the text for the parts a writer needs.
struct Parsed {
  enum Kind { kBlank, kSection, kComment, kKey, kOther } kind = kBlank;
  std::string_view name;      // section or key name, trimmed
  std::size_t name_end = 0;   // key: offset just past the name's last byte
  std::size_t value_pos = 0;  // key: offset just past '='
};

Parsed ParseLine(std::string_view text, const Line& line) {
  const std::string_view content = text.substr(line.begin, line.end - line.begin);
  const std::string_view trimmed = Trim(content);
  Parsed p;
  if (trimmed.empty()) return p;
  if (trimmed.front() == '[') {
    const std::string_view inner = trimmed.substr(1);
    p.kind = Parsed::kSection;
    p.name = Trim(inner.substr(0, inner.find(']')));
    return p;
  }
  if (trimmed.front() == ';') {
    p.kind = Parsed::kComment;
    return p;
  }
  const std::size_t eq = content.find('=');
  if (eq == std::string_view::npos) {
    p.kind = Parsed::kOther;
    return p;
  }
  p.kind = Parsed::kKey;
  p.name = Trim(content.substr(0, eq));
  const std::size_t lead = content.find_first_not_of(kBlanks);
  p.name_end = line.begin + (p.name.empty() ? lead : lead + p.name.size());
  p.value_pos = line.begin + eq + 1;
  return p;
}

// Where a section and a key of it lie in the text.
struct Location {
  bool section_found = false;
  Line header;                  // the section's header line
  Line last_filled;             // last non-blank line of the section (or its header)
  std::optional<Line> key_line;
  Parsed key;
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  Location loc;
  bool inside = false;
  Line line;
  for (std::size_t pos = 0; NextLine(text, pos, line); pos = line.next) {
    const Parsed p = ParseLine(text, line);
    if (p.kind == Parsed::kSection) {
      if (inside) break;  // the first section of that name ends here
      if (SameName(p.name, section)) {
        inside = loc.section_found = true;
        loc.header = loc.last_filled = line;
      }
      continue;
    }
    if (!inside || p.kind == Parsed::kBlank) continue;
    loc.last_filled = line;
    if (p.kind == Parsed::kKey && !loc.key_line && SameName(p.name, key)) {
      loc.key_line = line;
      loc.key = p;
    }
  }
  return loc;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

int32_t ParseInt(std::string_view value) {
  std::size_t i = value.find_first_not_of(kBlanks);
  if (i == std::string_view::npos) return 0;
  bool negative = false;
  if (value[i] == '+' || value[i] == '-') negative = value[i++] == '-';
  uint32_t total = 0;  // unsigned: wraps modulo 2^32 without UB
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    total = total * 10u + static_cast<uint32_t>(value[i] - '0');
  if (negative) total = 0u - total;
  return static_cast<int32_t>(total);
}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
  const Location loc = Locate(text_, section, key);
  if (!loc.key_line) return std::nullopt;
  std::string_view value = Trim(std::string_view(text_).substr(
      loc.key.value_pos, loc.key_line->end - loc.key.value_pos));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string IniText::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  std::optional<std::string> value = Find(section, key);
  return value ? std::move(*value) : std::string(fallback);
}

// An empty value counts as missing, as with the Windows function, which
// cannot tell the two apart.
int32_t IniText::GetInt(std::string_view section, std::string_view key, int32_t fallback) const {
  const std::optional<std::string> value = Find(section, key);
  return value && !value->empty() ? ParseInt(*value) : fallback;
}

bool IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view section_name = Trim(section), key_name = Trim(key);
  if (section_name.empty() || key_name.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      HasLineBreak(value) || section.find(']') != std::string_view::npos ||
      key.find('=') != std::string_view::npos)
    return false;

  const Location loc = Locate(text_, section_name, key_name);
  if (loc.key_line) {
    // "KEY = old" becomes "KEY=new": the key as written, the line end kept.
    std::string line(text_, loc.key_line->begin, loc.key.name_end - loc.key_line->begin);
    line.append("=").append(value);
    text_.replace(loc.key_line->begin, loc.key_line->end - loc.key_line->begin, line);
    return true;
  }
  std::string added;
  std::size_t at;
  if (loc.section_found) {
    at = loc.last_filled.next;
    if (!loc.last_filled.HasLineEnd()) added += kNewLine;
  } else {
    at = text_.size();
    if (!text_.empty() && text_.back() != '\n' && text_.back() != '\r') added += kNewLine;
    added.append("[").append(section_name).append("]").append(kNewLine);
  }
  added.append(key_name).append("=").append(value).append(kNewLine);
  text_.insert(at, added);
  return true;
}

namespace {

// The file's text, empty when there is no file; false when something stands
// at the path that cannot be read whole (a folder, a file without read
// permission), which a rewrite must not replace.
bool ReadIni(const std::string& path, std::string& text) {
  text.clear();
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return true;
  return ReadWholeFile(path, text);
}

}  // namespace

std::string GetString(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view fallback) {
  std::string text;
  ReadIni(path, text);
  return IniText(std::move(text)).GetString(section, key, fallback);
}

int32_t GetInt(const std::string& path, std::string_view section, std::string_view key,
               int32_t fallback) {
  std::string text;
  ReadIni(path, text);
  return IniText(std::move(text)).GetInt(section, key, fallback);
}

bool WriteString(const std::string& path, std::string_view section, std::string_view key,
                 std::string_view value) {
  return WriteStrings(path, section, {{std::string(key), std::string(value)}});
}

bool WriteStrings(const std::string& path, std::string_view section,
                  const std::vector<std::pair<std::string, std::string>>& values) {
  std::string text;
  // A folder or a file read only in part is never replaced by our rewrite.
  if (!ReadIni(path, text)) return false;
  IniText ini(std::move(text));
  for (const auto& [key, value] : values)
    if (!ini.Set(section, key, value)) return false;
  return WriteWholeFileAtomic(path, ini.text());
}

}  // namespace cadenzio::ini
