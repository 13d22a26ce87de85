// The main window: layout, title, start-up with a command line, closing, and
// the dispatch of every key and menu command to its operation.
#include <functional>
#include <variant>

#include "app/command_ids.h"
#include "app/key_handlers.h"
#include "cadenzio_dlg_fixture.h"
#include "app/product.h"

namespace cadenzio::test {
namespace {

TEST(LayoutMainWindowTest, EightHundredBySixHundred) {
  const MainWindowLayout layout = LayoutMainWindow(800, 600);
  EXPECT_EQ(layout.player, (WidgetRect{0, 0, 400, 360}));
  EXPECT_EQ(layout.preview, (WidgetRect{0, 360, 400, 80}));
  EXPECT_EQ(layout.capture_list, (WidgetRect{0, 440, 266, 160}));
  EXPECT_EQ(layout.caption_on, (WidgetRect{274, 440, 70, 20}));
  EXPECT_EQ(layout.class_combo, (WidgetRect{274, 464, 70, 20}));
  EXPECT_EQ(layout.editor, (WidgetRect{400, 0, 400, 580}));
  EXPECT_EQ(layout.status, (WidgetRect{400, 580, 400, 20}));
  // Odd sizes truncate at every step: (2*601)/5 = 240, 240/3 = 80.
  const MainWindowLayout odd = LayoutMainWindow(801, 601);
  EXPECT_EQ(odd.player, (WidgetRect{0, 0, 400, 360}));
  EXPECT_EQ(odd.capture_list, (WidgetRect{0, 440, 266, 160}));
  EXPECT_EQ(odd.editor, (WidgetRect{400, 0, 400, 581}));
}

TEST_F(DlgTest, FreshWindowState) {
  Start();
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "New SMI"));
  EXPECT_EQ(editor.text_limit(), 1048576);
  EXPECT_FALSE(view.combo_enabled());
  EXPECT_FALSE(dlg->caption_on());
  EXPECT_EQ(dlg->open_state(), 0);
  EXPECT_EQ(dlg->play_state(), 8);
  EXPECT_FALSE(view.timer_running());
  EXPECT_EQ(view.capture_label(9), "CTRL+0");
  EXPECT_TRUE(player.calls().empty());
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(DlgTest, SettingsPresetsAndKeyTableComeFromTheSettingsFile) {
  WriteFile(app.settings_path(),
            "[Cadenzio]\r\nADD_DEL=300\r\nCTRL_9=12345\r\nREMAP_HOTKEY=1\r\nONSYNC=5\r\n");
  Start();
  EXPECT_EQ(dlg->settings().add_del, 300);
  EXPECT_EQ(view.capture_value(8), "12345");
  EXPECT_EQ(dlg->key_handlers()[4], KeyAction::InsertSync);
}

TEST_F(DlgTest, CommandLineMovieWithSameNameCaptionOpensBoth) {
  const std::string movie = dir.File("film.avi");
  WriteFile(movie, "movie");
  WriteFile(dir.File("film.smi"), kTwoCaptions);
  Start({movie});
  EXPECT_EQ(player.calls(), std::vector<std::string>{"open " + movie});
  EXPECT_EQ(dlg->media_path(), movie);
  EXPECT_EQ(dlg->caption_path(), dir.File("film.smi"));
  EXPECT_EQ(editor.Text(), kTwoCaptions);
  EXPECT_FALSE(editor.IsModified());
  EXPECT_TRUE(view.timer_running());
  EXPECT_EQ(view.title(), WindowTitle("film.avi", "film.smi"));
  EXPECT_TRUE(dialogs.messages().empty());  // no question at start-up
}

TEST_F(DlgTest, CommandLineCombinations) {
  const std::string movie = dir.File("film.avi"), first = dir.File("a.SMI"),
                    second = dir.File("b.txt");
  WriteFile(movie, "movie");
  WriteFile(first, kTwoCaptions);
  WriteFile(second, "plain\r\n");
  struct Case {
    std::vector<std::string> args;
    std::string media, caption;
  };
  const std::vector<Case> cases{
      {{first}, "", first},                            // a caption alone: no movie
      {{first, second}, "", first},                    // two captions: the first, no movie
      {{first, movie}, movie, first},                  // caption, then movie
      {{movie, second}, movie, second},                // movie, then any caption
      {{movie}, movie, ""},                            // film.smi does not exist: dropped
      {{dir.File("gone.avi"), first}, "", first},      // a missing movie is dropped
      {{movie, dir.File("gone.smi")}, movie, ""},      // a missing caption is dropped silently
      {{dir.path().string()}, "", ""},                 // a folder is no movie
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front() + (c.args.size() > 1 ? " " + c.args[1] : ""));
    MemoryEditor fresh_editor;
    MemoryPlayer fresh_player;
    MemoryDialogs fresh_dialogs;
    MemoryMainWindowView fresh_view;
    CCadenzioDlg window(app, fresh_editor, fresh_player, fresh_dialogs, fresh_view);
    window.Initialise(c.args);
    EXPECT_EQ(window.media_path(), c.media);
    EXPECT_EQ(window.caption_path(), c.caption);
    EXPECT_EQ(fresh_player.calls().size(), c.media.empty() ? 0u : 1u);
    EXPECT_TRUE(fresh_dialogs.messages().empty());
  }
}

