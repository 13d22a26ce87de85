// The main window: layout, title, start-up with a command line, closing, the
// dispatch of every key and menu command to its operation, the movie
// commands, the preview timer and the editor aids (find, replace, header).
#include <algorithm>
#include <functional>
#include <utility>
#include <optional>
#include <tuple>

#include "app/command_ids.h"
#include "app/key_handlers.h"
#include "app/product.h"
#include "cadenzio_dlg_fixture.h"

namespace cadenzio::test {
namespace {

// 800 by 600 is pinned on the real window; odd sizes truncate at every
// step: (2*601)/5 = 240, 240/3 = 80.
TEST(LayoutMainWindowTest, OddSizesTruncate) {
  const MainWindowLayout odd = LayoutMainWindow(801, 601);
  EXPECT_EQ(odd.capture_list, (WidgetRect{0, 440, 266, 160}));
  EXPECT_EQ(odd.editor, (WidgetRect{400, 0, 400, 581}));
}

TEST_F(DlgTest, StartUpStateAndSettingsFile) {
  WriteFile(app.settings_path(), "[Cadenzio]\r\nADD_DEL=300\r\nCTRL_9=12345\r\nREMAP_HOTKEY=1\r\nONSYNC=5\r\n");
  Start();
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "New SMI"));
  EXPECT_EQ(editor.text_limit(), 1048576);
  EXPECT_FALSE(view.combo_enabled() || dlg->caption_on() || view.timer_running());
  EXPECT_EQ(std::pair(dlg->open_state(), dlg->play_state()), std::pair(0, 8));
  EXPECT_EQ(dlg->settings().add_del, 300);
  EXPECT_EQ(view.capture_value(8), "12345");
  EXPECT_EQ(dlg->key_handlers()[4], KeyAction::InsertSync);
}

// Movie and caption in either order; a same-name caption comes with a movie.
TEST_F(DlgTest, CommandLineCombinations) {
  const std::string movie = dir.File("film.avi"), lone = dir.File("clip.avi"), first = dir.File("a.SMI"),
                    second = dir.File("b.txt");
  for (const std::string& path : {movie, lone, first, dir.File("film.smi"), second}) WriteFile(path, kTwoCaptions);
  struct Case {
    std::vector<std::string> args;
    std::string media, caption;
  };
  const Case cases[] = {
      {{movie}, movie, dir.File("film.smi")},
      {{first, second}, "", first},                // two captions: the first, no movie
      {{lone, second}, lone, second},              // movie, then any caption
      {{dir.File("gone.avi"), first}, "", first},  // a missing movie is dropped
      {{lone, dir.File("gone.smi")}, lone, ""},    // a missing caption is dropped silently
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front() + (c.args.size() > 1 ? " " + c.args[1] : ""));
    DlgHarness t;
    t.Start(c.args);
    EXPECT_EQ(t.dlg->media_path() + "|" + t.dlg->caption_path(), c.media + "|" + c.caption);
    EXPECT_EQ(t.player.calls().size() + t.view.timer_running(), c.media.empty() ? 0u : 2u);
    EXPECT_EQ(t.editor.Text(), c.caption.empty() ? "" : kTwoCaptions);
    EXPECT_FALSE(t.editor.IsModified() || !t.dialogs.messages().empty());  // no question at start-up
  }
  DlgHarness t;
  t.Start({first, lone});
  EXPECT_EQ(t.view.title(), WindowTitle("clip.avi", "a.SMI"));
}

// The close question: Cancel stays, No ends.
TEST_F(DlgTest, ClosingAsksWhenModified) {
  Start();
  editor.ReplaceSelection("typed", true);
  dialogs.QueueAnswer(MessageAnswer::Cancel);
  dlg->OnCommand(kCmdExit);
  EXPECT_FALSE(view.ended());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "\xBC\xF6\xC1\xA4\xB5\xC8 \xC0\xDA\xB8\xB7\xC0\xBB "
            "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?");  // 수정된 자막을 저장하시겠습니까?
  EXPECT_EQ(dialogs.messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_EQ(dialogs.beeps(), 1);
  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->OnClose();
  EXPECT_TRUE(view.ended());  // an unmodified text ends at once: the "exit" row below
}

