// The function-key table and its remapping, and the hotkey text.
#include "app/key_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>

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
  const KeyHandlerTable defaults = {ShowHotkeyInfo,     InsertSync,        InsertClearSync,
                                    SeekBack,           SeekForward,       TogglePause,
                                    CaptureMovieLength, TimeConvertDialog, InsertHeader};
  EXPECT_EQ(DefaultKeyHandlers(), defaults);

  KeyHandlerTable expected = defaults;
  expected[4] = InsertSync;  // F2 and F5 both stamp
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONSYNC=5\r\n"), expected);

  // Two actions on F2: the key later in the remap table (ONPRE after ONSYNC)
  // wins, whatever the order in the file; F4 still seeks back.
  expected = defaults;
  expected[1] = SeekBack;
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONPRE=2\r\nONSYNC=2\r\n"), expected);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONSYNC=2\r\nONPRE=2\r\n"), expected);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONHEADER=1\r\nONPAUSE=9\r\n"),
            (KeyHandlerTable{InsertHeader, InsertSync, InsertClearSync, SeekBack, SeekForward,
                             TogglePause, CaptureMovieLength, TimeConvertDialog, TogglePause}));

  // Values out of range, garbage, and remapping not switched on change nothing.
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1\r\nONSYNC=0\r\nONPRE=10\r\nONAFTER=-3\r\nONPAUSE=abc\r\n"), defaults);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=2\r\nONSYNC=5\r\n"), defaults);
  EXPECT_EQ(Remapped("ONSYNC=5\r\n"), defaults);
  EXPECT_EQ(Remapped("REMAP_HOTKEY=1abc\r\nONTIMECONV=7x\r\n")[6], TimeConvertDialog);  // read as numbers are
  EXPECT_EQ(LoadKeyHandlers("/nonexistent/Cadenzio.ini"), defaults);
}

TEST(KeyHandlersTest, HotkeyText) {
  const std::string& text = HotkeyText();
  EXPECT_EQ(kHotkeyHeading, "Cadenzio \xB4\xDC\xC3\xE0\xC5\xB0 \xC1\xA4\xBA\xB8 ^^");  // Cadenzio 단축키 정보 ^^
  EXPECT_EQ(std::ranges::count(text, '\n'), 54);  // every line ends in CR LF
  EXPECT_EQ(std::ranges::count(text, '\r'), 54);
  // F1's line first, an empty line, F2's line.
  EXPECT_TRUE(text.starts_with("F1: \xB5\xB5\xBF\xF2\xB8\xBB - "));  // 도움말
  EXPECT_NE(text.find("\r\n\r\nF2: \xBD\xCC\xC5\xA9 \xB3\xD6\xB1\xE2\r\n"), std::string::npos);  // 싱크 넣기
  EXPECT_NE(text.find("\r\nCTRL+F or R: \xC3\xA3\xB1\xE2 \xB9\xD7 \xB9\xD9\xB2\xD9\xB1\xE2\r\n\r\n"),
            std::string::npos);  // 찾기 및 바꾸기
  EXPECT_TRUE(text.ends_with(std::string("\xC8\xA8\xC6\xE4\xC0\xCC\xC1\xF6 => ") + std::string(kProductHomePage) +
                             "\r\n\xC0\xCC\xB8\xDE\xC0\xCF => mailto:" + std::string(kProductMail) + "\r\n"));
}

}  // namespace
}  // namespace cadenzio
