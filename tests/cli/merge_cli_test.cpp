// cadenzio-cli merge, srt-text and srt-idx as a user runs them: output bytes
// and the window's messages in UTF-8.
#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "test_support.h"
#include "utility/merge_sorted.h"
#include "utility/sync_utility_job.h"

namespace cadenzio::test {
namespace {

std::string Sami(const std::string& cls, const std::string& body) {
  return "<SAMI><HEAD><STYLE>\r\n." + cls + " {N:x; lang:xx;}\r\n</STYLE></HEAD><BODY>\r\n" + body +
         "</BODY></SAMI>\r\n";
}
const std::string kA = Sami("ENCC", "<SYNC Start=1000><P Class=ENCC>a\r\nb\r\n");
const std::string kB = Sami("KRCC", "<SYNC Start=500><P Class=KRCC>\xC7\xD1\r\n");
const std::string kSrt =
    "1\n00:00:01,000 --> 00:00:02,000\nold\n\n2\n00:00:03,000 --> 00:00:03,500\nold\n";
const std::string kDone = Cp949ToUtf8(UtilityDoneMessage(0)).substr(0, 20);

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

}  // namespace
}  // namespace cadenzio::test
