// The nudge of the sync above the caret.
#include "tools/sync_line.h"

#include <gtest/gtest.h>

#include "platform/memory_dialogs.h"
#include "platform/memory_editor.h"

namespace cadenzio {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";  // two CP949 characters, four bytes

TEST(SyncLineTest, ShiftRewritesTheLineAsOneUndoStep) {
  const std::string sync = "<SYNC Start=2000><P Class=KRCC>" + kHangul;
  const std::string text = "<SYNC Start=1>\r\n" + sync + "  \t\r\n" + kHangul + "x\r\nend";
  MemoryEditor editor(text);
  MemoryDialogs dialogs;
  const CharRange caret{editor.LineIndex(2) + 1, editor.LineIndex(2) + 3};
  editor.SetSelection(caret);
  EXPECT_EQ(ShiftSyncAtCaret(editor, dialogs, -2500), -500);
  EXPECT_EQ(dialogs.messages(), (std::vector<ShownMessage>{{sync + "  \t", "Cadenzio"}}));
  EXPECT_EQ(editor.Text(), "<SYNC Start=1>\r\n<SYNC Start=-500><P Class=KRCC>" + kHangul + "\r\n" + kHangul + "x\r\nend");
  EXPECT_EQ(editor.GetSelection(), caret);
  // A negative start is no sync line, so the next nudge moves the one above.
  EXPECT_EQ(ShiftSyncAtCaret(editor, dialogs, 0), 1);
  EXPECT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Text(), text);
  EXPECT_FALSE(editor.Undo());
  MemoryEditor none("<P Class=KRCC>\r\n<SYNC Start=5>");  // no sync above: -1
  none.SetSelection({3, 3});
  EXPECT_EQ(ShiftSyncAtCaret(none, dialogs, 200), -1);
  MemoryEditor last("<SYNC Start=5>");  // the last line has no next line to end before
  ShiftSyncAtCaret(last, dialogs, 10);
  EXPECT_EQ(last.Text(), "<SYNC Start=15>");
}

}  // namespace
}  // namespace cadenzio