// Every key and menu command reaches its operation: one row per operation,
// with its key, its menu command or both, and the effect it leaves. Each
// trigger runs on a fresh window holding kTwoCaptions (saved, caret on the
// "two" caption's sync line) and a movie open at 61.25 s of 100 s, DELAY 0.
// The class combo shows ENCC, which the stamps take.
TEST_F(DlgTest, EveryKeyAndCommandReachesItsOperation) {
  using Effect = std::function<bool(DlgHarness&)>;
  using Prepare = std::function<void(DlgHarness&)>;
  struct Row {
    const char* name;
    std::optional<KeyEvent> key;
    int command;  // 0: none
    Effect effect;
    Prepare prepare = {};
  };
  const auto opened = [](std::string what) -> Effect { return [what](DlgHarness& t) { return !t.view.opened().empty() && t.view.opened().back() == what; }; };
  const auto dialog_titled = [](std::string title) -> Effect { return [title](DlgHarness& t) { return !t.dialogs.file_dialogs().empty() && t.dialogs.file_dialogs().back().title == title; }; };
  const auto line_is = [](long line, std::string text) -> Effect { return [line, text](DlgHarness& t) { return t.editor.GetLine(line, 1000) == text; }; };
  const auto called = [](std::string call) -> Effect { return [call](DlgHarness& t) { return std::ranges::count(t.player.calls(), call) > 0; }; };
  const Effect hotkeys = [](DlgHarness& t) { return t.view.opened().back() == "text view " + std::string(kHotkeyHeading) && t.view.text_view_body() == HotkeyText(); };
  const Effect saved = [](DlgHarness& t) { return !t.editor.IsModified() && ReadFile(t.dlg->caption_path()) != kTwoCaptions; };
  const Effect header = [](DlgHarness& t) { return t.editor.Text().starts_with(BuiltInHeader()); };
  const Prepare modify = [](DlgHarness& t) { t.editor.SetModified(true); };
  const Prepare one_char = [](DlgHarness& t) { t.editor.SetText("x"); };
  const Prepare select_word = [](DlgHarness& t) { t.editor.SetSelection({t.editor.LineIndex(11) + 32, t.editor.LineIndex(11) + 35}); };
  const std::vector<Row> rows{
      {"hotkeys", Key(kKeyF1, false, false, KeyTarget::Player), kCmdHotkeyInfo, hotkeys},
      {"popup", KeyEvent{.message = KeyMessage::RightButtonUp, .x = 3, .y = 4}, 0, opened("popup 3,4")},
      {"close media", AltKey('C'), kCmdCloseMedia, called("reset")},
      {"open media", AltKey('O'), kCmdOpenMedia, dialog_titled("Open Media File...")},
      {"new", AltKey('X'), kCmdNewCaption, [](DlgHarness& t) { return t.view.status() == "Line: 0, Contents: 0 byte" && t.dlg->caption_path().empty(); }},
      {"ALT+1", AltKey('1'), 0, [](DlgHarness& t) { return t.view.capture_value(0) == "61999" && t.view.capture_value(4) == "-61999"; }},
      {"ALT+SHIFT+3", AltKey('3', true), 0, [](DlgHarness& t) { return t.view.capture_value(2) == "61250"; }},
      {"CTRL+UP", Key(kKeyUp, true), 0, line_is(11, "<SYNC Start=62199><P Class=KRCC>two")},
      {"CTRL+DOWN", Key(kKeyDown, true), 0, line_is(11, "<SYNC Start=61799><P Class=KRCC>two")},
      {"save as", Key('A', true), kCmdSaveCaptionAs, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1 && t.dialogs.file_dialogs()[0].title == "Save As Caption File..." && t.dialogs.file_dialogs()[0].save && t.dialogs.file_dialogs()[0].initial_path == t.dlg->caption_path(); }},
      {"find", Key('F', true), kCmdFind, opened("find")}, {"replace", Key('R', true), kCmdReplace, opened("replace")},
      {"open caption", Key('O', true), kCmdOpenCaption, dialog_titled("Open Caption File...")},
      {"save", Key('S', true), kCmdSaveCaption, saved, modify},
      {"delete line", Key('Y', true), kCmdDeleteLine, line_is(11, "<SYNC Start=70000><P Class=KRCC>&nbsp;")},
      {"CTRL+J", Key('J', true), 0, called("seek 61.000")},
      {"CTRL+SHIFT+J", Key('J', true, true), 0, [](DlgHarness& t) { return t.editor.GetSelection() == CharRange{t.editor.LineIndex(10), t.editor.LineIndex(10) + t.editor.LineLength(10)}; }, [](DlgHarness& t) { t.CaretAt(0); }},
      {"CTRL+2", Key('2', true), 0, line_is(11, "777<SYNC Start=61999><P Class=KRCC>two"), [](DlgHarness& t) { t.dlg->OnCaptureLabelEdited(1, "777"); }},
      // The caption moved to a line of its own, the new sync before it.
      {"sync", FKey(2), kCmdInsertSync, [](DlgHarness& t) { return t.editor.GetLine(12, 1000) == "<SYNC Start=61250><P Class=ENCC>" && t.editor.GetLine(13, 1000) == "two"; }},
      {"clear sync", FKey(3), kCmdInsertClearSync, line_is(12, "<SYNC Start=61250><P Class=ENCC>&nbsp;")},
      {"seek back", FKey(4), kCmdSeekBack, called("seek 56.250")}, {"CTRL+F4 is F4", Key(kKeyF1 + 3, true), 0, called("seek 56.250")},
      {"seek forward", FKey(5), kCmdSeekForward, called("seek 66.250")},
      {"pause", FKey(6), kCmdTogglePause, called("pause"), [](DlgHarness& t) { t.player.ReportPlayState(2); }},
      {"movie length", FKey(7), kCmdCaptureMovieLength, [](DlgHarness& t) { return t.view.capture_value(6) == "100000"; }},
      {"time converter", FKey(8), kCmdTimeConvert, opened("time converter")},
      {"header", FKey(9), kCmdInsertHeader, header, one_char},
      {"check", FKey(11), kCmdCheckSync, [](DlgHarness& t) { return t.view.reports().size() == 1; }},
      {"sync utility", FKey(12), kCmdSyncUtility, [](DlgHarness& t) { return t.view.opened().back() == "sync utility " + t.dlg->caption_path(); }},
      {"exit", {}, kCmdExit, [](DlgHarness& t) { return t.view.ended(); }},
      {"import", {}, kCmdImportCaptions, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1; }},
      {"export srt", {}, kCmdExportSrt, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() == 1; }},
      {"split", {}, kCmdSplitByLanguage, [](DlgHarness& t) { return t.dialogs.file_dialogs().size() + t.dialogs.messages().size() >= 1; }},
      {"plain text", {}, kCmdPlainText, [](DlgHarness& t) { return t.dlg->caption_path() == t.dir.File("movie.txt"); }},
      {"short clears", {}, kCmdRemoveShortClears, [](DlgHarness& t) { return t.dialogs.messages().size() == 1; }},
      {"settings", {}, kCmdSettings, opened("settings")},
      {"help", {}, kCmdOpenHelp, [](DlgHarness& t) { return t.dialogs.shell_opened() == std::vector<std::string>{t.app.help_path()}; }},
      {"home page", {}, kCmdOpenHomePage, [](DlgHarness& t) { return t.dialogs.shell_opened() == std::vector<std::string>{std::string(kProductHomePage)}; }},
      // The editor's popup menu.
      {"copy", {}, kCmdEditCopy, [](DlgHarness& t) { return t.editor.clipboard() == "two"; }, select_word},
      {"paste", {}, kCmdEditPaste, [](DlgHarness& t) { return t.editor.GetLine(11, 1000).starts_with("pasted<SYNC"); }, [](DlgHarness& t) { t.editor.set_clipboard("pasted"); }},
      {"cut", {}, kCmdEditCut, line_is(11, "<SYNC Start=61999><P Class=KRCC>"), select_word},
      {"reflect", {}, kCmdReflectEdits, [](DlgHarness& t) { return t.editor.IsModified() && t.view.status() == "Line: 16, Contents: " + std::to_string(t.editor.TextLength()) + " bytes"; }, [](DlgHarness& t) { t.view.SetStatusText(""); t.editor.SetModified(true); }},
      {"font", {}, kCmdChangeFont, [](DlgHarness& t) { return t.editor.FaceName() == "Batang"; }, [](DlgHarness& t) { t.view.QueueFontFace("Batang"); }},
  };
  for (const Row& row : rows) {
    for (const bool by_key : {true, false}) {
      if (by_key ? !row.key : row.command == 0) continue;
      SCOPED_TRACE(std::string(row.name) + (by_key ? " by key" : " by command"));
      DlgHarness t;
      t.Start();
      t.LoadCaption();
      t.OpenMovieAt(61.25);
      t.CaretAtLine(11);
      t.dialogs.SetShellResult(true);
      if (row.prepare) row.prepare(t);
      t.player.clear_calls();
      if (by_key) {
        EXPECT_TRUE(t.dlg->PreTranslateMessage(*row.key));
      } else {
        t.dlg->OnCommand(row.command);
      }
      EXPECT_TRUE(row.effect(t)) << t.editor.Text();
    }
  }
}

