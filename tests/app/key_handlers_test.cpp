// The function-key table and its remapping, and the hotkey text.
#include "app/key_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "app/product.h"
#include "test_support.h"

namespace cadenzio {
namespace {

using enum KeyAction;

KeyHandlerTable Remapped(const std::string& keys) {
  test::TempDir dir;
  const std::string ini = dir.File("Cadenzio.ini");
  test::WriteFile(ini, "[Cadenzio]\r\nDELAY=0\r\n" + keys);
  return LoadKeyHandlers(ini);
}

TEST(KeyHandlersTest, RemapsFunctionKeys) {
  const KeyHandlerTable defaults = {ShowHotkeyInfo, InsertSync, InsertClearSync, SeekBack, SeekForward,
                                    TogglePause, CaptureMovieLength, TimeConvertDialog, InsertHeader};
  EXPECT_EQ(DefaultKeyHandlers(), defaults);
  KeyHandlerTable expected = defaults;
  expected[0] = InsertHeader;
  expected[8] = TogglePause;
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONHEADER=1\r\nONPAUSE=9\r\n"), expected);

  // Two actions on F2: the key later in the remap table (ONPRE after ONSYNC)
  // wins, whatever the order in the file; F4 still seeks back.
  expected = defaults;
  expected[1] = SeekBack;
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONPRE=2\r\nONSYNC=2\r\n"), expected);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONSYNC=2\r\nONPRE=2\r\n"), expected);

  // Values out of range, garbage, and remapping not switched on change nothing.
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONSYNC=0\r\nONPRE=10\r\nONAFTER=-3\r\nONPAUSE=abc\r\n"), defaults);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=2\r\nONSYNC=5\r\n"), defaults);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1abc\r\nONTIMECONV=7x\r\n")[6], TimeConvertDialog);  // read as numbers are
}

// The window's tests compare the lines; here the CR LF ends and the last
// lines, built from the product's addresses.
TEST(KeyHandlersTest, HotkeyText) {
  const std::string& text = HotkeyText();
  EXPECT_EQ(std::pair(std::ranges::count(text, '\n'), std::ranges::count(text, '\r')), std::pair(54L, 54L));
  EXPECT_TRUE(text.ends_with(std::string("\xC8\xA8\xC6\xE4\xC0\xCC\xC1\xF6 => ") + std::string(kProductHomePage) +
                             "\r\n\xC0\xCC\xB8\xDE\xC0\xCF => mailto:" + std::string(kProductMail) + "\r\n"));
}

}  // namespace
}  // namespace cadenzio
