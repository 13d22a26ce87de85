// The split by language: output names, the header of each language's file,
// which body nodes go where, the analysis mode, and the text edits it uses.
#include "tools/split_language.h"

#include <gtest/gtest.h>

#include <tuple>

#include "settings/file_services.h"
#include "test_support.h"
#include "tools/text_edit.h"

namespace cadenzio {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";
const std::string kHead1 =
    "<SAMI>\r\n<HEAD>\r\n<TITLE>Movie</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { color:white; }\r\n";
const std::string kHead2 = "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kKr = ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n";
const std::string kEn = ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n";
const std::string kTail = "</BODY>\r\n</SAMI>\r\n";

using Files = std::vector<std::pair<std::string, std::string>>;

Files Split(const std::string& input, int mode = kAnalysePlain, std::string base = "movie.smi") {
  const SplitResult r = SplitByLanguage(input, base, mode);
  EXPECT_TRUE(r.ok()) << r.error;
  Files files;
  for (const auto& f : r.files) files.emplace_back(f.name, f.bytes);
  return files;
}

TEST(TextEdit, PositionalEdits) {
  struct Case { std::string text; long index, count; std::string piece, insert, del, replace; };
  const Case cases[] = {
      {"abcdef", 2, 3, "XY", "abXYcdef", "abf", "abXYf"},
      {"abc", 6, 1, "X", "abc   X", "abc", "abc   X"},    // past the end: pad with blanks
      {"abc", -2, 1, "X", "Xabc", "abc", "Xabc"},         // negative index: start / nothing
      {"abcdef", 2, -1, "X", "abXcdef", "ab", "abX"},     // negative count: to the end
  };
  for (const auto& c : cases) {
    std::string ins = c.text, del = c.text, rep = c.text;
    InsertAt(ins, c.index, c.piece), DeleteAt(del, c.index, c.count), ReplaceAt(rep, c.index, c.count, c.piece);
    EXPECT_EQ(std::tie(ins, del, rep), std::tie(c.insert, c.del, c.replace)) << c.text << " " << c.index;
  }
}

TEST(TextEdit, ReplaceNoCase) {
  struct Case { std::string text, piece, with; bool all; int count; std::string result; };
  const Case cases[] = {
      {"a.SMI/b.smi", ".smi", ".K.smi", false, 1, "a.K.smi/b.smi"},
      {"aaaa", "AA", "a", true, 2, "aa"},              // no overlap, replacements not searched
      {"\xB0" "abc", "abc", "X", true, 0, "\xB0" "abc"},  // 'a' is the trail of a character
      {"abc", "", "X", true, 0, "abc"},
  };
  for (const auto& c : cases) {
    std::string t = c.text;
    const int count = ReplaceNoCase(t, c.piece, c.with, c.all);
    EXPECT_EQ(std::tie(count, t), std::tie(c.count, c.result)) << c.text;
  }
}

TEST(SplitByLanguage, OutputNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"D:\\caps\\Movie.SMI", "D:\\caps\\Movie.KRCC.smi"},  // case ignored, ".smi" written
      {"movie.txt", "movie.txt.KRCC"},                       // no ".smi": no extension
      {"/x/old.smi/movie.smi", "/x/old.KRCC.smi/movie.KRCC.smi"},  // folders too
      {"\xB0" "smi", "\xB0" "smi.KRCC"},  // no dot: ".smi" is not in it
  };
  for (const auto& [base, name] : cases) EXPECT_EQ(SplitFileName(base, "KRCC"), name) << base;
}

