// Opening, saving and clearing the caption: the save questions, the
// line-break form of saving, saves that fail without costing the file, and
// captions in UTF-8 and UTF-16 saved in their own encoding or converted.
#include <tuple>

#include "app/cadenzio_dlg_support.h"
#include "app/command_ids.h"
#include "cadenzio_dlg_fixture.h"
#include "settings/caption_encoding.h"

namespace cadenzio::test {
namespace {

// " 수정중인 데이타를 저장하시겠습니까?" before an open: Cancel abandons, No
// goes on, Yes for a text never saved is Save As, whose cancel abandons.
TEST_F(DlgTest, OpenCaptionAsksFirstAndFillsTheWindow) {
  Start();
  const std::string path = dir.File("movie.smi");
  WriteFile(path, kTwoCaptions);
  editor.ReplaceSelection("unsaved", true);
  for (const MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Yes}) {
    dialogs.QueueAnswer(answer);
    dlg->OpenCaption();
  }
  EXPECT_EQ(dialogs.messages()[0], (ShownMessage{" \xBC\xF6\xC1\xA4\xC1\xDF\xC0\xCE \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 "
                                                 "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?",
                                                 "Cadenzio", MessageIcon::Question, MessageButtons::YesNoCancel}));
  ASSERT_EQ(dialogs.file_dialogs().size(), 1u);
  EXPECT_EQ(dialogs.file_dialogs()[0].title, "Save As Caption File...");
  EXPECT_EQ(editor.Text(), "unsaved");

  dialogs.QueueAnswer(MessageAnswer::No);
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  EXPECT_EQ(dialogs.file_dialogs()[1].filters,
            (std::vector<FileFilter>{{"Caption File(*.smi, *.sami)", "*.smi; *.sami"}, {"Text File(*.txt)", "*.txt"},
                                     {"All File(*.*)", "*.*"}}));
  EXPECT_EQ(editor.Text(), kTwoCaptions);
  EXPECT_FALSE(editor.IsModified());
  EXPECT_EQ(dlg->caption_path(), path);
  EXPECT_EQ(view.combo_items(), (std::vector<std::string>{"ENCC", "KRCC"}));
  EXPECT_EQ(view.status(), "Line: 16, Contents: " + std::to_string(editor.TextLength()) + " bytes");
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "movie.smi"));
  // An empty editor never counts as modified: no question.
  editor.SetText("");
  editor.SetModified(true);
  dlg->OpenCaption();
  EXPECT_EQ(dialogs.messages().size(), 3u);
  EXPECT_EQ(dialogs.file_dialogs().back().initial_path, path);
}

TEST_F(DlgTest, UnreadableOrOversizedCaptionChangesNothing) {
  Start();
  editor.SetText("kept");
  for (const std::string& path : {dir.path().string(), dir.File("missing.smi")}) {
    dialogs.QueuePath(path);
    dlg->OpenCaption();
  }
  // "화일을 읽을수 없습니다."
  const std::string cannot_read = "\xC8\xAD\xC0\xCF\xC0\xBB \xC0\xD0\xC0\xBB\xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
  EXPECT_EQ(dialogs.messages().at(0).text + dialogs.messages().at(1).text, cannot_read + cannot_read);
  // Eleven characters into an editor that holds ten: refused whole, so a
  // later save cannot cut the file short.
  editor.set_capacity(10);
  const std::string path = dir.File("long.smi");
  WriteFile(path, "0123456789\r\n");
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  EXPECT_TRUE(dialogs.messages().back().text.starts_with("SMIOpen() "));
  EXPECT_EQ(editor.Text() + dlg->caption_path(), "kept");
  // Exactly ten fits; the text limit bounds typing, not a file opened.
  WriteFile(path, "0123456789");
  editor.SetTextLimit(4);
  dialogs.QueuePath(path);
  dlg->OpenCaption();
  EXPECT_EQ(editor.Text(), "0123456789");
  EXPECT_EQ(dlg->caption_path(), path);
}

