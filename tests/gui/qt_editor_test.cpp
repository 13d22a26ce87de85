// The Qt caption editor against the in-memory editor: the same operations on
// the same texts leave both in the same state.
#include "platform/qt/qt_editor.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/gui_support.h"
#include "platform/memory_editor.h"
#include "platform/qt/qt_text.h"
#include "settings/cp949_conversion.h"

namespace cadenzio {
namespace {

const std::string kGaNaDa = "\xB0\xA1\xB3\xAA\xB4\xD9";  // 가나다
const std::string kRaMa = "\xB6\xF3\xB8\xB6";            // 라마
const std::string kGa = "\xB0\xA1";                      // 가

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x80) out += static_cast<char>(c);
    else out += {'\\', 'x', "0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
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
  std::string name, text;
  const CodePage& page = CodePage::Cp949();
};

TEST(QtEditorTest, BehavesAsTheMemoryEditor) {
  const std::vector<Case> texts = {
      {"empty", ""},
      {"breaks of every kind and empty lines", "abc\r\n\r\nde\nf\rg\r\n\r\n"},
      {"caption lines in Korean and ASCII",
       "<SYNC Start=1000><P Class=KRCC>\r\n" + kGaNaDa + " ABC\r\n&nbsp;\r\n" + kRaMa +
           "<br>\r\nab_" + kGa + "abc Abc\r\n" + kGaNaDa + kGaNaDa},
      // No edit puts a trail byte after a lone lead byte (the two editors would differ).
      {"undecodable bytes", "ab\r\ncd\r\n\x80\xFF x\xB4\r\n" + kGa + "cut\xB0\r\nend"},
      // Stray bytes count one position each; ED A0 80 is a lone surrogate, three strays.
      {"UTF-8 with stray bytes", "a\xFF" "b\xED\x95\x98\r\n\xED\xA0\x80z\xC3", CodePage::Utf8()},
  };
  const std::vector<Step> steps = {
      FindAll("ABC"), FindAll(kGa), FindAll("\r\n"), FindAll("cc>\r\n" + kGaNaDa), FindAll("\xB4"),
      Select({5, 2}), Select({-3, 100}), Select({3, -1}),
      Replace("X\r\n" + kGa + "Y\nZ\rW", true),
      Select({1, 6}), Replace("", true),
      Select({0, 0}), Replace(kRaMa, true),
      Undo(), Undo(), Undo(), Undo(),  // one more than done
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

// The fast decoding of clean CP949 gives what the careful path gives, on every
// two-byte sequence and on random mixes of characters, stray bytes and breaks.
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

// The fast encoding of a text into CP949 gives what iconv gives, character
// by character over the basic plane and for a whole mixed text.
TEST(QtEditorTest, EncodesAsTheCarefulEncodingDoes) {
  const auto careful = [](const QString& text) -> std::optional<std::string> {
    const QByteArray utf8 = text.toUtf8();
    Cp949Text encoded = Utf8ToCp949(std::string_view(utf8.constData(), utf8.size()));
    if (!encoded.ok()) return std::nullopt;
    return std::move(encoded.bytes);
  };
  QString all;
  for (char32_t unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // halves of a pair
    const QString one(QChar(static_cast<char16_t>(unit)));
    const std::optional<std::string> expected = careful(one);
    ASSERT_EQ(ToCp949(one), expected) << std::hex << static_cast<unsigned>(unit);
    if (expected) all += one;
  }
  EXPECT_EQ(ToCp949(all), careful(all));
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

}  // namespace
}  // namespace cadenzio
