// The sync utility's work command; see sync_utility_job.h.
#include "utility/sync_utility_job.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "pattern/code_page.h"
#include "sami/sami_text.h"
#include "settings/cp949_conversion.h"
#include "settings/file_services.h"
#include "utility/merge_sorted.h"
#include "utility/srt_build.h"

namespace cadenzio {

const char kUtilityErrorCaption[] = "\xBF\xC0 \xB7\xF9";             // 오 류
const char kUtilityNoticeCaption[] = "\xBE\xCB \xB8\xB2";            // 알 림
const char kUtilityWarningCaption[] = "\xB0\xE6 \xB0\xED";           // 경 고
const char kUtilityReplaceFailedCaption[] = "\xBF\xC0\xB7\xF9";      // 오류
const char kUtilityDoneCaption[] = "\xC0\xDB\xBE\xF7 \xBF\xCF\xB7\xE1";  // 작업 완료
const char kUtilityProgramCaption[] = "Cadenzio";
//     변경값은 0 값 보다 커야 합니다. 수정합니다.\r\n(0 값 입력시는 모든 노드에 자막에 &nbsp; 노드 추가)
const char kUtilityNegativeClearChangeNotice[] =
    "    \xBA\xAF\xB0\xE6\xB0\xAA\xC0\xBA 0 \xB0\xAA \xBA\xB8\xB4\xD9 \xC4\xBF\xBE\xDF "
    "\xC7\xD5\xB4\xCF\xB4\xD9. \xBC\xF6\xC1\xA4\xC7\xD5\xB4\xCF\xB4\xD9.\r\n(0 \xB0\xAA "
    "\xC0\xD4\xB7\xC2\xBD\xC3\xB4\xC2 \xB8\xF0\xB5\xE7 \xB3\xEB\xB5\xE5\xBF\xA1 "
    "\xC0\xDA\xB8\xB7\xBF\xA1 &nbsp; \xB3\xEB\xB5\xE5 \xC3\xDF\xB0\xA1)";
// 옵션 선택이 올바르지 않습니다.
const char kUtilityNoOptionMessage[] =
    "\xBF\xC9\xBC\xC7 \xBC\xB1\xC5\xC3\xC0\xCC \xBF\xC3\xB9\xD9\xB8\xA3\xC1\xF6 "
    "\xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.";
// 입력 화일명을 기입하세요.
const char kUtilityNoSourceMessage[] =
    "\xC0\xD4\xB7\xC2 \xC8\xAD\xC0\xCF\xB8\xED\xC0\xBB \xB1\xE2\xC0\xD4\xC7\xCF\xBC\xBC\xBF\xE4.";
// 입력 두번째 화일명을 기입하세요.
const char kUtilityNoSecondNameMessage[] =
    "\xC0\xD4\xB7\xC2 \xB5\xCE\xB9\xF8\xC2\xB0 \xC8\xAD\xC0\xCF\xB8\xED\xC0\xBB "
    "\xB1\xE2\xC0\xD4\xC7\xCF\xBC\xBC\xBF\xE4.";
// 기존 화일을 싱크 수정후 대치 하시겠습니까?
const char kUtilityReplaceQuestion[] =
    "\xB1\xE2\xC1\xB8 \xC8\xAD\xC0\xCF\xC0\xBB \xBD\xCC\xC5\xA9 \xBC\xF6\xC1\xA4\xC8\xC4 "
    "\xB4\xEB\xC4\xA1 \xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// 입력 화일을 읽어 들일 수 없습니다.
const char kUtilitySourceUnreadableMessage[] =
    "\xC0\xD4\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xC0\xD0\xBE\xEE \xB5\xE9\xC0\xCF \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// 두번째 화일을 지정하세요.
const char kUtilityNoSecondFileMessage[] =
    "\xB5\xCE\xB9\xF8\xC2\xB0 \xC8\xAD\xC0\xCF\xC0\xBB \xC1\xF6\xC1\xA4\xC7\xCF\xBC\xBC\xBF\xE4.";
// 두개 화일은 같을 수 없습니다.
const char kUtilitySameFilesMessage[] =
    "\xB5\xCE\xB0\xB3 \xC8\xAD\xC0\xCF\xC0\xBA \xB0\xB0\xC0\xBB \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF"
    "\xB4\xD9.";
// 두번째 입력 화일을 읽어 들일 수 없습니다.
const char kUtilitySecondUnreadableMessage[] =
    "\xB5\xCE\xB9\xF8\xC2\xB0 \xC0\xD4\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xC0\xD0\xBE\xEE "
    "\xB5\xE9\xC0\xCF \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// 출력 화일을 쓰기 위해서 열 수 없습니다.
const char kUtilityOutputUnwritableMessage[] =
    "\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xBE\xB2\xB1\xE2 \xC0\xA7\xC7\xD8\xBC\xAD \xBF\xAD "
    "\xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// 싱크값 입력이 잘못 되었습니다. 정확히 입력하세요.
const char kUtilityBadRangeMessage[] =
    "\xBD\xCC\xC5\xA9\xB0\xAA \xC0\xD4\xB7\xC2\xC0\xCC \xC0\xDF\xB8\xF8 \xB5\xC7\xBE\xFA\xBD\xC0"
    "\xB4\xCF\xB4\xD9. \xC1\xA4\xC8\xAE\xC8\xF7 \xC0\xD4\xB7\xC2\xC7\xCF\xBC\xBC\xBF\xE4.";
// 변경 값은 음수가 될수 없습니다.
const char kUtilityNegativeChangeMessage[] =
    "\xBA\xAF\xB0\xE6 \xB0\xAA\xC0\xBA \xC0\xBD\xBC\xF6\xB0\xA1 \xB5\xC9\xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// 원본 화일을 수정할 수 없습니다.
const char kUtilitySourceUnwritableMessage[] =
    "\xBF\xF8\xBA\xBB \xC8\xAD\xC0\xCF\xC0\xBB \xBC\xF6\xC1\xA4\xC7\xD2 \xBC\xF6 "
    "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// 작업이 정상적으로 완료되었습니다.\r\n            %5.3f 초 걸림\r\n
const char kUtilityDoneFormat[] =
    "\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE \xBF\xCF\xB7\xE1\xB5\xC7"
    "\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.\r\n            %5.3f \xC3\xCA \xB0\xC9\xB8\xB2\r\n";

std::string UtilityDoneMessage(double seconds) {
  char text[160];
  std::snprintf(text, sizeof text, kUtilityDoneFormat, seconds);
  return text;
}

namespace {

// Whether the run could open path for writing, asked without creating or
// emptying anything: an existing file must be writable, a new one needs a
// writable folder. The file itself is written only when the operation is done.
bool CanWriteFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (path.empty() || path.back() == '/') return false;
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status)) return !fs::is_directory(status) && ::access(path.c_str(), W_OK) == 0;
  std::string folder = FolderOf(path);
  if (folder.empty()) folder.assign(1, '.');  // not = ".": a false GCC 12 -Wrestrict
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// The steps of one run, sharing the job, the result and the clock.
class WorkCommand {
 public:
  WorkCommand(SyncUtilityJob& job, UtilityRunResult& result) : job_(job), result_(result) {}