// Each case: the declarations between the common header lines, and the header
// each file gets, in the order of the classes array (last declaration first).
TEST(SplitByLanguage, HeaderKeepsOnlyItsOwnDeclaration) {
  const std::string std_prn = "#STDPrn { Name:Standard Print; }\r\n";
  const std::string kr_tight = ".KRCC{lang:ko-KR;}\r\n";  // the analyser finds it, the split not
  const std::string en_tight = ".ENCC{lang:en-US;}\r\n";
  const std::string kr_no_byte = ".KRCC {lang:ko-KR;}\r\n";  // nothing between brace and LANG
  struct Case { std::string declarations; std::string en_header, kr_header; };
  const Case cases[] = {
      {kKr + kEn, kHead1 + kEn + kHead2, kHead1 + kKr + kHead2},
      {kKr + std_prn + kEn, kHead1 + kEn + std_prn + kHead2, kHead1 + kKr + std_prn + kHead2},
      // An unrecognised declaration stays in the header, and its class gets
      // its bare name in place of a declaration, with no line end.
      {kr_tight + kEn, kHead1 + kr_tight + kEn + kHead2, kHead1 + kr_tight + "KRCC" + kHead2},
      {kr_no_byte + kEn, kHead1 + kr_no_byte + kEn + kHead2, kHead1 + kr_no_byte + "KRCC" + kHead2},
      // No declaration recognised at all: the header is the class name only.
      {kr_tight + en_tight, "ENCC", "KRCC"},
  };
  const std::string body = "<SYNC Start=1><P>x\r\n" + kTail;
  for (const auto& c : cases) {
    const Files files = Split(kHead1 + c.declarations + kHead2 + body);
    ASSERT_EQ(files.size(), 2u) << c.declarations;
    EXPECT_EQ(files[0], std::make_pair(std::string("movie.ENCC.smi"), c.en_header + body));
    EXPECT_EQ(files[1], std::make_pair(std::string("movie.KRCC.smi"), c.kr_header + body));
  }
}

// Each case: the body, and what of it goes into the ENCC and the KRCC file.
TEST(SplitByLanguage, BodyNodesGoToTheirClasses) {
  const std::string s1 = "<SYNC Start=1000>", s2 = "<SYNC Start=2000>", s3 = "<SYNC Start=3000>";
  const std::string pk = "<P Class=KRCC>" + kHangul + "\r\n", pe = "<P Class=ENCC>Hello\r\n";
  const std::string long_p = "<P Class=KRCC>" + std::string(300, 'a') + "\r\n";
  const std::string note = "<!-- note -->\r\n";
  // A paragraph passes 2048 bytes after 21 lines of 101 bytes; the rest of
  // the file, closing tags included, is overflow for every file.
  std::string lines21, overflow;
  for (int i = 0; i < 30; ++i) (i < 21 ? lines21 : overflow) += std::string(99, 'x') + "\r\n";
  overflow += "<SYNC Start=5><P Class=ENCC>e\r\n";
  struct Case { std::string body, en, kr; };
  const Case cases[] = {
      {s1 + pk + pe + note + s2 + "<P>both\r\n", s1 + pe + note + s2 + "<P>both\r\n",
       s1 + pk + note + s2 + "<P>both\r\n"},
      // A sync without a paragraph, or with only a long one, goes nowhere;
      // the long paragraph still goes to its class.
      {s1 + "\r\n" + s2 + long_p + s3 + pe, s3 + pe, long_p},
      // An undeclared class has every bit; class names ignore case.
      {s1 + "<P Class=JPCC>j\r\n" + s2 + "<P Class=krcc>k\r\n", s1 + "<P Class=JPCC>j\r\n",
       s1 + "<P Class=JPCC>j\r\n" + s2 + "<P Class=krcc>k\r\n"},
      // Text before the first sync of the body belongs to every file.
      {"stray\r\n" + s1 + pe, "stray\r\n" + s1 + pe, "stray\r\n"},
      {s1 + "<P Class=KRCC>\r\n" + lines21 + overflow, overflow, "<P Class=KRCC>\r\n" + lines21 + overflow},
  };
  for (const auto& c : cases) {
    const Files files = Split(kHead1 + kKr + kEn + kHead2 + c.body + kTail);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].second, kHead1 + kEn + kHead2 + c.en + kTail) << c.body;
    EXPECT_EQ(files[1].second, kHead1 + kKr + kHead2 + c.kr + kTail) << c.body;
  }
  // Without closing tags the supplied tail ends every file.
  const Files open = Split(kHead1 + kKr + kHead2 + s1 + pk);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].second, kHead1 + kKr + kHead2 + s1 + pk + "\r\n</BODY>\r\n</SAMI>");
}

