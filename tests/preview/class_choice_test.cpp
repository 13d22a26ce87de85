#include <gtest/gtest.h>

#include <vector>

#include "preview/caption_preview.h"
#include "preview_document.h"

namespace cadenzio {
namespace {

TEST(ChooseClassIndex, FollowsTheComboAndTheDocument) {
  SamiDocument doc = PreviewDocument("<SYNC Start=1><P Class=KRCC>a\r\n");
  ASSERT_EQ(doc.classes, (std::vector<std::string>{"KRCC", "ENCC"}));
  const std::vector<std::string> items = {"ENCC", "KRCC", "JPCC"};
  std::vector<int> asked;
  auto choose = [&](int selected, int count) {
    asked.clear();
    return ChooseClassIndex(doc, selected, count, [&](int i) {
      asked.push_back(i);
      return items[static_cast<std::size_t>(i)];
    });
  };
  auto expect = [&](ClassChoice c, int index, int select, bool focus, std::vector<int> read) {
    EXPECT_EQ(c.class_index, index);
    EXPECT_EQ(c.select_item, select);
    EXPECT_EQ(c.focus_editor, focus);
    EXPECT_EQ(asked, read);
  };
  expect(choose(0, 3), 1, -1, true, {0});
  expect(choose(1, 3), 0, -1, true, {1});
  expect(choose(2, 3), -1, -1, true, {2});   // the document lacks JPCC
  expect(choose(-1, 3), 1, 0, false, {0});  // nothing selected: the first item
  expect(choose(-1, 0), 0, -1, false, {});
  doc.valid = false;
  expect(choose(2, 3), 2, -1, true, {});    // the position, unchanged
  expect(choose(-1, 3), 0, -1, false, {});
}

}  // namespace
}  // namespace cadenzio
