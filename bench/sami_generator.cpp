// The SAMI file generator: a fixed head, then one sync group after another
// until the next group would not fit, then comment lines that fill the file
// to its exact size, then the closing tags.
#include "sami_generator.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace cadenzio {
namespace {

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(0x9E3779B97F4A7C15ull ^ seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1.
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }
  uint32_t Between(uint32_t lo, uint32_t hi) { return lo + Below(hi - lo + 1); }
  bool Percent(uint32_t p) { return Below(100) < p; }

 private:
  uint64_t state_;
};

constexpr std::array<std::string_view, 96> kEnglishWords = {
    "I",       "you",    "we",      "they",   "he",     "she",    "it",      "the",
    "a",       "this",   "that",    "what",   "where",  "when",   "why",     "how",
    "is",      "are",    "was",     "were",   "will",   "can",    "don't",   "won't",
    "know",    "think",  "want",    "need",   "go",     "come",   "see",     "look",
    "tell",    "say",    "take",    "give",   "find",   "leave",  "stay",    "wait",
    "here",    "there",  "now",     "later",  "never",  "always", "again",   "still",
    "just",    "really", "maybe",   "right",  "okay",   "sorry",  "please",  "thank",
    "time",    "night",  "morning", "home",   "house",  "city",   "road",    "car",
    "money",   "friend", "father",  "mother", "brother","sister", "doctor",  "police",
    "nothing", "something", "everything", "everyone", "nobody", "people", "life", "world",
    "with",    "without","about",   "after",  "before", "under",  "over",    "into",
    "good",    "bad",    "happy",   "afraid", "late",   "early",  "together","alone",
};

constexpr std::array<std::string_view, 6> kEndings = {"", "", "", "?", "!", "..."};

constexpr std::array<std::string_view, 6> kComments = {
    "scene change", "reel 2", "check timing", "song", "translator's note", "flashback",
};

constexpr std::string_view kHead =
    "<SAMI>\r\n"
    "<HEAD>\r\n"
    "<TITLE>Cadenzio benchmark caption</TITLE>\r\n"
    "<STYLE TYPE=\"text/css\">\r\n"
    "<!--\r\n"
    "P { margin-left:8pt; margin-right:8pt; margin-bottom:2pt; margin-top:2pt;\r\n"
    "    text-align:center; font-size:20pt; font-family:Arial, Sans-serif;\r\n"
    "    font-weight:normal; color:white; }\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC;}\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC;}\r\n"
    "#STDPrn {Name:Standard Print;}\r\n"
    "-->\r\n"
    "</STYLE>\r\n"
    "</HEAD>\r\n"
    "<BODY>\r\n";

constexpr std::string_view kClosing = "</BODY>\r\n</SAMI>\r\n";
// Padding comments are at most this long, so padding never makes a long line.
constexpr std::size_t kPaddingLineMax = 200;

class Generator {
 public:
  explicit Generator(const SamiGeneratorOptions& o)
      : random_(o.seed), long_lines_(o.line_bytes > 0), line_bytes_(o.line_bytes),
        eol_(long_lines_ ? " " : "\r\n") {
    // Keep every start within 32 bits whatever the size: a group is about
    // 150 bytes and the steps average about 2.5 s.
    const double groups = static_cast<double>(o.bytes) / 150.0;
    const double span = groups * 2500.0;
    step_scale_ = span > 1.5e9 ? 1.5e9 / span : 1.0;
    time_ = 1000 + random_.Below(4000);
  }

  // One sync group: a caption, sometimes followed by its clearing sync, and
  // sometimes a comment before it.
  void Group(std::string& out) {
    if (random_.Percent(2)) Comment(out, kComments[random_.Below(kComments.size())]);
    Caption(out);
    Advance(random_.Between(800, 4500));
    if (random_.Percent(30)) {
      Clear(out);
      Advance(random_.Between(200, 1500));
    }
  }

  void Comment(std::string& out, std::string_view text) {
    out += "<!-- ";
    out += text;
    out += " -->";
    out += eol_;
  }

  std::size_t CommentOverhead() const { return 9 + eol_.size(); }
  const std::string& eol() const { return eol_; }
  bool long_lines() const { return long_lines_; }
  std::size_t line_bytes() const { return line_bytes_; }

 private:
  void Advance(uint32_t ms) {
    time_ += std::max<uint64_t>(1, static_cast<uint64_t>(ms * step_scale_));
  }

  void SyncTag(std::string& out, bool lower) {
    out += lower ? "<sync start=" : "<SYNC Start=";
    out += std::to_string(time_);
    out += '>';
  }

  void ParagraphTag(std::string& out, std::string_view cls, bool lower) {
    out += lower ? "<p class=" : "<P Class=";
    out += cls;
    out += '>';
  }

  void Caption(std::string& out) {
    const bool lower = random_.Percent(3);
    SyncTag(out, lower);
    if (random_.Percent(20)) out += eol_;  // the sync on a line of its own
    Paragraph(out, "KRCC", lower, /*korean=*/true);
    Paragraph(out, "ENCC", lower, /*korean=*/false);
  }

  // A clearing sync: both classes cleared with a non-breaking space.
  void Clear(std::string& out) {
    SyncTag(out, false);
    if (random_.Percent(20)) out += eol_;
    out += "<P Class=KRCC>&nbsp;";
    out += eol_;
    out += "<P Class=ENCC>&nbsp;";
    out += eol_;
  }

