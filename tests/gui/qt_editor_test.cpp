// The Qt caption editor against the in-memory editor: the same operations on
// the same CP949 texts leave both in the same state; look-ups stay fast.
#include "platform/qt/qt_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QTest>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gui/gui_support.h"
#include "platform/memory_editor.h"
#include "platform/qt/qt_text.h"

namespace cadenzio {
namespace {

const std::string kGaNaDa = "\xB0\xA1\xB3\xAA\xB4\xD9";  // 가나다
const std::string kRaMa = "\xB6\xF3\xB8\xB6";            // 라마
const std::string kGa = "\xB0\xA1";                      // 가

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", u);
    out += u < 0x20 || u >= 0x80 ? std::string(hex) : std::string(1, c);
  }
  return out;
}

std::string Str(CharRange r) { return std::to_string(r.start) + "-" + std::to_string(r.end); }

// Everything the logic can read from an editor, as one comparable text.
std::string Snapshot(const TextEditor& editor) {
  std::string out = "text=" + Escaped(editor.Text()) + " length=" +
                    std::to_string(editor.TextLength()) + " lines=" +
                    std::to_string(editor.LineCount()) + " selection=" +
                    Str(editor.GetSelection()) + " modified=" + std::to_string(editor.IsModified()) + "\n";
  for (long line = -1; line <= editor.LineCount(); ++line) {
    out += "line " + std::to_string(line) + ": index=" + std::to_string(editor.LineIndex(line)) +
           " length=" + std::to_string(editor.LineLength(line)) + " text=" +
           Escaped(editor.GetLine(line, 1023)) + " first2=" + Escaped(editor.GetLine(line, 2)) + "\n";
  }
  out += "line of:";
  for (long pos = -2; pos <= editor.TextLength() + 2; ++pos)
    out += " " + std::to_string(editor.LineFromChar(pos));
  return out;
}

struct Step {
  std::string name;
  std::function<std::string(TextEditor&)> run;  // a result worth comparing, or ""
};

Step Select(CharRange range) {
  return {"select " + Str(range), [range](TextEditor& e) { e.SetSelection(range); return ""; }};
}
Step Replace(std::string text, bool undoable) {
  return {"replace '" + Escaped(text) + "'" + (undoable ? " undoable" : ""),
          [text, undoable](TextEditor& e) { e.ReplaceSelection(text, undoable); return ""; }};
}
Step Undo() {
  return {"undo", [](TextEditor& e) { return std::string(e.Undo() ? "undone" : "nothing"); }};
}
Step Do(std::string name, std::function<void(TextEditor&)> action) {
  return {std::move(name), [action](TextEditor& e) { action(e); return ""; }};
}
// Every search of `what` the find dialog can ask for, over a few ranges.
Step FindAll(std::string what) {
  return {"find '" + Escaped(what) + "'", [what](TextEditor& e) {
            std::string out;
            const long total = e.TextLength();
            const CharRange downs[] = {{0, -1}, {2, total - 2}, {total / 2, -1}};
            const CharRange ups[] = {{total, 0}, {total - 3, 2}, {total / 2, 0}};
            for (int flags = 0; flags < 4; ++flags) {
              FindOptions options;
              options.whole_word = flags & 1;
              options.match_case = flags & 2;
              for (const CharRange& r : downs) out += Str(e.FindText(r, what, options)) + " ";
              options.down = false;
              for (const CharRange& r : ups) out += Str(e.FindText(r, what, options)) + " ";
            }
            return out;
          }};
}

struct Case {
  std::string name;
  std::string text;
  const CodePage& page = CodePage::Cp949();
};