// The saved form: each SYNC tag starts a line with its P tag after it, the
// caption text after a P tag and after each <BR> starts a new line; the caret
// and the view stay where they were. CTRL+S without a path is Save As.
TEST_F(DlgTest, SaveWritesTheLineBreakFormAndKeepsTheCaret) {
  Start();
  dlg->settings().insert_nl = true;
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
  const std::string path = dir.File("form.smi");
  dialogs.QueuePath(path);
  EXPECT_TRUE(dlg->PreTranslateMessage(Key('S', true)));
  EXPECT_EQ(dialogs.file_dialogs().back().title, "Save As Caption File...");
  const std::string expected =
      "<SAMI>\r\n<BODY>\r\n"
      "<SYNC Start=1000><P Class=KRCC>\r\nHello<br>\r\nWorld<BR>\r\nAgain\r\n"
      "<SYNC Start=2000><P Class=KRCC>\r\nNext\r\n"
      "<SYNC Start=3000><P Class=KRCC>&nbsp;\t \r\n"  // a blank paragraph stays as it is
      "<SYNC Start=4000><P Class=KRCC>\r\nHi\r\n"      // blanks before the next SYNC go
      "<SYNC Start=5000><P Class=KRCC>\r\nBye \t\r\n"
      "</BODY>\r\n</SAMI>\r\n";
  EXPECT_EQ(ReadFile(path), expected);
  EXPECT_EQ(editor.Text(), expected);
  EXPECT_EQ(editor.GetSelection(), (CharRange{editor.LineIndex(3) + 4, editor.LineIndex(3) + 4}));
  EXPECT_EQ(editor.FirstVisibleLine(), 2);
  EXPECT_FALSE(editor.IsModified());
  EXPECT_EQ(dlg->caption_path(), path);
  // Without INSERTNL the analysed text is written as it is.
  dlg->settings().insert_nl = false;
  const std::string plain = "<SAMI><BODY>\r\n<SYNC Start=5><P Class=KRCC>a<br>b\r\n</BODY></SAMI>";
  editor.SetText(plain);
  ASSERT_TRUE(dlg->SMISave(path));
  EXPECT_EQ(ReadFile(path), plain);
}

TEST_F(DlgTest, FailedSaveKeepsTheOldFileAndTheEditorText) {
  Start();
  OpenMovieAt(1.0);
  const std::string path = LoadCaption();
  editor.ReplaceSelection("<!-- edit -->\r\n", true);
  const std::string edited = editor.Text();
  const std::string open_to_save = "SMISave() - openFileToSave error\r\n" + path;
  files.fail_replace = true;  // the write of the new content fails
  EXPECT_FALSE(dlg->SaveCaption());
  files.fail_replace = false;
  EXPECT_EQ(ReadFile(path), kTwoCaptions);
  EXPECT_TRUE(editor.Text() == edited && editor.IsModified());
  EXPECT_EQ(dlg->open_state(), kOpenStateOpen);  // restored on the way out
  EXPECT_EQ(dialogs.messages().back(), (ShownMessage{open_to_save, "Cadenzio", MessageIcon::Error}));
  const std::string log = ReadFile(app.log_path());
  EXPECT_TRUE(log.starts_with("[") && log.ends_with("]\r\n" + open_to_save + "\r\n\r\n")) << log;

  // The steps before the file is touched: {step, message start, logged}.
  const std::string tmp_error = "SMISave() - saveTextToTmpfile error\r\n(real = " + std::to_string(editor.TextLength()) +
                                ", write = " + std::to_string(edited.size() / 2) + ", dwError =";
  const std::tuple<bool*, std::string, bool> steps[] = {
      {&files.fail_work_file, "SMISave() - \xC0\xD3\xBD\xC3\xC8\xAD\xC0\xCF \xBB\xFD\xBC\xBA\xBD\xC7\xC6\xD0", false},  // 임시화일 생성실패
      {&files.fail_work_write, tmp_error, true}};
  for (const auto& [fail, message, logged] : steps) {
    *fail = true;
    const std::size_t log_size = ReadFile(app.log_path()).size();
    EXPECT_FALSE(dlg->SaveCaption());
    *fail = false;
    EXPECT_TRUE(dialogs.messages().back().text.starts_with(message)) << dialogs.messages().back().text;
    EXPECT_EQ(ReadFile(app.log_path()).size() > log_size, logged) << message;
    EXPECT_EQ(files.replace_calls, 1);  // only the failed one above
    EXPECT_TRUE(editor.Text() == edited && editor.IsModified());
  }
  // A folder that is a file: the real file system refuses too.
  WriteFile(dir.File("file.txt"), "");
  EXPECT_FALSE(dlg->SMISave(dir.File("file.txt") + "/x.smi"));
  EXPECT_EQ(dialogs.messages().back().text, "SMISave() - openFileToSave error\r\n" + dir.File("file.txt") + "/x.smi");
  // The read-back fails after a good write: logged, and the save counts.
  files.fail_read_back = true;
  EXPECT_TRUE(dlg->SaveCaption());
  EXPECT_TRUE(ReadFile(path).starts_with("<!-- edit -->"));
  EXPECT_NE(ReadFile(app.log_path()).find("SMISave() - fileRead error (want - "), std::string::npos);
  EXPECT_FALSE(editor.IsModified());
}

