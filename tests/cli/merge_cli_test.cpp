// cadenzio-cli merge, srt-text and srt-idx as a user runs them: output bytes,
// the window's messages in UTF-8, and refusals that leave every file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/text_encoding.h"
#include "test_support.h"
#include "utility/merge_sorted.h"
#include "utility/srt_build.h"
#include "utility/sync_utility_job.h"

namespace cadenzio::test {
namespace {

namespace fs = std::filesystem;

std::string Sami(const std::string& cls, const std::string& body) {
  return "<SAMI><HEAD><STYLE>\r\n." + cls + " {N:x; lang:xx;}\r\n</STYLE></HEAD><BODY>\r\n" + body +
         "</BODY></SAMI>\r\n";
}
const std::string kA = Sami("ENCC", "<SYNC Start=1000><P Class=ENCC>a\r\nb\r\n");
const std::string kB = Sami("KRCC", "<SYNC Start=500><P Class=KRCC>\xC7\xD1\r\n");
const std::string kSrt =
    "1\n00:00:01,000 --> 00:00:02,000\nold\n\n2\n00:00:03,000 --> 00:00:03,500\nold\n";
const std::string kDone = Cp949ToUtf8(UtilityDoneMessage(0)).substr(0, 20);

std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(MergeCli, WritesOut) {
  TempDir dir;
  WriteFile(dir.File("a.smi"), kA);
  WriteFile(dir.File("b.smi"), kB);
  WriteFile(dir.File("out.smi"), "old");
  WriteFile(dir.File("in.srt"), kSrt);
  WriteFile(dir.File("in.txt"), "\r\nnew one\r\n\r\nnew\r\ntwo\r\n");
  WriteFile(dir.File("in.idx"), "id: en\ntimestamp: 00:01:00:000, filepos: 0\n");
  const std::string merged_head = "<SAMI><HEAD><STYLE>\r\n.ENCC {N:x; lang:xx;}\r\n.KRCC {N:x; lang:xx;}\r\n"
                                  "</STYLE></HEAD><BODY>\r\n<SYNC Start=500><P Class=KRCC>\xC7\xD1\r\n";
  const struct {
    std::vector<std::string> args;
    std::string expected, notice;
  } runs[] = {
      {{"merge", dir.File("a.smi"), dir.File("b.smi"), dir.File("out.smi")},
       merged_head + "<SYNC Start=1000><P Class=ENCC>a\r\nb\r\n</BODY></SAMI>\r\n", ""},
      {{"merge", dir.File("a.smi"), "--fix-br", dir.File("b.smi"), dir.File("br.smi")},
       merged_head + "<SYNC Start=1000><P Class=ENCC>a<br>\r\nb\r\n</BODY></SAMI>\r\n", ""},
      {{"merge", dir.File("b.smi"), dir.File("b.smi"), dir.File("t.smi")},
       "<SAMI><HEAD><STYLE>\r\n" + std::string(kTemplateClassDeclaration) +
           ".KRCC {N:x; lang:xx;}\r\n</STYLE></HEAD><BODY>\r\n"
           "<SYNC Start=500><P Class=KRCC>\r\n\r\n<P Class=KRCC>\xC7\xD1\r\n</BODY></SAMI>\r\n",
       ""},
      {{"srt-text", " " + dir.File("in.srt"), dir.File("in.txt") + "\t", dir.File("t.srt")},
       "1\r\n00:00:01,000 --> 00:00:02,000\nnew one\r\n\r\n"
       "2\r\n00:00:03,000 --> 00:00:03,500\nnew\r\ntwo\r\n\r\n",
       ""},
      {{"srt-idx", dir.File("in.srt"), dir.File("in.idx"), dir.File("i.srt")},
       "1\r\n00:01:00,000 --> 00:01:01,000\r\nold\n\n2\r\n00:00:03,000 --> 00:00:03,500\r\nold\n",
       "1 caption(s) past the IDX file's last timestamp kept their own start"},
  };
  for (const auto& run : runs) {
    const RunResult r = RunCli(run.args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(run.args.back()), run.expected) << run.args[0] << " " << run.args.back();
    EXPECT_NE(r.err.find(kDone), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(run.notice), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(MergeCli, RefusalsLeaveEveryFileAsItWas) {
  TempDir dir;
  WriteFile(dir.File("a.smi"), kA);
  WriteFile(dir.File("b.smi"), kB);
  WriteFile(dir.File("two.smi"), Sami("ENCC", "") + Sami("KRCC", "<SYNC Start=1><P>x\r\n"));
  WriteFile(dir.File("two.txt"), "x\n\ny\n");
  WriteFile(dir.File("garbage"), std::string("\x00\xFF<SYNC\x80\r\n", 10));
  WriteFile(dir.File("in.srt"), kSrt);
  WriteFile(dir.File("one.txt"), "only one\n");
  WriteFile(dir.File("in.idx"), "# VobSub index\nsize: 720x480\ntimestamp: 00:01\n");
  WriteFile(dir.File("keep"), "precious");
  const std::vector<std::string> before = Listing(dir.path());
  const std::string a = dir.File("a.smi"), b = dir.File("b.smi"), srt = dir.File("in.srt");
  const std::string keep = dir.File("keep"), missing = dir.File("missing"), fresh = dir.File("new");
  const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
      {{"merge", "", b, keep}, Cp949ToUtf8(kUtilityNoSourceMessage)},
      {{"merge", a, "", keep}, Cp949ToUtf8(kUtilityNoSecondNameMessage)},
      {{"merge", missing, b, fresh}, Cp949ToUtf8(kUtilitySourceUnreadableMessage)},
      {{"merge", a, missing, keep}, Cp949ToUtf8(kUtilitySecondUnreadableMessage)},
      {{"merge", dir.File("two.smi"), b, fresh}, Cp949ToUtf8(kMergeFirstNotOneLanguageMessage)},
      {{"merge", a, dir.File("garbage"), keep}, Cp949ToUtf8(kMergeSecondNotOneLanguageMessage)},
      {{"merge", a, b, b}, "names one of the input files"},
      {{"merge", a, b, dir.File("no/such/out")}, Cp949ToUtf8(kMergeOutputOpenFailedMessage)},
      {{"srt-text", srt, " \t", keep}, Cp949ToUtf8(kUtilityNoSecondFileMessage)},
      {{"srt-idx", srt, " " + srt + " ", keep}, Cp949ToUtf8(kUtilitySameFilesMessage)},
      {{"srt-text", missing, srt, fresh}, Cp949ToUtf8(kSrtBuildOpenFailedMessage)},
      {{"srt-text", srt, dir.File("one.txt"), keep}, "   SRT - 2,  TXT - 1"},
      {{"srt-idx", dir.File("garbage"), dir.File("in.idx"), keep}, "holds no SRT timing line"},
      {{"srt-idx", srt, dir.File("in.idx"), fresh}, "holds no \"timestamp: HH:MM:SS:mmm\" line"},
      {{"srt-text", srt, dir.File("one.txt"), srt}, "names one of the input files"},
      {{"srt-text", srt, dir.File("two.txt"), dir.File("no/such/out")},
       Cp949ToUtf8(kSrtBuildCreateFailedMessage)},
  };
  for (const auto& [args, message] : refusals) {
    const RunResult r = RunCli(args);
    EXPECT_EQ(r.status, 1) << message;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(kDone), std::string::npos) << r.err;
  }
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"merge", a, b}, {"merge", a, b, keep, "--whole"}, {"srt-text", srt, srt, srt, keep}, {"srt-idx", a}}) {
    const RunResult r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args.size();
    EXPECT_NE(r.err.find("Usage: cadenzio-cli " + args[0]), std::string::npos) << r.err;
  }
  EXPECT_EQ(ReadFile(keep), "precious");
  EXPECT_EQ(ReadFile(b), kB);
  EXPECT_EQ(ReadFile(srt), kSrt);
  EXPECT_EQ(Listing(dir.path()), before);
}

}  // namespace
}  // namespace cadenzio::test
