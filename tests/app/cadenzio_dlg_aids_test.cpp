// The movie commands and the preview timer, and the editor aids: find and
// replace, the header, reflecting edits, help.
#include "cadenzio_dlg_fixture.h"

namespace cadenzio::test {
namespace {

TEST_F(DlgTest, SeekAndPauseNumbers) {
  Start();
  OpenMovieAt(3.2);
  struct Case {
    double position, duration;
    int delay;
    bool forward;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {3.2, 100.0, 0, false, {"seek 0.000", "play"}},    // 3200 - 5000 is below 0
      {10.0, 100.0, 1000, false, {"seek 6.000", "play"}},  // 11000 - 5000
      {9.0, 12.3456, 0, true, {"seek 12.345"}},            // 14000 is past the end: the duration in whole ms
  };
  for (const Case& c : cases) {
    player.clear_calls();
    player.set_position(c.position);
    player.set_duration(c.duration);
    dlg->settings().delay = c.delay;
    c.forward ? dlg->SeekForward() : dlg->SeekBack();
    EXPECT_EQ(player.calls(), c.calls) << c.position;
  }

  player.clear_calls();
  for (int state : {0, 1, 3, 8, kPlayStatePlaying}) {
    player.ReportPlayState(state);
    dlg->TogglePause();
  }
  EXPECT_EQ(player.calls(), (std::vector<std::string>{"play", "play", "play", "play", "pause"}));

  player.ReportOpenState(kOpenStateOpening);  // not open yet: the commands do nothing
  player.clear_calls();
  dlg->SeekBack();
  dlg->SeekForward();
  dlg->TogglePause();
  EXPECT_TRUE(player.calls().empty());
}

TEST_F(DlgTest, OpeningAMovieWhileOneIsOpenAsksFirst) {
  Start();
  const std::string first = dir.File("one.avi"), second = dir.File("two.avi");
  WriteFile(dir.File("one.smi"), kTwoCaptions);
  dialogs.QueuePath(first);
  dlg->OpenMedia();
  EXPECT_EQ(player.calls(), std::vector<std::string>{"open " + first});
  EXPECT_EQ(dlg->caption_path(), dir.File("one.smi"));  // the same-name caption came along
  EXPECT_TRUE(view.timer_running());
  const FileDialogRequest& request = dialogs.file_dialogs()[0];
  EXPECT_EQ(request.default_extension, "avi");
  ASSERT_EQ(request.filters.size(), 5u);
  EXPECT_EQ(request.filters[2].patterns, "*.mpg; *.mpeg; *.dat; *.vob; *.m2v");
  player.ReportOpenState(kOpenStateOpen);

  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->OpenMedia();
  EXPECT_EQ(dialogs.messages().back().text,
            " \xC7\xF6\xC0\xE7 \xB5\xBF\xBF\xB5\xBB\xF3\xC0\xBB \xB4\xDD\xB0\xED "
            "\xBB\xF5\xB7\xCE \xBF\xA9\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE? ");  // 현재 동영상을 닫고 새로 여시겠습니까?
  EXPECT_EQ(dialogs.messages().back().buttons, MessageButtons::YesNo);
  EXPECT_EQ(dlg->media_path(), first);  // No keeps the movie
  EXPECT_EQ(dialogs.file_dialogs().size(), 1u);

  dialogs.QueueAnswer(MessageAnswer::Yes);
  dialogs.QueuePath(second);
  dlg->OpenMedia();
  EXPECT_EQ(player.calls(), (std::vector<std::string>{"open " + first, "reset", "open " + second}));
  EXPECT_EQ(dlg->media_path(), second);
  EXPECT_EQ(dlg->caption_path(), dir.File("one.smi"));  // two.smi does not exist

  player.ReportOpenState(kOpenStateOpen);
  dlg->CloseMedia();
  EXPECT_FALSE(view.timer_running());
  EXPECT_EQ(dlg->media_path(), "");
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "one.smi"));
  dlg->OpenMedia();  // starts at the last movie
  EXPECT_EQ(dialogs.file_dialogs().back().initial_path, second);
}

TEST_F(DlgTest, TimerRefreshesThePreviewOnlyWhenTheSyncChanges) {
  Start();
  LoadCaption();
  OpenMovieAt(0.5);
  dlg->OnTimer();  // caption-on box not ticked
  EXPECT_EQ(view.preview_loads(), 0);

  view.SetCaptionOnChecked(true);
  dlg->OnCaptionOnClicked();
  EXPECT_EQ(view.ClassComboSelection(), 0);
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
  player.set_position(1.0);
  dlg->OnTimer();
  EXPECT_NE(view.preview().find("one"), std::string::npos);
  player.set_position(0.0);
  dlg->OnTimer();
  EXPECT_EQ(view.preview(), "");

  player.ReportOpenState(kOpenStateClosed);  // no movie: no work
  player.set_position(75.0);
  dlg->OnTimer();
  EXPECT_EQ(view.preview_loads(), 5);
}