TEST_F(DlgTest, KeysLeftToTheControls) {
  Start();
  LoadCaption();
  for (const KeyEvent& key : {Key('C', true), Key('X', true), Key('V', true), Key('Z', true), FKey(10), AltKey('Q'), Key('A')})
    EXPECT_FALSE(dlg->PreTranslateMessage(key)) << key.key;
  // Without a movie, the position keys are consumed and do nothing.
  for (const KeyEvent& key : {AltKey('3', true), Key('J', true), FKey(2)}) EXPECT_TRUE(dlg->PreTranslateMessage(key));
  EXPECT_EQ(view.capture_value(2), "00000000");
  EXPECT_TRUE(player.calls().empty());
  EXPECT_EQ(editor.Text(), kTwoCaptions);
}

TEST_F(DlgTest, SeekNumbers) {
  Start();
  // {position, duration, DELAY, forward, calls}
  const std::tuple<double, double, int, bool, std::vector<std::string>> cases[] = {
      {3.2, 100.0, 0, false, {"seek 0.000", "play"}},      // 3200 - 5000 is below 0
      {10.0, 100.0, 1000, false, {"seek 6.000", "play"}},  // 11000 - 5000
      {9.0, 12.3456, 0, true, {"seek 12.345"}}};           // past the end: the duration in whole ms
  for (const auto& [position, duration, delay, forward, calls] : cases) {
    player.clear_calls();
    OpenMovieAt(position, duration);
    dlg->settings().delay = delay;
    forward ? dlg->SeekForward() : dlg->SeekBack();
    EXPECT_EQ(player.calls(), calls) << position;
  }
}