  void Run(const SyncUtilityJob::Confirm& confirm);

 private:
  void Show(std::string text, const char* caption, MessageIcon icon) {
    result_.messages.push_back({std::move(text), caption, icon});
  }
  void Stop(std::string text, const char* caption, MessageIcon icon, UtilityField focus) {
    Show(std::move(text), caption, icon);
    result_.focus = focus;
  }
  // The operations' own failures are error boxes under the program's name.
  void Fail(std::string text) { Show(std::move(text), kUtilityProgramCaption, MessageIcon::Error); }
  bool ReadSource(std::string& bytes);
  bool Decode(const std::string& bytes, DecodedCaption& caption, UtilityField field);
  bool Encode(const DecodedCaption& like, std::string_view working, std::string& bytes);
  bool RefuseInput(const std::string& bytes);
  void Complete(std::string written);

  void RunSrtBuild(SyncOperation operation);
  void RunMerge();
  void RunRange(SyncOperation operation, bool replace);

  SyncUtilityJob& job_;
  UtilityRunResult& result_;
  std::chrono::steady_clock::time_point started_;
};

void WorkCommand::Run(const SyncUtilityJob::Confirm& confirm) {
  SyncOperation operation;
  switch (job_.option) {
    case kOptionRangeShift: operation = SyncOperation::RangeShift; break;
    case kOptionRatioScale: operation = SyncOperation::RatioScale; break;
    case kOptionClearSyncs: operation = SyncOperation::ClearSyncs; break;
    case kOptionMergeTwo: operation = SyncOperation::MergeTwo; break;
    case kOptionSrtWithText: operation = SyncOperation::SrtWithText; break;
    case kOptionSrtWithIdx: operation = SyncOperation::SrtWithIdx; break;
    default: return Stop(kUtilityNoOptionMessage, kUtilityErrorCaption, MessageIcon::Warning,
                         UtilityField::kNone);
  }
  if (operation == SyncOperation::ClearSyncs && job_.start_change < 0) {
    // A notice only: the value is made positive and the work goes on.
    Show(kUtilityNegativeClearChangeNotice, kUtilityNoticeCaption, MessageIcon::Information);
    job_.start_change = ToSyncTime(-int64_t{job_.start_change});
  }
  if (job_.source_name.empty())
    return Stop(kUtilityNoSourceMessage, kUtilityErrorCaption, MessageIcon::Warning,
                UtilityField::kSourceName);
  bool replace = false;
  if (operation == SyncOperation::MergeTwo && job_.output_name.empty()) {
    return Stop(kUtilityNoSecondNameMessage, kUtilityErrorCaption, MessageIcon::Warning,
                UtilityField::kOutputName);
  }
  if (operation <= SyncOperation::ClearSyncs &&
      (job_.output_name.empty() || EqualNoCase(job_.output_name, job_.source_name))) {
    const UtilityMessage question{kUtilityReplaceQuestion, kUtilityWarningCaption,
                                  MessageIcon::None};
    if (!confirm || !confirm(question)) {
      result_.focus = UtilityField::kOutputName;
      return;
    }
    replace = true;
  }
  started_ = std::chrono::steady_clock::now();
  switch (operation) {
    case SyncOperation::SrtWithText:
    case SyncOperation::SrtWithIdx: return RunSrtBuild(operation);
    case SyncOperation::MergeTwo: return RunMerge();
    default: return RunRange(operation, replace);
  }
}