TEST(QtEditorTest, BehavesAsTheMemoryEditor) {
  const std::vector<Case> texts = {
      {"empty", ""},
      {"breaks of every kind and empty lines", "abc\r\n\r\nde\nf\rg\r\n\r\n"},
      {"caption lines in Korean and ASCII",
       "<SYNC Start=1000><P Class=KRCC>\r\n" + kGaNaDa + " ABC\r\n&nbsp;\r\n" + kRaMa +
           "<br>\r\nab_" + kGa + "abc Abc\r\n" + kGaNaDa + kGaNaDa},
      // Where no edit puts a byte of the trail range after a lone lead byte:
      // the in-memory editor would join the two into one character, the
      // widget keeps the characters it has.
      {"undecodable bytes", "ab\r\ncd\r\n\x80\xFF x\xB4\r\n" + kGa + "cut\xB0\r\nend"},
      // UTF-8 bytes that are no UTF-8 count one position each; ED A0 80 is a
      // lone surrogate, three stray bytes.
      {"UTF-8 with stray bytes", "a\xFF" "b\xED\x95\x98\r\n\xED\xA0\x80z\xC3", CodePage::Utf8()},
  };
  const std::vector<Step> steps = {
      FindAll("abc"), FindAll("ABC"), FindAll(kGa), FindAll("\r\n"), FindAll("cc>\r\n" + kGaNaDa),
      FindAll("\xB4"), FindAll("a"),
      Select({5, 2}), Select({-3, 100}), Select({3, -1}), Select({4, 4}),
      Replace("X\r\n" + kGa + "Y\nZ\rW", true),
      Select({1, 6}), Replace("", true),
      Select({0, 0}), Replace(kRaMa, true),
      Undo(), Undo(), Undo(), Undo(),
      Do("set unmodified", [](TextEditor& e) { e.SetModified(false); }),
      Select({2, 9}), Do("copy", [](TextEditor& e) { e.Copy(); }),
      Select({-1, -1}), Do("paste", [](TextEditor& e) { e.Paste(); }),
      Select({1, 3}), Do("cut", [](TextEditor& e) { e.Cut(); }),
      Select({0, 0}), Do("paste", [](TextEditor& e) { e.Paste(); }),
      Undo(),
      Select({3, 5}), Do("clear", [](TextEditor& e) { e.Clear(); }),
      Undo(),  // nothing: a step that is not undoable forgets the earlier ones
      Replace("a\r\n", true), Replace("b", false), Undo(),
      Replace(kGaNaDa + "\r\n", true), FindAll(kGaNaDa),
      Select({4, 4}), Replace("\xEB\x91\x98", true),  // 둘 in UTF-8
      Do("set text", [](TextEditor& e) { e.SetText("x\r\n" + kGa + "\n"); }), Undo(),
      // The limit bounds what the user pastes, not the program's replacements.
      Do("limit at length + 2", [](TextEditor& e) { e.SetTextLimit(e.TextLength() + 2); }),
      Select({0, 3}), Do("copy", [](TextEditor& e) { e.Copy(); }),
      Select({1, 1}), Do("paste past the limit", [](TextEditor& e) { e.Paste(); }),
      Select({1, 2}), Do("paste up to the limit", [](TextEditor& e) { e.Paste(); }),
      Replace("the program's text passes the limit", true),
      Do("no limit", [](TextEditor& e) { e.SetTextLimit(0); }),
  };

  for (const Case& text : texts) {
    SCOPED_TRACE(text.name);
    QApplication::clipboard()->setText(QString());  // both clipboards start empty
    MemoryEditor memory;
    QtEditor qt;
    for (TextEditor* editor : {static_cast<TextEditor*>(&qt), static_cast<TextEditor*>(&memory)}) {
      editor->SetCodePage(text.page);
      editor->SetText(text.text);
    }
    ASSERT_EQ(Snapshot(qt), Snapshot(memory));
    for (const Step& step : steps) {
      SCOPED_TRACE(step.name);
      const std::string expected = step.run(memory);
      EXPECT_EQ(step.run(qt), expected);
      ASSERT_EQ(Snapshot(qt), Snapshot(memory));
    }
  }
}

TEST(QtEditorTest, KeepsBytesShowsKoreanAndScrollsByLines) {
  QtEditor editor;
  std::string bytes;  // undecodable bytes travel through the widget unchanged
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b == '\r' || b == '\n' ? 'x' : b);
  editor.SetText(bytes + "\r\n" + kGaNaDa);
  EXPECT_EQ(editor.Text(), bytes + "\r\n" + kGaNaDa);
  EXPECT_FALSE(editor.IsModified());

  // Text the user types that CP949 cannot hold comes back as '?'.
  editor.SetText(kGa + "\r\n");
  editor.SetSelection({1, 1});
  editor.insertPlainText(QString::fromUtf8("\xE0\xB8\x81"));  // a Thai letter
  EXPECT_EQ(editor.Text(), kGa + "?\r\n");
  EXPECT_TRUE(editor.IsModified());

  // CP949 after UTF-8: the same bytes are CP949 text again.
  editor.SetCodePage(CodePage::Utf8());
  editor.SetText("\xC7\xCF");
  editor.SetCodePage(CodePage::Cp949());
  editor.SetText("\xC7\xCF\xB3\xAA");
  EXPECT_EQ(editor.toPlainText(), QString::fromUtf8("하나"));

  editor.SetFaceName("\xB1\xBC\xB8\xB2");  // 굴림
  EXPECT_EQ(editor.FaceName(), "\xB1\xBC\xB8\xB2");
  EXPECT_EQ(QFontInfo(editor.font()).family(), QStringLiteral("NanumGothic"));

  std::string lines;
  for (int i = 0; i < 200; ++i) lines += "line " + std::to_string(i) + "\r\n";
  editor.SetText(lines);
  editor.resize(300, 200);
  editor.show();
  ASSERT_TRUE(test::WaitUntil([&] { return editor.isVisible(); }));
  EXPECT_EQ(editor.FirstVisibleLine(), 0);
  editor.LineScroll(10);
  EXPECT_EQ(editor.FirstVisibleLine(), 10);
  editor.LineScroll(-4);
  EXPECT_EQ(editor.FirstVisibleLine(), 6);
  editor.LineScroll(-100);
  EXPECT_EQ(editor.FirstVisibleLine(), 0);
}