TEST_F(DlgTest, OpeningAMovieWhileOneIsOpenAsksFirst) {
  Start();
  const std::string first = dir.File("one.avi"), second = dir.File("two.avi");
  WriteFile(dir.File("one.smi"), kTwoCaptions);
  dialogs.QueuePath(first);
  dlg->OpenMedia();
  EXPECT_EQ(dlg->caption_path(), dir.File("one.smi"));  // the same-name caption came along
  player.ReportOpenState(kOpenStateOpen);
  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->OpenMedia();
  EXPECT_EQ(dialogs.messages().back(),
            (ShownMessage{" \xC7\xF6\xC0\xE7 \xB5\xBF\xBF\xB5\xBB\xF3\xC0\xBB \xB4\xDD\xB0\xED \xBB\xF5\xB7\xCE "
                          "\xBF\xA9\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE? ",  // 현재 동영상을 닫고 새로 여시겠습니까?
                          "Cadenzio", MessageIcon::Question, MessageButtons::YesNo}));
  EXPECT_EQ(dialogs.file_dialogs().size(), 1u);  // No keeps the movie
  dialogs.QueueAnswer(MessageAnswer::Yes);
  dialogs.QueuePath(second);
  dlg->OpenMedia();
  EXPECT_EQ(player.calls(), (std::vector<std::string>{"open " + first, "reset", "open " + second}));
  EXPECT_EQ(dlg->caption_path(), dir.File("one.smi"));  // two.smi does not exist
  player.ReportOpenState(kOpenStateOpen);
  dlg->CloseMedia();
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "one.smi"));
}

