// Opening, saving and clearing the caption: the save questions, the
// line-break form of saving, and saves that fail without costing the file.
#include <sys/stat.h>
#include <unistd.h>

#include "cadenzio_dlg_fixture.h"

namespace cadenzio::test {
namespace {

// " 수정중인 데이타를 저장하시겠습니까?"
const std::string kSaveQuestion =
    " \xBC\xF6\xC1\xA4\xC1\xDF\xC0\xCE \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 "
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "화일을 읽을수 없습니다."
const std::string kCannotRead =
    "\xC8\xAD\xC0\xCF\xC0\xBB \xC0\xD0\xC0\xBB\xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";

TEST_F(DlgTest, OpenCaptionAsksFirstAndFillsTheWindow) {
  Start();
  const std::string path = dir.File("movie.smi");
  WriteFile(path, kTwoCaptions);
  editor.ReplaceSelection("unsaved", true);

  dialogs.QueueAnswer(MessageAnswer::Cancel);
  dlg->OpenCaption();
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(dialogs.messages()[0].text, kSaveQuestion);
  EXPECT_EQ(dialogs.messages()[0].icon, MessageIcon::Question);
  EXPECT_TRUE(dialogs.file_dialogs().empty());  // Cancel abandons
  EXPECT_EQ(editor.Text(), "unsaved");

  dialogs.QueueAnswer(MessageAnswer::No);
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  ASSERT_EQ(dialogs.file_dialogs().size(), 1u);
  const FileDialogRequest& request = dialogs.file_dialogs()[0];
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.default_extension, "smi");
  EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"Caption File(*.smi, *.sami)", "*.smi; *.sami"},
                                                      {"Text File(*.txt)", "*.txt"}, {"All File(*.*)", "*.*"}}));
  EXPECT_EQ(editor.Text(), kTwoCaptions);
  EXPECT_FALSE(editor.IsModified());
  EXPECT_EQ(editor.GetSelection(), (CharRange{0, 0}));
  EXPECT_EQ(dlg->caption_path(), path);
  EXPECT_EQ(view.combo_items(), (std::vector<std::string>{"ENCC", "KRCC"}));
  EXPECT_EQ(view.status(), "Line: 16, Contents: " + std::to_string(editor.TextLength()) + " bytes");
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "movie.smi"));

  // An empty editor never counts as modified: no question.
  editor.SetText("");
  editor.SetModified(true);
  dlg->OpenCaption();
  EXPECT_EQ(dialogs.messages().size(), 2u);
  EXPECT_EQ(dialogs.file_dialogs().size(), 2u);
  EXPECT_EQ(dialogs.file_dialogs()[1].initial_path, path);
}

TEST_F(DlgTest, UnreadableOrOversizedCaptionChangesNothing) {
  Start();
  for (const std::string& path : {dir.path().string(), dir.File("missing.smi")}) {
    editor.SetText("kept");
    dialogs.QueuePath(path);
    dlg->OpenCaption();
    EXPECT_EQ(dialogs.messages().back().text, kCannotRead);
    EXPECT_EQ(editor.Text(), "kept");
    EXPECT_EQ(dlg->caption_path(), "");
  }
  // Eleven characters into an editor that holds ten: refused whole, so a
  // later save cannot cut the file short.
  editor.set_capacity(10);
  const std::string path = dir.File("long.smi");
  WriteFile(path, "0123456789\r\n");
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  EXPECT_EQ(dialogs.messages().back().text,
            "SMIOpen() \xBF\xEC\xC0\xD7... \xB4\xD9 \xB8\xF8 \xC0\xD0\xBE\xFA\xB4\xD9\xB3\xD7.. "
            "\xBB\xF5\xB7\xCE \xC0\xD0\xC0\xB8\xBC\xBC\xBF\xEB\r\n");
  EXPECT_EQ(editor.Text(), "kept");
  EXPECT_EQ(dlg->caption_path(), "");
  WriteFile(path, "0123456789");  // exactly ten fits
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  EXPECT_EQ(editor.Text(), "0123456789");

  // The text limit bounds typing, not a file opened.
  editor.set_capacity(1000);
  editor.SetTextLimit(4);
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  EXPECT_EQ(editor.Text(), "0123456789");
  EXPECT_EQ(dlg->caption_path(), path);
}

