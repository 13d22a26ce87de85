// The capture list: start-up values and labels, derived rows, presets and
// the user's edits.
#include "app/capture_list.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace cadenzio {
namespace {

TEST(CaptureListTest, LabelsDerivedRowsAndEdits) {
  CaptureList list;
  EXPECT_EQ(list.CaptureRowText(9) + list.RowLabel(0) + list.RowLabel(9), "00000000CTRL+1CTRL+0");
  EXPECT_EQ(CaptureList::RowForDigit('0'), 9);
  EXPECT_EQ(CaptureList::RowForDigit('A'), -1);
  list.SetCaptureRow(0, 3000);
  list.SetCaptureRow(1, 1500);
  EXPECT_EQ(list.CaptureRowText(4), "-1500");
  EXPECT_EQ(list.CaptureRowText(5), "00000000");  // rows 2 and 3 untouched

  // A typed value counts at once, read from the text's start; text that is
  // no number counts 0.
  list.EndLabelEdit(2, std::string("  -250ms"));
  EXPECT_EQ(list.CaptureRowText(2), "  -250ms");
  list.EndLabelEdit(3, std::string("abc"));
  EXPECT_EQ(list.CaptureRowText(5), "250");

  // Typing into a derived row stays until its sources change; a cancelled
  // edit changes nothing; extremes do not overflow.
  list.EndLabelEdit(4, std::string("typed"));
  list.EndLabelEdit(1, std::nullopt);
  list.SetCaptureRow(6, 42);
  EXPECT_EQ(list.CaptureRowText(4) + "|" + list.CaptureRowText(1), "typed|1500");
  list.SetCaptureRow(1, INT32_MIN);
  EXPECT_EQ(list.CaptureRowText(4), "-2147486648");
}

// "0" is no preset, "00" is one; a value is cut to 1023 characters.
TEST(CaptureListTest, PresetsFromTheSettingsFile) {
  test::TempDir dir;
  test::WriteFile(dir.File("C.ini"), "[Cadenzio]\r\nCTRL_8=0\r\nCTRL_9=00\r\nCTRL_0=" + std::string(1500, '7') + "\r\n");
  CaptureList list;
  list.LoadPresets(dir.File("C.ini"));
  EXPECT_EQ(list.CaptureRowText(7) + "|" + list.CaptureRowText(8), "00000000|00");
  EXPECT_EQ(list.CaptureRowText(9), std::string(1023, '7'));
}

}  // namespace
}  // namespace cadenzio
