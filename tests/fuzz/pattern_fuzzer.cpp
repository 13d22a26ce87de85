// Fuzz target: the first line of the input is a pattern, the second a
// template, the rest the subject.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pattern/pattern_matcher.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  auto take_line = [&input] {
    const std::size_t lf = input.find('\n');
    const std::string_view line = input.substr(0, lf);
    input.remove_prefix(lf == std::string_view::npos ? input.size() : lf + 1);
    return line;
  };
  const std::string_view pattern = take_line();
  const std::string_view templ = take_line();
  cadenzio::PatternMatcher m;
  if (!m.Compile(pattern)) {
    if (m.Find(input) != -1) std::abort();
    return 0;
  }
  const long at = m.Find(input);
  const auto out = m.Substitute(templ);
  if ((at >= 0) != out.has_value()) std::abort();
  if (at >= 0 && static_cast<std::size_t>(at) > input.size()) std::abort();
  return 0;
}
