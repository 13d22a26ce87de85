// Reading and rewriting sync starts, and the nudge of the sync above the caret.
#include "tools/sync_line.h"

#include <gtest/gtest.h>

#include "platform/memory_dialogs.h"
#include "platform/memory_editor.h"

namespace cadenzio {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";  // two CP949 characters, four bytes

TEST(SyncLineTest, ReadsAndReplacesStart) {
  EXPECT_EQ(ReadSyncStart("<sync start = 250>"), 250);
  EXPECT_EQ(ReadSyncStart("<SYNC Start=010>"), 10);  // decimal, not octal
  EXPECT_EQ(ReadSyncStart("<SYNC Start=-100>"), -1);
  EXPECT_EQ(ReadSyncStart("<SYNC Start=100>" + kHangul + "<SYNC Start=200>"), 200);  // last wins

  std::string line = "<SYNC Start=100><P Class=KRCC>" + kHangul;
  EXPECT_EQ(ReplaceSyncStart(line, -400), 1);
  EXPECT_EQ(line, "<SYNC Start=-400><P Class=KRCC>" + kHangul);
  line = "<SYNC Start=1><SYNC Start=2>";
  ReplaceSyncStart(line, 30);
  EXPECT_EQ(line, "<SYNC Start=1><SYNC Start=30>");
  line = "<P Class=KRCC>";
  EXPECT_EQ(ReplaceSyncStart(line, 5), 1);
  EXPECT_EQ(line, "<P Class=KRCC>");
}

TEST(SyncLineTest, ReadsTheSyncAboveTheCaretWithoutChanges) {
  MemoryEditor editor("<SYNC Start=1000><P Class=KRCC>\r\n" + kHangul + "\r\n<P Class=ENCC>");
  MemoryDialogs dialogs;
  editor.SetSelection({1, 1});
  EXPECT_EQ(ShiftSyncAtCaret(editor, dialogs, 0), 1000);  // on the first line itself
  editor.SetSelection({36, 36});
  EXPECT_EQ(ShiftSyncAtCaret(editor, dialogs, 0), 1000);

  MemoryEditor none("<P Class=KRCC>\r\n<SYNC Start=5>");
  none.SetSelection({3, 3});
  EXPECT_EQ(ShiftSyncAtCaret(none, dialogs, 200), -1);
  // Only the first 1000 characters of a line are searched: the 5 is the
  // 1000th character of its line, the 6 the 1001st.
  MemoryEditor wide(std::string(987, ' ') + "<SYNC Start=5>\r\n" + std::string(988, ' ') +
                    "<SYNC Start=6>");
  wide.SetSelection({2000, 2000});
  EXPECT_EQ(ShiftSyncAtCaret(wide, dialogs, 0), 5);
  EXPECT_EQ(none.Text(), "<P Class=KRCC>\r\n<SYNC Start=5>");
  EXPECT_FALSE(none.IsModified());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST(SyncLineTest, ShiftRewritesTheLineAsOneUndoStep) {
  const std::string sync = "<SYNC Start=2000><P Class=KRCC>" + kHangul;
  const std::string text = "<SYNC Start=1>\r\n" + sync + "  \t\r\n" + kHangul + "x\r\nend";
  MemoryEditor editor(text);
  MemoryDialogs dialogs;
  const CharRange caret{editor.LineIndex(2) + 1, editor.LineIndex(2) + 3};
  editor.SetSelection(caret);

  EXPECT_EQ(ShiftSyncAtCaret(editor, dialogs, -2500), -500);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0],
            (ShownMessage{sync + "  \t", "Cadenzio", MessageIcon::None, MessageButtons::Ok}));
  EXPECT_EQ(editor.Text(),
            "<SYNC Start=1>\r\n<SYNC Start=-500><P Class=KRCC>" + kHangul + "\r\n" + kHangul +
                "x\r\nend");
  EXPECT_EQ(editor.GetSelection(), caret);
  EXPECT_TRUE(editor.IsModified());
  // A negative start is no sync line, so the next nudge moves the one above.
  EXPECT_EQ(ShiftSyncAtCaret(editor, dialogs, 0), 1);

  EXPECT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Text(), text);
  EXPECT_FALSE(editor.Undo());

  MemoryEditor last("<SYNC Start=5>");  // the last line has no next line to end before
  ShiftSyncAtCaret(last, dialogs, 10);
  EXPECT_EQ(last.Text(), "<SYNC Start=15>");
}

}  // namespace
}  // namespace cadenzio
