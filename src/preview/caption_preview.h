// The caption preview under the player: what the main window keeps and
// decides around SamiDocument::RenderCaption (caption_renderer.cpp), which
// turns the document and the playback position into the box's RTF text.
//
// On each refresh tick the main window calls
//   const int32_t found = document.RenderCaption(position_ms, chosen_class_index,
//                                                shown_start, rtf, &sync_index);
//   if (found != shown_start) { view.SetPreviewRtf(rtf); shown_start = found; }
// with shown_start starting at kInitialShownSyncStart and rtf kept between
// ticks (RenderCaption leaves it untouched when it finds the shown sync again).
// sync_index (caption_sync_index.h) lives beside the document and is Reset()
// whenever the document is analysed again; without it each tick walks the
// nodes from the first, which costs milliseconds late in a long file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "sami/sami_document.h"

namespace cadenzio {

// The start the main window treats as shown before the first tick.
inline constexpr int32_t kInitialShownSyncStart = 65535;

// A caption text (its paragraph node's text) longer than this many bytes is
// shown as a red notice and the start of its text.
inline constexpr std::size_t kCaptionTextLimit = 200;

// The outcome of recomputing the chosen class index from the class combo.
struct ClassChoice {
  int class_index = 0;     // the new chosen class index
  int select_item = -1;    // item the combo must select first, -1 for none
  bool focus_editor = false;  // give the caption editor the focus
};

// Recomputes the chosen class index from the class combo: on a change of
// selection, when the caption-on box is ticked, after a caption is loaded or
// the edits are reflected.
//   - An item is selected (selected_item >= 0): for a valid document the
//     index is doc.ClassIndex(item_text(selected_item)) (-1 when the document
//     lacks the class); for a document that is not valid it is selected_item
//     itself. Either way the editor gets the focus.
//   - No item is selected, the combo has items and the document is valid:
//     item 0 is to be selected and the index is doc.ClassIndex(item_text(0)).
//   - Otherwise the index is 0.
// item_text(i) gives the text of item i (0 <= i < item_count); it is called
// at most once. The caller applies the result in three lines:
//   const ClassChoice choice = ChooseClassIndex(document, view.ClassComboSelection(),
//       view.ClassComboCount(), [&](int i) { return view.ClassComboItem(i); });
//   if (choice.select_item >= 0) view.SetClassComboSelection(choice.select_item);
//   chosen_class_index = choice.class_index;  // and focus the editor if choice.focus_editor
ClassChoice ChooseClassIndex(const SamiDocument& doc, int selected_item, int item_count,
                             const std::function<std::string(int)>& item_text);

}  // namespace cadenzio
