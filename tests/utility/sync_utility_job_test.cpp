// The sync utility's work command: checks and messages in order, replace mode, files written.
#include "utility/sync_utility_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/text_encoding.h"
#include "test_support.h"
#include "utility/merge_sorted.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Caption syncs at the given starts, then a blank one; two classes on request.
std::string Smi(std::vector<long> starts, long blank, bool two = false) {
  std::string s = "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n.KRCC {Name:Korean; lang:ko-KR; }\r\n" +
                  std::string(two ? ".ENCC {Name:English; lang:en-US; }\r\n" : "") + "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
  for (long t : starts) s += "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>\xC7\xD1\r\n";
  return s + "<SYNC Start=" + std::to_string(blank) + "><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}

std::set<std::string> Listing(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.insert(entry.path().filename());
  return names;
}

SyncUtilityJob Job(int option, std::string source, std::string output, RangeNumbers r = {}, bool strict = false) {
  SyncUtilityJob job;
  job.option = option, job.source_name = std::move(source), job.output_name = std::move(output);
  job.start_position = r.start_position, job.start_change = r.start_change;
  job.end_change = r.end_change, job.end_position = r.end_position, job.strict_input = strict;
  return job;
}

TEST(SyncUtilityJob, RefusalsGiveTheirMessagesAndWriteNothing) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), two = dir.File("two.smi"), keep = dir.File("keep.smi");
  const std::string empty = dir.File("empty.smi"), nul = dir.File("nul.smi");
  WriteFile(in, Smi({1000}, 2000));
  WriteFile(two, Smi({1000}, 2000, true));
  WriteFile(keep, "precious");
  WriteFile(empty, "");
  WriteFile(nul, std::string("<SYNC Start=1>\0", 15));
  const std::set<std::string> files = Listing(dir);
  using F = UtilityField;
  using I = MessageIcon;
  // Texts in UTF-8; caption "오 류" unless given; icon and focus are the last message's.
  struct Refusal { SyncUtilityJob job; std::vector<std::string> texts; I icon; F focus; const char* caption = "오 류"; };
  const RangeNumbers bad_ratio{1000, 5000, 4000, 2000};
  const std::vector<Refusal> refusals = {
      {Job(0, in, keep), {"옵션 선택이 올바르지 않습니다."}, I::Warning, F::kNone},
      {Job(kOptionClearSyncs, "", keep, {0, -5, 0, 0}),
       {"    변경값은 0 값 보다 커야 합니다. 수정합니다.\r\n(0 값 입력시는 모든 노드에 자막에 &nbsp; 노드 추가)",
        "입력 화일명을 기입하세요."}, I::Warning, F::kSourceName},
      {Job(kOptionMergeTwo, in, ""), {"입력 두번째 화일명을 기입하세요."}, I::Warning, F::kOutputName},
      // Read before the sync values are checked.
      {Job(kOptionRatioScale, dir.path().string(), keep, bad_ratio), {"입력 화일을 읽어 들일 수 없습니다."}, I::Error, F::kSourceName},
      {Job(kOptionRangeShift, in, dir.File("no/out.smi")), {"출력 화일을 쓰기 위해서 열 수 없습니다."}, I::None, F::kOutputName},
      {Job(kOptionRatioScale, in, keep, bad_ratio), {"싱크값 입력이 잘못 되었습니다. 정확히 입력하세요."}, I::None, F::kStartPosition},
      {Job(kOptionRatioScale, in, keep, {1000, -100, 500, 2000}), {"변경 값은 음수가 될수 없습니다."}, I::None, F::kStartChange},
      {Job(kOptionClearSyncs, two, keep), {"&nbsp; 노드 추가작업은 1개 언어인 자막화일에만 사용가능 합니다."}, I::Error,
       F::kNone, "Cadenzio"},
      {Job(kOptionSrtWithText, "a.srt", " \t"), {"두번째 화일을 지정하세요."}, I::Warning, F::kOutputName},
      {Job(kOptionSrtWithIdx, " a.srt", "a.srt "), {"두개 화일은 같을 수 없습니다."}, I::Warning, F::kOutputName},
      // Names that differ in case only are two files here; neither exists.
      {Job(kOptionSrtWithIdx, dir.File("a.srt"), dir.File("A.srt")), {"화일을 열수가 없습니다."}, I::Error, F::kNone, "Cadenzio"},
      {Job(kOptionMergeTwo, in, dir.File("none.smi")), {"두번째 입력 화일을 읽어 들일 수 없습니다."}, I::Error, F::kOutputName},
      {Job(kOptionMergeTwo, two, two), {Cp949ToUtf8(kMergeFirstNotOneLanguageMessage)}, I::Error, F::kNone, "Cadenzio"},
      // Strict input (the CLI's) refuses what the window takes.
      {Job(kOptionRangeShift, empty, keep, {}, true), {"'" + empty + "' is empty"}, I::Error, F::kSourceName},
      {Job(kOptionRangeShift, nul, keep, {}, true), {"'" + nul + "' is not a text file (it holds NUL bytes)"}, I::Error,
       F::kSourceName},
  };
  for (const Refusal& r : refusals) {
    SyncUtilityJob job = r.job;
    bool asked = false;
    const UtilityRunResult result = job.Run([&](const UtilityMessage&) { return asked = true; });
    std::vector<std::string> texts;
    for (const UtilityMessage& m : result.messages) texts.push_back(Cp949ToUtf8(m.text));
    EXPECT_EQ(texts, r.texts);
    ASSERT_FALSE(result.completed || asked || texts.empty()) << r.texts.back();
    EXPECT_EQ(std::tie(result.messages.back().icon, result.focus), std::tie(r.icon, r.focus)) << r.texts.back();
    EXPECT_EQ(Cp949ToUtf8(result.messages.back().caption), r.caption) << r.texts.back();
    EXPECT_TRUE(Listing(dir) == files && ReadFile(keep) == "precious") << r.texts.back();
  }
  EXPECT_TRUE(Job(kOptionRangeShift, nul, keep).Run(nullptr).completed);
}