  void Paragraph(std::string& out, std::string_view cls, bool lower, bool korean) {
    ParagraphTag(out, cls, lower);
    const uint32_t blank = random_.Below(1000);
    if (blank < 25) {  // an empty paragraph, rewritten to a clear by the analyser
      out += eol_;
      return;
    }
    if (blank < 30) {  // a paragraph of a line break only
      out += "<br>";
      out += eol_;
      return;
    }
    if (random_.Percent(45)) out += eol_;  // the text below the tag
    std::string text = Line(korean);
    if (random_.Percent(40)) {
      // Two-line captions: with a break tag at the line end, without one
      // (the analyser's mode 1 adds it), or both lines on one line.
      const std::string second = Line(korean);
      switch (random_.Below(4)) {
        case 0: text += "<br>" + eol_ + second; break;
        case 1: text += eol_ + second; break;
        case 2: text += "<br>" + second; break;
        default: text += "<BR>" + eol_ + second; break;
      }
    }
    if (random_.Percent(12)) text = "<font color=\"#ffff00\">" + text + "</font>";
    out += text;
    out += eol_;
  }

  std::string Line(bool korean) {
    std::string line;
    const uint32_t words = korean ? random_.Between(2, 6) : random_.Between(3, 8);
    for (uint32_t w = 0; w < words; ++w) {
      if (w > 0) line += ' ';
      if (korean) {
        KoreanWord(line);
      } else {
        std::string_view word = kEnglishWords[random_.Below(kEnglishWords.size())];
        if (w == 0 && word[0] >= 'a' && word[0] <= 'z') {
          line += static_cast<char>(word[0] - 'a' + 'A');
          word.remove_prefix(1);
        }
        if (random_.Percent(3)) {  // a word in colour
          line += "<font color=\"#ffff00\">";
          line += word;
          line += "</font>";
        } else {
          line += word;
        }
      }
    }
    line += kEndings[random_.Below(kEndings.size())];
    return line;
  }

  // Syllables of the KS X 1001 Hangul block: every lead byte 0xB0..0xC8 with
  // every trail byte 0xA1..0xFE is a valid syllable in code page 949.
  void KoreanWord(std::string& out) {
    const uint32_t syllables = random_.Between(1, 4);
    for (uint32_t s = 0; s < syllables; ++s) {
      out += static_cast<char>(0xB0 + random_.Below(0xC8 - 0xB0 + 1));
      out += static_cast<char>(0xA1 + random_.Below(0xFE - 0xA1 + 1));
    }
  }

  Random random_;
  bool long_lines_;
  std::size_t line_bytes_;
  std::string eol_;
  double step_scale_ = 1.0;
  uint64_t time_ = 0;
};

// Fills exactly `count` bytes with comment lines (count is 0 or at least one
// comment's overhead).
void Pad(Generator& gen, std::string& out, std::size_t count) {
  static constexpr std::string_view kFill = "cadenzio benchmark padding ";
  const std::size_t overhead = gen.CommentOverhead();
  while (count > 0) {
    std::size_t len = count;
    if (count > kPaddingLineMax) {
      len = count - kPaddingLineMax >= overhead ? kPaddingLineMax : count - overhead;
    }
    std::string fill;
    for (std::size_t i = 0; fill.size() < len - overhead; ++i) fill += kFill[i % kFill.size()];
    gen.Comment(out, fill);
    count -= len;
  }
}

}  // namespace

std::string GenerateSami(const SamiGeneratorOptions& options) {
  Generator gen(options);
  // Very long lines end in a line break before the closing tags.
  const std::string closing = (gen.long_lines() ? std::string("\r\n") : std::string()) +
                              std::string(kClosing);
  std::string out;
  out.reserve(options.bytes + 4096);
  out += kHead;

  std::string group;
  std::size_t line_start = out.size();
  bool first = true;
  for (;;) {
    group.clear();
    gen.Group(group);
    const std::size_t line_break = gen.long_lines() ? 2 : 0;
    const std::size_t need =
        out.size() + group.size() + line_break + closing.size() + gen.CommentOverhead();
    if (!first && need > options.bytes) break;
    first = false;
    out += group;
    if (gen.long_lines() && out.size() - line_start >= gen.line_bytes()) {
      out += "\r\n";
      line_start = out.size();
    }
  }
  const std::size_t used = out.size() + closing.size();
  // Only the forced first group can leave less room than one comment.
  if (options.bytes >= used + gen.CommentOverhead()) Pad(gen, out, options.bytes - used);
  out += closing;
  return out;
}

std::string GenerateSami(std::size_t bytes, uint32_t seed) {
  SamiGeneratorOptions options;
  options.bytes = bytes;
  options.seed = seed;
  return GenerateSami(options);
}

std::string GenerateEditorText(long characters, uint32_t seed) {
  // Two bytes a character at most, so twice the count always suffices.
  std::string text = GenerateSami(2 * static_cast<std::size_t>(characters) + kMegabyte, seed);
  long counted = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      if (counted >= characters) break;
      i += 2;
    } else {
      i += static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size() ? 2 : 1;
    }
    ++counted;
  }
  text.resize(i);
  return text;
}

}  // namespace cadenzio
