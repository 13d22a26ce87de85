// The sync capture list: a scratch pad of ten time values in milliseconds.
// Rows 4 and 5 hold live differences (row 1 - row 0, row 3 - row 2), so the
// offset between a caption and the movie can be read off at once.
//
// This is the list's content only; the window mirrors it
// (MainWindowView::ShowCaptureRow) and reports the user's edits back.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cadenzio {

class CaptureList {
 public:
  static constexpr int kRows = 10;
  // Every row's value after start-up.
  static constexpr std::string_view kInitialValue = "00000000";

  // Ten rows of "00000000", labelled CTRL+1 .. CTRL+9, CTRL+0.
  CaptureList();

  // Rows 7, 8 and 9 from the keys CTRL_8, CTRL_9 and CTRL_0 of the settings
  // file (section "Cadenzio", at most 1023 characters, default "0"). A value
  // of exactly "0", or a missing key or file, leaves the row as it is; "00"
  // is a value. The derived rows are not recomputed.
  void LoadPresets(const std::string& settings_path);

  // Writes "%d" of value and recomputes the derived rows (ALT+digit).
  void SetCaptureRow(int row, int32_t value);
  // The value column's text ("" for a row outside 0..9).
  const std::string& CaptureRowText(int row) const;
  // "CTRL+%d" with (row + 1) modulo 10 ("" for a row outside 0..9).
  const std::string& RowLabel(int row) const;
  // Sets the text as it is, without recomputing the derived rows (F7's row 6).
  void SetRowText(int row, std::string text);

  // The end of the user's edit of a row's value. A text is stored as typed
  // and the derived rows follow it. A cancelled edit (no text) leaves the row
  // and the derived rows unchanged.
  void EndLabelEdit(int row, std::optional<std::string> text);

  // Row 4 := row 1 - row 0 when row is 0 or 1; row 5 := row 3 - row 2 when row
  // is 2 or 3; any other row changes nothing. Values are the signed decimal
  // integer at the start of the text, blanks skipped, 0 when there is none.
  void UpdateDerivedRows(int row);

  // The row of a digit key: '1' -> 0 ... '9' -> 8, '0' -> 9; -1 for any
  // other key.
  static int RowForDigit(int key);

 private:
  struct Row {
    std::string value;
    std::string label;
  };
  std::array<Row, kRows> rows_;
};

// The number at the start of a row's text, as the derived rows read it.
int32_t CaptureValue(std::string_view text);

}  // namespace cadenzio
