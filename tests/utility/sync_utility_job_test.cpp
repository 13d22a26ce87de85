// The sync utility's work command: checks and messages in order, replace mode, files written.
#include "utility/sync_utility_job.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/text_encoding.h"
#include "test_support.h"
#include "utility/merge_sorted.h"
#include "utility/srt_build.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr char kHead[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";

// Caption syncs at the given starts, then a blank one; two classes on request.
std::string Smi(std::vector<long> starts, long blank, bool two = false) {
  std::string s = kHead;
  if (two) s.insert(s.find("-->"), ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n");
  for (long t : starts) s += "<SYNC Start=" + std::to_string(t) + "><P Class=KRCC>\xC7\xD1\r\n";
  return s + "<SYNC Start=" + std::to_string(blank) + "><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}

std::set<std::string> Listing(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) names.insert(entry.path().filename());
  return names;
}

SyncUtilityJob Job(int option, std::string source, std::string output, RangeNumbers r = {}) {
  SyncUtilityJob job;
  job.option = option, job.source_name = std::move(source), job.output_name = std::move(output);
  job.start_position = r.start_position, job.start_change = r.start_change;
  job.end_change = r.end_change, job.end_position = r.end_position;
  return job;
}

TEST(SyncUtilityJob, RefusalsGiveTheirMessagesAndWriteNothing) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), two = dir.File("two.smi"), keep = dir.File("keep.smi");
  WriteFile(in, Smi({1000}, 2000));
  WriteFile(two, Smi({1000}, 2000, true));
  WriteFile(keep, "precious");
  const std::set<std::string> files = Listing(dir);
  using F = UtilityField;
  using I = MessageIcon;
  // Texts are UTF-8; caption, icon and focus are the last message's.
  struct Refusal { SyncUtilityJob job; std::vector<std::string> texts; const char* caption; I icon; F focus; };
  const std::string merge_first = Cp949ToUtf8(kMergeFirstNotOneLanguageMessage);
  const char* const e = "오 류";
  const std::vector<Refusal> refusals = {
      {Job(0, in, keep), {"옵션 선택이 올바르지 않습니다."}, e, I::Warning, F::kNone},
      {Job(kOptionRangeShift, "", keep), {"입력 화일명을 기입하세요."}, e, I::Warning, F::kSourceName},
      {Job(kOptionClearSyncs, "", keep, {0, -5, 0, 0}),
       {"    변경값은 0 값 보다 커야 합니다. 수정합니다.\r\n(0 값 입력시는 모든 노드에 자막에 &nbsp; 노드 추가)",
        "입력 화일명을 기입하세요."}, e, I::Warning, F::kSourceName},
      {Job(kOptionMergeTwo, in, ""), {"입력 두번째 화일명을 기입하세요."}, e, I::Warning, F::kOutputName},
      // Read before the sync values are checked.
      {Job(kOptionRatioScale, dir.path().string(), keep, {1000, 5000, 4000, 2000}),
       {"입력 화일을 읽어 들일 수 없습니다."}, e, I::Error, F::kSourceName},
      {Job(kOptionRangeShift, in, dir.File("no/out.smi")), {"출력 화일을 쓰기 위해서 열 수 없습니다."}, e, I::None,
       F::kOutputName},
      {Job(kOptionRatioScale, in, keep, {1000, 5000, 4000, 2000}),
       {"싱크값 입력이 잘못 되었습니다. 정확히 입력하세요."}, e, I::None, F::kStartPosition},
      {Job(kOptionRatioScale, in, keep, {1000, -100, 500, 2000}), {"변경 값은 음수가 될수 없습니다."}, e, I::None,
       F::kStartChange},
      {Job(kOptionClearSyncs, two, keep), {"&nbsp; 노드 추가작업은 1개 언어인 자막화일에만 사용가능 합니다."},
       "Cadenzio", I::Error, F::kNone},
      {Job(kOptionSrtWithText, "a.srt", " \t"), {"두번째 화일을 지정하세요."}, e, I::Warning, F::kOutputName},
      {Job(kOptionSrtWithIdx, " a.srt", "a.srt "), {"두개 화일은 같을 수 없습니다."}, e, I::Warning, F::kOutputName},
      // Names that differ in case only are two files here; neither exists.
      {Job(kOptionSrtWithIdx, dir.File("a.srt"), dir.File("A.srt")), {"화일을 열수가 없습니다."}, "Cadenzio",
       I::Error, F::kNone},
      {Job(kOptionMergeTwo, in, dir.File("none.smi")), {"두번째 입력 화일을 읽어 들일 수 없습니다."}, e, I::Error,
       F::kOutputName},
      {Job(kOptionMergeTwo, two, two), {merge_first}, "Cadenzio", I::Error, F::kNone},
  };
  for (const Refusal& r : refusals) {
    SyncUtilityJob job = r.job;
    bool asked = false;
    const UtilityRunResult result = job.Run([&](const UtilityMessage&) { return asked = true; });
    const std::string name = r.texts.back();
    EXPECT_FALSE(result.completed || asked) << name;
    ASSERT_EQ(result.messages.size(), r.texts.size()) << name;
    for (std::size_t i = 0; i < r.texts.size(); ++i) EXPECT_EQ(Cp949ToUtf8(result.messages[i].text), r.texts[i]);
    EXPECT_EQ(Cp949ToUtf8(result.messages.back().caption), r.caption) << name;
    EXPECT_EQ(result.messages.back().icon, r.icon) << name;
    EXPECT_EQ(result.focus, r.focus) << name;
    EXPECT_EQ(Listing(dir), files) << name;
    EXPECT_EQ(ReadFile(keep), "precious") << name;
  }
}

