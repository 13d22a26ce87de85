// The main window: layout, title, start-up with a command line, closing, and
// the dispatch of every key and menu command to its operation.
#include <algorithm>
#include <functional>
#include <variant>

#include "app/command_ids.h"
#include "app/key_handlers.h"
#include "cadenzio_dlg_fixture.h"
#include "app/product.h"

namespace cadenzio::test {
namespace {

TEST(LayoutMainWindowTest, EightHundredBySixHundredAndOddSizes) {
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

TEST_F(DlgTest, StartUpStateAndSettingsFile) {
  WriteFile(app.settings_path(), "[Cadenzio]\r\nADD_DEL=300\r\nCTRL_9=12345\r\nREMAP_HOTKEY=1\r\nONSYNC=5\r\n");
  Start();
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "New SMI"));
  EXPECT_EQ(editor.text_limit(), 1048576);
  EXPECT_FALSE(view.combo_enabled() || dlg->caption_on() || view.timer_running());
  EXPECT_EQ(dlg->open_state(), 0);
  EXPECT_EQ(dlg->play_state(), 8);
  EXPECT_TRUE(player.calls().empty() && dialogs.messages().empty());
  EXPECT_EQ(dlg->settings().add_del, 300);
  EXPECT_EQ(view.capture_value(8), "12345");
  EXPECT_EQ(dlg->key_handlers()[4], KeyAction::InsertSync);
}

// Movie and caption in either order; a same-name caption comes with a movie.
TEST_F(DlgTest, CommandLineCombinations) {
  const std::string movie = dir.File("film.avi"), lone = dir.File("clip.avi"), first = dir.File("a.SMI"),
                    second = dir.File("b.txt");
  for (const std::string& path : {movie, lone}) WriteFile(path, "movie");
  for (const std::string& path : {first, dir.File("film.smi")}) WriteFile(path, kTwoCaptions);
  WriteFile(second, "plain\r\n");
  struct Case {
    std::vector<std::string> args;
    std::string media, caption, title;
  };
  const Case cases[] = {
      {{movie}, movie, dir.File("film.smi"), WindowTitle("film.avi", "film.smi")},
      {{first}, "", first, WindowTitle("NO MOVIE", "a.SMI")},          // a caption alone: no movie
      {{first, second}, "", first, ""},                                // two captions: the first, no movie
      {{first, lone}, lone, first, WindowTitle("clip.avi", "a.SMI")},  // caption, then movie
      {{lone, second}, lone, second, ""},                              // movie, then any caption
      {{lone}, lone, "", WindowTitle("clip.avi", "New SMI")},          // clip.smi does not exist
      {{dir.File("gone.avi"), first}, "", first, ""},                  // a missing movie is dropped
      {{lone, dir.File("gone.smi")}, lone, "", ""},                    // a missing caption is dropped silently
      {{dir.path().string()}, "", "", ""},                             // a folder is no movie
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
    EXPECT_EQ(fresh_view.timer_running(), !c.media.empty());
    EXPECT_EQ(fresh_editor.Text(), c.caption.empty() ? "" : ReadFile(c.caption));
    EXPECT_FALSE(fresh_editor.IsModified());
    if (!c.title.empty()) EXPECT_EQ(fresh_view.title(), c.title);
    EXPECT_TRUE(fresh_dialogs.messages().empty());  // no question at start-up
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
  using Effect = std::function<bool(DlgHarness&)>;
  using Prepare = std::function<void(DlgHarness&)>;
  struct Row {
    const char* name;
    std::variant<KeyEvent, int> trigger;
    Effect effect;
    Prepare prepare = {};
  };
  const auto opened = [](std::string what) -> Effect {
    return [what](DlgHarness& t) { return !t.view.opened().empty() && t.view.opened().back() == what; };
  };
  const auto dialog_titled = [](std::string title) -> Effect {
    return [title](DlgHarness& t) {
      return !t.dialogs.file_dialogs().empty() && t.dialogs.file_dialogs().back().title == title;
    };
  };
  const auto line_is = [](long line, std::string text) -> Effect {
    return [line, text](DlgHarness& t) { return t.editor.GetLine(line, 1000) == text; };
  };
  const auto called = [](std::string call) -> Effect {
    return [call](DlgHarness& t) { return std::ranges::count(t.player.calls(), call) > 0; };
  };
  const auto capture_is = [](int row, std::string value) -> Effect {
    return [row, value](DlgHarness& t) { return t.view.capture_value(row) == value; };
  };
  const Effect hotkeys = [](DlgHarness& t) {
    return !t.view.opened().empty() && t.view.opened().back() == "text view " + std::string(kHotkeyHeading) &&
           t.view.text_view_body() == HotkeyText();
  };
  // The caption moved to a line of its own, the new sync before it.
  const Effect row_two_stamped = [](DlgHarness& t) {
    return t.editor.GetLine(11, 1000) == "<SYNC Start=61999><P Class=KRCC>" &&
           t.editor.GetLine(12, 1000) == "<SYNC Start=61250><P Class=ENCC>" && t.editor.GetLine(13, 1000) == "two";
  };
  const Effect clear_stamped = line_is(12, "<SYNC Start=61250><P Class=ENCC>&nbsp;");
  const Effect header = [](DlgHarness& t) {
    return t.editor.GetLine(0, 1000) == "<SAMI>" && t.editor.Text().starts_with(BuiltInHeader());
  };
  const Effect saved = [](DlgHarness& t) {
    return !t.editor.IsModified() && ReadFile(t.dlg->caption_path()) != kTwoCaptions;
  };
  const Effect reported = [](DlgHarness& t) { return t.view.reports().size() == 1; };
  const Effect utility = [](DlgHarness& t) {
    return t.view.opened().back() == "sync utility " + t.dlg->caption_path();
  };
  const Effect one_dialog = [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1; };
  const Prepare modify = [](DlgHarness& t) { t.editor.SetModified(true); };
  const Prepare one_char = [](DlgHarness& t) { t.editor.SetText("x"); };
  const Prepare select_word = [](DlgHarness& t) {
    const long start = t.editor.LineIndex(11) + 32;  // "two"
    t.editor.SetSelection({start, start + 3});
  };
  const KeyEvent right_button{.message = KeyMessage::RightButtonUp, .x = 3, .y = 4};
  const std::vector<Row> rows{
      // Keys.
      {"F1 at the player", Key(kKeyF1, false, false, KeyTarget::Player), hotkeys},
      {"right button", right_button, opened("popup 3,4")},
      {"ALT+C", AltKey('C'), called("reset")},
      {"ALT+O", AltKey('O'), dialog_titled("Open Media File...")},
      {"ALT+X", AltKey('X'), [](DlgHarness& t) { return t.editor.Text().empty() && t.dlg->caption_path().empty(); }},
      {"ALT+1", AltKey('1'), [](DlgHarness& t) { return t.view.capture_value(0) == "61999" && t.view.capture_value(4) == "-61999"; }},
      {"ALT+SHIFT+3", AltKey('3', true), capture_is(2, "61250")},
      {"CTRL+UP", Key(kKeyUp, true), line_is(11, "<SYNC Start=62199><P Class=KRCC>two")},
      {"CTRL+DOWN", Key(kKeyDown, true), line_is(11, "<SYNC Start=61799><P Class=KRCC>two")},
      {"CTRL+A", Key('A', true), [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1 && t.dialogs.file_dialogs()[0].save && t.dialogs.file_dialogs()[0].initial_path == t.dlg->caption_path(); }},
      {"CTRL+F", Key('F', true), opened("find")},
      {"CTRL+O", Key('O', true), dialog_titled("Open Caption File...")},
      {"CTRL+R", Key('R', true), opened("replace")},
      {"CTRL+S", Key('S', true), saved, modify},
      {"CTRL+Y", Key('Y', true), line_is(11, "<SYNC Start=70000><P Class=KRCC>&nbsp;")},
      {"CTRL+J", Key('J', true), called("seek 61.000")},
      {"CTRL+SHIFT+J", Key('J', true, true), [](DlgHarness& t) { return t.editor.GetSelection() == CharRange{t.editor.LineIndex(10), t.editor.LineIndex(10) + t.editor.LineLength(10)}; }, [](DlgHarness& t) { t.CaretAt(0); }},
      {"CTRL+2", Key('2', true), line_is(11, "777<SYNC Start=61999><P Class=KRCC>two"), [](DlgHarness& t) { t.dlg->OnCaptureLabelEdited(1, "777"); }},
      {"F2", FKey(2), row_two_stamped},
      {"F3", FKey(3), clear_stamped},
      {"F4", FKey(4), called("seek 56.250")},
      {"F5", FKey(5), called("seek 66.250")},
      {"F6", FKey(6), called("play")},
      {"F7", FKey(7), capture_is(6, "100000")},
      {"F8", FKey(8), opened("time converter")},
      {"F9", FKey(9), header, one_char},
      {"F11", FKey(11), reported},
      {"F12", FKey(12), utility},
      {"CTRL+F4 is F4", Key(kKeyF1 + 3, true), called("seek 56.250")},
      // Menu commands.
      {"open media", kCmdOpenMedia, dialog_titled("Open Media File...")},
      {"close media", kCmdCloseMedia, called("reset")},
      {"seek back", kCmdSeekBack, called("seek 56.250")},
      {"seek forward", kCmdSeekForward, called("seek 66.250")},
      {"pause", kCmdTogglePause, called("pause"), [](DlgHarness& t) { t.player.ReportPlayState(2); }},
      {"exit", kCmdExit, [](DlgHarness& t) { return t.view.ended(); }},
      {"open caption", kCmdOpenCaption, dialog_titled("Open Caption File...")},
      {"save", kCmdSaveCaption, saved, modify},
      {"save as", kCmdSaveCaptionAs, dialog_titled("Save As Caption File...")},
      {"new", kCmdNewCaption, [](DlgHarness& t) { return t.view.status() == "Line: 0, Contents: 0 byte"; }},
      {"sync", kCmdInsertSync, row_two_stamped},
      {"clear sync", kCmdInsertClearSync, clear_stamped},
      {"header", kCmdInsertHeader, header, one_char},
      {"find", kCmdFind, opened("find")},
      {"replace", kCmdReplace, opened("replace")},
      {"check", kCmdCheckSync, reported},
      {"sync utility", kCmdSyncUtility, utility},
      {"import", kCmdImportCaptions, one_dialog},
      {"export srt", kCmdExportSrt, one_dialog},
      {"split", kCmdSplitByLanguage, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() + t.dialogs.messages().size() >= 1; }},
      {"plain text", kCmdPlainText, [](DlgHarness& t) { return t.dlg->caption_path() == t.dir.File("movie.txt"); }},
      {"short clears", kCmdRemoveShortClears, [](DlgHarness& t) { return t.dialogs.messages().size() == 1; }},
      {"movie length", kCmdCaptureMovieLength, capture_is(6, "100000")},
      {"time converter", kCmdTimeConvert, opened("time converter")},
      {"settings", kCmdSettings, opened("settings")},
      {"help", kCmdOpenHelp, [](DlgHarness& t) { return t.dialogs.shell_opened() == std::vector<std::string>{t.app.help_path()}; }},
      {"home page", kCmdOpenHomePage, [](DlgHarness& t) { return t.dialogs.shell_opened() == std::vector<std::string>{std::string(kProductHomePage)}; }},
      {"hotkeys", kCmdHotkeyInfo, hotkeys},
      // The editor's popup menu.
      {"copy", kCmdEditCopy, [](DlgHarness& t) { return t.editor.clipboard() == "two"; }, select_word},
      {"paste", kCmdEditPaste, [](DlgHarness& t) { return t.editor.GetLine(11, 1000).starts_with("pasted<SYNC"); }, [](DlgHarness& t) { t.editor.set_clipboard("pasted"); }},
      {"cut", kCmdEditCut, line_is(11, "<SYNC Start=61999><P Class=KRCC>"), select_word},
      {"delete line", kCmdDeleteLine, line_is(11, "<SYNC Start=70000><P Class=KRCC>&nbsp;")},
      {"reflect", kCmdReflectEdits, [](DlgHarness& t) { return t.editor.IsModified() && t.view.status() == "Line: 16, Contents: " + std::to_string(t.editor.TextLength()) + " bytes"; }, [](DlgHarness& t) { t.view.SetStatusText(""); t.editor.SetModified(true); }},
      {"font", kCmdChangeFont, [](DlgHarness& t) { return t.editor.FaceName() == "Batang"; }, [](DlgHarness& t) { t.view.QueueFontFace("Batang"); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DlgHarness t;
    t.Start();
    t.LoadCaption();
    t.OpenMovieAt(61.25);
    t.CaretAtLine(11);
    t.dialogs.SetShellResult(true);
    if (row.prepare) row.prepare(t);
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
  for (const KeyEvent& key : {Key('C', true), Key('X', true), Key('V', true), Key('Z', true), Key('Q', true),
                              FKey(10), AltKey('Q'), Key('A')})
    EXPECT_FALSE(dlg->PreTranslateMessage(key)) << key.key;
  EXPECT_EQ(editor.Text(), kTwoCaptions);
  // Without a movie, the position keys are consumed and do nothing.
  for (const KeyEvent& key : {AltKey('3', true), Key('J', true), FKey(2)}) EXPECT_TRUE(dlg->PreTranslateMessage(key));
  EXPECT_EQ(view.capture_value(2), "00000000");
  EXPECT_TRUE(player.calls().empty());
  EXPECT_EQ(editor.Text(), kTwoCaptions);
}

}  // namespace
}  // namespace cadenzio::test
