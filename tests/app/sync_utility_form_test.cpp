// The sync utility window's logic on in-memory dialogs: what each option
// enables, the refusals of bad fields with their messages and focus, and runs
// on real files. The job's own messages and outputs are pinned by its tests.
#include "app/sync_utility_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/memory_dialogs.h"
#include "platform/text_encoding.h"
#include "test_support.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::WriteFile;

std::string Smi(int second) {
  return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n.KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
         "-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n<SYNC Start=1000><P Class=KRCC>one\r\n<SYNC Start=" +
         std::to_string(second) + "><P Class=KRCC>two\r\n<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";
}
const std::string kSmi = Smi(2000), kShifted = Smi(2500);  // 2000 moved by +500 in the range 1500..3000

SyncUtilityControls Controls(int option, std::string source, std::string output, std::string start_position = "0",
                             std::string start_change = "0", std::string end_position = "0",
                             std::string end_change = "0") {
  return {.source_name = source, .output_name = output, .start_position = start_position,
          .start_change = start_change, .end_change = end_change, .end_position = end_position, .option = option};
}

// The message boxes shown, each as "text / caption / icon / buttons" in UTF-8.
std::vector<std::string> Shown(const MemoryDialogs& dialogs) {
  std::vector<std::string> boxes;
  for (const ShownMessage& m : dialogs.messages())
    boxes.push_back(Cp949ToUtf8(m.text) + " / " + Cp949ToUtf8(m.caption) + " / " +
                    std::to_string(static_cast<int>(m.icon)) + " / " + std::to_string(static_cast<int>(m.buttons)));
  return boxes;
}

TEST(SyncUtilityForm, EachOptionEnablesItsControlsAndWritesItsHints) {
  const char* smi = "자막 화일(*.smi)|*.smi|모든 화일(*.*)|*.*||";
  struct Row {
    int option;
    bool numbers, ratio, second_opens;
    const char *first_filter, *second_filter, *source_hint, *output_hint;  // "": hint unchanged
  };
  const Row rows[] = {
      {1017, true, false, false, smi, smi, "", ""},
      {1019, true, true, false, smi, smi, "", ""},
      {1039, false, false, true, smi, smi, "싱크 정렬후 합칠 '첫'번째 화일을 지정하세요.",
       "싱크 정렬후 합칠 '두'번째 화일을 지정하세요. (두 화일이 같으면...)"},
      {1046, false, false, true, "자막 화일(*.srt)|*.srt|모든 화일(*.*)|*.*||",
       "자막 텍스트 화일(*.txt)|*.txt|모든 화일(*.*)|*.*||", "싱크값을 가지고 있는 SRT 화일",
       "빈라인으로 싱크에 대한 자막텍스트 화일"},
      {1047, false, false, true, "자막 화일(*.srt)|*.srt||", "인덱스 화일(*.idx)|*.idx||",
       "싱크 변위를 가지고 있는 SRT 화일", "싱크 시작값들을 가진 IDX 화일"},
  };
  SyncUtilityForm form("movie.smi");  // shown as for 1017
  for (const Row& row : rows) {
    SCOPED_TRACE(row.option);
    const UtilityOptionView& view = form.ChooseOption(row.option);
    EXPECT_EQ(std::tuple(view.output_enabled, view.numbers_enabled, view.ratio_enabled, view.second_picker_opens),
              std::tuple(true, row.numbers, row.ratio, row.second_opens));
    EXPECT_EQ(Cp949ToUtf8(view.first_filter), row.first_filter);
    EXPECT_EQ(Cp949ToUtf8(view.second_filter), row.second_filter);
    EXPECT_EQ(Cp949ToUtf8(view.source_hint.value_or("")), row.source_hint);
    EXPECT_EQ(Cp949ToUtf8(view.output_hint.value_or("")), row.output_hint);
  }

  // The first picker opens with the first filter; a cancelled one keeps the last choice.
  MemoryDialogs dialogs;
  UtilityPickerPaths remembered;
  form.ChooseOption(1017);
  dialogs.QueuePath("/a/in.smi");
  EXPECT_EQ(form.PickFile(false, dialogs, remembered), "/a/in.smi");
  EXPECT_EQ(form.PickFile(false, dialogs, remembered), std::nullopt);
  EXPECT_EQ(dialogs.file_dialogs().at(1).initial_path, "/a/in.smi");
  EXPECT_EQ(dialogs.file_dialogs()[0].filters, (std::vector<FileFilter>{{Utf8ToCp949("자막 화일(*.smi)").bytes, "*.smi"},
                                                                        {Utf8ToCp949("모든 화일(*.*)").bytes, "*.*"}}));
}

