// The function-key table of the main window: which action each of F1..F9
// runs, the defaults and their remapping through the settings file, and the
// hotkey information text that F1 shows.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace cadenzio {

enum class KeyAction {
  ShowHotkeyInfo,
  InsertSync,
  InsertClearSync,
  SeekBack,
  SeekForward,
  TogglePause,
  CaptureMovieLength,
  TimeConvertDialog,
  InsertHeader,
};

// Entry i is the action of function key F(i + 1).
using KeyHandlerTable = std::array<KeyAction, 9>;

// F1 hotkey information, F2 InsertSync, F3 InsertClearSync, F4 SeekBack,
// F5 SeekForward, F6 TogglePause, F7 CaptureMovieLength, F8 TimeConvertDialog,
// F9 InsertHeader.
KeyHandlerTable DefaultKeyHandlers();

// The defaults, remapped when the settings file exists and its REMAP_HOTKEY
// is 1: each of ONHELP, ONSYNC, ONCLEARSYNC, ONPRE, ONAFTER, ONPAUSE,
// ONLASTSYNC, ONTIMECONV, ONHEADER (in this order, so a later key wins a
// contested F-key) with a value n from 1 to 9 binds its action to Fn as well;
// the action keeps its default key unless another action takes it. Values
// are read as the private-profile functions read numbers (missing is 0).
KeyHandlerTable LoadKeyHandlers(const std::string& settings_path);

// The heading of the hotkey information window: "Cadenzio 단축키 정보 ^^".
inline constexpr std::string_view kHotkeyHeading =
    "Cadenzio \xB4\xDC\xC3\xE0\xC5\xB0 \xC1\xA4\xBA\xB8 ^^";

// The hotkey information text (CP949): 54 lines, each ended by CR LF, the
// last two naming the product's home page and contact mail.
const std::string& HotkeyText();

}  // namespace cadenzio