TEST_F(DlgTest, TimerRefreshesThePreviewOnlyWhenTheSyncChanges) {
  Start();
  LoadCaption();
  OpenMovieAt(0.5);
  view.SetCaptionOnChecked(true);
  dlg->OnCaptionOnClicked();
  view.SetClassComboSelection(view.combo_items()[0] == "KRCC" ? 0 : 1);  // the class of the captions
  dlg->OnClassComboChanged();
  // {position, loads after the tick}: before the first sync the box is
  // cleared once; then it is loaded only when another sync becomes active.
  for (const auto& [seconds, loads] : {std::pair{0.5, 1}, {0.6, 1}, {1.0, 2}, {30.0, 2}, {62.0, 3}}) {
    player.set_position(seconds);
    dlg->OnTimer();
    EXPECT_EQ(view.preview_loads(), loads) << seconds;
  }
  EXPECT_NE(view.preview().find("two"), std::string::npos);
}

TEST_F(DlgTest, FindNextUpAndDown) {
  Start();
  editor.SetText("alpha\r\nbeta alpha\r\ngamma");
  // {flags, selection after}; a failed search keeps the selection.
  const std::pair<uint32_t, CharRange> steps[] = {
      {kFrFindNext | kFrDown, {0, 5}}, {kFrFindNext | kFrDown, {11, 16}}, {kFrFindNext | kFrDown, {11, 16}},
      {kFrFindNext, {0, 5}}, {kFrFindNext, {0, 5}}, {kFrFindNext | kFrDown | kFrMatchCase, {0, 5}},
      {kFrDialogTerm | kFrFindNext, {0, 5}}};
  for (const auto& [flags, selection] : steps) {
    dlg->OnFindReplace({flags, "ALPHA", ""});
    EXPECT_EQ(editor.GetSelection(), selection) << flags;
  }
  ASSERT_EQ(dialogs.messages().size(), 3u);
  EXPECT_EQ(dialogs.messages()[0].text,
            "\xB4\xF5 \xC0\xCC\xBB\xF3 \xC1\xB8\xC0\xE7\xC7\xCF\xC1\xF6 \xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.");  // 더 이상 존재하지 않습니다.
}

