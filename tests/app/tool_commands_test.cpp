// The main window's halves of the tools: inputs, questions, dialogs,
// messages, the files written and what changes in the main window.
#include "app/tool_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "app/memory_main_window_view.h"
#include "platform/memory_dialogs.h"
#include "platform/memory_editor.h"
#include "test_support.h"
#include "tools/import_captions.h"
#include "tools/short_clears.h"
#include "tools/split_language.h"
#include "tools/sync_check.h"

namespace cadenzio {
namespace {

using test::ReadFile;
using test::WriteFile;

const std::string kProgram = "Cadenzio";
const std::string kDoneCaption = "\xC0\xDB\xBE\xF7 \xBF\xCF\xB7\xE1";  // 작업 완료
// "작업이 정상적으로 완료되었습니다."
const std::string kDone = "\xC0\xDB\xBE\xF7\xC0\xCC \xC1\xA4\xBB\xF3\xC0\xFB\xC0\xB8\xB7\xCE "
                          "\xBF\xCF\xB7\xE1\xB5\xC7\xBE\xFA\xBD\xC0\xB4\xCF\xB4\xD9.";

const std::string kHead =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n.KRCC {Name:Korean; lang:ko-KR; SAMIType:CC; }\r\n"
    ".ENCC {Name:English; lang:en-US; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n<BODY>\r\n";
const std::string kSami = kHead +
                          "<SYNC Start=1000><P Class=KRCC>Hello\r\n<P Class=ENCC>Hi\r\n"
                          "<SYNC Start=3000><P Class=KRCC>&nbsp;\r\n<P Class=ENCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";

// The text is `before`, then the "%5.3f" time and " 초 걸림\r\n".
bool EndsWithTiming(const std::string& text, const std::string& before) {
  return text.starts_with(before) &&
         std::regex_match(text.substr(before.size()), std::regex(" *[0-9]+\\.[0-9]{3} \xC3\xCA \xB0\xC9\xB8\xB2\r\n"));
}

class ToolCommandsTest : public ::testing::Test {
 protected:
  ToolContext Context() {
    return {editor, dialogs, view, settings, document, caption_path, log_path, open_state, {}, {}, {}, {}, {}};
  }
  void Edit(const std::string& text) {
    editor.SetText(text);
    editor.SetModified(true);
  }

