// A key or mouse message on its way to the main window's filter, in the
// window system's neutral terms: the window layer translates its own events
// into these before any control sees them.
#pragma once

namespace cadenzio {

enum class KeyMessage {
  KeyDown,        // a key pressed without ALT
  SysKeyDown,     // a key pressed while ALT is held
  RightButtonUp,  // the right mouse button released
};

// Where the message is addressed.
enum class KeyTarget { Editor, Player, Other };

// Key codes: 'A'..'Z' and '0'..'9' as their ASCII codes, the rest below.
inline constexpr int kKeyUp = 0x26;
inline constexpr int kKeyDown = 0x28;
inline constexpr int kKeyF1 = 0x70;  // F1..F12 are kKeyF1 + 0..11
inline constexpr int kKeyF12 = 0x7B;

struct KeyEvent {
  KeyMessage message = KeyMessage::KeyDown;
  int key = 0;
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  KeyTarget target = KeyTarget::Editor;
  int x = 0, y = 0;  // for RightButtonUp: editor client coordinates
};

}  // namespace cadenzio
