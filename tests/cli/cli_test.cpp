// cadenzio-cli as a user runs it: exit codes, messages, output files.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace cadenzio::test {
namespace {

constexpr char kCaption[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    "P { color:#FFFFFF; }\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n"
    "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>\xC7\xD1\xB1\xDB\r\nline two\r\n<P Class=ENCC>Hello\r\n"
    "<!-- c -->\r\n<SYNC Start=2500><P Class=KRCC>\r\n</BODY>\r\n</SAMI>\r\n";

TEST(Cli, HelpAndUsageErrors) {
  const auto help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("rewrite"), std::string::npos);
  EXPECT_NE(help.out.find("info"), std::string::npos);
  EXPECT_EQ(RunCli({}).status, 2);
  EXPECT_EQ(RunCli({"frobnicate"}).status, 2);
  const auto rewrite_help = RunCli({"rewrite", "--help"});
  EXPECT_EQ(rewrite_help.status, 0);
  EXPECT_EQ(rewrite_help.out.rfind("Usage: cadenzio-cli rewrite", 0), 0u);

  for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
           {"rewrite", "only-one"}, {"rewrite", "--mode", "3", "a", "b"},
           {"rewrite", "--mode"}, {"rewrite", "--bogus", "x", "a", "b"}, {"info"}}) {
    const auto r = RunCli(args);
    EXPECT_EQ(r.status, 2) << args[0] << " " << args.size();
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
}

TEST(Cli, RewriteNormalisesAndKeepsExistingOutputOnFailure) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  ASSERT_EQ(RunCli({"rewrite", "--mode", "1", dir.File("in.smi"), dir.File("out.smi")}).status, 0);
  const std::string once = ReadFile(dir.File("out.smi"));
  EXPECT_NE(once.find("\xC7\xD1\xB1\xDB<br>\r\nline two"), std::string::npos);
  EXPECT_NE(once.find("<P Class=KRCC>&nbsp;\r\n</BODY>"), std::string::npos);
  ASSERT_EQ(RunCli({"rewrite", "--mode", "1", dir.File("out.smi"), dir.File("again.smi")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("again.smi")), once);

  // A missing input is a failure; the output that was there stays.
  WriteFile(dir.File("keep.smi"), "precious");
  const auto missing = RunCli({"rewrite", dir.File("nope.smi"), dir.File("keep.smi")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nope.smi"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("keep.smi")), "precious");
  const auto unwritable = RunCli({"rewrite", dir.File("in.smi"), dir.File("no/such/dir/out.smi")});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
}

TEST(Cli, InfoReportsTheDocument) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), kCaption);
  const auto r = RunCli({"info", dir.File("in.smi")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out,
            "classes: KRCC ENCC\n"
            "colour: #ffffff\n"
            "syncs: 2\nparagraphs: 3\ncomments: 1\noverflow: 0\n"
            "first start: 1000\nlast start: 2500\n"
            "valid: yes\n");
}

// Without closing tags the body ends in a supplied "\r\n</BODY>", which
// puts a blank line after the last caption; mode 1 folds that blank line on
// the next pass, so a file settles after two rewrites, not one.
TEST(Cli, RewriteWithoutClosingTagsSettlesOnSecondPass) {
  TempDir dir;
  WriteFile(dir.File("in.smi"), "<SYNC Start=1><P Class=KRCC>Hello\r\n");
  std::vector<std::string> passes;
  std::string in = dir.File("in.smi");
  for (int i = 0; i < 3; ++i) {
    const std::string out = dir.File("pass" + std::to_string(i));
    ASSERT_EQ(RunCli({"rewrite", "--mode", "1", in, out}).status, 0);
    passes.push_back(ReadFile(out));
    in = out;
  }
  EXPECT_EQ(passes[0], "<SYNC Start=1><P Class=KRCC>Hello\r\n\r\n</BODY>\r\n</SAMI>");
  EXPECT_EQ(passes[1], "<SYNC Start=1><P Class=KRCC>Hello\r\n</BODY>\r\n</SAMI>");
  EXPECT_EQ(passes[2], passes[1]);
}

// Real files written by other tools: a rewrite keeps what it does not
// normalise, and a second rewrite changes nothing.
TEST(Cli, RewriteOfRealFilesIsStable) {
  const std::string samples = SamplesDir();
  if (samples.empty()) GTEST_SKIP() << "samples folder absent";
  TempDir dir;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(samples)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".smi" && ext != ".sami") continue;
    ++files;
    const std::string in = entry.path().string();
    for (const char* mode : {"0", "1"}) {
      ASSERT_EQ(RunCli({"rewrite", "--mode", mode, in, dir.File("a")}).status, 0) << in;
      ASSERT_EQ(RunCli({"rewrite", "--mode", mode, dir.File("a"), dir.File("b")}).status, 0);
      EXPECT_EQ(ReadFile(dir.File("a")), ReadFile(dir.File("b"))) << in << " mode " << mode;
    }
    const std::string original = ReadFile(in);
    ASSERT_EQ(RunCli({"rewrite", "--mode", "2", in, dir.File("c")}).status, 0);
    // Mode 2 only rewrites paragraphs of a lone <br>; files without one and
    // with their closing tags come back byte for byte.
    if (original.find("</SAMI") != std::string::npos || original.find("</sami") != std::string::npos) {
      if (original.find("<br>\r\n<") == std::string::npos)
        EXPECT_EQ(ReadFile(dir.File("c")), original) << in;
    }
  }
  EXPECT_GT(files, 10);
}

}  // namespace
}  // namespace cadenzio::test
