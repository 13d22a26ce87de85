// One run of the sync utility's work command: the window's fields, the checks
// and messages of the command, and the dispatch to the six operations. The
// window copies its fields into a job, runs it, shows the messages the run
// gives in order, puts the focus where the run says, and copies the fields
// back (a run may correct the shift value and trim the names). The CLI does
// the same with its arguments.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "settings/caption_encoding.h"
#include "utility/range_operations.h"

namespace cadenzio {

// The option radios of the window, by control id.
inline constexpr int kOptionRangeShift = 1017;
inline constexpr int kOptionRatioScale = 1019;
inline constexpr int kOptionClearSyncs = 1025;
inline constexpr int kOptionMergeTwo = 1039;
inline constexpr int kOptionSrtWithText = 1046;
inline constexpr int kOptionSrtWithIdx = 1047;

// The edits a stopped run puts the focus on, by control id.
enum class UtilityField : int {
  kNone = 0,
  kSourceName = 1003,
  kOutputName = 1005,
  kStartPosition = 1007,
  kStartChange = 1009,
};

// The merge writes its output under the first file's whole name with this added.
inline constexpr char kMergeOutputSuffix[] = ".Sorted";

// One message box: text and caption in CP949.
struct UtilityMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const UtilityMessage&) const = default;
};

struct UtilityRunResult {
  bool completed = false;                // the last message is the completion message
  std::vector<UtilityMessage> messages;  // in the order they are shown
  UtilityField focus = UtilityField::kNone;
  std::string written;                   // the file written by a completed run
  double seconds = 0;                    // the time a completed run reports
};

// The CP949 texts of the work command.
extern const char kUtilityErrorCaption[];        // "오 류"
extern const char kUtilityNoticeCaption[];       // "알 림"
extern const char kUtilityWarningCaption[];      // "경 고"
extern const char kUtilityReplaceFailedCaption[];  // "오류"
extern const char kUtilityDoneCaption[];         // "작업 완료"
extern const char kUtilityProgramCaption[];      // "Cadenzio", for the operations' own messages
extern const char kUtilityNegativeClearChangeNotice[];
extern const char kUtilityNoOptionMessage[];
extern const char kUtilityNoSourceMessage[];
extern const char kUtilityNoSecondNameMessage[];      // the merge
extern const char kUtilityReplaceQuestion[];
extern const char kUtilitySourceUnreadableMessage[];
extern const char kUtilityNoSecondFileMessage[];      // the SRT builders
extern const char kUtilitySameFilesMessage[];
extern const char kUtilitySecondUnreadableMessage[];
extern const char kUtilityOutputUnwritableMessage[];
extern const char kUtilityBadRangeMessage[];
extern const char kUtilityNegativeChangeMessage[];
extern const char kUtilitySourceUnwritableMessage[];
extern const char kUtilityDoneFormat[];  // takes the seconds ("%5.3f")

// "작업이 정상적으로 완료되었습니다.\r\n            %5.3f 초 걸림\r\n" with seconds.
std::string UtilityDoneMessage(double seconds);

struct SyncUtilityJob {
  std::string source_name;  // the input; the first file of the merge; the SRT file
  std::string output_name;  // the output; the second input of the merge and the SRT builders
  int32_t start_position = 0;
  int32_t start_change = 0;  // the shift of 1017 and 1025, the new start of 1019
  int32_t end_change = 0;    // the new end of 1019
  int32_t end_position = 0;
  bool break_repair = false;      // analysis with line-break repair
  int option = kOptionRangeShift; // the first selected radio; 0 when none is
  bool ratio_over_whole = false;  // the whole-file box of 1019
  // The CLI's own refusal of sources the window would take as they are: an
  // empty file, bytes with NUL in them, a file without a single sync tag.
  bool strict_input = false;
  // How the caption inputs of the range operations and the merge are read
  // (the SRT builders read bytes). The output is written in the encoding of
  // the (first) input, with its byte order mark when it had one; the merge's
  // second file is read in its own encoding and joins the first's.
  EncodingChoice encoding = EncodingChoice::Auto;

  // Asked, with the question as a message, before a range operation rewrites
  // its source in place (no output name, or the source's name in another
  // case). True is OK; false stops the run without a message. No callback
  // counts as false.
  using Confirm = std::function<bool(const UtilityMessage& question)>;

  // The work command. Every file it writes is written whole through a
  // temporary file and a rename, after every check has passed, so a refused
  // or failed run leaves every file as it was.
  UtilityRunResult Run(const Confirm& confirm);
};

}  // namespace cadenzio