TEST_F(DlgTest, YesForANeverSavedTextAndCancelledSaveAsAbandons) {
  Start();
  editor.ReplaceSelection("new text", true);

  dialogs.QueueAnswer(MessageAnswer::Yes);  // save first; the Save As dialog is cancelled
  dlg->OpenCaption();
  ASSERT_EQ(dialogs.file_dialogs().size(), 1u);
  EXPECT_EQ(dialogs.file_dialogs()[0].title, "Save As Caption File...");
  EXPECT_EQ(dialogs.file_dialogs()[0].initial_path, "");

  dialogs.QueueAnswer(MessageAnswer::Yes);
  dlg->NewCaption();
  EXPECT_EQ(dialogs.file_dialogs().size(), 2u);
  EXPECT_EQ(editor.Text(), "new text");

  dialogs.QueueAnswer(MessageAnswer::Yes);
  dlg->OnClose();
  EXPECT_FALSE(view.ended());
  EXPECT_EQ(dialogs.file_dialogs().size(), 3u);

  // CTRL+S without a caption path is Save As; a chosen path saves there.
  const std::string target = dir.File("saved.smi");
  dialogs.QueuePath(target);
  EXPECT_TRUE(dlg->PreTranslateMessage(Key('S', true)));
  EXPECT_EQ(dialogs.file_dialogs().back().title, "Save As Caption File...");
  EXPECT_EQ(ReadFile(target), "new text");
  EXPECT_EQ(dlg->caption_path(), target);
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(DlgTest, AutoOpenCaptionOfTheMovie) {
  Start();
  const std::string path = dir.File("film.smi");
  WriteFile(path, kTwoCaptions);
  dlg->AutoOpenCaption(path);  // nothing modified: no question
  EXPECT_EQ(dlg->caption_path(), path);
  editor.ReplaceSelection("edit", true);
  dlg->AutoOpenCaption(path);  // the caption already edited: nothing at all
  EXPECT_TRUE(editor.IsModified());
  dlg->AutoOpenCaption(dir.File("none.smi"));
  EXPECT_TRUE(dialogs.messages().empty());
}

// The saved form: each SYNC tag starts a line with its P tag after it, the
// caption text after a P tag and after each <BR> starts a new line; the caret
// and the view stay where they were.
TEST_F(DlgTest, SaveWritesTheLineBreakFormAndKeepsTheCaret) {
  Start();
  dlg->settings().insert_nl = true;
  const std::string path = LoadCaption("form.smi", "x");
  editor.SetText(
      "<SAMI>\r\n<BODY>\r\n"
      "<SYNC Start=1000><P Class=KRCC>Hello<br>World<BR>  Again\r\n"
      "<SYNC Start=2000>\r\n<P Class=KRCC>Next\r\n"
      "<SYNC Start=3000><P Class=KRCC>&nbsp;\t \r\n"
      "<SYNC Start=4000><P Class=KRCC>Hi \t<SYNC Start=5000><P Class=KRCC>Bye \t\r\n"
      "</BODY>\r\n</SAMI>\r\n");
  editor.LineScroll(2);
  CaretAt(editor.LineIndex(3) + 4);
  editor.SetModified(true);
  ASSERT_TRUE(dlg->SaveCaption());
  const std::string expected =
      "<SAMI>\r\n<BODY>\r\n"
      "<SYNC Start=1000><P Class=KRCC>\r\nHello<br>\r\nWorld<BR>\r\nAgain\r\n"
      "<SYNC Start=2000><P Class=KRCC>\r\nNext\r\n"
      "<SYNC Start=3000><P Class=KRCC>&nbsp;\t \r\n"  // a blank paragraph stays as it is
      "<SYNC Start=4000><P Class=KRCC>\r\nHi\r\n"  // blanks before the next SYNC go
      "<SYNC Start=5000><P Class=KRCC>\r\nBye \t\r\n"
      "</BODY>\r\n</SAMI>\r\n";
  EXPECT_EQ(ReadFile(path), expected);
  EXPECT_EQ(editor.Text(), expected);
  EXPECT_EQ(editor.GetSelection(), (CharRange{editor.LineIndex(3) + 4, editor.LineIndex(3) + 4}));
  EXPECT_EQ(editor.FirstVisibleLine(), 2);
  EXPECT_FALSE(editor.IsModified());
  EXPECT_EQ(dlg->open_state(), 0);

  // Without INSERTNL the analysed text is written as it is.
  dlg->settings().insert_nl = false;
  editor.SetText("<SAMI><BODY>\r\n<SYNC Start=5><P Class=KRCC>a<br>b\r\n</BODY></SAMI>");
  ASSERT_TRUE(dlg->SMISave(path));
  EXPECT_EQ(ReadFile(path), "<SAMI><BODY>\r\n<SYNC Start=5><P Class=KRCC>a<br>b\r\n</BODY></SAMI>");
}

TEST_F(DlgTest, FailedSaveKeepsTheOldFileAndTheEditorText) {
  Start();
  OpenMovieAt(1.0);
  const std::string path = LoadCaption();
  editor.SetSelection({0, 0});
  editor.ReplaceSelection("<!-- edit -->\r\n", true);
  const std::string edited = editor.Text();
  const std::string open_to_save = "SMISave() - openFileToSave error\r\n" + path;

  files.fail_replace = true;  // the write of the new content fails
  EXPECT_FALSE(dlg->SaveCaption());
  EXPECT_EQ(ReadFile(path), kTwoCaptions);
  EXPECT_EQ(editor.Text(), edited);
  EXPECT_TRUE(editor.IsModified());
  EXPECT_EQ(dlg->open_state(), kOpenStateOpen);  // restored on the way out
  EXPECT_EQ(dialogs.messages().back(), (ShownMessage{open_to_save, "Cadenzio", MessageIcon::Error}));
  std::string log = ReadFile(app.log_path());
  EXPECT_TRUE(log.starts_with("[") && log.ends_with("]\r\n" + open_to_save + "\r\n\r\n")) << log;
  files.fail_replace = false;

  // A folder that is a file: nothing can be created beside the target.
  const std::string blocked = dir.File("file.txt");
  WriteFile(blocked, "");
  EXPECT_FALSE(dlg->SMISave(blocked + "/x.smi"));
  EXPECT_EQ(dialogs.messages().back().text, open_to_save.substr(0, 34) + blocked + "/x.smi");

  if (geteuid() != 0) {  // a read-only folder; root may write anywhere
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_FALSE(dlg->SaveCaption());
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(ReadFile(path), kTwoCaptions);
    EXPECT_EQ(editor.Text(), edited);
  }

  files.fail_work_file = true;
  EXPECT_FALSE(dlg->SaveCaption());
  EXPECT_EQ(dialogs.messages().back().text,
            "SMISave() - \xC0\xD3\xBD\xC3\xC8\xAD\xC0\xCF \xBB\xFD\xBC\xBA\xBD\xC7\xC6\xD0");
  files.fail_work_file = false;

  files.fail_work_write = true;
  const int replaces = files.replace_calls;
  EXPECT_FALSE(dlg->SaveCaption());
  const std::string tmp_error = dialogs.messages().back().text;
  EXPECT_TRUE(tmp_error.starts_with("SMISave() - saveTextToTmpfile error\r\n(real = " +
                                    std::to_string(editor.TextLength()) + ", write = " +
                                    std::to_string(edited.size() / 2) + ", dwError =")) << tmp_error;
  EXPECT_EQ(files.replace_calls, replaces);
  EXPECT_TRUE(ReadFile(app.log_path()).ends_with(tmp_error + "\r\n\r\n"));
  files.fail_work_write = false;
  EXPECT_EQ(ReadFile(path), kTwoCaptions);
  EXPECT_EQ(editor.Text(), edited);

  // The read-back fails after a good write: logged, and the save counts.
  files.fail_read_back = true;
  EXPECT_TRUE(dlg->SaveCaption());
  EXPECT_NE(ReadFile(path), kTwoCaptions);
  EXPECT_NE(ReadFile(app.log_path()).find("SMISave() - fileRead error (want - "), std::string::npos);
  EXPECT_FALSE(editor.IsModified());
}

TEST_F(DlgTest, NewCaptionEmptiesEverything) {
  Start();
  LoadCaption();
  view.SetCaptionOnChecked(true);
  dlg->OnCaptionOnClicked();
  EXPECT_TRUE(view.combo_enabled());
  editor.SetModified(true);
  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->NewCaption();
  EXPECT_EQ(editor.Text(), "");
  EXPECT_FALSE(editor.IsModified());
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "New SMI"));
  EXPECT_TRUE(!dlg->document().valid && dlg->document().nodes.empty() && view.combo_items().empty());
  EXPECT_FALSE(view.CaptionOnChecked() || view.combo_enabled() || dlg->caption_on());
}

}  // namespace
}  // namespace cadenzio::test