TEST_F(DlgTest, ClosingAsksOnlyWhenModified) {
  Start();
  dlg->OnClose();
  EXPECT_TRUE(view.ended());
  EXPECT_TRUE(dialogs.messages().empty());

  MemoryMainWindowView second_view;
  CCadenzioDlg window(app, editor, player, dialogs, second_view);
  window.Initialise({});
  editor.ReplaceSelection("typed", true);
  dialogs.QueueAnswer(MessageAnswer::Cancel);
  window.OnCommand(kCmdExit);
  EXPECT_FALSE(second_view.ended());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "\xBC\xF6\xC1\xA4\xB5\xC8 \xC0\xDA\xB8\xB7\xC0\xBB "
            "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?");  // 수정된 자막을 저장하시겠습니까?
  EXPECT_EQ(dialogs.messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(dialogs.beeps(), 1);
  dialogs.QueueAnswer(MessageAnswer::No);
  window.OnClose();
  EXPECT_TRUE(second_view.ended());
}

// Every key and menu command reaches its operation: one row per trigger, with
// the effect that operation leaves. Each row runs on a fresh window holding
// kTwoCaptions (saved, caret on the "two" caption's sync line) and a movie
// open at 61.25 s of 100 s, DELAY 0. After the load the class combo shows the
// document's first class, ENCC (the last declared), which the stamps take.
TEST_F(DlgTest, EveryKeyAndCommandReachesItsOperation) {
  using Trigger = std::variant<KeyEvent, int>;
  struct Row {
    const char* name;
    Trigger trigger;
    std::function<void(DlgHarness&)> prepare;
    std::function<bool(DlgHarness&)> effect;
  };
  const auto nothing = [](DlgHarness&) {};
  const auto opened = [](const char* what) {
    return [what](DlgHarness& t) {
      return !t.view.opened().empty() && t.view.opened().back() == what;
    };
  };
  const auto dialog_titled = [](const char* title) {
    return [title](DlgHarness& t) {
      return !t.dialogs.file_dialogs().empty() && t.dialogs.file_dialogs().back().title == title;
    };
  };
  const auto line_is = [](long line, const char* text) {
    return [line, text](DlgHarness& t) { return t.editor.GetLine(line, 1000) == text; };
  };
  const auto called = [](const char* call) {
    return [call](DlgHarness& t) {
      const auto& calls = t.player.calls();
      return std::find(calls.begin(), calls.end(), call) != calls.end();
    };
  };
  const auto hotkeys = [](DlgHarness& t) {
    return !t.view.opened().empty() &&
           t.view.opened().back() == "text view " + std::string(kHotkeyHeading) &&
           t.view.text_view_body() == HotkeyText();
  };
  const auto row_two_stamped = [](DlgHarness& t) {
    // The caption moved to a line of its own, the new sync before it.
    return t.editor.GetLine(11, 1000) == "<SYNC Start=61999><P Class=KRCC>" &&
           t.editor.GetLine(12, 1000) == "<SYNC Start=61250><P Class=ENCC>" &&
           t.editor.GetLine(13, 1000) == "two";
  };
  const auto clear_stamped = [](DlgHarness& t) {
    return t.editor.GetLine(12, 1000) == "<SYNC Start=61250><P Class=ENCC>&nbsp;";
  };
  const auto header = [](DlgHarness& t) { return t.editor.GetLine(0, 1000) == "<SAMI>" &&
                                              t.editor.Text().starts_with(BuiltInHeader()); };
  const auto modify = [](DlgHarness& t) { t.editor.SetModified(true); };
  const auto select_word = [](DlgHarness& t) {
    const long start = t.editor.LineIndex(11) + 32;  // "two"
    t.editor.SetSelection({start, start + 3});
  };
  const auto saved = [](DlgHarness& t) {
    return !t.editor.IsModified() && ReadFile(t.dlg->caption_path()) != kTwoCaptions;
  };
  const std::vector<Row> rows{
      // Keys.
      {"F1 at the player", Key(kKeyF1, false, false, KeyTarget::Player), nothing, hotkeys},
      {"right button", KeyEvent{KeyMessage::RightButtonUp, 0, false, false, false,
                                KeyTarget::Editor, 3, 4},
       nothing, opened("popup 3,4")},
      {"ALT+C", AltKey('C'), nothing, called("reset")},
      {"ALT+O", AltKey('O'), nothing, dialog_titled("Open Media File...")},
      {"ALT+X", AltKey('X'), nothing,
       [](DlgHarness& t) { return t.editor.Text().empty() && t.dlg->caption_path().empty(); }},
      {"ALT+1", AltKey('1'), nothing,
       [](DlgHarness& t) { return t.view.capture_value(0) == "61999" && t.view.capture_value(4) == "-61999"; }},
      {"ALT+SHIFT+3", AltKey('3', true), nothing,
       [](DlgHarness& t) { return t.view.capture_value(2) == "61250"; }},
      {"CTRL+UP", Key(kKeyUp, true), nothing, line_is(11, "<SYNC Start=62199><P Class=KRCC>two")},
      {"CTRL+DOWN", Key(kKeyDown, true), nothing, line_is(11, "<SYNC Start=61799><P Class=KRCC>two")},
      {"CTRL+A", Key('A', true), nothing,
       [](DlgHarness& t) {
         return !t.dialogs.file_dialogs().empty() && t.dialogs.file_dialogs().back().save &&
                t.dialogs.file_dialogs().back().initial_path == t.dlg->caption_path();
       }},
      {"CTRL+F", Key('F', true), nothing, opened("find")},
      {"CTRL+O", Key('O', true), nothing, dialog_titled("Open Caption File...")},
      {"CTRL+R", Key('R', true), nothing, opened("replace")},
      {"CTRL+S", Key('S', true), modify, saved},
      {"CTRL+Y", Key('Y', true), nothing, line_is(11, "<SYNC Start=70000><P Class=KRCC>&nbsp;")},
      {"CTRL+J", Key('J', true), nothing, called("seek 61.000")},
      {"CTRL+SHIFT+J", Key('J', true, true), [](DlgHarness& t) { t.CaretAt(0); },
       [](DlgHarness& t) {
         const long start = t.editor.LineIndex(10);
         return t.editor.GetSelection() == CharRange{start, start + t.editor.LineLength(10)};
       }},
      {"CTRL+2", Key('2', true), [](DlgHarness& t) { t.dlg->OnCaptureLabelEdited(1, "777"); },
       [](DlgHarness& t) { return t.editor.GetLine(11, 1000) == "777<SYNC Start=61999><P Class=KRCC>two"; }},
      {"F2", FKey(2), nothing, row_two_stamped},
      {"F3", FKey(3), nothing, clear_stamped},
      {"F4", FKey(4), nothing, called("seek 56.250")},
      {"F5", FKey(5), nothing, called("seek 66.250")},
      {"F6", FKey(6), nothing, called("play")},
      {"F7", FKey(7), nothing, [](DlgHarness& t) { return t.view.capture_value(6) == "100000"; }},
      {"F8", FKey(8), nothing, opened("time converter")},
      {"F9", FKey(9), [](DlgHarness& t) { t.editor.SetText("x"); }, header},
      {"F11", FKey(11), nothing, [](DlgHarness& t) { return t.view.reports().size() == 1; }},
      {"F12", FKey(12), nothing,
       [](DlgHarness& t) { return t.view.opened().back() == "sync utility " + t.dlg->caption_path(); }},
      {"CTRL+F4 is F4", Key(kKeyF1 + 3, true), nothing, called("seek 56.250")},
      // Menu commands.
      {"open media", kCmdOpenMedia, nothing, dialog_titled("Open Media File...")},
      {"close media", kCmdCloseMedia, nothing, called("reset")},
      {"seek back", kCmdSeekBack, nothing, called("seek 56.250")},
      {"seek forward", kCmdSeekForward, nothing, called("seek 66.250")},
      {"pause", kCmdTogglePause, [](DlgHarness& t) { t.player.ReportPlayState(2); }, called("pause")},
      {"exit", kCmdExit, nothing, [](DlgHarness& t) { return t.view.ended(); }},
      {"open caption", kCmdOpenCaption, nothing, dialog_titled("Open Caption File...")},
      {"save", kCmdSaveCaption, modify, saved},
      {"save as", kCmdSaveCaptionAs, nothing, dialog_titled("Save As Caption File...")},
      {"new", kCmdNewCaption, nothing, [](DlgHarness& t) { return t.view.status() == "Line: 0, Contents: 0 byte"; }},
      {"sync", kCmdInsertSync, nothing, row_two_stamped},
      {"clear sync", kCmdInsertClearSync, nothing, clear_stamped},
      {"header", kCmdInsertHeader, [](DlgHarness& t) { t.editor.SetText("x"); }, header},
      {"find", kCmdFind, nothing, opened("find")},
      {"replace", kCmdReplace, nothing, opened("replace")},
      {"check", kCmdCheckSync, nothing, [](DlgHarness& t) { return t.view.reports().size() == 1; }},
      {"sync utility", kCmdSyncUtility, nothing,
       [](DlgHarness& t) { return t.view.opened().back() == "sync utility " + t.dlg->caption_path(); }},
      {"import", kCmdImportCaptions, nothing, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1; }},
      {"export srt", kCmdExportSrt, nothing, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1; }},
      {"split", kCmdSplitByLanguage, nothing,
       [](DlgHarness& t) { return t.dialogs.file_dialogs().size() + t.dialogs.messages().size() >= 1; }},
      {"plain text", kCmdPlainText, nothing,
       [](DlgHarness& t) { return t.dlg->caption_path() == t.dir.File("movie.txt"); }},
      {"short clears", kCmdRemoveShortClears, nothing,
       [](DlgHarness& t) { return t.dialogs.messages().size() == 1; }},
      {"movie length", kCmdCaptureMovieLength, nothing,
       [](DlgHarness& t) { return t.view.capture_value(6) == "100000"; }},
      {"time converter", kCmdTimeConvert, nothing, opened("time converter")},
      {"settings", kCmdSettings, nothing, opened("settings")},
      {"help", kCmdOpenHelp, nothing,
       [](DlgHarness& t) { return t.dialogs.shell_opened() == std::vector<std::string>{t.app.help_path()}; }},
      {"home page", kCmdOpenHomePage, nothing,
       [](DlgHarness& t) {
         return t.dialogs.shell_opened() == std::vector<std::string>{std::string(kProductHomePage)};
       }},
      {"hotkeys", kCmdHotkeyInfo, nothing, hotkeys},
      // The editor's popup menu.
      {"copy", kCmdEditCopy, select_word, [](DlgHarness& t) { return t.editor.clipboard() == "two"; }},
      {"paste", kCmdEditPaste, [](DlgHarness& t) { t.editor.set_clipboard("pasted"); },
       [](DlgHarness& t) { return t.editor.GetLine(11, 1000).starts_with("pasted<SYNC"); }},
      {"cut", kCmdEditCut, select_word,
       [](DlgHarness& t) { return t.editor.GetLine(11, 1000) == "<SYNC Start=61999><P Class=KRCC>"; }},
      {"delete line", kCmdDeleteLine, nothing, line_is(11, "<SYNC Start=70000><P Class=KRCC>&nbsp;")},
      {"reflect", kCmdReflectEdits, [](DlgHarness& t) { t.view.SetStatusText(""); t.editor.SetModified(true); },
       [](DlgHarness& t) {
         return t.editor.IsModified() && t.view.status() == "Line: 16, Contents: " +
                                             std::to_string(t.editor.TextLength()) + " bytes";
       }},
      {"font", kCmdChangeFont, [](DlgHarness& t) { t.view.QueueFontFace("Batang"); },
       [](DlgHarness& t) { return t.editor.FaceName() == "Batang"; }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DlgHarness t;
    t.Start();
    t.LoadCaption();
    t.OpenMovieAt(61.25);
    t.CaretAtLine(11);
    t.dialogs.SetShellResult(true);
    row.prepare(t);
    t.player.clear_calls();
    if (const KeyEvent* key = std::get_if<KeyEvent>(&row.trigger)) {
      EXPECT_TRUE(t.dlg->PreTranslateMessage(*key));
    } else {
      t.dlg->OnCommand(std::get<int>(row.trigger));
    }
    EXPECT_TRUE(row.effect(t)) << t.editor.Text();
  }
}

TEST_F(DlgTest, KeysLeftToTheControls) {
  Start();
  LoadCaption();
  for (int key : {'C', 'X', 'V', 'Z', 'Q'})
    EXPECT_FALSE(dlg->PreTranslateMessage(Key(key, true))) << static_cast<char>(key);
  EXPECT_FALSE(dlg->PreTranslateMessage(FKey(10)));
  EXPECT_FALSE(dlg->PreTranslateMessage(AltKey('Q')));
  EXPECT_FALSE(dlg->PreTranslateMessage(Key('A')));
  EXPECT_EQ(editor.Text(), kTwoCaptions);
  // Without a movie, the position keys are consumed and do nothing.
  EXPECT_TRUE(dlg->PreTranslateMessage(AltKey('3', true)));
  EXPECT_TRUE(dlg->PreTranslateMessage(Key('J', true)));
  EXPECT_TRUE(dlg->PreTranslateMessage(FKey(2)));
  EXPECT_EQ(view.capture_value(2), "00000000");
  EXPECT_TRUE(player.calls().empty());
  EXPECT_EQ(editor.Text(), kTwoCaptions);
}

}  // namespace
}  // namespace cadenzio::test
