// The in-memory editor that stands in for the caption editor in every command
// test, and the scripted message boxes beside it.
#include "platform/memory_editor.h"

#include <gtest/gtest.h>

#include "platform/memory_dialogs.h"

namespace cadenzio {
namespace {

const std::string kGaNa = "\xB0\xA1\xB3\xAA";  // two CP949 characters

TEST(MemoryEditorTest, CountsCharactersAndBreaks) {
  MemoryEditor editor("a\r\nb\nc\rd\r\n");
  EXPECT_EQ(editor.LineCount(), 5);
  EXPECT_EQ(editor.Text(), "a\r\nb\r\nc\r\nd\r\n");

  editor.SetText(kGaNa + "z\r\nab");
  EXPECT_EQ(editor.LineLength(0), 3);
  EXPECT_EQ(editor.LineIndex(1), 4);
  EXPECT_EQ(editor.LineIndex(2), -1);
  EXPECT_EQ(editor.LineFromChar(3), 0);  // the break belongs to its line
  EXPECT_EQ(editor.LineFromChar(4), 1);
  EXPECT_EQ(editor.LineFromChar(99), 1);
  EXPECT_EQ(editor.GetLine(0, 1), "\xB0\xA1");

  editor.SetSelection({9, -1});
  EXPECT_EQ(editor.GetSelection(), (CharRange{6, 6}));
  editor.SetSelection({5, 2});
  EXPECT_EQ(editor.GetSelection(), (CharRange{2, 5}));
}

TEST(MemoryEditorTest, ReplacesAcrossLinesWithUndo) {
  MemoryEditor editor(kGaNa + "\r\nab\r\ncd");
  editor.SetSelection({1, 4});  // from after the first character to after 'a'
  editor.ReplaceSelection("X\r\nY\nZ", true);
  EXPECT_EQ(editor.Text(), "\xB0\xA1X\r\nY\r\nZb\r\ncd");
  EXPECT_EQ(editor.GetSelection(), (CharRange{6, 6}));
  EXPECT_TRUE(editor.IsModified());

  editor.SetSelection({0, 0});
  editor.ReplaceSelection("0", true);
  ASSERT_TRUE(editor.Undo());
  ASSERT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Text(), kGaNa + "\r\nab\r\ncd");
  EXPECT_EQ(editor.GetSelection(), (CharRange{1, 4}));
  EXPECT_FALSE(editor.Undo());

  editor.ReplaceSelection("q", true);
  editor.SetText("new");
  EXPECT_FALSE(editor.IsModified());
  EXPECT_FALSE(editor.Undo());
  editor.ReplaceSelection("q", true);
  editor.ReplaceSelection("r", false);  // a step the stack cannot skip over
  EXPECT_FALSE(editor.Undo());
}

TEST(MemoryEditorTest, DialogsRecordAndAnswerInOrder) {
  MemoryDialogs dialogs;
  dialogs.QueueAnswer(MessageAnswer::No);
  dialogs.QueueAnswer(MessageAnswer::Cancel);
  EXPECT_EQ(dialogs.ShowMessage("a", "c", MessageIcon::Question, MessageButtons::YesNo),
            MessageAnswer::No);
  EXPECT_EQ(dialogs.ShowMessage("b", "c", MessageIcon::None, MessageButtons::OkCancel),
            MessageAnswer::Cancel);
  EXPECT_EQ(dialogs.ShowMessage("d", "c", MessageIcon::None, MessageButtons::YesNoCancel),
            MessageAnswer::Yes);  // unscripted
  ASSERT_EQ(dialogs.messages().size(), 3u);
  EXPECT_EQ(dialogs.messages()[0],
            (ShownMessage{"a", "c", MessageIcon::Question, MessageButtons::YesNo}));
}

}  // namespace
}  // namespace cadenzio