// Line-break repair whenever CHECKBR is not 0, whatever the value: a value of
// 2 must not select the mode that keeps empty paragraphs.
TEST(SplitByLanguage, AnalysisModeFollowsCheckBr) {
  const std::pair<long, int> modes[] = {{0, 0}, {1, 1}, {2, 1}, {-1, 1}};
  for (const auto& [value, mode] : modes) EXPECT_EQ(SplitAnalysisMode(value), mode) << value;

  const std::string input = kHead1 + kKr + kHead2 + "<SYNC Start=1><P Class=KRCC>\r\none\r\ntwo\r\n" +
                            "<SYNC Start=2><P Class=KRCC>\r\n" + kTail;
  const std::string head = kHead1 + kKr + kHead2;
  EXPECT_EQ(Split(input, SplitAnalysisMode(2))[0].second,
            head + "<SYNC Start=1><P Class=KRCC>\r\none<br>\r\ntwo\r\n" +
                "<SYNC Start=2><P Class=KRCC>&nbsp;\r\n" + kTail);
}

TEST(SplitByLanguage, ClassCountDuplicatesAndNothingToSplit) {
  std::string decls, body = "<SYNC Start=1><P>all\r\n";
  for (char c = 'A'; c < 'A' + 11; ++c) decls += std::string(".C") + c + " {Name:x; lang:xx;}\r\n";
  // Ten classes fill the file slots; an eleventh is refused with nothing made.
  const std::string ten = decls.substr(0, decls.rfind(".CK"));
  const Files files = Split(kHead1 + ten + kHead2 + body + kTail);
  ASSERT_EQ(files.size(), kSplitFileSlots);
  EXPECT_EQ(files[0].first, "movie.CJ.smi");
  for (const auto& f : files) EXPECT_TRUE(f.second.ends_with(body + kTail)) << f.first;
  const SplitResult refused = SplitByLanguage(kHead1 + decls + kHead2 + body + kTail, "m.smi", 0);
  EXPECT_EQ(refused.error, kSplitTooManyClassesMessage);
  EXPECT_TRUE(refused.files.empty());

  // A class declared twice comes twice in the classes array; its one file is
  // the later one's, which has the last declaration of the name.
  const std::string kr2 = ".KRCC {Name:Second; lang:ko-KR;}\r\n";
  const Files twice = Split(kHead1 + kKr + kEn + kr2 + kHead2 + body + kTail);
  ASSERT_EQ(twice.size(), 2u);
  EXPECT_EQ(twice[0], std::make_pair(std::string("movie.KRCC.smi"), kHead1 + kr2 + kHead2 + body + kTail));
  EXPECT_EQ(twice[1], std::make_pair(std::string("movie.ENCC.smi"), kHead1 + kEn + kHead2 + body + kTail));

  // Nothing to split is no failure; a document never analysed is.
  const std::string inputs[] = {"", "no sync here\r\n", "<SYNC Start=1><P Class=KRCC>a\r\n"};
  for (const std::string& input : inputs) {
    const SplitResult r = SplitByLanguage(input, "m.smi", 0);
    EXPECT_TRUE(r.ok() && r.files.empty()) << input;
  }
  const SamiDocument never_analysed;
  EXPECT_EQ(SplitDocument(never_analysed, "m.smi").error, kAnalyseInitFailedMessage);
}

// A real two-language file with LF line ends, where the analyser finds KRCC
// before ENCC: each file has its header less the other declaration line, and
// its own captions only.
TEST(SplitByLanguage, BilingualSample) {
  std::string input;
  if (!ReadWholeFile(test::SamplesDir() + "/ureru-friends-bilingual.cp949.smi", input)) GTEST_SKIP();
  SamiDocument source;
  ASSERT_TRUE(source.Analyse(input, kAnalysePlain));
  const Files files = Split(input, kAnalysePlain, "/out/Friends.SMI");
  ASSERT_EQ(files.size(), 2u);
  const std::string names[] = {"KRCC", "ENCC"}, langs[] = {"Korean; lang:ko-KR", "English; lang:en-US"};
  for (int i = 0; i < 2; ++i) {
    const std::string other = "." + names[1 - i] + " { Name:" + langs[1 - i] + "; SAMIType:CC; }\n";
    std::string header = source.header;
    header.erase(header.find(other), other.size());
    EXPECT_EQ(files[i].first, "/out/Friends." + names[i] + ".smi");
    EXPECT_TRUE(files[i].second.starts_with(header) && files[i].second.ends_with(source.tail)) << names[i];
    EXPECT_EQ(files[i].second.find("Class=" + names[1 - i]), std::string::npos) << names[i];
  }
}

}  // namespace
}  // namespace cadenzio
