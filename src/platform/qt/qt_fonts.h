// Font faces the window names but this system may lack: the caption editor
// and the preview ask for "굴림" (Gulim), which Linux does not have; without a
// substitute with Hangul glyphs every Korean character draws as a box.
#pragma once

namespace cadenzio {

// Maps the Korean Windows faces to the Nanum faces (fonts-nanum). Call once,
// after the QApplication exists and before the first window is built.
void InstallFontSubstitutions();

}  // namespace cadenzio
