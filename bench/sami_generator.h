// Makes realistic SAMI caption files of a chosen size for the benchmarks and
// for anyone who needs a large input: a proper head with a P style and the
// KRCC and ENCC class declarations, then a body of syncs with increasing
// start times, each with a Korean (code page 949) and an English paragraph,
// mixed with font tags, line-break tags, two-line captions, clearing syncs,
// empty paragraphs and comments, every line ending in CR LF.
//
// The output depends only on the arguments: the same size and seed give the
// same bytes on every machine (the generator has its own random source and
// uses no standard distribution). A smaller file of the same seed is the
// start of a larger one, apart from the padding at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cadenzio {

inline constexpr std::size_t kMegabyte = std::size_t{1} << 20;

struct SamiGeneratorOptions {
  // Size of the file in bytes. The file is exactly this long unless that is
  // too small for the head, one sync group, the closing tags and a short
  // comment; then the head, one group and the closing tags are written.
  std::size_t bytes = kMegabyte;
  uint32_t seed = 1;
  // 0: ordinary caption lines. Otherwise the body is written without line
  // breaks inside (blanks stand where the lines would end) and a CR LF ends a
  // body line once it has reached this many bytes: a file of very long lines.
  std::size_t line_bytes = 0;
};

std::string GenerateSami(const SamiGeneratorOptions& options);

// The ordinary file of `bytes` bytes.
std::string GenerateSami(std::size_t bytes, uint32_t seed);

// A generated caption cut at the end of the first line that brings it to at
// least `characters` characters as an editor counts them (a double-byte
// character and a line break each one), without a break at its end: the
// text of an editor filled to its limit.
std::string GenerateEditorText(long characters, uint32_t seed);

}  // namespace cadenzio
