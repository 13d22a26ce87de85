// HTML colour values (a colour name or #rrggbb) to RTF colour table entries,
// for the caption preview. The table is one program-wide constant: built on
// first use, never changed, safe to read from any thread.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace cadenzio {

class ColourTable {
 public:
  // The 137 colour names the preview knows, each with its CSS colour value.
  ColourTable();

  // Puts "\redR\greenG\blueB;" into entry and returns true when value is a
  // known name (compared exactly, so callers lower-case first) or '#' and six
  // hexadecimal digits, lower case; bytes after the seventh are ignored. Any
  // other value returns false and leaves entry alone.
  bool Lookup(std::string_view value, std::string& entry) const;

  std::size_t size() const { return entries_.size(); }

 private:
  std::map<std::string, std::string, std::less<>> entries_;
};

// The program's one colour table.
const ColourTable& ProgramColourTable();

}  // namespace cadenzio
