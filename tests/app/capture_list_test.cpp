// The capture list: start-up values and labels, derived rows, presets and
// the user's edits.
#include "app/capture_list.h"

#include <gtest/gtest.h>

#include <tuple>

#include "test_support.h"

namespace cadenzio {
namespace {

TEST(CaptureListTest, StartsWithZerosAndKeyLabels) {
  const CaptureList list;
  for (int row = 0; row < CaptureList::kRows; ++row)
    EXPECT_EQ(list.CaptureRowText(row), "00000000");
  for (const auto& [row, label, digit] :
       {std::tuple{0, "CTRL+1", '1'}, {8, "CTRL+9", '9'}, {9, "CTRL+0", '0'}, {-1, "", 'A'}}) {
    EXPECT_EQ(list.RowLabel(row), label);
    EXPECT_EQ(CaptureList::RowForDigit(digit), row);
  }
  EXPECT_EQ(list.CaptureRowText(10), "");
}

TEST(CaptureListTest, DerivedRowsFollowTheirSources) {
  CaptureList list;
  list.SetCaptureRow(0, 1000);
  list.SetCaptureRow(1, 1500);
  EXPECT_EQ(list.CaptureRowText(4), "500");
  list.SetCaptureRow(0, 3000);
  EXPECT_EQ(list.CaptureRowText(4), "-1500");
  EXPECT_EQ(list.CaptureRowText(5), "00000000");  // rows 2 and 3 untouched

  // A typed value counts at once; the number is read from the text's start.
  list.EndLabelEdit(2, std::string("  -250ms"));
  EXPECT_EQ(list.CaptureRowText(2), "  -250ms");
  EXPECT_EQ(list.CaptureRowText(5), "250");
  list.EndLabelEdit(3, std::string("abc"));
  EXPECT_EQ(list.CaptureRowText(5), "250");  // 0 - (-250)

  // Typing into a derived row stays until its sources change.
  list.EndLabelEdit(4, std::string("typed"));
  list.SetCaptureRow(6, 42);
  EXPECT_EQ(list.CaptureRowText(4), "typed");
  list.SetCaptureRow(1, 3500);
  EXPECT_EQ(list.CaptureRowText(4), "500");

  // A cancelled edit leaves the row and its difference as they were.
  list.EndLabelEdit(1, std::nullopt);
  EXPECT_EQ(list.CaptureRowText(1), "3500");
  // F7's row is written without touching the differences; extremes do not overflow.
  list.SetRowText(0, "99999999999");
  list.SetCaptureRow(1, INT32_MIN);
  EXPECT_EQ(list.CaptureRowText(4), "-4294967295");
}

TEST(CaptureListTest, PresetsFromTheSettingsFile) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  test::WriteFile(ini, "[Cadenzio]\r\nCTRL_8=0\r\nCTRL_9=00\r\nCTRL_0=" + std::string(1500, '7') + "\r\n");
  CaptureList list;
  list.LoadPresets(ini);
  EXPECT_EQ(list.CaptureRowText(7), "00000000");  // "0" is no preset; "00" is one
  EXPECT_EQ(list.CaptureRowText(8), "00");
  EXPECT_EQ(list.CaptureRowText(9), std::string(1023, '7'));
  CaptureList missing;
  missing.LoadPresets(dir.File("none.ini"));
  EXPECT_EQ(missing.CaptureRowText(8), "00000000");
}

}  // namespace
}  // namespace cadenzio
