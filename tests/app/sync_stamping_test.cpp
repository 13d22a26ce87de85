// F2, F3 and CTRL+Y on the in-memory editor: where the lines go, where the
// caret ends, and that undo brings back the exact text.
#include "app/sync_stamping.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/memory_editor.h"

namespace cadenzio {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";  // two CP949 characters

// Texts in these tests mark the caret with '|'.
MemoryEditor EditorAt(const std::string& marked) {
  MemoryEditor editor(marked);
  editor.SetSelection(editor.FindText({0, -1}, "|", {}));
  editor.ReplaceSelection("", false);
  return editor;
}

std::string Marked(MemoryEditor editor) {
  EXPECT_EQ(editor.GetSelection().start, editor.GetSelection().end);
  editor.ReplaceSelection("|", false);
  return editor.Text();
}

std::string WithoutBar(std::string marked) { return marked.erase(marked.find('|'), 1); }

// Runs one stamp, checks the result and the caret, then undoes every undo
// step the stamp made and checks the text before it.
template <typename Stamp>
void ExpectStamp(const std::string& before, const std::string& after, Stamp stamp,
                 std::size_t undo_steps = 1, const std::string& undone = "") {
  MemoryEditor editor = EditorAt(before);
  const int focus = editor.focus_count();
  stamp(editor);
  EXPECT_EQ(Marked(editor), after) << "from " << before;
  EXPECT_EQ(editor.focus_count(), focus + 1);
  EXPECT_EQ(editor.undo_depth(), undo_steps);
  for (std::size_t i = 0; i < undo_steps; ++i) EXPECT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Text(), undone.empty() ? WithoutBar(before) : undone);
}

const auto F2 = [](TextEditor& e) { InsertSync(e, 5000, "KRCC"); };
const auto F3 = [](TextEditor& e) { InsertClearSync(e, 7000, "KRCC"); };
const std::string kSync = "<SYNC Start=5000><P Class=KRCC>\r\n";
const std::string kClear = "<SYNC Start=7000><P Class=KRCC>&nbsp;\r\n";

TEST(SyncStampingTest, StampTimeAndClassName) {
  EXPECT_EQ(StampTime(12.3456, -300), 12045);  // 12345.6 truncated, then the delay
  EXPECT_EQ(StampTime(-0.0015, 0), -1);        // toward zero, not down
  EXPECT_EQ(StampTime(0.0, 5000), 5000);
  EXPECT_EQ(StampTime(1e12, 0), INT32_MAX);  // saturates, never overflows
  for (const auto& [combo, name] : {std::pair{"", "KRCC"}, {" \t ", "KRCC"}, {"  ENCC \t", "ENCC"}, {" EN CC ", "EN CC"}})
    EXPECT_EQ(CurrentClassName(combo), name) << combo;
}

TEST(SyncStampingTest, InsertSyncFindsTheCaptionLine) {
  ExpectStamp("a\r\n|Hello\r\nb", "a\r\n" + kSync + "Hello|\r\nb", F2);  // at the start of a caption line
  ExpectStamp("He|llo\r\nb", kSync + "Hello|\r\nb", F2);                // inside it: before that line
  ExpectStamp("one|\r\ntwo", "one\r\n" + kSync + "two|", F2);            // at a line's end: the next line
  // Runs of empty and bare sync lines are passed over, in any letter case,
  // with a non-breaking space or a FONT or SPANID opening tag; a line of
  // blanks is content.
  const std::string bare =
      "\r\n<SYNC Start=1><P Class=KRCC>&nbsp;\r\n\r\n<sync start=2><p class=krcc> <font color=red>\r\n"
      "<SYNC Start=3><P Class=ENCC>&NBSP; <SPANID x>  \r\n";
  ExpectStamp("|" + bare + kHangul + "\r\nz", bare + kSync + kHangul + "|\r\nz", F2);
  ExpectStamp("|\r\n \t\r\nx", "\r\n" + kSync + " \t|\r\nx", F2);
  // End of the last non-empty line: a break is appended (not undoable) and
  // the sync goes onto the new empty line, the caret on the empty line after.
  ExpectStamp("<SYNC Start=1><P Class=KRCC>\r\nhello|", "<SYNC Start=1><P Class=KRCC>\r\nhello\r\n" + kSync + "|",
              F2, 1, "<SYNC Start=1><P Class=KRCC>\r\nhello\r\n");
  // Nothing but blank and bare lines below the caret: the caret's line.
  ExpectStamp("x\r\n|\r\n<SYNC Start=1><P Class=KRCC>", "x\r\n" + kSync + "|\r\n<SYNC Start=1><P Class=KRCC>", F2);
  // A sync line carrying its caption is split in two steps; the prefix holds
  // double-byte characters, so the split counts characters.
  const std::string tag = "<SYNC Start=1000><P Class=KRCC title=" + kHangul + "> \t";
  ExpectStamp("|" + tag + "Hello world\r\nnext", tag + "\r\n" + kSync + "Hello world|\r\nnext", F2, 2);
}

TEST(SyncStampingTest, ContinuedCaptionsEndAtTheirLastLine) {
  const std::string caption = "Line one<BR>\r\nLine two<br> \r\nLine three";
  ExpectStamp("|" + caption + "\r\nnext", kSync + caption + "|\r\nnext", F2);
  // A caption that ends the text on a <BR> line keeps the caret on it.
  ExpectStamp("|a<BR>\r\nb<BR>", kSync + "a<BR>\r\nb<BR>|", F2);

  // F3 from any line of the caption clears after its third line and goes on
  // to the next caption's text, past empty and bare sync lines.
  const std::string rest = "\r\n<SYNC Start=9><P Class=KRCC>\r\nnext";
  const std::string after = caption + "\r\n" + kClear + "\r\n<SYNC Start=9><P Class=KRCC>\r\n|next";
  ExpectStamp("Line |one<BR>\r\nLine two<br> \r\nLine three\r\n" + rest, after, F3);
  ExpectStamp("Line one<BR>\r\n|Line two<br> \r\nLine three\r\n" + rest, after, F3);
  ExpectStamp("Line one<BR>\r\nLine two<br> \r\nLine three|\r\n" + rest, after, F3);
}

TEST(SyncStampingTest, InsertClearSyncAtTheEndOfTheText) {
  // The caption's last line ends the text without a break: break and clear
  // line are one undo step.
  ExpectStamp("<SYNC Start=1><P Class=KRCC>\r\nHel|lo", "<SYNC Start=1><P Class=KRCC>\r\nHello\r\n" + kClear + "|", F3);
  // The walk is bounded by the line count from before the insertion, so the
  // last line of the new text is never passed over.
  ExpectStamp("a|\r\n\r\nb", "a\r\n" + kClear + "\r\n|b", F3);
  ExpectStamp("a|\r\n\r\n", "a\r\n" + kClear + "\r\n|", F3);
}

TEST(SyncStampingTest, DeleteCurrentLine) {
  const auto ctrl_y = [](TextEditor& e) { DeleteCurrentLine(e); };
  ExpectStamp("a\r\nb|b\r\nc", "a\r\n|c", ctrl_y);
  ExpectStamp("|a\r\nb", "|b", ctrl_y);
  ExpectStamp("a\r\nb\r\nla|st", "a\r\nb\r\n|", ctrl_y);  // the last line loses its text, not its break
  ExpectStamp(kHangul + "|", "|", ctrl_y);
}

}  // namespace
}  // namespace cadenzio