// The movie's own caption, already open and edited, is neither reloaded
// nor asked about; a new caption empties the window.
TEST_F(DlgTest, AutoOpenAndNewCaption) {
  Start();
  LoadCaption();
  view.SetCaptionOnChecked(true);
  dlg->OnCaptionOnClicked();
  editor.ReplaceSelection("edit", true);
  dlg->AutoOpenCaption(dir.File("movie.smi"));
  EXPECT_TRUE(dialogs.messages().empty() && editor.IsModified());
  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->NewCaption();
  EXPECT_EQ(editor.Text(), "");
  EXPECT_EQ(view.title(), WindowTitle("NO MOVIE", "New SMI"));
  EXPECT_TRUE(!dlg->document().valid && dlg->document().nodes.empty() && view.combo_items().empty());
  EXPECT_FALSE(view.CaptionOnChecked() || view.combo_enabled() || dlg->caption_on());
}

constexpr char kHana[] = "\xED\x95\x98\xEB\x82\x98";  // 하나 in UTF-8

// Nine lines of head, then the caption lines from line 9 (0-based).
std::string Body(const std::string& caption_lines) {
  return "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
         ".KRCC { Name:Korean; lang:ko-KR; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n" +
         caption_lines + "</BODY>\r\n</SAMI>\r\n";
}

TEST_F(DlgTest, UnicodeCaptionsAreStampedAndSavedInTheirOwnEncoding) {
  Start();
  OpenMovieAt(5.0);
  const std::string text = Body(std::string(kHana) + "\r\n");
  const std::string stamped = Body("<SYNC Start=5000><P Class=KRCC>\r\n" + std::string(kHana) + "\r\n");

  // UTF-8 with a BOM: the editor speaks UTF-8, one position per character.
  const std::string path = LoadCaption("u8.smi", "\xEF\xBB\xBF" + text);
  EXPECT_EQ(editor.Text(), text);
  EXPECT_EQ(view.encoding_text() + " " + view.status(), "UTF-8 (BOM) Line: 13, Contents: 125 bytes");  // 하나 counts 2
  CaretAtLine(9);
  EXPECT_TRUE(dlg->PreTranslateMessage(FKey(2)));
  EXPECT_EQ(editor.GetSelection().start, editor.LineIndex(10) + 2);  // after the two syllables
  ASSERT_TRUE(dlg->SaveCaption());
  EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF" + stamped);
  EXPECT_EQ(editor.Text(), stamped);
  std::string rtf;  // the preview says UTF-8 in its RTF
  EXPECT_EQ(dlg->document().RenderCaption(5500, 0, -1, rtf), 5000);
  EXPECT_NE(rtf.find("\\ansicpg65001"), std::string::npos);
  // UTF-16LE with its BOM: the working text is UTF-8, the file stays UTF-16LE.
  const std::string path16 = LoadCaption("u16.smi", EncodeCaption(text, CaptionEncoding::Utf16Le, true).bytes);
  EXPECT_EQ(view.encoding_text(), "UTF-16LE");
  CaretAtLine(9);
  EXPECT_TRUE(dlg->PreTranslateMessage(FKey(2)));
  ASSERT_TRUE(dlg->SaveCaption());
  EXPECT_EQ(ReadFile(path16), EncodeCaption(stamped, CaptionEncoding::Utf16Le, true).bytes);
}

