#include "app/cadenzio_dlg_support.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "pattern/code_page.h"
#include "platform/text_encoding.h"

namespace cadenzio {

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out;
  if (size > 0) {
    out.resize(static_cast<std::size_t>(size) + 1);
    std::vsnprintf(out.data(), out.size(), format, again);
    out.resize(static_cast<std::size_t>(size));
  }
  va_end(again);
  return out;
}

std::string DisplayPath(std::string_view path) {
  std::string out;
  while (!path.empty()) {
    const Cp949Text converted = Utf8ToCp949(path);
    out += converted.bytes;
    if (converted.ok()) break;
    out += '?';
    const std::size_t skip =
        converted.error->offset + std::max<std::size_t>(converted.error->character.size(), 1);
    path.remove_prefix(skip < path.size() ? skip : path.size());
  }
  return out;
}

std::string DisplayFileName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return DisplayPath(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

long EditorCharCount(std::string_view text, const CodePage& cp) {
  long count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      i += 2;
    } else {
      i += cp.CharLength(text, i);
    }
  }
  return count;
}

}  // namespace cadenzio
