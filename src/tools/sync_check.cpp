// The sync error check's walk over the analysed nodes; see sync_check.h.
#include "tools/sync_check.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "pattern/pattern_matcher.h"
#include "settings/cp949_conversion.h"

namespace cadenzio {

// " 흠... 체크할 데이타가 없잖아요... "
const char kSyncCheckNoDataMessage[] =
    " \xC8\xEC... \xC3\xBC\xC5\xA9\xC7\xD2 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 "
    "\xBE\xF8\xC0\xDD\xBE\xC6\xBF\xE4... ";

namespace {

// "# 언어 클래스가 존재하지 않음, 모든 싱크를 하나의 클래스로 취급함.\r\n\r\n"
constexpr std::string_view kNoClassesNote =
    "# \xBE\xF0\xBE\xEE \xC5\xAC\xB7\xA1\xBD\xBA\xB0\xA1 \xC1\xB8\xC0\xE7\xC7\xCF\xC1\xF6 "
    "\xBE\xCA\xC0\xBD, \xB8\xF0\xB5\xE7 \xBD\xCC\xC5\xA9\xB8\xA6 \xC7\xCF\xB3\xAA\xC0\xC7 "
    "\xC5\xAC\xB7\xA1\xBD\xBA\xB7\xCE \xC3\xEB\xB1\xDE\xC7\xD4.\r\n\r\n";
// " 언어 체크\r\n" after a class name
constexpr std::string_view kClassHeading = " \xBE\xF0\xBE\xEE \xC3\xBC\xC5\xA9\r\n";
// "오류 " and " 개 발견\r\n\r\n" around a class walk's count
constexpr std::string_view kCountBefore = "\xBF\xC0\xB7\xF9 ";
constexpr std::string_view kCountAfter = " \xB0\xB3 \xB9\xDF\xB0\xDF\r\n\r\n";
// "# 앞싱크가 뒷싱크보다 일찍 나오는 오류 체크...\r\n\r\n"
constexpr std::string_view kOrderSection =
    "# \xBE\xD5\xBD\xCC\xC5\xA9\xB0\xA1 \xB5\xDE\xBD\xCC\xC5\xA9\xBA\xB8\xB4\xD9 "
    "\xC0\xCF\xC2\xEF \xB3\xAA\xBF\xC0\xB4\xC2 \xBF\xC0\xB7\xF9 \xC3\xBC\xC5\xA9...\r\n\r\n";
// ") 음수 싱크 - " and ") 싱크 감소 - "
constexpr std::string_view kNegative = ") \xC0\xBD\xBC\xF6 \xBD\xCC\xC5\xA9 - ";
constexpr std::string_view kDecrease = ") \xBD\xCC\xC5\xA9 \xB0\xA8\xBC\xD2 - ";
// "# 자막이 너무 짧게 보이는 구간 체크 ... (최소 " MIN " ms)\r\n\r\n"
constexpr std::string_view kShortSection =
    "# \xC0\xDA\xB8\xB7\xC0\xCC \xB3\xCA\xB9\xAB \xC2\xAA\xB0\xD4 \xBA\xB8\xC0\xCC\xB4\xC2 "
    "\xB1\xB8\xB0\xA3 \xC3\xBC\xC5\xA9 ... (\xC3\xD6\xBC\xD2 ";
// "# 자막이 너무 오랫동안 보이는 구간 체크 ... (최대 " MAX " ms)\r\n\r\n"
constexpr std::string_view kLongSection =
    "# \xC0\xDA\xB8\xB7\xC0\xCC \xB3\xCA\xB9\xAB \xBF\xC0\xB7\xA7\xB5\xBF\xBE\xC8 "
    "\xBA\xB8\xC0\xCC\xB4\xC2 \xB1\xB8\xB0\xA3 \xC3\xBC\xC5\xA9 ... (\xC3\xD6\xB4\xEB ";
constexpr std::string_view kSectionLimitEnd = " ms)\r\n\r\n";
// "# 빈싱크 라인 체크 ...\r\n\r\n" and ") 공백 싱크 - "
constexpr std::string_view kEmptySection =
    "# \xBA\xF3\xBD\xCC\xC5\xA9 \xB6\xF3\xC0\xCE \xC3\xBC\xC5\xA9 ...\r\n\r\n";
constexpr std::string_view kEmpty = ") \xB0\xF8\xB9\xE9 \xBD\xCC\xC5\xA9 - ";
// "# 모든 검사에서 총 오류 " total " 개 발견\r\n\r\n"
constexpr std::string_view kTotalBefore =
    "# \xB8\xF0\xB5\xE7 \xB0\xCB\xBB\xE7\xBF\xA1\xBC\xAD \xC3\xD1 \xBF\xC0\xB7\xF9 ";

// The analyser's test for a paragraph with nothing to show: its tag, white
// space and at most one SPANID or FONT opening tag. Not even "&nbsp;".
constexpr std::string_view kEmptyParagraphPattern =
    "^(<[^<>]+>)([ \t\r\n]*)(<SPANID[^>]*>|<FONT[^>]*>)?[ \t\r\n]*$";

// A node's text as "%s" prints it: up to its first NUL.
std::string_view Printed(const SamiNode& node) {
  const std::string_view text = node.text;
  return text.substr(0, text.find('\0'));
}

// "(LINE: %04d" or "(LINE:%04d": the two spellings the report uses.
void AppendLine(std::string& out, bool blank, int32_t line) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d", static_cast<int>(line));
  out += blank ? "(LINE: " : "(LINE:";
  out += digits;
}

bool IsSyncOf(const SamiNode& node, uint32_t mask) {
  return node.kind == SamiNodeKind::Sync && (node.class_mask & mask) != 0;
}

class Checker {
 public:
  Checker(const SamiDocument& doc, std::string& out)
      : doc_(doc), out_(out), utf8_(doc.code_page().kind() == CodePage::Kind::Utf8),
        empty_paragraph_(doc.code_page()) {
    classes_ = doc.classes;
    // Without declared classes every sync with a paragraph counts as one
    // class: the empty name, whose mask takes in every class bit.
    if (classes_.empty()) {
      classes_.emplace_back();
      Put(kNoClassesNote);
    }
    empty_paragraph_.Compile(kEmptyParagraphPattern);  // fixed pattern; cannot fail
  }

