// The sync utility window's logic; see sync_utility_form.h.
#include "app/sync_utility_form.h"

#include "settings/settings.h"

namespace cadenzio {

const char kSyncUtilityTitle[] =
    "Cadenzio \xC3\xDF\xB0\xA1\xC5\xF8 - \xC0\xDA\xB8\xB7\xBD\xCC\xC5\xA9 \xC0\xAF\xC6\xBF";
    // Cadenzio 추가툴 - 자막싱크 유틸

namespace {

using Kind = UtilityControlPlacement::Kind;

constexpr UtilityControlPlacement kControlPlacements[] = {
    {0, Kind::GroupBox, "\xC0\xDA\xB8\xB7 \xBC\xB1\xC5\xC3", 7, 8, 292, 51},  // 자막 선택
    {0, Kind::Label, "\xBF\xF8\xBA\xBB \xC8\xAD\xC0\xCF", 18, 24, 31, 10},    // 원본 화일
    {kUtilitySourceEdit, Kind::Edit, "", 50, 22, 209, 13},
    {kUtilitySourcePicker, Kind::Button, "\xBC\xB1 \xC5\xC3", 265, 21, 26, 14},  // 선 택
    {0, Kind::Label, "\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF", 18, 39, 31, 10},    // 출력 화일
    {kUtilityOutputEdit, Kind::Edit, "", 50, 38, 209, 13},
    {kUtilityOutputPicker, Kind::Button, "\xBC\xB1 \xC5\xC3", 265, 37, 26, 14},  // 선 택
    {0, Kind::GroupBox, "\xBC\xF6\xC1\xA4 \xB9\xE6\xB9\xFD", 7, 62, 142, 109},  // 수정 방법
    // 중복 BR 삭제 및 필요한 경우 추가
    {kUtilityBreakRepairBox, Kind::CheckBox,
     "\xC1\xDF\xBA\xB9 BR \xBB\xE8\xC1\xA6 \xB9\xD7 \xC7\xCA\xBF\xE4\xC7\xD1 \xB0\xE6\xBF\xEC "
     "\xC3\xDF\xB0\xA1",
     36, 73, 106, 10},
    // 범위에 대한 변경 값 적용
    {kOptionRangeShift, Kind::Radio,
     "\xB9\xFC\xC0\xA7\xBF\xA1 \xB4\xEB\xC7\xD1 \xBA\xAF\xB0\xE6 \xB0\xAA \xC0\xFB\xBF\xEB", 13,
     87, 94, 10},
    // 범위에 대한 비율 조정
    {kOptionRatioScale, Kind::Radio,
     "\xB9\xFC\xC0\xA7\xBF\xA1 \xB4\xEB\xC7\xD1 \xBA\xF1\xC0\xB2 \xC1\xB6\xC1\xA4", 13, 99, 85,
     10},
    // 범위에 대한 &&nbsp; 싱크 변경값만큼 증가
    {kOptionClearSyncs, Kind::Radio,
     "\xB9\xFC\xC0\xA7\xBF\xA1 \xB4\xEB\xC7\xD1 &&nbsp; \xBD\xCC\xC5\xA9 "
     "\xBA\xAF\xB0\xE6\xB0\xAA\xB8\xB8\xC5\xAD \xC1\xF5\xB0\xA1",
     13, 110, 131, 12},
    // 두개 SMI 자막 싱크 정렬 하여 합치기 (*_*)
    {kOptionMergeTwo, Kind::Radio,
     "\xB5\xCE\xB0\xB3 SMI \xC0\xDA\xB8\xB7 \xBD\xCC\xC5\xA9 \xC1\xA4\xB7\xC4 \xC7\xCF\xBF\xA9 "
     "\xC7\xD5\xC4\xA1\xB1\xE2 (*_*)",
     13, 123, 133, 10},
    // 자막 싱크 SRT && 자막 텍스트
    {kOptionSrtWithText, Kind::Radio,
     "\xC0\xDA\xB8\xB7 \xBD\xCC\xC5\xA9 SRT && \xC0\xDA\xB8\xB7 \xC5\xD8\xBD\xBA\xC6\xAE", 13,
     135, 120, 10},
    // 텍스트와 시간간격 SRT && 시작 시간 IDX
    {kOptionSrtWithIdx, Kind::Radio,
     "\xC5\xD8\xBD\xBA\xC6\xAE\xBF\xCD \xBD\xC3\xB0\xA3\xB0\xA3\xB0\xDD SRT && \xBD\xC3\xC0\xDB "
     "\xBD\xC3\xB0\xA3 IDX",
     13, 147, 129, 10},
    {0, Kind::GroupBox, "\xBA\xAF\xB0\xE6 \xBF\xE4\xBC\xD2", 148, 62, 151, 60},  // 변경 요소
    {0, Kind::Label, "\xBD\xC3\xC0\xDB \xC0\xA7\xC4\xA1", 153, 77, 30, 11},    // 시작 위치
    {kUtilityStartPositionEdit, Kind::Edit, "", 186, 75, 38, 13},
    {0, Kind::Label, "\xBA\xAF\xB0\xE6 \xB0\xAA", 231, 77, 24, 11},            // 변경 값
    {kUtilityStartChangeEdit, Kind::Edit, "", 256, 75, 38, 13},
    {0, Kind::Label, "\xC1\xBE\xB7\xE1 \xC0\xA7\xC4\xA1", 153, 91, 30, 11},    // 종료 위치
    {kUtilityEndPositionEdit, Kind::Edit, "", 186, 90, 38, 13},
    {0, Kind::Label, "\xBA\xAF\xB0\xE6 \xB0\xAA", 231, 91, 24, 11},            // 변경 값
    {kUtilityEndChangeEdit, Kind::Edit, "", 256, 90, 38, 13},
    // 비율 조정 - 해당 비율로 전체 수정
    {kUtilityWholeFileBox, Kind::CheckBox,
     "\xBA\xF1\xC0\xB2 \xC1\xB6\xC1\xA4 - \xC7\xD8\xB4\xE7 \xBA\xF1\xC0\xB2\xB7\xCE "
     "\xC0\xFC\xC3\xBC \xBC\xF6\xC1\xA4",
     153, 107, 122, 10},
    // 원하는 작업\r\n    고고 !!
    {kUtilityWorkButton, Kind::Button,
     "\xBF\xF8\xC7\xCF\xB4\xC2 \xC0\xDB\xBE\xF7\r\n    \xB0\xED\xB0\xED !!", 149, 122, 149, 49},
};

// The pickers' type lists.
// 자막 화일(*.smi)|*.smi|모든 화일(*.*)|*.*||
constexpr std::string_view kSmiFilter =
    "\xC0\xDA\xB8\xB7 \xC8\xAD\xC0\xCF(*.smi)|*.smi|\xB8\xF0\xB5\xE7 \xC8\xAD\xC0\xCF(*.*)|*.*||";
// 자막 화일(*.srt)|*.srt|모든 화일(*.*)|*.*||
constexpr std::string_view kSrtOrAnyFilter =
    "\xC0\xDA\xB8\xB7 \xC8\xAD\xC0\xCF(*.srt)|*.srt|\xB8\xF0\xB5\xE7 \xC8\xAD\xC0\xCF(*.*)|*.*||";
// 자막 텍스트 화일(*.txt)|*.txt|모든 화일(*.*)|*.*||
constexpr std::string_view kTextFilter =
    "\xC0\xDA\xB8\xB7 \xC5\xD8\xBD\xBA\xC6\xAE \xC8\xAD\xC0\xCF(*.txt)|*.txt|\xB8\xF0\xB5\xE7 "
    "\xC8\xAD\xC0\xCF(*.*)|*.*||";
// 자막 화일(*.srt)|*.srt||
constexpr std::string_view kSrtFilter = "\xC0\xDA\xB8\xB7 \xC8\xAD\xC0\xCF(*.srt)|*.srt||";
// 인덱스 화일(*.idx)|*.idx||
constexpr std::string_view kIdxFilter = "\xC0\xCE\xB5\xA6\xBD\xBA \xC8\xAD\xC0\xCF(*.idx)|*.idx||";

// The hints the last three options write into the name edits.
// 싱크 정렬후 합칠 '첫'번째 화일을 지정하세요.
constexpr std::string_view kMergeFirstHint =
    "\xBD\xCC\xC5\xA9 \xC1\xA4\xB7\xC4\xC8\xC4 \xC7\xD5\xC4\xA5 '\xC3\xB9'\xB9\xF8\xC2\xB0 "
    "\xC8\xAD\xC0\xCF\xC0\xBB \xC1\xF6\xC1\xA4\xC7\xCF\xBC\xBC\xBF\xE4.";
// 싱크 정렬후 합칠 '두'번째 화일을 지정하세요. (두 화일이 같으면...)
constexpr std::string_view kMergeSecondHint =
    "\xBD\xCC\xC5\xA9 \xC1\xA4\xB7\xC4\xC8\xC4 \xC7\xD5\xC4\xA5 '\xB5\xCE'\xB9\xF8\xC2\xB0 "
    "\xC8\xAD\xC0\xCF\xC0\xBB \xC1\xF6\xC1\xA4\xC7\xCF\xBC\xBC\xBF\xE4. (\xB5\xCE "
    "\xC8\xAD\xC0\xCF\xC0\xCC \xB0\xB0\xC0\xB8\xB8\xE9...)";
// 싱크값을 가지고 있는 SRT 화일
constexpr std::string_view kSrtTimingHint =
    "\xBD\xCC\xC5\xA9\xB0\xAA\xC0\xBB \xB0\xA1\xC1\xF6\xB0\xED \xC0\xD6\xB4\xC2 SRT "
    "\xC8\xAD\xC0\xCF";
// 빈라인으로 싱크에 대한 자막텍스트 화일
constexpr std::string_view kTextBlocksHint =
    "\xBA\xF3\xB6\xF3\xC0\xCE\xC0\xB8\xB7\xCE \xBD\xCC\xC5\xA9\xBF\xA1 \xB4\xEB\xC7\xD1 "
    "\xC0\xDA\xB8\xB7\xC5\xD8\xBD\xBA\xC6\xAE \xC8\xAD\xC0\xCF";
// 싱크 변위를 가지고 있는 SRT 화일
constexpr std::string_view kSrtDurationHint =
    "\xBD\xCC\xC5\xA9 \xBA\xAF\xC0\xA7\xB8\xA6 \xB0\xA1\xC1\xF6\xB0\xED \xC0\xD6\xB4\xC2 SRT "
    "\xC8\xAD\xC0\xCF";
// 싱크 시작값들을 가진 IDX 화일
constexpr std::string_view kIdxStartsHint =
    "\xBD\xCC\xC5\xA9 \xBD\xC3\xC0\xDB\xB0\xAA\xB5\xE9\xC0\xBB \xB0\xA1\xC1\xF8 IDX "
    "\xC8\xAD\xC0\xCF";

// The refusals of a number edit, as the dialog framework words them.
// 정수를 입력하십시오.
constexpr std::string_view kEnterInteger =
    "\xC1\xA4\xBC\xF6\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0.";
// -2147483647에서 2147483647 사이의 정수를 입력하십시오.
constexpr std::string_view kEnterIntegerInRange =
    "-2147483647\xBF\xA1\xBC\xAD 2147483647 \xBB\xE7\xC0\xCC\xC0\xC7 "
    "\xC1\xA4\xBC\xF6\xB8\xA6 \xC0\xD4\xB7\xC2\xC7\xCF\xBD\xCA\xBD\xC3\xBF\xC0.";

UtilityOptionView MakeOptionView(int option) {
  UtilityOptionView view;
  view.first_filter = kSmiFilter;
  view.second_filter = kSmiFilter;
  switch (option) {
    case kOptionRatioScale: view.ratio_enabled = true; break;
    case kOptionMergeTwo:
      view.numbers_enabled = false;
      view.second_picker_opens = true;
      view.source_hint = kMergeFirstHint;
      view.output_hint = kMergeSecondHint;
      break;
    case kOptionSrtWithText:
      view.numbers_enabled = false;
      view.second_picker_opens = true;
      view.source_hint = kSrtTimingHint;
      view.output_hint = kTextBlocksHint;
      view.first_filter = kSrtOrAnyFilter;
      view.second_filter = kTextFilter;
      break;
    case kOptionSrtWithIdx:
      view.numbers_enabled = false;
      view.second_picker_opens = true;
      view.source_hint = kSrtDurationHint;
      view.output_hint = kIdxStartsHint;
      view.first_filter = kSrtFilter;
      view.second_filter = kIdxFilter;
      break;
    default: break;  // 1017 and 1025: the range options without the ratio controls
  }
  return view;
}

}  // namespace

std::span<const UtilityControlPlacement> UtilityControlPlacements() { return kControlPlacements; }

UtilityOptionView OptionView(int option) { return MakeOptionView(option); }

std::vector<FileFilter> ParseFilterList(std::string_view filter) {
  std::vector<FileFilter> filters;
  // Pairs of description and patterns, each ended by '|'; an empty
  // description (the doubled '|' at the end) ends the list.
  while (!filter.empty()) {
    const std::size_t bar = filter.find('|');
    if (bar == 0 || bar == std::string_view::npos) break;
    const std::string_view description = filter.substr(0, bar);
    filter.remove_prefix(bar + 1);
    const std::size_t end = filter.find('|');
    filters.push_back({std::string(description), std::string(filter.substr(0, end))});
    if (end == std::string_view::npos) break;
    filter.remove_prefix(end + 1);
  }
  return filters;
}

SyncUtilityForm::SyncUtilityForm(std::string source_name) : view_(MakeOptionView(kOptionRangeShift)) {
  fields_.source_name = std::move(source_name);
  fields_.option = kOptionRangeShift;
}

SyncUtilityControls SyncUtilityForm::InitialControls() const {
  SyncUtilityControls controls;
  controls.source_name = fields_.source_name;
  controls.output_name = fields_.output_name;
  controls.start_position = std::to_string(fields_.start_position);
  controls.start_change = std::to_string(fields_.start_change);
  controls.end_change = std::to_string(fields_.end_change);
  controls.end_position = std::to_string(fields_.end_position);
  controls.break_repair = fields_.break_repair;
  controls.option = kOptionRangeShift;
  return controls;
}

const UtilityOptionView& SyncUtilityForm::ChooseOption(int option) {
  view_ = MakeOptionView(option);
  fields_.option = option;
  return view_;
}

UtilityFormReply SyncUtilityForm::CopyControls(const SyncUtilityControls& controls,
                                               Dialogs& dialogs) {
  // The members in their order; the first bad number stops the copy, and
  // then no member changes.
  struct NumberField {
    int id;
    const std::string& text;
    int32_t* member;
  };
  SyncUtilityJob copied = fields_;
  const NumberField numbers[] = {
      {kUtilityStartPositionEdit, controls.start_position, &copied.start_position},
      {kUtilityStartChangeEdit, controls.start_change, &copied.start_change},
      {kUtilityEndChangeEdit, controls.end_change, &copied.end_change},
      {kUtilityEndPositionEdit, controls.end_position, &copied.end_position},
  };
  UtilityFormReply reply;
  for (const NumberField& field : numbers) {
    const std::optional<int64_t> value = ParseDialogNumber(field.text, false);
    const bool in_range =
        value && *value >= -kUtilityLargestNumber && *value <= kUtilityLargestNumber;
    if (!in_range) {
      dialogs.ShowMessage(std::string(value ? kEnterIntegerInRange : kEnterInteger),
                          kUtilityProgramCaption, MessageIcon::Warning, MessageButtons::Ok);
      reply.focus = field.id;
      return reply;
    }
    *field.member = static_cast<int32_t>(*value);
  }
  copied.source_name = controls.source_name;
  copied.output_name = controls.output_name;
  copied.break_repair = controls.break_repair;
  copied.ratio_over_whole = controls.whole_file;
  copied.option = controls.option;
  fields_ = std::move(copied);
  return reply;
}

UtilityFormReply SyncUtilityForm::RunWork(const SyncUtilityControls& controls, Dialogs& dialogs) {
  UtilityFormReply reply = CopyControls(controls, dialogs);
  if (reply.focus != 0) return reply;

  SyncUtilityJob job = fields_;
  if (job.option == kOptionClearSyncs && job.start_change < 0) {
    // The notice comes before the replace question, and the job reports its
    // messages only after the run: so it is shown here, and the job gets
    // the value already made positive.
    dialogs.ShowMessage(kUtilityNegativeClearChangeNotice, kUtilityNoticeCaption,
                        MessageIcon::Information, MessageButtons::Ok);
    job.start_change = -job.start_change;  // never -2147483648: the copy refuses it
    fields_.start_change = job.start_change;
    reply.start_change = std::to_string(job.start_change);
  }
  const UtilityRunResult result = job.Run([&dialogs](const UtilityMessage& question) {
    return dialogs.ShowMessage(question.text, question.caption, question.icon,
                               MessageButtons::OkCancel) == MessageAnswer::Ok;
  });
  for (const UtilityMessage& message : result.messages)
    dialogs.ShowMessage(message.text, message.caption, message.icon, MessageButtons::Ok);

  // The SRT builders keep the names trimmed.
  if (job.source_name != fields_.source_name) reply.source_name = job.source_name;
  if (job.output_name != fields_.output_name) reply.output_name = job.output_name;
  fields_.source_name = job.source_name;
  fields_.output_name = job.output_name;
  reply.focus = static_cast<int>(result.focus);
  reply.completed = result.completed;
  reply.written = result.written;
  return reply;
}

std::optional<std::string> SyncUtilityForm::PickFile(bool second, Dialogs& dialogs,
                                                     UtilityPickerPaths& remembered) const {
  FileDialogRequest request;
  request.save = second && !view_.second_picker_opens;
  request.confirm_overwrite = request.save;
  request.filters = ParseFilterList(second ? view_.second_filter : view_.first_filter);
  std::string& last = second ? remembered.second : remembered.first;
  request.initial_path = last;
  std::optional<std::string> path = dialogs.ShowFileDialog(request);
  if (path) last = *path;
  return path;
}

}  // namespace cadenzio
