// The sync utility window without its widgets: the texts it shows, which
// controls each option enables, the file pickers' requests, the copy of the
// edits into numbers, and the work command, which hands the fields to a
// SyncUtilityJob and shows the job's messages in order. The Qt window only
// mirrors controls into SyncUtilityControls and back.
//
// Texts are CP949 bytes; names and paths are native path bytes. One form per
// window, used on the user-interface thread.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs.h"
#include "utility/sync_utility_job.h"

namespace cadenzio {

// Control ids of the window; the option radios are kOption* of the job.
inline constexpr int kUtilitySourcePicker = 1001;
inline constexpr int kUtilityOutputPicker = 1002;
inline constexpr int kUtilitySourceEdit = 1003;
inline constexpr int kUtilityOutputEdit = 1005;
inline constexpr int kUtilityStartPositionEdit = 1007;
inline constexpr int kUtilityStartChangeEdit = 1009;
inline constexpr int kUtilityEndPositionEdit = 1011;
inline constexpr int kUtilityWorkButton = 1013;
inline constexpr int kUtilityEndChangeEdit = 1015;
inline constexpr int kUtilityWholeFileBox = 1023;
inline constexpr int kUtilityBreakRepairBox = 1048;

// The four number edits accept -2147483647..2147483647 (not -2147483648).
inline constexpr int64_t kUtilityLargestNumber = 2147483647;

// One control of the window, placed in dialog units.
struct UtilityControlPlacement {
  enum class Kind { GroupBox, Label, Edit, Button, CheckBox, Radio };
  int id;  // 0 for the labels and group boxes, which have none
  Kind kind;
  std::string_view text;  // CP949, empty for the edits; "&&" shows as one '&'
  int x, y, width, height;
};

extern const char kSyncUtilityTitle[];  // "Cadenzio 추가툴 - 자막싱크 유틸"
inline constexpr int kSyncUtilityWidth = 307;   // dialog units
inline constexpr int kSyncUtilityHeight = 181;

// Every control of the window in its tab order.
std::span<const UtilityControlPlacement> UtilityControlPlacements();

// Which controls an option enables, the pickers' mode and filters, and the
// hints it writes into the name edits.
struct UtilityOptionView {
  bool output_enabled = true;   // 1002 and 1005
  bool numbers_enabled = true;  // 1007, 1009, 1011
  bool ratio_enabled = false;   // 1015, 1023
  bool second_picker_opens = false;  // Open, else Save
  std::string_view first_filter;     // in the "text|patterns|...||" form
  std::string_view second_filter;
  std::optional<std::string_view> source_hint;  // CP949, written into 1003
  std::optional<std::string_view> output_hint;  // CP949, written into 1005
};
UtilityOptionView OptionView(int option);

// "a(*.x)|*.x|b(*.*)|*.*||" as a file dialog's type list.
std::vector<FileFilter> ParseFilterList(std::string_view filter);

// What the window shows in its controls, as the controls hold it.
struct SyncUtilityControls {
  std::string source_name;  // native path bytes
  std::string output_name;
  std::string start_position;  // the number edits' texts
  std::string start_change;
  std::string end_change;
  std::string end_position;
  bool break_repair = false;  // 1048
  bool whole_file = false;    // 1023
  int option = kOptionRangeShift;  // the selected radio, 0 for none
};

// The paths the two file buttons chose last, kept by the owner for the life
// of the program.
struct UtilityPickerPaths {
  std::string first;
  std::string second;
};

// What the window does after a work command or a copy: put the focus on an
// edit (0 for none) and show corrected texts in edits.
struct UtilityFormReply {
  int focus = 0;  // a control id
  std::optional<std::string> source_name;   // names the run trimmed
  std::optional<std::string> output_name;
  std::optional<std::string> start_change;  // the shift the run made positive
  bool completed = false;
  std::string written;  // the file a completed run wrote
};

class SyncUtilityForm {
 public:
  // The state after the window is shown: the source name, the numbers 0 and
  // the first option.
  explicit SyncUtilityForm(std::string source_name);

  // The controls as the window shows them at first.
  SyncUtilityControls InitialControls() const;

  // The radio option chosen; its view tells the window what to enable and
  // which hints to write.
  const UtilityOptionView& ChooseOption(int option);
  const UtilityOptionView& view() const { return view_; }

  // Copies the controls into the members (as the window does when an edit
  // loses the focus). A number field that holds no integer in range shows
  // its message; the reply's focus then names that field and the members
  // keep the values they had.
  UtilityFormReply CopyControls(const SyncUtilityControls& controls, Dialogs& dialogs);

  // The work command (button 1013): copies the controls, runs one job, shows
  // its messages and the replace question through dialogs.
  UtilityFormReply RunWork(const SyncUtilityControls& controls, Dialogs& dialogs);

  // Button 1001 (second false) or 1002: the file dialog, starting at the
  // path this button chose last. The chosen path, also remembered, or
  // nothing when cancelled.
  std::optional<std::string> PickFile(bool second, Dialogs& dialogs,
                                      UtilityPickerPaths& remembered) const;

  // The members as the last successful copy left them.
  const SyncUtilityJob& fields() const { return fields_; }

 private:
  SyncUtilityJob fields_;  // names, numbers and break repair; a run copies it
  UtilityOptionView view_;
};

}  // namespace cadenzio