TEST_F(DlgTest, ReopenInAnEncodingAndConvertToCp949) {
  Start();
  // ✓ (U+2713), which CP949 lacks.
  const std::string original = Body("<SYNC Start=1000><P Class=KRCC>\r\n" + std::string(kHana) + "\xE2\x9C\x93\r\n");
  const std::string path = LoadCaption("mark.smi", original);
  EXPECT_EQ(view.encoding_text(), "UTF-8");
  // Read as CP949 by choice: the bytes are the editor's as they are.
  dlg->OnCommand(kCmdReopenCp949);
  EXPECT_EQ(editor.code_page().kind(), CodePage::Kind::Cp949);
  EXPECT_EQ(editor.Text(), original);
  // Unsaved changes are asked about first.
  editor.SetModified(true);
  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->OnCommand(kCmdReopenAuto);
  EXPECT_EQ(dialogs.messages().size(), 1u);
  EXPECT_EQ(editor.code_page().kind(), CodePage::Kind::Utf8);
  // The find dialog's text (UTF-8, as typed) finds the UTF-8 caption.
  dlg->OnFindReplace({kFrFindNext | kFrDown, kHana, ""});
  EXPECT_EQ(editor.GetSelection(), (CharRange{editor.LineIndex(10), editor.LineIndex(10) + 2}));

  // Converting to CP949 is refused at the save, naming line and character;
  // No writes nothing and keeps the conversion waiting.
  dlg->OnCommand(kCmdConvertCp949);
  EXPECT_TRUE(editor.IsModified());
  EXPECT_EQ(view.encoding_text(), "UTF-8 -> CP949");
  dialogs.QueueAnswer(MessageAnswer::No);
  EXPECT_FALSE(dlg->SaveCaption());
  EXPECT_EQ(files.replace_calls, 0);
  // "CP949로 저장할 수 없습니다." / "UTF-8로 저장하시겠습니까?"
  const std::string refusal =
      "CP949\xB7\xCE \xC0\xFA\xC0\xE5\xC7\xD2 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
      "line 11, character 3: '?' (U+2713) has no CP949 form\r\n\r\n"
      "UTF-8\xB7\xCE \xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
  EXPECT_EQ(dialogs.messages().back().text, refusal);
  EXPECT_EQ(dialogs.messages().back().buttons, MessageButtons::YesNo);
  EXPECT_EQ(view.encoding_text(), "UTF-8 -> CP949");
  // Yes writes UTF-8 instead.
  dialogs.QueueAnswer(MessageAnswer::Yes);
  ASSERT_TRUE(dlg->SaveCaption());
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_EQ(view.encoding_text(), "UTF-8");

  // A text CP949 holds converts: the file becomes CP949 and so does the editor.
  editor.SetText(Body("<SYNC Start=1000><P Class=KRCC>\r\n" + std::string(kHana) + "\r\n"));
  dlg->OnCommand(kCmdConvertCp949);
  ASSERT_TRUE(dlg->SaveCaption());
  const std::string cp949 = Body("<SYNC Start=1000><P Class=KRCC>\r\n\xC7\xCF\xB3\xAA\r\n");  // 하나
  EXPECT_EQ(ReadFile(path), cp949);
  EXPECT_EQ(editor.Text(), cp949);
  EXPECT_EQ(dlg->document().code_page().kind(), CodePage::Kind::Cp949);
}

}  // namespace
}  // namespace cadenzio::test
