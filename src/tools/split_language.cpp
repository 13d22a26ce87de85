// Split by language: the output names, the header of each language's file
// and the selection of the body nodes that go into it.
#include "tools/split_language.h"

#include <optional>

#include "pattern/pattern_matcher.h"
#include "tools/text_edit.h"

namespace cadenzio {

// 분할 작업 실패
const char kSplitFailedMessage[] = "\xBA\xD0\xC7\xD2 \xC0\xDB\xBE\xF7 \xBD\xC7\xC6\xD0";
// "    작업이 정상적으로 완료되었습니다.\r\n(확장자 smi앞에 언어태크 추가되어 생성)\r\n"
// "            %5.3f 초 걸림\r\n"
const char kSplitDoneFormat[] =
    "    \xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE \xBF\xCF\xB7\xE1\xB5"
    "\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n(\xC8\xAE\xC0\xE5\xC0\xDA smi\xBE\xD5\xBF\xA1 \xBE"
    "\xF0\xBE\xEE\xC5\xC2\xC5\xA9 \xC3\xDF\xB0\xA1\xB5\xC7\xBE\xEE \xBB\xFD\xBC\xBA)\r\n"
    "            %5.3f \xC3\xCA \xB0\xC9\xB8\xB2\r\n";
// 언어 클래스가 너무 많습니다 (최대 10개)
const char kSplitTooManyClassesMessage[] =
    "\xBE\xF0\xBE\xEE \xC5\xAC\xB7\xA1\xBD\xBA\xB0\xA1 \xB3\xCA\xB9\xAB \xB8\xB9\xBD\xC0\xB4\xCF"
    "\xB4\xD9 (\xC3\xD6\xB4\xEB 10\xB0\xB3)";

namespace {

static_assert(kSplitFileSlots <= 32, "one mask bit per file slot");

// The last class declaration left in a header text, and the text around it.
struct Declaration {
  std::string before;  // everything before the declaration line
  std::string name;
  std::string text;    // dot, name, brace block and the white space after it
  std::string after;
};

std::optional<Declaration> FindLastDeclaration(PatternMatcher& matcher, const std::string& header) {
  if (matcher.Find(header) < 0) return std::nullopt;
  Declaration d;
  d.before = matcher.Group(1);
  d.name = matcher.Group(3);
  d.text.append(matcher.Group(2)).append(matcher.Group(3)).append(matcher.Group(4));
  d.after = matcher.Group(5);
  // The matcher's subject ends at a NUL byte; the bytes after one are kept.
  d.after.append(header, matcher.found_text().size());
  return d;
}

// The header of every file: PRE (the header up to the first declaration),
// the class's own declaration, POST (the rest without any declaration). The
// first class collects PRE and POST while removing every declaration, and
// takes the earliest declaration of its name; each later class takes the
// last declaration of its name. A class with no declaration the split
// recognises stands as its bare name.
std::vector<std::string> BuildHeaders(const SamiDocument& doc, PatternMatcher& matcher) {
  std::vector<std::string> headers;
  std::string pre, post;
  for (std::size_t i = 0; i < doc.classes.size(); ++i) {
    const std::string& name = doc.classes[i];
    std::string own = name;
    std::string h = doc.header;
    while (auto d = FindLastDeclaration(matcher, h)) {
      if (d->name == name) {
        own = d->text;
        if (i > 0) break;
      }
      if (i == 0) {
        pre = d->before;
        post = d->after;
      }
      h = d->before + d->after;
    }
    headers.push_back(std::move(own));
  }
  for (auto& own : headers) own = pre + own + post;
  return headers;
}

std::string BuildBody(const SamiDocument& doc, uint32_t mask) {
  std::string body;
  for (const SamiNode& node : doc.nodes) {
    bool keep = true;
    if (node.kind == SamiNodeKind::Sync) keep = (node.class_mask & mask) != 0;
    else if (node.kind == SamiNodeKind::Paragraph) keep = (doc.ClassMask(node.class_name) & mask) != 0;
    if (keep) body += node.text;
  }
  return body;
}

}  // namespace

int SplitAnalysisMode(long check_br) { return check_br != 0 ? kAnalyseFixBreaks : kAnalysePlain; }

std::string SplitFileName(std::string_view base, std::string_view class_name) {
  std::string name(base);
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on "." + name.
  std::string dot_class(1, '.');
  dot_class.append(class_name);
  const std::string with_class = dot_class + ".smi";
  if (ReplaceNoCase(name, ".smi", with_class, true) == 0) name += dot_class;
  return name;
}

SplitResult SplitDocument(const SamiDocument& doc, std::string_view base_name) {
  SplitResult result;
  if (!doc.valid) {
    result.error = kAnalyseInitFailedMessage;
    return result;
  }
  if (doc.classes.size() > kSplitFileSlots) {
    result.error = kSplitTooManyClassesMessage;
    return result;
  }
  PatternMatcher matcher(doc.code_page());
  if (!matcher.Compile(kSplitClassDeclarationPattern)) {
    result.error = kAnalyseInitFailedMessage;
    return result;
  }
  const std::vector<std::string> headers = BuildHeaders(doc, matcher);
  for (std::size_t i = 0; i < doc.classes.size(); ++i) {
    SplitOutput out{SplitFileName(base_name, doc.classes[i]),
                    headers[i] + BuildBody(doc, doc.ClassMask(doc.classes[i])) + doc.tail};
    bool replaced = false;
    for (auto& earlier : result.files) {
      if (earlier.name == out.name) {
        earlier = std::move(out);
        replaced = true;
        break;
      }
    }
    if (!replaced) result.files.push_back(std::move(out));
  }
  return result;
}

SplitResult SplitByLanguage(std::string_view input, std::string_view base_name, int mode) {
  SamiDocument doc;
  doc.Analyse(input, mode);
  return SplitDocument(doc, base_name);
}

}  // namespace cadenzio
