// F2, F3 and CTRL+Y on the in-memory editor: where the lines go, where the
// caret ends, and that undo brings back the exact text.
#include "app/sync_stamping.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "platform/memory_editor.h"

namespace cadenzio {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";  // two CP949 characters
const std::string kSync = "<SYNC Start=5000><P Class=KRCC>\r\n";
const std::string kClear = "<SYNC Start=7000><P Class=KRCC>&nbsp;\r\n";
const std::string kBare = "<SYNC Start=1><P Class=KRCC>";

TEST(SyncStampingTest, StampTimeAndClassName) {
  EXPECT_EQ(StampTime(12.3456, -300), 12045);  // 12345.6 truncated, then the delay
  EXPECT_EQ(StampTime(-0.0015, 0), -1);        // toward zero, not down
  EXPECT_EQ(StampTime(1e12, 0), INT32_MAX);    // saturates, never overflows
  for (const auto& [combo, name] : {std::pair{"", "KRCC"}, {" \t ", "KRCC"}, {" EN CC \t", "EN CC"}})
    EXPECT_EQ(CurrentClassName(combo), name) << combo;
}

// Each row: the text before with the caret as '|', the text after with the
// caret, the undo steps the stamp made, and the text those undo steps give
// back ("": the text before).
TEST(SyncStampingTest, StampsPlaceTheLineAndCaretAndUndoExactly) {
  const std::function<void(TextEditor&)> f2 = [](TextEditor& e) { InsertSync(e, 5000, "KRCC"); },
                                         f3 = [](TextEditor& e) { InsertClearSync(e, 7000, "KRCC"); },
                                         ctrl_y = [](TextEditor& e) { DeleteCurrentLine(e); };
  // Empty and bare sync lines are passed over, in any letter case, with a
  // non-breaking space or a FONT or SPANID opening tag; a line of blanks is content.
  const std::string bare = "\r\n" + kBare + "&nbsp;\r\n\r\n<sync start=2><p class=krcc> <font color=red>\r\n"
                           "<SYNC Start=3><P Class=ENCC>&NBSP; <SPANID x>  \r\n";
  // A sync line carrying its caption is split; the prefix holds double-byte
  // characters, so the split counts characters.
  const std::string tag = "<SYNC Start=1000><P Class=KRCC title=" + kHangul + "> \t";
  const std::string caption = "Line one<BR>\r\nLine two<br> \r\nLine three";
  const std::string next = "\r\n\r\n<SYNC Start=9><P Class=KRCC>\r\nnext";
  const std::string cleared = caption + "\r\n" + kClear + "\r\n<SYNC Start=9><P Class=KRCC>\r\n|next";
  struct Row {
    std::string before, after;
    std::function<void(TextEditor&)> stamp;
    std::size_t undo_steps = 1;
    std::string undone = "";
  };
  const Row rows[] = {
      {"a\r\n|Hello\r\nb", "a\r\n" + kSync + "Hello|\r\nb", f2},  // at the start of a caption line
      {"He|llo\r\nb", kSync + "Hello|\r\nb", f2},                 // inside it: before that line
      {"one|\r\ntwo", "one\r\n" + kSync + "two|", f2},            // at a line's end: the next line
      {"|" + bare + kHangul + "\r\nz", bare + kSync + kHangul + "|\r\nz", f2},
      {"|\r\n \t\r\nx", "\r\n" + kSync + " \t|\r\nx", f2},
      // End of the last line: a break is appended (not undoable), the sync goes
      // onto the new line.
      {kBare + "\r\nhello|", kBare + "\r\nhello\r\n" + kSync + "|", f2, 1, kBare + "\r\nhello\r\n"},
      {"x\r\n|\r\n" + kBare, "x\r\n" + kSync + "|\r\n" + kBare, f2},  // only bare lines below: the caret's line
      {"|" + tag + "Hello world\r\nnext", tag + "\r\n" + kSync + "Hello world|\r\nnext", f2, 2},
      {"|" + caption + "\r\nnext", kSync + caption + "|\r\nnext", f2},  // a continued caption: its last line
      {"|a<BR>\r\nb<BR>", kSync + "a<BR>\r\nb<BR>|", f2},
      // F3 from any line of a caption clears after its last line and goes on
      // to the next caption's text.
      {"Line |one<BR>\r\nLine two<br> \r\nLine three" + next, cleared, f3},
      {"Line one<BR>\r\nLine two<br> \r\nLine three|" + next, cleared, f3},
      {kBare + "\r\nHel|lo", kBare + "\r\nHello\r\n" + kClear + "|", f3},  // break and clear line: one step
      // The walk is bounded by the line count from before the insertion.
      {"a|\r\n\r\nb", "a\r\n" + kClear + "\r\n|b", f3},
      {"a|\r\n\r\n", "a\r\n" + kClear + "\r\n|", f3},
      {"a\r\nb|b\r\nc", "a\r\n|c", ctrl_y},
      {"a\r\nb\r\nla|st", "a\r\nb\r\n|", ctrl_y},  // the last line loses its text, not its break
      {kHangul + "|", "|", ctrl_y},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.before);
    MemoryEditor editor(row.before);
    editor.SetSelection(editor.FindText({0, -1}, "|", {}));
    editor.ReplaceSelection("", false);
    const std::string before = editor.Text();
    const int focus = editor.focus_count();
    row.stamp(editor);
    EXPECT_EQ(editor.focus_count(), focus + 1);
    EXPECT_EQ(editor.undo_depth(), row.undo_steps);
    const CharRange selection = editor.GetSelection();
    ASSERT_EQ(selection.start, selection.end);
    MemoryEditor marked(editor.Text());
    marked.SetSelection(selection);
    marked.ReplaceSelection("|", false);
    EXPECT_EQ(marked.Text(), row.after);
    for (std::size_t i = 0; i < row.undo_steps; ++i) EXPECT_TRUE(editor.Undo());
    EXPECT_EQ(editor.Text(), row.undone.empty() ? before : row.undone);
  }
}

}  // namespace
}  // namespace cadenzio
