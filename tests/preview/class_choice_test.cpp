#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "preview/caption_preview.h"
#include "preview_document.h"

namespace cadenzio {
namespace {

TEST(ChooseClassIndex, FollowsTheComboAndTheDocument) {
  SamiDocument doc = PreviewDocument("<SYNC Start=1><P Class=KRCC>a\r\n");
  const std::vector<std::string> items = {"ENCC", "KRCC", "JPCC"};
  // Checks the choice and which items were read.
  auto expect = [&](int selected, int count, int index, int select, bool focus, std::vector<int> read) {
    std::vector<int> asked;
    const ClassChoice c = ChooseClassIndex(doc, selected, count, [&](int i) {
      asked.push_back(i);
      return items[static_cast<std::size_t>(i)];
    });
    EXPECT_EQ(std::tie(c.class_index, c.select_item, c.focus_editor, asked), std::tie(index, select, focus, read))
        << selected << " of " << count;
  };
  expect(0, 3, 1, -1, true, {0});
  expect(2, 3, -1, -1, true, {2});  // the document lacks JPCC
  expect(-1, 3, 1, 0, false, {0});  // nothing selected: the first item
  doc.valid = false;
  expect(2, 3, 2, -1, true, {});    // the position, unchanged
  expect(-1, 3, 0, -1, false, {});
}

}  // namespace
}  // namespace cadenzio