  long total() const { return total_; }

  // The report's own texts, in the document's code page so that the report
  // is one text with the node texts it quotes.
  void Put(std::string_view cp949) {
    if (utf8_)
      out_ += Cp949ToUtf8(cp949);
    else
      out_ += cp949;
  }

  // One walk of the node list per class, under its heading, with its count.
  template <typename Walk>
  void EachClass(Walk walk) {
    for (const std::string& name : classes_) {
      if (!name.empty()) {
        out_.append(name);
        Put(kClassHeading);
      }
      const long found = walk(doc_.ClassMask(name));
      Put(kCountBefore);
      out_.append(std::to_string(found));
      Put(kCountAfter);
      total_ += found;
    }
  }

  // A negative sync is listed but never compared with; a sync earlier than
  // the one before it is listed and then compared with like any other.
  long Order(uint32_t mask) {
    long found = 0;
    const SamiNode* previous = nullptr;
    for (const SamiNode& node : doc_.nodes) {
      if (!IsSyncOf(node, mask)) continue;
      if (node.start < 0) {
        AppendLine(out_, true, node.line);
        Put(kNegative);
        out_.append(Printed(node)).append("\r\n");
        ++found;
        continue;
      }
      if (previous && node.start < previous->start) {
        AppendLine(out_, false, node.line);
        Put(kDecrease);
        out_.append(Printed(node)).append("\r\n");
        ++found;
      }
      previous = &node;
    }
    return found;
  }

  // Intervals between consecutive syncs of the class that start at a sync
  // clearing nothing; `faulty` judges the signed difference.
  template <typename Faulty>
  long Display(uint32_t mask, Faulty faulty) {
    long found = 0;
    const SamiNode* previous = nullptr;
    for (const SamiNode& node : doc_.nodes) {
      if (!IsSyncOf(node, mask)) continue;
      if (previous && previous->clear_mask == 0) {
        const int64_t d = int64_t{node.start} - int64_t{previous->start};
        if (faulty(d)) {
          AppendLine(out_, true, previous->line);
          out_.append(" ").append(Printed(*previous)).append(") - ");
          AppendLine(out_, true, node.line);
          out_.append(" ").append(Printed(node)).append(") => ");
          out_.append(std::to_string(d)).append(" ms\r\n");
          ++found;
        }
      }
      previous = &node;
    }
    return found;
  }

  // Every paragraph after a sync of the class is tested, whatever class the
  // paragraph itself names: the sync is what the report points at.
  long Empty(uint32_t mask) {
    long found = 0;
    const SamiNode* sync = nullptr;
    for (const SamiNode& node : doc_.nodes) {
      if (node.kind == SamiNodeKind::Sync) {
        sync = &node;
      } else if (node.kind == SamiNodeKind::Paragraph && sync && IsSyncOf(*sync, mask) &&
                 empty_paragraph_.Find(node.text) == 0) {
        AppendLine(out_, false, sync->line);
        Put(kEmpty);
        out_.append(Printed(*sync)).append("\r\n");
        ++found;
      }
    }
    return found;
  }

 private:
  const SamiDocument& doc_;
  std::string& out_;
  bool utf8_;
  std::vector<std::string> classes_;
  PatternMatcher empty_paragraph_;
  long total_ = 0;
};

}  // namespace

SyncCheckResult CheckSyncErrors(const SamiDocument& doc, uint32_t min_interval,
                                uint32_t max_interval) {
  const int64_t min = min_interval == 0 ? kDefaultMinInterval : int64_t{min_interval};
  const int64_t max = max_interval == 0 ? kDefaultMaxInterval : int64_t{max_interval};
  SyncCheckResult result;
  std::string& out = result.report;
  Checker check(doc, out);

  check.Put(kOrderSection);
  check.EachClass([&](uint32_t mask) { return check.Order(mask); });

  check.Put(kShortSection);
  out.append(std::to_string(min)).append(kSectionLimitEnd);
  check.EachClass(
      [&](uint32_t mask) { return check.Display(mask, [&](int64_t d) { return d < min; }); });

  check.Put(kLongSection);
  out.append(std::to_string(max)).append(kSectionLimitEnd);
  check.EachClass(
      [&](uint32_t mask) { return check.Display(mask, [&](int64_t d) { return d > max; }); });

  check.Put(kEmptySection);
  check.EachClass([&](uint32_t mask) { return check.Empty(mask); });

  result.errors = check.total();
  check.Put(kTotalBefore);
  out.append(std::to_string(result.errors));
  check.Put(kCountAfter);
  return result;
}

std::string SyncCheckCompletionText(double seconds) {
  // "작업이 정상적으로 완료되었습니다.\r\n%5.3f 초 걸림\r\n"
  char text[512];  // room for any finite double in %5.3f
  const int n = std::snprintf(
      text, sizeof text,
      "\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE "
      "\xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n%5.3f \xC3\xCA \xB0\xC9\xB8\xB2\r\n",
      seconds);
  return n > 0 && static_cast<std::size_t>(n) < sizeof text ? std::string(text, n) : std::string();
}

}  // namespace cadenzio