bool WorkCommand::ReadSource(std::string& bytes) {
  if (ReadWholeFile(job_.source_name, bytes)) return true;
  Stop(kUtilitySourceUnreadableMessage, kUtilityErrorCaption, MessageIcon::Error,
       UtilityField::kSourceName);
  return false;
}

bool WorkCommand::RefuseInput(const std::string& bytes) {
  if (!job_.strict_input) return false;
  const std::string& name = job_.source_name;
  if (bytes.empty()) {
    Stop("'" + name + "' is empty", kUtilityErrorCaption, MessageIcon::Error,
         UtilityField::kSourceName);
  } else if (bytes.find('\0') != std::string::npos) {
    Stop("'" + name + "' is not a text file (it holds NUL bytes)", kUtilityErrorCaption,
         MessageIcon::Error, UtilityField::kSourceName);
  } else {
    return false;
  }
  return true;
}

// Messages are CP949; the encoding's messages are UTF-8 and name the place
// in English, quoting a character CP949 may lack, which shows as '?' then.
std::string AsMessage(std::string_view utf8) {
  Cp949Text cp949 = Utf8ToCp949(utf8);
  if (cp949.ok()) return std::move(cp949.bytes);
  std::string ascii;
  for (std::size_t i = 0; i < utf8.size(); i += CodePage::Utf8().CharLength(utf8, i))
    ascii.push_back(static_cast<unsigned char>(utf8[i]) < 0x80 ? utf8[i] : '?');
  return ascii;
}

bool WorkCommand::Decode(const std::string& bytes, DecodedCaption& caption, UtilityField field) {
  caption = DecodeCaption(bytes, job_.encoding);
  if (caption.ok()) return true;
  Stop(AsMessage(caption.error), kUtilityErrorCaption, MessageIcon::Error, field);
  return false;
}

bool WorkCommand::Encode(const DecodedCaption& like, std::string_view working, std::string& bytes) {
  EncodedCaption encoded = EncodeCaption(working, like.encoding, like.bom);
  if (!encoded.ok()) {
    Fail(AsMessage(encoded.error));
    return false;
  }
  bytes = std::move(encoded.bytes);
  return true;
}

void WorkCommand::Complete(std::string written) {
  // Whole milliseconds, shown as seconds.
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - started_).count();
  result_.seconds = static_cast<double>(ms) * 0.001;
  result_.written = std::move(written);
  result_.completed = true;
  Show(UtilityDoneMessage(result_.seconds), kUtilityDoneCaption, MessageIcon::Information);
}

void WorkCommand::RunSrtBuild(SyncOperation operation) {
  job_.source_name = std::string(TrimSpace(job_.source_name));
  job_.output_name = std::string(TrimSpace(job_.output_name));
  if (job_.output_name.empty())
    return Stop(kUtilityNoSecondFileMessage, kUtilityErrorCaption, MessageIcon::Warning,
                UtilityField::kOutputName);
  // Byte for byte: names that differ in case only are different files here.
  if (job_.output_name == job_.source_name)
    return Stop(kUtilitySameFilesMessage, kUtilityErrorCaption, MessageIcon::Warning,
                UtilityField::kOutputName);
  std::string srt, second;
  if (!ReadWholeFile(job_.source_name, srt) || !ReadWholeFile(job_.output_name, second))
    return Fail(kSrtBuildOpenFailedMessage);
  const SrtBuildResult built = operation == SyncOperation::SrtWithText
                                   ? MergeSrtWithText(srt, second)
                                   : ApplyIdxStartTimes(srt, second);
  if (!built.ok()) return Fail(built.error);
  const std::string out = SrtBuildOutputName(job_.source_name);
  if (!WriteWholeFileAtomic(out, built.bytes)) return Fail(kSrtBuildCreateFailedMessage);
  Complete(out);
}