  test::TempDir dir;
  MemoryEditor editor;
  MemoryDialogs dialogs;
  MemoryMainWindowView view;
  Settings settings;
  SamiDocument document;
  std::string caption_path;
  std::string log_path = dir.File("Cadenzio.log");
  int open_state = 6;
};

TEST_F(ToolCommandsTest, CheckSync) {
  ToolContext c = Context();
  CheckSyncCommand(c);
  caption_path = dir.File("missing.smi");
  CheckSyncCommand(c);
  EXPECT_EQ(dialogs.messages(),
            (std::vector<ShownMessage>{{kSyncCheckNoDataMessage, kProgram, MessageIcon::Information},
                                       {" \xC0\xD3\xBD\xC3 \xC8\xAD\xC0\xCF\xC0\xBB \xBB\xFD\xBC\xBA\xC7\xD2 \xBC\xF6 "
                                        "\xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9. (SMIDATA ERROR) ",
                                        kProgram, MessageIcon::Error}}));  // 임시 화일을 생성할 수 없습니다.
  // The saved file when the text is unmodified; the editor's text when it is.
  WriteFile(caption_path, kHead + "<SYNC Start=-100><P Class=KRCC>a\r\n</BODY>");
  CheckSyncCommand(c);
  Edit(kSami);
  CheckSyncCommand(c);
  ASSERT_EQ(view.reports().size(), 2u);
  EXPECT_NE(view.reports()[0].find("(LINE: 0011) \xC0\xBD\xBC\xF6 \xBD\xCC\xC5\xA9"), std::string::npos);  // 음수 싱크
  SamiDocument edited;
  edited.Analyse(kSami, kAnalyseKeepBlanks);
  const std::string expected = CheckSyncErrors(edited, 800, 8000).report;
  EXPECT_TRUE(EndsWithTiming(view.reports()[1], expected + kDone + "\r\n")) << view.reports()[1];
}

TEST_F(ToolCommandsTest, ExportSrt) {
  ToolContext c = Context();
  caption_path = dir.File("movie.smi");
  WriteFile(caption_path, kSami);
  const std::string srt = dir.File("out.srt");
  dialogs.QueuePath(std::nullopt);  // cancelled: nothing written, nothing said
  ExportSrtCommand(c);
  const FileDialogRequest& request = dialogs.file_dialogs().at(0);
  EXPECT_TRUE(request.save && request.title == "Save As SRT ..." && request.default_extension == "srt");
  EXPECT_EQ(request.filters[0].description + request.initial_path, "SRT File (*.srt, *.txt)" + dir.File("movie.srt"));
  EXPECT_TRUE(dialogs.messages().empty());
  dialogs.QueuePath(dir.File("no/such/folder.srt"));
  ExportSrtCommand(c);
  EXPECT_EQ(dialogs.messages().back().text, "\xC3\xE2\xB7\xC2 \xC8\xAD\xC0\xCF\xC0\xBB \xBF\xAD\xBC\xF6\xB0\xA1 "
                                            "\xBE\xF8\xB3\xD7\xBF\xE4... (SRTFILE ERROR) ");  // 출력 화일을 열수가 없네요...

  dialogs.QueuePath(srt);
  ExportSrtCommand(c);
  EXPECT_EQ(ReadFile(srt), "1\n00:00:01,000 --> 00:00:03,000\nHello\r\nHi\n\n");
  EXPECT_EQ(dialogs.messages().back().caption, kDoneCaption);
  EXPECT_TRUE(EndsWithTiming(dialogs.messages().back().text, kDone + "\r\n            "));
  // A caption that nothing ends: an error, the entries before it kept, and
  // the export still completes (the edited text, not the file, is exported).
  Edit(kHead + "<SYNC Start=1000><P Class=KRCC>A\r\n<SYNC Start=2000><P Class=KRCC>B\r\n");
  dialogs.QueuePath(srt);
  ExportSrtCommand(c);
  EXPECT_EQ(ReadFile(srt), "1\n00:00:01,000 --> 00:00:02,000\nA\n\n");
  EXPECT_EQ(dialogs.messages().end()[-2].icon, MessageIcon::Error);
}

TEST_F(ToolCommandsTest, ImportCaptions) {
  int saves = 0;
  std::string opened_path, opened_text;
  CaptionEncoding opened_encoding{};
  ToolContext c = Context();
  c.save_caption = [&] { return ++saves, false; };
  c.open_caption_text = [&](const std::string& path, const std::string& text, CaptionEncoding encoding) {
    opened_path = path;
    opened_text = text;
    opened_encoding = encoding;
  };
  // Unsaved text: Cancel, and Yes with a failing save, stop before the dialog.
  Edit("draft");
  dialogs.QueueAnswer(MessageAnswer::Cancel);
  ImportCaptionsCommand(c);
  dialogs.QueueAnswer(MessageAnswer::Yes);
  ImportCaptionsCommand(c);
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(dialogs.file_dialogs().empty());
  const std::string srt = dir.File("movie.srt");
  WriteFile(srt, "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n");
  dialogs.QueueAnswer(MessageAnswer::No);
  dialogs.QueuePath(srt);
  view.QueueTitleAndRate(std::nullopt);  // the title question cancelled
  ImportCaptionsCommand(c);
  EXPECT_EQ(dialogs.file_dialogs().back().title, "Import SRT, SUB, SUBRIP");
  EXPECT_EQ(view.title_requests(), std::vector<bool>{false});  // no frame rate for SRT
  EXPECT_TRUE(opened_path.empty());
  editor.SetModified(false);
  const std::string sub = dir.File("clip.sub");
  WriteFile(sub, "{100}{200}a|b|c|d");
  dialogs.QueuePath(sub);
  view.QueueTitleAndRate(TitleAndRate{"Clip", "25"});
  ImportCaptionsCommand(c);
  EXPECT_EQ(view.title_requests().back(), true);
  EXPECT_EQ(opened_path, dir.File("clip.smi"));
  EXPECT_NE(opened_text.find("<Title>Clip</Title>"), std::string::npos);
  EXPECT_NE(opened_text.find("<SYNC Start=8000>"), std::string::npos);  // frame 200 at 25 fps
  EXPECT_FALSE(std::filesystem::exists(dir.File("clip.smi")));  // written only on save
  EXPECT_EQ(opened_encoding, CaptionEncoding::Cp949);
  // A UTF-8 SRT opens as UTF-8, its Korean whole (이 holds the byte 0xB4) and
  // the typed CP949 title made UTF-8.
  WriteFile(srt, "\xEF\xBB\xBF" "1\r\n00:00:01,000 --> 00:00:02,500\r\n\xEC\x9D\xB4 \xC2\xB4\r\n\r\n");
  dialogs.QueuePath(srt);
  view.QueueTitleAndRate(TitleAndRate{"\xC1\xA6\xB8\xF1", ""});  // 제목
  ImportCaptionsCommand(c);
  EXPECT_EQ(opened_encoding, CaptionEncoding::Utf8);
  EXPECT_TRUE(opened_text.starts_with("\xEF\xBB\xBF<SAMI>")) << opened_text.substr(0, 20);
  EXPECT_NE(opened_text.find("<Title>\xEC\xA0\x9C\xEB\xAA\xA9</Title>"), std::string::npos);
  EXPECT_NE(opened_text.find("\r\n\xEC\x9D\xB4 '\r\n"), std::string::npos);
  dialogs.QueuePath(dir.File("gone.srt"));
  ImportCaptionsCommand(c);
  EXPECT_EQ(dialogs.messages().back().text, std::string(kImportOpenFailedMessage));
}

TEST_F(ToolCommandsTest, SplitByLanguage) {
  ToolContext c = Context();
  SplitByLanguageCommand(c);
  EXPECT_EQ(dialogs.messages().back().text,  // " 흠... 자막 데이타가 없잖아요... "
            " \xC8\xEC... \xC0\xDA\xB8\xB7 \xB5\xA5\xC0\xCC\xC5\xB8\xB0\xA1 \xBE\xF8\xC0\xDD\xBE\xC6\xBF\xE4... ");
  Edit(kSami);
  const std::string base = dir.File("movie.smi"), kr = dir.File("movie.KRCC.smi"), en = dir.File("movie.ENCC.smi");
  dialogs.QueuePath(base);
  SplitByLanguageCommand(c);
  EXPECT_TRUE(ReadFile(kr).find("Hello") != std::string::npos && ReadFile(kr).find("Hi") == std::string::npos);
  EXPECT_TRUE(ReadFile(en).find("Hi") != std::string::npos && ReadFile(en).find("Hello") == std::string::npos);
  const std::string done = kSplitDoneFormat;
  EXPECT_TRUE(EndsWithTiming(dialogs.messages().back().text, done.substr(0, done.find('%'))));
  EXPECT_EQ(editor.Text(), kSami);
  // One file cannot be written: the set is taken back, an old file restored.
  WriteFile(kr, "old KRCC");
  std::filesystem::remove(en);
  std::filesystem::create_directory(en);
  dialogs.QueuePath(base);
  SplitByLanguageCommand(c);
  EXPECT_EQ(ReadFile(kr), "old KRCC");
  EXPECT_EQ(dialogs.messages().back(), (ShownMessage{kSplitFailedMessage, "\xBF\xC0 \xB7\xF9", MessageIcon::Error}));
}

TEST_F(ToolCommandsTest, PlainText) {
  ToolContext c = Context();
  int titles = 0, open_state_seen = -1;
  c.update_title = [&] { ++titles; };
  c.apply_caption_on = [&] { open_state_seen = open_state; };
  Edit(kSami);
  PlainTextCommand(c);  // refused while modified
  EXPECT_EQ(dialogs.messages().back().icon, MessageIcon::Error);
  EXPECT_EQ(editor.Text(), kSami);
  editor.SetModified(false);
  caption_path = "/caps/movie.smi";
  view.SetCaptionOnChecked(true);
  view.InsertClassAtTop("KRCC");
  PlainTextCommand(c);
  EXPECT_EQ(editor.Text(), "Hello\r\nHi\r\n");
  EXPECT_EQ(view.status(), "Line: 3, Contents: 9 bytes");
  EXPECT_EQ(caption_path, "/caps/movie.txt");
  EXPECT_FALSE(titles != 1 || view.ClassComboCount() > 0 || view.CaptionOnChecked() || !document.nodes.empty());
  EXPECT_EQ(std::pair(open_state_seen, open_state), std::pair(0, 6));  // the timer stood still meanwhile
}

TEST_F(ToolCommandsTest, RemoveShortClears) {
  ToolContext c = Context();
  settings.del_clear = 500;
  editor.SetText(kHead + "<SYNC Start=1000><P Class=KRCC>A\r\n<SYNC Start=10000><P Class=KRCC>&nbsp;\r\n"
                 "<SYNC Start=10400><P Class=KRCC>B\r\n<SYNC Start=11000><P Class=KRCC>&nbsp;\r\n"
                 "<SYNC Start=11600><P Class=KRCC>C\r\n</BODY>\r\n");
  RemoveShortClearsCommand(c);
  // The 400 ms clear at 10000 went; the 600 ms one at 11000 stayed.
  EXPECT_TRUE(editor.Text().find("10000") == std::string::npos && editor.Text().find("11000") != std::string::npos);
  EXPECT_EQ(dialogs.messages().back(), (ShownMessage{ShortClearsDoneMessage(1), kProgram}));
  EXPECT_FALSE(document.nodes.empty());  // the preview draws from the cleaned document
  // Nothing to remove: the text is left exactly as it was.
  const std::string unnormalised = kHead + "<sync start=1><p class=krcc>x</BODY>";
  editor.SetText(unnormalised);
  RemoveShortClearsCommand(c);
  EXPECT_EQ(editor.Text(), unnormalised);
}

}  // namespace
}  // namespace cadenzio