// The fast decoding of clean CP949 gives what the careful path gives, on
// every two-byte sequence and on random mixes of characters, stray bytes and
// breaks of every kind.
TEST(QtEditorTest, LoadsLinesAsTheCarefulDecodingDoes) {
  const CodePage& cp = CodePage::Cp949();
  const auto careful = [&](const std::string& bytes) {
    return BreaksAsNewlines(FromWorkingText(bytes, cp));
  };
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0x00; trail <= 0xFF; trail += (trail < 0x40 ? 0x0D : 1)) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(FromWorkingLines(pair, cp), careful(pair)) << Escaped(pair);
    }
  }
  const std::vector<std::string> pieces = {"a", "<", " ", "\r", "\n", "\r\n", kGa, kRaMa,
                                           "\x81\x41", "\xB0", "\x80", "\xFF", "\xC9\xA1"};
  std::uint32_t seed = 12345;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = 0; n < 12; ++n) {
      seed = seed * 1664525u + 1013904223u;
      text += pieces[(seed >> 16) % pieces.size()];
    }
    ASSERT_EQ(FromWorkingLines(text, cp), careful(text)) << Escaped(text);
  }
}

TEST(QtEditorTest, TextLimitBoundsWhatTheUserPutsIn) {
  QtEditor editor;
  editor.show();
  ASSERT_TRUE(test::WaitUntil([&] { return editor.isVisible(); }));
  editor.SetTextLimit(5);
  editor.SetText("abc");
  editor.SetSelection({3, 3});
  QTest::keyClick(&editor, Qt::Key_D);
  QTest::keyClick(&editor, Qt::Key_Return);
  EXPECT_EQ(editor.Text(), "abcd\r\n");  // five characters: full
  QTest::keyClick(&editor, Qt::Key_E);
  QTest::keyClick(&editor, Qt::Key_Return);
  const auto commit = [&](const char* utf8) {
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(&editor, &event);
  };
  commit("\xEA\xB0\x80");  // 가
  EXPECT_EQ(editor.Text(), "abcd\r\n");
  QTest::keyClick(&editor, Qt::Key_Backspace);  // taking away is always allowed
  EXPECT_EQ(editor.Text(), "abcd");

  editor.SetSelection({0, 2});
  commit("\xEA\xB0\x80");  // in place of two characters
  EXPECT_EQ(editor.Text(), kGa + "cd");
  QApplication::clipboard()->setText(QStringLiteral("x\r\ny"));  // three characters
  editor.SetSelection({0, 1});
  QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(editor.Text(), "x\r\nycd");
  editor.SetSelection({0, 0});
  QTest::keyClick(&editor, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(editor.Text(), "x\r\nycd");

  // A file or a stamp is the program's own change: it passes the limit.
  editor.SetText("0123456789");
  editor.SetSelection({10, 10});
  editor.ReplaceSelection("<SYNC>", true);
  EXPECT_EQ(editor.Text(), "0123456789<SYNC>");
  QTest::keyClick(&editor, Qt::Key_Z);
  EXPECT_EQ(editor.Text(), "0123456789<SYNC>");
  EXPECT_EQ(editor.Capacity(), QtEditor::kCapacity);
}

// The processor time of this thread: the machine that runs the tests is
// shared, and time spent waiting for a processor is not the editor's.
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

TEST(QtEditorTest, LooksUpLinesQuicklyInAFullText) {
  // 25,000 caption lines of 40 characters each, the break included: one
  // million characters, most of the editor's limit.
  const std::string line = "<SYNC Start=1234567><P Class=KRCC>" + kGaNaDa + kRaMa;  // 39
  std::string text;
  for (int i = 0; i < 25000; ++i) text += line + (i + 1 < 25000 ? "\r\n" : "x");
  QtEditor editor;
  editor.resize(400, 600);
  editor.show();
  editor.SetText(text);
  ASSERT_EQ(editor.TextLength(), 1000000);
  const long last = editor.LineCount() - 1;

  const auto time = [](const char* what, const std::function<void()>& call) {
    const double start = ThreadCpuMs();
    call();
    EXPECT_LT(ThreadCpuMs() - start, 50.0) << what;
  };
  time("LineIndex", [&] { EXPECT_EQ(editor.LineIndex(last), 999960); });
  time("LineFromChar", [&] { EXPECT_EQ(editor.LineFromChar(999999), last); });
  time("GetLine", [&] { EXPECT_EQ(editor.GetLine(last, 1023), line + "x"); });
  time("stamp the last line", [&] {
    editor.SetSelection({999960, -1});
    editor.ReplaceSelection("<SYNC Start=1><P Class=KRCC>\r\n" + kGa, true);
  });
  EXPECT_EQ(editor.LineCount(), 25001);
  EXPECT_EQ(editor.GetLine(25000, 10), kGa);
  time("Undo", [&] { EXPECT_TRUE(editor.Undo()); });
  time("stamp the first line", [&] {
    editor.SetSelection({0, 0});
    editor.ReplaceSelection("<SYNC Start=1><P Class=KRCC>\r\n", true);
  });
  EXPECT_EQ(editor.Text(), "<SYNC Start=1><P Class=KRCC>\r\n" + text);
}

}  // namespace
}  // namespace cadenzio