TEST(SyncUtilityJob, CompletedRunsWriteTheirFileAndReportTheTime) {
  EXPECT_EQ(Cp949ToUtf8(UtilityDoneMessage(12.3456)), "작업이 정상적으로 완료되었습니다.\r\n            12.346 초 걸림\r\n");
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, Smi({1000, 2000}, 2500));
  WriteFile(out, "old");
  SyncUtilityJob job = Job(kOptionClearSyncs, in, out, {0, -300, 0, 0});
  const UtilityRunResult result = job.Run(nullptr);
  EXPECT_EQ(job.start_change, 300);  // noticed, made positive, and used
  ASSERT_EQ(result.messages.size(), 2u);  // the notice, then the done message
  EXPECT_EQ(Cp949ToUtf8(result.messages[0].caption + result.messages[1].caption), "알 림작업 완료");
  EXPECT_EQ(result.messages[1].text, UtilityDoneMessage(result.seconds));
  EXPECT_EQ(result.written, out);
  EXPECT_EQ(ReadFile(out), Smi({1000, 2000}, 2800));

  // The merge of one file twice: the template.
  ASSERT_TRUE(Job(kOptionMergeTwo, in, in).Run(nullptr).completed);
  EXPECT_EQ(ReadFile(in + ".Sorted"), MergeSorted(ReadFile(in), std::nullopt, false).bytes);

  // The source named again in other letter case is replaced once confirmed; a refused
  // operation leaves it as it was. The question itself: the window's tests.
  auto yes = [](const UtilityMessage& m) { return m.text == kUtilityReplaceQuestion; };
  EXPECT_EQ(Job(kOptionRangeShift, in, dir.File("IN.SMI"), {0, 5, 0, 0}).Run(yes).written, in);
  EXPECT_EQ(ReadFile(in), Smi({1005, 2005}, 2505));
  const std::string two = dir.File("two.smi");
  WriteFile(two, Smi({1000}, 2000, true));
  EXPECT_FALSE(Job(kOptionClearSyncs, two, "").Run(yes).completed);
  EXPECT_EQ(ReadFile(two), Smi({1000}, 2000, true));
  EXPECT_FALSE(std::filesystem::exists(dir.File("IN.SMI")));
}

}  // namespace
}  // namespace cadenzio
