// F2, F3 and CTRL+Y on the in-memory editor: where the lines go, where the
// caret ends, and that undo brings back the exact text.
#include "app/sync_stamping.h"

#include <gtest/gtest.h>

#include "pattern/code_page.h"
#include "platform/memory_editor.h"

namespace cadenzio {
namespace {

const std::string kHangul = "\xC7\xD1\xB1\xDB";  // two CP949 characters

// Texts in these tests mark the caret with '|'.
MemoryEditor EditorAt(const std::string& marked) {
  const std::size_t bar = marked.find('|');
  std::string text = marked;
  text.erase(bar, 1);
  MemoryEditor editor(text);
  long pos = 0;
  for (std::size_t i = 0; i < bar;) {
    const bool crlf = text[i] == '\r' && i + 1 < bar && text[i + 1] == '\n';
    i += crlf ? 2 : CodePage::Cp949().CharLength(text, i);
    ++pos;
  }
  editor.SetSelection({pos, pos});
  return editor;
}

std::string Marked(const MemoryEditor& editor) {
  const CharRange sel = editor.GetSelection();
  EXPECT_EQ(sel.start, sel.end);
  const long line = editor.LineFromChar(sel.start);
  std::string out;
  for (long i = 0; i < editor.LineCount(); ++i) {
    std::string text = editor.GetLine(i, 1 << 20);
    if (i == line) {
      std::size_t byte = 0;
      for (long c = sel.start - editor.LineIndex(i); c > 0; --c)
        byte += CodePage::Cp949().CharLength(text, byte);
      text.insert(byte, "|");
    }
    out += (i > 0 ? "\r\n" : "") + text;
  }
  return out;
}

std::string WithoutBar(std::string marked) {
  marked.erase(marked.find('|'), 1);
  return marked;
}

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
  EXPECT_EQ(StampTime(61.25, 0), 61250);
  EXPECT_EQ(StampTime(-0.0015, 0), -1);  // toward zero, not down
  EXPECT_EQ(StampTime(0.0, 5000), 5000);
  EXPECT_EQ(StampTime(1e12, 0), INT32_MAX);  // saturates, never overflows
  EXPECT_EQ(CurrentClassName(""), "KRCC");
  EXPECT_EQ(CurrentClassName(" \t "), "KRCC");
  EXPECT_EQ(CurrentClassName("  ENCC \t"), "ENCC");
  EXPECT_EQ(CurrentClassName(" EN CC "), "EN CC");

  MemoryEditor editor("Caption");
  InsertSync(editor, StampTime(12.3456, -300), CurrentClassName(" ENCC "));
  EXPECT_EQ(editor.Text(), "<SYNC Start=12045><P Class=ENCC>\r\nCaption");
}

TEST(SyncStampingTest, InsertSyncFindsTheCaptionLine) {
  // Caret at the start of a caption line.
  ExpectStamp("a\r\n|Hello\r\nb", "a\r\n" + kSync + "Hello|\r\nb", F2);
  // Inside a caption line: the sync goes before that line.
  ExpectStamp("He|llo\r\nb", kSync + "Hello|\r\nb", F2);
  // At the end of a line that is not the last: the next line is stamped.
  ExpectStamp("one|\r\ntwo", "one\r\n" + kSync + "two|", F2);
  // Runs of empty and bare sync lines are passed over, in any letter case,
  // with a non-breaking space or a FONT or SPANID opening tag; a line of
  // blanks is content.
  const std::string bare =
      "\r\n<SYNC Start=1><P Class=KRCC>&nbsp;\r\n\r\n<sync start=2><p class=krcc> <font color=red>\r\n"
      "<SYNC Start=3><P Class=ENCC>&NBSP; <SPANID x>  \r\n";
  ExpectStamp("|" + bare + kHangul + "\r\nz", bare + kSync + kHangul + "|\r\nz", F2);
  ExpectStamp("|\r\n \t\r\nx", "\r\n" + kSync + " \t|\r\nx", F2);
}

TEST(SyncStampingTest, InsertSyncAtTheEndOfTheText) {
  // End of the last non-empty line: a break is appended (not undoable) and
  // the sync goes onto the new empty line, the caret on the empty line after.
  ExpectStamp("<SYNC Start=1><P Class=KRCC>\r\nhello|",
              "<SYNC Start=1><P Class=KRCC>\r\nhello\r\n" + kSync + "|", F2, 1,
              "<SYNC Start=1><P Class=KRCC>\r\nhello\r\n");
  // Nothing but blank and bare lines below the caret: the stamp goes to the
  // caret's line.
  ExpectStamp("x\r\n|\r\n<SYNC Start=1><P Class=KRCC>",
              "x\r\n" + kSync + "|\r\n<SYNC Start=1><P Class=KRCC>", F2);
}

TEST(SyncStampingTest, InsertSyncSplitsASyncLineThatCarriesItsCaption) {
  // The prefix holds double-byte characters: the split counts characters.
  const std::string tag = "<SYNC Start=1000><P Class=KRCC title=" + kHangul + "> \t";
  ExpectStamp("|" + tag + "Hello world\r\nnext", tag + "\r\n" + kSync + "Hello world|\r\nnext", F2,
              2);
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
  ExpectStamp("<SYNC Start=1><P Class=KRCC>\r\nHel|lo",
              "<SYNC Start=1><P Class=KRCC>\r\nHello\r\n" + kClear + "|", F3);
  // The walk is bounded by the line count from before the insertion, so the
  // last line of the new text is never passed over.
  ExpectStamp("a|\r\n\r\nb", "a\r\n" + kClear + "\r\n|b", F3);
  ExpectStamp("a|\r\n\r\n", "a\r\n" + kClear + "\r\n|", F3);
}

TEST(SyncStampingTest, DeleteCurrentLine) {
  const auto ctrl_y = [](TextEditor& e) { DeleteCurrentLine(e); };
  ExpectStamp("a\r\nb|b\r\nc", "a\r\n|c", ctrl_y);
  ExpectStamp("|a\r\nb", "|b", ctrl_y);
  // The last line loses its text; the break before it stays.
  ExpectStamp("a\r\nb\r\nla|st", "a\r\nb\r\n|", ctrl_y);
  ExpectStamp(kHangul + "|", "|", ctrl_y);
}

}  // namespace
}  // namespace cadenzio
