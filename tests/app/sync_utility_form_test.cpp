// The sync utility window's logic on in-memory dialogs: what each option
// enables, the refusals of bad fields with their messages and focus, and runs
// on real files. The job's own messages and outputs are pinned by its tests.
#include "app/sync_utility_form.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/memory_dialogs.h"
#include "platform/text_encoding.h"
#include "test_support.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

constexpr char kSmi[] =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>one\r\n<SYNC Start=2000><P Class=KRCC>two\r\n"
    "<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";

// kSmi with 2000 moved by +500 and 3000 left alone (range 1500..3000).
const std::string kShifted = [] {
  std::string shifted = kSmi;
  return shifted.replace(shifted.find("2000"), 4, "2500");
}();

SyncUtilityControls Controls(int option, std::string source, std::string output, std::string start_position = "0",
                             std::string start_change = "0", std::string end_position = "0",
                             std::string end_change = "0") {
  return {.source_name = source, .output_name = output, .start_position = start_position,
          .start_change = start_change, .end_change = end_change, .end_position = end_position, .option = option};
}

// A message box as "text / caption / icon / buttons" in UTF-8, for readable failures.
std::string Box(std::string_view text, std::string_view caption, MessageIcon icon,
                MessageButtons buttons = MessageButtons::Ok) {
  return std::string(text) + " / " + std::string(caption) + " / " + std::to_string(static_cast<int>(icon)) + " / " +
         std::to_string(static_cast<int>(buttons));
}
std::vector<std::string> Shown(const MemoryDialogs& dialogs) {
  std::vector<std::string> boxes;
  for (const ShownMessage& m : dialogs.messages())
    boxes.push_back(Box(Cp949ToUtf8(m.text), Cp949ToUtf8(m.caption), m.icon, m.buttons));
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
      {1025, true, false, false, smi, smi, "", ""},
      {1039, false, false, true, smi, smi, "싱크 정렬후 합칠 '첫'번째 화일을 지정하세요.",
       "싱크 정렬후 합칠 '두'번째 화일을 지정하세요. (두 화일이 같으면...)"},
      {1046, false, false, true, "자막 화일(*.srt)|*.srt|모든 화일(*.*)|*.*||",
       "자막 텍스트 화일(*.txt)|*.txt|모든 화일(*.*)|*.*||", "싱크값을 가지고 있는 SRT 화일",
       "빈라인으로 싱크에 대한 자막텍스트 화일"},
      {1047, false, false, true, "자막 화일(*.srt)|*.srt||", "인덱스 화일(*.idx)|*.idx||",
       "싱크 변위를 가지고 있는 SRT 화일", "싱크 시작값들을 가진 IDX 화일"},
  };
  SyncUtilityForm form("movie.smi");
  EXPECT_TRUE(form.view().numbers_enabled && !form.view().ratio_enabled);  // shown as for 1017
  for (const Row& row : rows) {
    SCOPED_TRACE(row.option);
    const UtilityOptionView& view = form.ChooseOption(row.option);
    EXPECT_TRUE(view.output_enabled);
    EXPECT_EQ(view.numbers_enabled, row.numbers);
    EXPECT_EQ(view.ratio_enabled, row.ratio);
    EXPECT_EQ(view.second_picker_opens, row.second_opens);
    EXPECT_EQ(Cp949ToUtf8(view.first_filter), row.first_filter);
    EXPECT_EQ(Cp949ToUtf8(view.second_filter), row.second_filter);
    EXPECT_EQ(Cp949ToUtf8(view.source_hint.value_or("")), row.source_hint);
    EXPECT_EQ(Cp949ToUtf8(view.output_hint.value_or("")), row.output_hint);
  }
  EXPECT_EQ(ParseFilterList("A(*.smi)|*.smi|B(*.*)|*.*||"),
            (std::vector<FileFilter>{{"A(*.smi)", "*.smi"}, {"B(*.*)", "*.*"}}));

  // The pickers: Open with the first filter; the second a Save dialog asking
  // before overwriting for the range options, an Open one for the others.
  // Each starts at the path it chose last.
  MemoryDialogs dialogs;
  UtilityPickerPaths remembered;
  form.ChooseOption(1019);
  dialogs.QueuePath("/a/in.smi");
  EXPECT_EQ(form.PickFile(false, dialogs, remembered), "/a/in.smi");
  dialogs.QueuePath("/a/out.smi");
  EXPECT_EQ(form.PickFile(true, dialogs, remembered), "/a/out.smi");
  form.ChooseOption(1047);
  EXPECT_EQ(form.PickFile(true, dialogs, remembered), std::nullopt);  // cancelled
  ASSERT_EQ(dialogs.file_dialogs().size(), 3u);
  const FileDialogRequest &open = dialogs.file_dialogs()[0], &save = dialogs.file_dialogs()[1],
                          &idx = dialogs.file_dialogs()[2];
  EXPECT_FALSE(open.save || open.confirm_overwrite);
  EXPECT_EQ(open.initial_path + open.default_extension, "");
  EXPECT_EQ(open.filters.size(), 2u);
  EXPECT_TRUE(save.save && save.confirm_overwrite);
  EXPECT_FALSE(idx.save);
  EXPECT_EQ(idx.initial_path, "/a/out.smi");  // the cancel kept the last choice
  EXPECT_EQ(idx.filters, (std::vector<FileFilter>{{Utf8ToCp949("인덱스 화일(*.idx)").bytes, "*.idx"}}));
  EXPECT_EQ(remembered.first, "/a/in.smi");
}