void WorkCommand::RunMerge() {
  std::string first_bytes, second_bytes;
  DecodedCaption first, second;
  if (!ReadSource(first_bytes) || !Decode(first_bytes, first, UtilityField::kSourceName) ||
      RefuseInput(first.bytes))
    return;
  const bool one_file = job_.output_name == job_.source_name;  // byte for byte
  if (!one_file && !ReadWholeFile(job_.output_name, second_bytes))
    return Stop(kUtilitySecondUnreadableMessage, kUtilityErrorCaption, MessageIcon::Error,
                UtilityField::kOutputName);
  std::string second_text;  // the second file in the first one's code page
  if (!one_file) {
    if (!Decode(second_bytes, second, UtilityField::kOutputName)) return;
    EncodedCaption converted =
        ConvertWorkingText(second.bytes, second.code_page(), first.code_page());
    if (!converted.ok()) return Fail(AsMessage(job_.output_name + ": " + converted.error));
    second_text = std::move(converted.bytes);
  }
  SamiDocument first_doc(first.code_page());
  const MergeResult merged =
      MergeSorted(first.bytes, one_file ? std::nullopt : std::optional<std::string_view>(second_text),
                  job_.break_repair, &first_doc);
  if (!merged.ok()) return Fail(merged.error);
  std::string written;
  if (!Encode(first, merged.bytes, written)) return;
  const std::string out = job_.source_name + kMergeOutputSuffix;
  if (!WriteWholeFileAtomic(out, written)) return Fail(kMergeOutputOpenFailedMessage);
  Complete(out);
}

void WorkCommand::RunRange(SyncOperation operation, bool replace) {
  std::string input;
  DecodedCaption source;
  if (!ReadSource(input) || !Decode(input, source, UtilityField::kSourceName) ||
      RefuseInput(source.bytes))
    return;
  if (!replace && !CanWriteFile(job_.output_name))
    return Stop(kUtilityOutputUnwritableMessage, kUtilityErrorCaption, MessageIcon::None,
                UtilityField::kOutputName);
  const RangeNumbers range{job_.start_position, job_.start_change, job_.end_change,
                           job_.end_position};
  if (operation == SyncOperation::RatioScale) {
    // Checked before the document is read.
    if (int64_t{range.end_position} - range.start_position <= 0 ||
        int64_t{range.end_change} - range.start_change <= 0)
      return Stop(kUtilityBadRangeMessage, kUtilityErrorCaption, MessageIcon::None,
                  UtilityField::kStartPosition);
    if (range.start_change < 0 || range.end_change < 0)
      return Stop(kUtilityNegativeChangeMessage, kUtilityErrorCaption, MessageIcon::None,
                  UtilityField::kStartChange);
  }
  const RangeOutcome outcome = ApplyRangeOperation(
      operation, source.bytes, range, job_.ratio_over_whole, job_.break_repair, source.code_page());
  if (!outcome.ok()) return Fail(outcome.error);
  if (job_.strict_input && outcome.syncs == 0)
    return Stop("'" + job_.source_name + "' holds no sync tag: not a SAMI caption file",
                kUtilityErrorCaption, MessageIcon::Error, UtilityField::kSourceName);
  std::string written;
  if (!Encode(source, outcome.bytes, written)) return;
  if (replace) {
    if (!WriteWholeFileAtomic(job_.source_name, written))
      return Show(kUtilitySourceUnwritableMessage, kUtilityReplaceFailedCaption, MessageIcon::None);
    return Complete(job_.source_name);
  }
  if (!WriteWholeFileAtomic(job_.output_name, written))
    return Stop(kUtilityOutputUnwritableMessage, kUtilityErrorCaption, MessageIcon::None,
                UtilityField::kOutputName);
  Complete(job_.output_name);
}

}  // namespace

UtilityRunResult SyncUtilityJob::Run(const Confirm& confirm) {
  UtilityRunResult result;
  WorkCommand(*this, result).Run(confirm);
  return result;
}

}  // namespace cadenzio
