// Our stand-in for the Windows private-profile functions: reads keys of an INI
// file and rewrites single values while every other byte of the file stays.
// Plain C++ in the settings folder so the core can use it without the platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cadenzio::ini {

// The text of one INI file. A line ends at LF, CR LF or a lone CR. A line whose
// first non-blank byte is '[' opens a section, named up to the ']' (or the end
// of the line); ';' starts a comment line; other lines with '=' are keys.
// Names compare ignoring ASCII case and surrounding blanks; lines before the
// first section and lines without '=' belong to no key. When a section or key
// appears twice, the first one counts, for reading and for writing alike.
class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string text) : text_(std::move(text)) {}

  // The value with surrounding blanks removed, and one pair of matching quotes
  // ('"' or '\'') around it; nullopt when the section or key is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) const;
  // fallback when the key is missing or its value is empty, else ParseInt.
  int32_t GetInt(std::string_view section, std::string_view key, int32_t fallback) const;

  // Replaces the key's value in place, keeping the key's spelling and the
  // line's own line end; a missing key is added as a new CR LF line after the
  // last non-blank line of the section, a missing section at the end of the
  // text. False (text unchanged) when a name or the value holds a line break,
  // the key holds '=' or is blank, or the section holds ']' or is blank:
  // written, those would read back as something else.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// How the private-profile functions read a number: optional blanks and sign,
// then decimal digits up to the first other byte ("12abc" is 12, "abc" is 0),
// computed in 32 bits that wrap as the Windows function does
// ("4294967295" is -1).
int32_t ParseInt(std::string_view value);

// The file-level calls. A missing or unreadable file reads as empty.
std::string GetString(const std::string& path, std::string_view section, std::string_view key,
                      std::string_view fallback);
int32_t GetInt(const std::string& path, std::string_view section, std::string_view key,
               int32_t fallback);

// Sets the key and rewrites the file atomically (a new file when missing; the
// folder must exist). False when the file exists but cannot be read whole,
// a name is refused (see IniText::Set) or the write fails; the file is then
// as it was.
bool WriteString(const std::string& path, std::string_view section, std::string_view key,
                 std::string_view value);

// Several keys of one section in the given order, in one rewrite: all or none.
bool WriteStrings(const std::string& path, std::string_view section,
                  const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace cadenzio::ini