TEST(SyncUtilityForm, BadFieldsShowTheirMessageFocusTheFieldAndWriteNothing) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, kSmi);
  const std::string integer = Box("정수를 입력하십시오.", "Cadenzio", MessageIcon::Warning);
  const std::string range =
      Box("-2147483647에서 2147483647 사이의 정수를 입력하십시오.", "Cadenzio", MessageIcon::Warning);
  struct Case {
    const char* what;
    SyncUtilityControls controls;
    std::string box;
    int focus;
  };
  const Case cases[] = {
      {"not a number", Controls(1017, in, out, "12a"), integer, 1007},
      {"empty number", Controls(1017, in, out, "0", ""), integer, 1009},
      {"sign only", Controls(1017, in, out, "0", "0", "0", "-"), integer, 1015},
      {"below the range", Controls(1017, in, out, "0", "0", "-2147483648"), range, 1011},
      {"above the range", Controls(1017, in, out, "99999999999999999999"), range, 1007},
      // The job's refusals are shown as it gives them, focus on the field it names.
      {"no source", Controls(1017, "", out), Box("입력 화일명을 기입하세요.", "오 류", MessageIcon::Warning), 1003},
      {"same SRT files", Controls(1046, " " + in, in + " "),
       Box("두개 화일은 같을 수 없습니다.", "오 류", MessageIcon::Warning), 1005},
      {"bad ratio range", Controls(1019, in, out, "1000", "5000", "2000", "4000"),
       Box("싱크값 입력이 잘못 되었습니다. 정확히 입력하세요.", "오 류", MessageIcon::None), 1007},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SyncUtilityForm form(in);
    MemoryDialogs dialogs;
    const UtilityFormReply reply = form.RunWork(c.controls, dialogs);
    EXPECT_EQ(Shown(dialogs), std::vector<std::string>{c.box});
    EXPECT_EQ(reply.focus, c.focus);
    EXPECT_FALSE(reply.completed);
    EXPECT_EQ(ReadFile(in), kSmi);
    EXPECT_FALSE(std::filesystem::exists(out));
  }

  // A refused copy leaves every member as it was; the largest values pass.
  SyncUtilityForm form(in);
  MemoryDialogs dialogs;
  EXPECT_EQ(form.CopyControls(Controls(1017, "x", "y", " -2147483647 ", "+2147483647", "7", "8"), dialogs).focus, 0);
  EXPECT_EQ(form.CopyControls(Controls(1017, "a", "b", "1", "2", "3", "4x"), dialogs).focus, 1015);
  EXPECT_EQ(form.fields().source_name, "x");
  EXPECT_EQ(form.fields().start_position, -2147483647);
  EXPECT_EQ(form.fields().start_change, 2147483647);
  EXPECT_EQ(form.fields().end_position, 7);
  EXPECT_EQ(form.fields().end_change, 8);
}

TEST(SyncUtilityForm, RangeShiftWritesTheOutputOrAsksBeforeReplacingTheSource) {
  TempDir dir;
  const std::string in = dir.File("in.smi"), out = dir.File("out.smi");
  WriteFile(in, kSmi);

  SyncUtilityForm form(in);
  MemoryDialogs dialogs;
  UtilityFormReply reply = form.RunWork(Controls(1017, in, out, "1500", "500", "3000"), dialogs);
  EXPECT_TRUE(reply.completed);
  EXPECT_EQ(reply.written, out);
  EXPECT_EQ(reply.focus, 0);
  EXPECT_EQ(ReadFile(out), kShifted);
  EXPECT_EQ(ReadFile(in), kSmi);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_TRUE(Cp949ToUtf8(dialogs.messages()[0].text).starts_with("작업이 정상적으로 완료되었습니다.\r\n"));
  EXPECT_EQ(Cp949ToUtf8(dialogs.messages()[0].caption), "작업 완료");

  // The output named as the source in other letter case: the question;
  // Cancel focuses the output name and writes nothing.
  std::string upper = in;
  upper.replace(upper.size() - 3, 3, "SMI");
  MemoryDialogs cancelled;
  cancelled.QueueAnswer(MessageAnswer::Cancel);
  reply = form.RunWork(Controls(1017, in, upper, "1500", "500", "3000"), cancelled);
  EXPECT_EQ(Shown(cancelled), std::vector<std::string>{Box("기존 화일을 싱크 수정후 대치 하시겠습니까?", "경 고",
                                                          MessageIcon::None, MessageButtons::OkCancel)});
  EXPECT_EQ(reply.focus, 1005);
  EXPECT_FALSE(std::filesystem::exists(upper));
  EXPECT_EQ(ReadFile(in), kSmi);

  // No output name and OK: the source is rewritten in place.
  MemoryDialogs replaced;
  EXPECT_TRUE(form.RunWork(Controls(1017, in, "", "1500", "500", "3000"), replaced).completed);
  EXPECT_EQ(replaced.messages().size(), 2u);
  EXPECT_EQ(ReadFile(in), kShifted);

  // A negative clear-sync change: the notice comes before the question, and
  // the window shows the value made positive.
  MemoryDialogs notice;
  notice.QueueAnswer(MessageAnswer::Ok);
  notice.QueueAnswer(MessageAnswer::Cancel);
  reply = form.RunWork(Controls(1025, in, in, "0", "-300"), notice);
  ASSERT_EQ(notice.messages().size(), 2u);
  EXPECT_EQ(Cp949ToUtf8(notice.messages()[0].caption + notice.messages()[1].caption), "알 림경 고");
  EXPECT_EQ(reply.start_change, "300");
  EXPECT_EQ(form.fields().start_change, 300);
  EXPECT_EQ(ReadFile(in), kShifted);
}

}  // namespace
}  // namespace cadenzio
