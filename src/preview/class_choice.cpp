#include "preview/caption_preview.h"

namespace cadenzio {

ClassChoice ChooseClassIndex(const SamiDocument& doc, int selected_item, int item_count,
                             const std::function<std::string(int)>& item_text) {
  ClassChoice choice;
  if (selected_item >= 0) {
    choice.class_index = doc.valid ? doc.ClassIndex(item_text(selected_item)) : selected_item;
    choice.focus_editor = true;
  } else if (item_count > 0 && doc.valid) {
    choice.select_item = 0;
    choice.class_index = doc.ClassIndex(item_text(0));
  }
  return choice;
}

}  // namespace cadenzio