TEST(SyncUtilityJob, CompletedRunsWriteTheirFileAndReportTheTime) {
  EXPECT_EQ(Cp949ToUtf8(UtilityDoneMessage(12.3456)),
            "작업이 정상적으로 완료되었습니다.\r\n            12.346 초 걸림\r\n");
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, Smi({1000, 2000}, 2500));
  WriteFile(out, "old");
  SyncUtilityJob job = Job(kOptionClearSyncs, in, out, {0, -300, 0, 0});
  const UtilityRunResult result = job.Run(nullptr);
  ASSERT_TRUE(result.completed);
  EXPECT_EQ(job.start_change, 300);  // noticed, made positive, and used
  ASSERT_EQ(result.messages.size(), 2u);  // the notice, then the done message
  EXPECT_EQ(Cp949ToUtf8(result.messages[0].caption + result.messages[1].caption), "알 림작업 완료");
  EXPECT_EQ(result.messages[0].icon, MessageIcon::Information);
  EXPECT_EQ(result.messages[1].text, UtilityDoneMessage(result.seconds));
  EXPECT_EQ(result.messages[1].icon, MessageIcon::Information);
  EXPECT_EQ(result.written, out);
  EXPECT_EQ(ReadFile(out), Smi({1000, 2000}, 2800));

  job = Job(kOptionRatioScale, in, out, {1000, 1000, 3000, 2000});
  job.ratio_over_whole = true;
  ASSERT_TRUE(job.Run(nullptr).completed);
  EXPECT_EQ(ReadFile(out), Smi({1000, 3000}, 4000));
  EXPECT_EQ(ReadFile(in), Smi({1000, 2000}, 2500));

  // The merge (one file twice: the template) and the SRT builders.
  SyncUtilityJob merge = Job(kOptionMergeTwo, in, in);
  ASSERT_TRUE(merge.Run(nullptr).completed);
  EXPECT_EQ(ReadFile(in + ".Sorted"), MergeSorted(ReadFile(in), std::nullopt, false).bytes);
  const std::string srt = dir.File("movie.srt"), txt = dir.File(" movie.txt");
  WriteFile(srt, "1\r\n00:00:01,000 --> 00:00:02,000\r\nold\r\n\r\n");
  WriteFile(txt, "timestamp: 00:01:02:345, filepos: 000000000\r\n");
  for (int option : {kOptionSrtWithText, kOptionSrtWithIdx}) {
    SyncUtilityJob build = Job(option, srt, txt + " ");
    ASSERT_EQ(build.Run(nullptr).written, dir.File("movie.Merged.SRT"));
    EXPECT_EQ(build.output_name, txt);  // trimmed at its ends only
    EXPECT_EQ(ReadFile(dir.File("movie.Merged.SRT")),
              option == kOptionSrtWithIdx ? ApplyIdxStartTimes(ReadFile(srt), ReadFile(txt)).bytes
                                          : MergeSrtWithText(ReadFile(srt), ReadFile(txt)).bytes);
  }
}

TEST(SyncUtilityJob, ReplaceModeAsksFirst) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), two = dir.File("two.smi");
  WriteFile(in, Smi({1000}, 2000));
  WriteFile(two, Smi({1000}, 2000, true));
  std::vector<UtilityMessage> asked;
  bool answer = false;
  auto confirm = [&](const UtilityMessage& m) { return asked.push_back(m), answer; };
  const UtilityMessage question{kUtilityReplaceQuestion, kUtilityWarningCaption, MessageIcon::None};
  EXPECT_EQ(Cp949ToUtf8(question.text + question.caption), "기존 화일을 싱크 수정후 대치 하시겠습니까?경 고");
  for (const std::string& output : {std::string(), dir.File("IN.SMI")}) {
    asked.clear();
    const UtilityRunResult cancelled = Job(kOptionRangeShift, in, output, {0, 5, 0, 0}).Run(confirm);
    EXPECT_EQ(asked, std::vector<UtilityMessage>{question});
    EXPECT_TRUE(cancelled.messages.empty());
    EXPECT_EQ(cancelled.focus, UtilityField::kOutputName);
  }
  EXPECT_FALSE(Job(kOptionRangeShift, in, "", {0, 5, 0, 0}).Run(nullptr).completed);
  EXPECT_EQ(ReadFile(in), Smi({1000}, 2000));

  answer = true;
  const UtilityRunResult replaced = Job(kOptionRangeShift, in, dir.File("IN.SMI"), {0, 5, 0, 0}).Run(confirm);
  EXPECT_EQ(replaced.written, in);
  EXPECT_EQ(ReadFile(in), Smi({1005}, 2005));
  EXPECT_FALSE(std::filesystem::exists(dir.File("IN.SMI")));
  // A refused operation leaves the source as it was.
  EXPECT_FALSE(Job(kOptionClearSyncs, two, "").Run(confirm).completed);
  EXPECT_EQ(ReadFile(two), Smi({1000}, 2000, true));
}

TEST(SyncUtilityJob, StrictInputRefusesWhatIsNoCaptionFile) {
  TempDir dir;
  for (const std::string& bytes : {std::string(), std::string("<SYNC Start=1>\0", 15)}) {
    WriteFile(dir.File("in.smi"), bytes);
    SyncUtilityJob job = Job(kOptionRangeShift, dir.File("in.smi"), dir.File("out.smi"));
    EXPECT_TRUE(job.Run(nullptr).completed);  // the window takes such a file
    std::filesystem::remove(dir.File("out.smi"));
    job.strict_input = true;
    const UtilityRunResult strict = job.Run(nullptr);
    EXPECT_EQ(strict.messages.size(), 1u);
    EXPECT_EQ(strict.focus, UtilityField::kSourceName);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.smi")));
  }
}

}  // namespace
}  // namespace cadenzio