TEST_F(DlgTest, ReplaceAndReplaceAll) {
  Start();
  editor.SetText("a cat\r\na");
  CaretAt(2);
  dlg->OnFindReplace({kFrReplace, "", "the "});  // no selection: inserted at the caret
  EXPECT_EQ(editor.Text(), "a the cat\r\na");
  EXPECT_TRUE(editor.Undo());
  dlg->OnFindReplace({kFrReplaceAll | kFrDown, "a", "ab"});  // terminates
  EXPECT_EQ(editor.Text(), "ab cabt\r\nab");
  // "모두 3 개의 내용이 교체되었습니다."
  EXPECT_EQ(view.status(), "\xB8\xF0\xB5\xCE 3 \xB0\xB3\xC0\xC7 \xB3\xBB\xBF\xEB\xC0\xCC "
                           "\xB1\xB3\xC3\xBC\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.");
  dlg->OnFindReplace({kFrReplaceAll | kFrWholeWord, "ab", "x"});
  EXPECT_EQ(editor.Text(), "x cabt\r\nx");
  // Typed texts come as UTF-8: Korean finds a CP949 caption, and a character
  // CP949 cannot hold goes in as '?'.
  editor.SetText("\xC7\xD1 a");                                                  // 한 a
  dlg->OnFindReplace({kFrReplaceAll | kFrDown, "\xED\x95\x9C", "\xE0\xB8\x81!"});  // 한 by ก!
  EXPECT_EQ(editor.Text(), "?! a");
}

TEST_F(DlgTest, InsertHeaderOnlyWithoutOne) {
  Start();
  dlg->InsertHeader();  // empty editor
  const std::string header = dlg->settings().header_template;
  EXPECT_EQ(editor.Text(), header + "\r\n</BODY>\r\n</SAMI>");
  const long body = editor.FindText({0, -1}, "<BODY>", {}).start;
  EXPECT_EQ(editor.GetSelection(), (CharRange{body + 7, body + 7}));  // the line after
  EXPECT_EQ(dialogs.beeps(), 1);
  // <SAMI starting one of the first ten lines, in any case, is a header
  // already; the eleventh line is not looked at.
  const std::string nine = "1\r\n\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n";
  editor.SetText(nine + "<sami>x");
  dlg->InsertHeader();
  EXPECT_EQ(editor.Text(), nine + "<sami>x");
  editor.SetText(nine + "10\r\n<SAMI>");
  dlg->InsertHeader();
  EXPECT_TRUE(editor.Text().starts_with(header + "1\r\n"));
}

TEST_F(DlgTest, ReflectEditsFollowsTheTextWithoutSaving) {
  Start();
  const std::string path = LoadCaption();
  editor.SetText("<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n.JPCC { lang:ja-JP; }\r\n-->\r\n</STYLE>\r\n"
                 "</HEAD>\r\n<BODY>\r\n<SYNC Start=10><P Class=JPCC>x\r\n</BODY></SAMI>");
  dlg->ReflectEdits();
  EXPECT_EQ(view.combo_items(), std::vector<std::string>{"JPCC"});
  EXPECT_EQ(ReadFile(path), kTwoCaptions);
  files.fail_work_file = true;
  dlg->ReflectEdits();
  EXPECT_EQ(dialogs.messages().back(),
            (ShownMessage{"\xBC\xF6\xC1\xA4\xB5\xA5\xC0\xCC\xC5\xB8 \xC0\xE7\xBB\xFD\xC3\xA2\xBF\xA1 "
                          "\xB9\xDD\xBF\xB5 - \xC0\xD3\xBD\xC3\xC6\xC4\xC0\xCF \xBB\xFD\xBC\xBA \xBD\xC7\xC6\xD0",
                          "Cadenzio", MessageIcon::Error}));  // 수정데이타 재생창에 반영 - 임시파일 생성 실패
}

TEST_F(DlgTest, HelpMessage) {
  Start();
  dialogs.SetShellResult(false);
  dlg->OpenHelp();
  dlg->OpenHomePage();  // no message when it fails
  EXPECT_EQ(dialogs.messages(),
            (std::vector<ShownMessage>{{"\xB5\xB5\xBF\xF2\xB8\xBB \xC6\xC4\xC0\xCF\xC0\xCC \xBE\xF8\xB4\xC2\xB5\xED "
                                        "\xC7\xCF\xB3\xD7\xBF\xE4 ^^  ",  // 도움말 파일이 없는듯 하네요 ^^
                                        "Cadenzio", MessageIcon::Information}}));
}

}  // namespace
}  // namespace cadenzio::test