TEST(SyncUtilityForm, BadFieldsShowTheirMessageFocusTheFieldAndWriteNothing) {
  test::TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, kSmi);
  const std::tuple<SyncUtilityControls, std::string, int> cases[] = {  // {controls, box, focus}
      {Controls(1017, in, out, "0", ""), "정수를 입력하십시오. / Cadenzio / 2 / 0", 1009},
      {Controls(1017, in, out, "0", "0", "0", "-"), "정수를 입력하십시오. / Cadenzio / 2 / 0", 1015},
      {Controls(1017, in, out, "0", "0", "-2147483648"), "-2147483647에서 2147483647 사이의 정수를 입력하십시오. / Cadenzio / 2 / 0", 1011},
      // The job's refusals are shown as it gives them, focus on the field it names.
      {Controls(1017, "", out), "입력 화일명을 기입하세요. / 오 류 / 2 / 0", 1003},
      {Controls(1046, " " + in, in + " "), "두개 화일은 같을 수 없습니다. / 오 류 / 2 / 0", 1005},
      {Controls(1019, in, out, "1000", "5000", "2000", "4000"), "싱크값 입력이 잘못 되었습니다. 정확히 입력하세요. / 오 류 / 0 / 0", 1007},
  };
  for (const auto& [controls, box, focus] : cases) {
    SyncUtilityForm form(in);
    MemoryDialogs dialogs;
    const UtilityFormReply reply = form.RunWork(controls, dialogs);
    EXPECT_EQ(Shown(dialogs), std::vector<std::string>{box});
    EXPECT_EQ(reply.focus, focus) << box;
    EXPECT_FALSE(reply.completed);
    EXPECT_EQ(ReadFile(in), kSmi);
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

TEST(SyncUtilityForm, RangeShiftWritesTheOutputOrAsksBeforeReplacingTheSource) {
  test::TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, kSmi);
  SyncUtilityForm form(in);
  MemoryDialogs dialogs;
  UtilityFormReply reply = form.RunWork(Controls(1017, in, out, "1500", "500", "3000"), dialogs);
  EXPECT_TRUE(reply.completed && reply.written == out);
  EXPECT_EQ(ReadFile(out), kShifted);
  EXPECT_EQ(ReadFile(in), kSmi);
  // The output named as the source in other letter case: the question;
  // Cancel focuses the output name and writes nothing.
  std::string upper = in;
  upper.replace(upper.size() - 3, 3, "SMI");
  MemoryDialogs cancelled;
  cancelled.QueueAnswer(MessageAnswer::Cancel);
  reply = form.RunWork(Controls(1017, in, upper, "1500", "500", "3000"), cancelled);
  EXPECT_EQ(Shown(cancelled), std::vector<std::string>{"기존 화일을 싱크 수정후 대치 하시겠습니까? / 경 고 / 0 / 1"});
  EXPECT_EQ(reply.focus, 1005);
  EXPECT_EQ(ReadFile(in), kSmi);
  // No output name and OK: the source is rewritten in place.
  MemoryDialogs replaced;
  EXPECT_TRUE(form.RunWork(Controls(1017, in, "", "1500", "500", "3000"), replaced).completed);
  EXPECT_EQ(ReadFile(in), kShifted);
}

}  // namespace
}  // namespace cadenzio
