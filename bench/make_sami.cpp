// make-sami: writes a generated SAMI caption file of a given size, for trying
// the command-line tool and the editor on large inputs.
//
//   make-sami MB OUT [--seed N] [--line-bytes N]
//
// MB may be fractional (0.25 is 256 KB; 1 MB is 1,048,576 bytes).
// --line-bytes N writes body lines of about N bytes without line breaks inside.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sami_generator.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: make-sami MB OUT [--seed N] [--line-bytes N]\n"
               "  writes a generated SAMI file of MB megabytes (1 MB = 1048576 bytes) to OUT\n");
  return 2;
}

bool ParseCount(const char* text, unsigned long long* value) {
  char* end = nullptr;
  errno = 0;
  *value = std::strtoull(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && text[0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  char* end = nullptr;
  const double megabytes = std::strtod(argv[1], &end);
  if (end == argv[1] || *end != '\0' || !(megabytes > 0) || megabytes > 4096) return Usage();

  cadenzio::SamiGeneratorOptions options;
  options.bytes = static_cast<std::size_t>(megabytes * static_cast<double>(cadenzio::kMegabyte));
  for (int i = 3; i < argc; i += 2) {  // options come in name-value pairs
    unsigned long long value = 0;
    if (i + 1 >= argc || !ParseCount(argv[i + 1], &value)) return Usage();
    if (std::strcmp(argv[i], "--seed") == 0) {
      options.seed = static_cast<uint32_t>(value);
    } else if (std::strcmp(argv[i], "--line-bytes") == 0) {
      options.line_bytes = static_cast<std::size_t>(value);
    } else {
      return Usage();
    }
  }

  const std::string file = cadenzio::GenerateSami(options);
  std::FILE* out = std::fopen(argv[2], "wb");
  if (!out) {
    std::fprintf(stderr, "make-sami: cannot open %s: %s\n", argv[2], std::strerror(errno));
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written) {
    std::fprintf(stderr, "make-sami: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %zu bytes\n", argv[2], file.size());
  return 0;
}
