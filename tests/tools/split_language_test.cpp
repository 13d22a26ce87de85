// The split by language: output names, the header of each language's file,
// which body nodes go where, the analysis mode, and the text edits it uses.
#include "tools/split_language.h"

#include <gtest/gtest.h>

#include "tools/text_edit.h"

namespace cadenzio {
namespace {

const std::string kHead1 = "<SAMI>\r\n<HEAD>\r\n<TITLE>Movie</TITLE>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\nP { color:white; }\r\n";
const std::string kHead2 = "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kKr = ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n";
const std::string kEn = ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n";
const std::string kTail = "</BODY>\r\n</SAMI>\r\n";

using Files = std::vector<std::pair<std::string, std::string>>;

Files Split(const std::string& input, int mode = kAnalysePlain) {
  const SplitResult r = SplitByLanguage(input, "movie.smi", mode);
  EXPECT_TRUE(r.ok()) << r.error;
  Files files;
  for (const auto& f : r.files) files.emplace_back(f.name, f.bytes);
  return files;
}

TEST(TextEdit, EditsPastTheEndAndReplaceNoCase) {
  std::string text = "abc", name = "\xB0" "abc/A.SMI/b.smi";
  InsertAt(text, 6, "X");  // past the end: padded with blanks
  EXPECT_EQ(text, "abc   X");
  EXPECT_EQ(ReplaceNoCase(name, "abc", "X", true) + ReplaceNoCase(name, ".smi", ".K.smi", false), 1);
  EXPECT_EQ(name, "\xB0" "abc/A.K.smi/b.smi");  // 'a' after 0xB0 is the trail of a character
}

TEST(SplitByLanguage, OutputNames) {
  EXPECT_EQ(SplitFileName("/x/old.smi/Movie.SMI", "KRCC"), "/x/old.KRCC.smi/Movie.KRCC.smi");  // folders too
  EXPECT_EQ(SplitFileName("movie.txt", "KRCC"), "movie.txt.KRCC");  // no ".smi": no extension
}

// Each case: the declarations between the common header lines, and the header
// each file gets, in the order of the classes array (last declaration first).
TEST(SplitByLanguage, HeaderKeepsOnlyItsOwnDeclaration) {
  const std::string std_prn = "#STDPrn { Name:Standard Print; }\r\n";
  const std::string kr_tight = ".KRCC{lang:ko-KR;}\r\n";  // the analyser finds it, the split not
  const std::string kr_lf = ".KRCC { Name:Korean; lang:ko-KR; }\n", en_lf = ".ENCC { Name:English; lang:en-US; }\n";
  const struct { std::string declarations, en_header, kr_header; } cases[] = {
      {kKr + std_prn + kEn, kHead1 + kEn + std_prn + kHead2, kHead1 + kKr + std_prn + kHead2},
      // An unrecognised declaration stays in the header, and its class gets
      // its bare name in place of a declaration, with no line end.
      {kr_tight + kEn, kHead1 + kr_tight + kEn + kHead2, kHead1 + kr_tight + "KRCC" + kHead2},
      {en_lf + kr_lf, kHead1 + en_lf + kHead2, kHead1 + kr_lf + kHead2},  // LF line ends, as real files have
  };
  const std::string body = "<SYNC Start=1><P>x\r\n" + kTail;
  for (const auto& c : cases) {
    const Files files = Split(kHead1 + c.declarations + kHead2 + body);
    EXPECT_EQ(files, (Files{{"movie.ENCC.smi", c.en_header + body}, {"movie.KRCC.smi", c.kr_header + body}}));
  }
}

TEST(SplitByLanguage, BodyNodesGoToTheirClasses) {
  const std::string s1 = "<SYNC Start=1000>", s2 = "<SYNC Start=2000>";
  const std::string pk = "<P Class=KRCC>\xC7\xD1\r\n", pe = "<P Class=ENCC>Hello\r\n", both = "<P>both\r\n";
  // Text before the first sync goes everywhere; a sync without a paragraph nowhere.
  const Files files = Split(kHead1 + kKr + kEn + kHead2 + "stray\r\n" + s1 + pk + pe + "<!-- c -->\r\n" + s2 + both +
                            "<SYNC Start=3>\r\n" + kTail);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].second, kHead1 + kEn + kHead2 + "stray\r\n" + s1 + pe + "<!-- c -->\r\n" + s2 + both + kTail);
  EXPECT_EQ(files[1].second, kHead1 + kKr + kHead2 + "stray\r\n" + s1 + pk + "<!-- c -->\r\n" + s2 + both + kTail);
}

// Line-break repair whenever CHECKBR is not 0: a value of 2 must not select
// the mode that keeps empty paragraphs.
TEST(SplitByLanguage, AnalysisModeFollowsCheckBr) {
  for (const auto& [value, mode] : {std::pair{0L, 0}, {1L, 1}, {2L, 1}, {-1L, 1}})
    EXPECT_EQ(SplitAnalysisMode(value), mode) << value;
  const std::string head = kHead1 + kKr + kHead2, second = "<SYNC Start=2><P Class=KRCC>";
  EXPECT_EQ(Split(head + "<SYNC Start=1><P Class=KRCC>\r\none\r\ntwo\r\n" + second + "\r\n" + kTail,
                  SplitAnalysisMode(2))[0].second,
            head + "<SYNC Start=1><P Class=KRCC>\r\none<br>\r\ntwo\r\n" + second + "&nbsp;\r\n" + kTail);
}

TEST(SplitByLanguage, TenClassesAtMostAndNothingToSplit) {
  std::string decls, body = "<SYNC Start=1><P>all\r\n";
  for (char c = 'A'; c < 'A' + 11; ++c) decls += std::string(".C") + c + " {Name:x; lang:xx;}\r\n";
  const Files files = Split(kHead1 + decls.substr(0, decls.rfind(".CK")) + kHead2 + body + kTail);
  ASSERT_EQ(files.size(), kSplitFileSlots);
  EXPECT_EQ(files[0].first, "movie.CJ.smi");
  const SplitResult refused = SplitByLanguage(kHead1 + decls + kHead2 + body + kTail, "m.smi", 0);
  EXPECT_EQ(refused.error, kSplitTooManyClassesMessage);
  EXPECT_TRUE(refused.files.empty());
  // Nothing to split is no failure; a document never analysed is.
  const SplitResult none = SplitByLanguage("<SYNC Start=1><P Class=KRCC>a\r\n", "m.smi", 0);
  EXPECT_TRUE(none.ok() && none.files.empty());
  EXPECT_EQ(SplitDocument(SamiDocument{}, "m.smi").error, kAnalyseInitFailedMessage);
}

}  // namespace
}  // namespace cadenzio