TEST_F(DlgTest, FindNextUpAndDown) {
  Start();
  editor.SetText("alpha\r\nbeta alpha\r\ngamma");
  FindReplaceRequest request{kFrFindNext | kFrDown, "ALPHA", ""};
  dlg->OnFindReplace(request);
  EXPECT_EQ(editor.GetSelection(), (CharRange{0, 5}));
  dlg->OnFindReplace(request);
  EXPECT_EQ(editor.GetSelection(), (CharRange{11, 16}));
  dlg->OnFindReplace(request);
  EXPECT_EQ(dialogs.messages().back().text,
            "\xB4\xF5 \xC0\xCC\xBB\xF3 \xC1\xB8\xC0\xE7\xC7\xCF\xC1\xF6 "
            "\xBE\xCA\xBD\xC0\xB4\xCF\xB4\xD9.");  // 더 이상 존재하지 않습니다.
  EXPECT_EQ(editor.GetSelection(), (CharRange{11, 16}));
  request.flags = kFrFindNext;  // upwards, from before the selection
  dlg->OnFindReplace(request);
  EXPECT_EQ(editor.GetSelection(), (CharRange{0, 5}));
  dlg->OnFindReplace(request);  // nothing above the first
  EXPECT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(editor.GetSelection(), (CharRange{0, 5}));
  request.flags = kFrFindNext | kFrDown | kFrMatchCase;
  dlg->OnFindReplace(request);
  EXPECT_EQ(dialogs.messages().size(), 3u);
  request.flags = kFrDialogTerm | kFrFindNext;
  dlg->OnFindReplace(request);
  EXPECT_EQ(dialogs.messages().size(), 3u);
}

TEST_F(DlgTest, ReplaceAndReplaceAll) {
  Start();
  editor.SetText("a cat\r\na");
  CaretAt(2);
  dlg->OnFindReplace({kFrReplace, "", "the "});  // no selection: inserted at the caret
  EXPECT_EQ(editor.Text(), "a the cat\r\na");
  EXPECT_TRUE(editor.Undo());
  EXPECT_EQ(editor.Text(), "a cat\r\na");

  dlg->OnFindReplace({kFrReplaceAll | kFrDown, "a", "ab"});  // terminates
  EXPECT_EQ(editor.Text(), "ab cabt\r\nab");
  // "모두 3 개의 내용이 교체되었습니다."
  EXPECT_EQ(view.status(), "\xB8\xF0\xB5\xCE 3 \xB0\xB3\xC0\xC7 \xB3\xBB\xBF\xEB\xC0\xCC "
                           "\xB1\xB3\xC3\xBC\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.");
  dlg->OnFindReplace({kFrReplaceAll, "zzz", "y"});
  EXPECT_EQ(view.status().substr(0, 7), "\xB8\xF0\xB5\xCE 0 ");
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

  editor.SetText("one\r\n\r\n  <sami>\r\n<sami>x");
  dlg->InsertHeader();  // the fourth line starts with it
  EXPECT_EQ(editor.Text(), "one\r\n\r\n  <sami>\r\n<sami>x");
  editor.SetText("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n<SAMI>");
  dlg->InsertHeader();  // the eleventh line is not looked at
  EXPECT_TRUE(editor.Text().starts_with(header + "1\r\n"));
}

TEST_F(DlgTest, ReflectEditsFollowsTheTextWithoutSaving) {
  Start();
  const std::string path = LoadCaption();
  editor.SetText("<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
                 ".JPCC { Name:Japanese; lang:ja-JP; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
                 "<BODY>\r\n<SYNC Start=10><P Class=JPCC>x\r\n</BODY></SAMI>");
  editor.SetModified(true);
  dlg->ReflectEdits();
  EXPECT_EQ(view.combo_items(), std::vector<std::string>{"JPCC"});
  EXPECT_TRUE(editor.IsModified());
  EXPECT_EQ(ReadFile(path), kTwoCaptions);

  files.fail_work_file = true;
  dlg->ReflectEdits();
  EXPECT_EQ(dialogs.messages().back(),
            (ShownMessage{"\xBC\xF6\xC1\xA4\xB5\xA5\xC0\xCC\xC5\xB8 \xC0\xE7\xBB\xFD\xC3\xA2\xBF\xA1 "
                          "\xB9\xDD\xBF\xB5 - \xC0\xD3\xBD\xC3\xC6\xC4\xC0\xCF \xBB\xFD\xBC\xBA \xBD\xC7\xC6\xD0",
                          "Cadenzio", MessageIcon::Error, MessageButtons::Ok}));  // 수정데이타 재생창에 반영 - 임시파일 생성 실패
  dialogs.QueueAnswer(MessageAnswer::Cancel);  // closing still asks
  dlg->OnClose();
  EXPECT_FALSE(view.ended());
}

TEST_F(DlgTest, HelpFontAndCaptureEdits) {
  Start();
  dialogs.SetShellResult(false);
  dlg->OpenHelp();
  EXPECT_EQ(dialogs.messages().back(),
            (ShownMessage{"\xB5\xB5\xBF\xF2\xB8\xBB \xC6\xC4\xC0\xCF\xC0\xCC \xBE\xF8\xB4\xC2\xB5\xED "
                          "\xC7\xCF\xB3\xD7\xBF\xE4 ^^  ",
                          "Cadenzio", MessageIcon::Information, MessageButtons::Ok}));  // 도움말 파일이 없는듯 하네요 ^^
  dlg->OpenHomePage();  // no message when it fails
  EXPECT_EQ(dialogs.messages().size(), 1u);

  // The shipped help page lands in the program folder once; a page the user
  // put there stays.
  const std::string shipped = dir.File("shipped.html");
  WriteFile(shipped, "<p>help</p>");
  EXPECT_TRUE(app.InstallHelpPage(shipped));
  EXPECT_EQ(ReadFile(app.help_path()), "<p>help</p>");
  WriteFile(app.help_path(), "<p>mine</p>");
  EXPECT_TRUE(app.InstallHelpPage(shipped));
  EXPECT_EQ(ReadFile(app.help_path()), "<p>mine</p>");

  editor.SetFaceName("Gulim");
  dlg->ChangeEditorFont();  // cancelled
  EXPECT_EQ(editor.FaceName(), "Gulim");

  dlg->OnCaptureLabelEdited(2, "1200");  // the derived row reaches the view
  EXPECT_EQ(view.capture_value(5), "-1200");
}

}  // namespace
}  // namespace cadenzio::test
