// The main window with captions in UTF-8 and UTF-16: stamping, saving in the
// file's own encoding, reopening in a chosen encoding, and the refusal of a
// conversion to CP949 with the offer of UTF-8.
#include "app/cadenzio_dlg_support.h"
#include "app/command_ids.h"
#include "cadenzio_dlg_fixture.h"
#include "settings/caption_encoding.h"

namespace cadenzio::test {
namespace {

constexpr char kHana[] = "\xED\x95\x98\xEB\x82\x98";  // 하나 in UTF-8
constexpr char kCheck[] = "\xE2\x9C\x93";             // ✓ (U+2713), which CP949 lacks

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
  EXPECT_EQ(dlg->caption_encoding(), CaptionEncoding::Utf8);
  EXPECT_TRUE(dlg->caption_bom());
  EXPECT_EQ(editor.Text(), text);
  EXPECT_EQ(view.encoding_text(), "UTF-8 (BOM)");
  EXPECT_EQ(view.status(), "Line: 13, Contents: 125 bytes");  // 하나 counts 2
  CaretAtLine(9);
  EXPECT_TRUE(dlg->PreTranslateMessage(FKey(2)));
  EXPECT_EQ(editor.Text(), stamped);
  EXPECT_EQ(editor.GetSelection().start, editor.LineIndex(10) + 2);  // after the two syllables
  ASSERT_TRUE(dlg->SaveCaption());
  EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF" + stamped);
  EXPECT_EQ(editor.Text(), stamped);
  // The preview renders the UTF-8 caption and says so in its RTF.
  std::string rtf;
  EXPECT_EQ(dlg->document().RenderCaption(5500, 0, -1, rtf), 5000);
  EXPECT_NE(rtf.find("\\ansicpg65001"), std::string::npos);
  EXPECT_NE(rtf.find(kHana), std::string::npos);

  // UTF-16LE with its BOM: the working text is UTF-8, the file stays UTF-16LE.
  const std::string path16 = LoadCaption("u16.smi", EncodeCaption(text, CaptionEncoding::Utf16Le, true).bytes);
  EXPECT_EQ(view.encoding_text(), "UTF-16LE");
  EXPECT_EQ(editor.Text(), text);
  CaretAtLine(9);
  EXPECT_TRUE(dlg->PreTranslateMessage(FKey(2)));
  ASSERT_TRUE(dlg->SaveCaption());
  const std::string written = ReadFile(path16);
  EXPECT_EQ(written, EncodeCaption(stamped, CaptionEncoding::Utf16Le, true).bytes);
  EXPECT_EQ(written.substr(0, 4), std::string("\xFF\xFE<\0", 4));
  EXPECT_TRUE(dialogs.messages().empty());

  // The SRT export of the UTF-16LE caption is UTF-16LE with its BOM too.
  OpenMovieAt(6.0);
  CaretAtLine(10);
  EXPECT_TRUE(dlg->PreTranslateMessage(FKey(3)));  // the caption ends at 6 s
  dialogs.QueuePath(dir.File("u16.srt"));
  dlg->OnCommand(kCmdExportSrt);
  const std::string srt = ReadFile(dir.File("u16.srt"));
  ASSERT_EQ(srt.substr(0, 2), "\xFF\xFE");
  const DecodedCaption decoded = DecodeCaption(srt);
  EXPECT_EQ(decoded.encoding, CaptionEncoding::Utf16Le);
  EXPECT_NE(decoded.bytes.find("00:00:05,000 --> 00:00:06,000\n" + std::string(kHana)), std::string::npos)
      << decoded.bytes;
}

TEST_F(DlgTest, ReopenInAnEncodingAndConvertToCp949) {
  Start();
  const std::string original =
      Body("<SYNC Start=1000><P Class=KRCC>\r\n" + std::string(kHana) + kCheck + "\r\n");
  const std::string path = LoadCaption("mark.smi", original);
  EXPECT_EQ(view.encoding_text(), "UTF-8");

  // Read as CP949 by choice: the bytes are the editor's as they are.
  dlg->OnCommand(kCmdReopenCp949);
  EXPECT_EQ(dlg->caption_encoding(), CaptionEncoding::Cp949);
  EXPECT_EQ(editor.code_page().kind(), CodePage::Kind::Cp949);
  EXPECT_EQ(editor.Text(), original);
  EXPECT_EQ(view.encoding_text(), "CP949");
  // Unsaved changes are asked about first; Cancel keeps everything.
  editor.SetModified(true);
  dialogs.QueueAnswer(MessageAnswer::Cancel);
  dlg->OnCommand(kCmdReopenAuto);
  EXPECT_EQ(dlg->caption_encoding(), CaptionEncoding::Cp949);
  ASSERT_EQ(dialogs.messages().size(), 1u);
  dialogs.QueueAnswer(MessageAnswer::No);
  dlg->OnCommand(kCmdReopenAuto);
  EXPECT_EQ(dlg->caption_encoding(), CaptionEncoding::Utf8);
  EXPECT_EQ(editor.code_page().kind(), CodePage::Kind::Utf8);
  // The find dialog's text (UTF-8, as typed) finds the UTF-8 caption.
  dlg->OnFindReplace({kFrFindNext | kFrDown, "\xED\x95\x98\xEB\x82\x98", ""});  // 하나
  EXPECT_EQ(editor.GetSelection(), (CharRange{editor.LineIndex(10), editor.LineIndex(10) + 2}));

  // Converting to CP949 is refused at the save, naming line and character;
  // nothing is written. No keeps the conversion waiting.
  dlg->OnCommand(kCmdConvertCp949);
  EXPECT_TRUE(editor.IsModified());
  EXPECT_EQ(view.encoding_text(), "UTF-8 -> CP949");
  const int replaced = files.replace_calls;
  dialogs.QueueAnswer(MessageAnswer::No);
  EXPECT_FALSE(dlg->SaveCaption());
  EXPECT_EQ(files.replace_calls, replaced);
  EXPECT_EQ(ReadFile(path), original);
  // "CP949로 저장할 수 없습니다." / "UTF-8로 저장하시겠습니까?"
  const std::string refusal =
      "CP949\xB7\xCE \xC0\xFA\xC0\xE5\xC7\xD2 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.\r\n"
      "line 11, character 3: '?' (U+2713) has no CP949 form\r\n\r\n"
      "UTF-8\xB7\xCE \xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
  EXPECT_EQ(dialogs.messages().back().text, refusal);
  EXPECT_EQ(dialogs.messages().back().buttons, MessageButtons::YesNo);
  EXPECT_EQ(dlg->save_encoding(), CaptionEncoding::Cp949);

  // Yes writes UTF-8 instead.
  dialogs.QueueAnswer(MessageAnswer::Yes);
  ASSERT_TRUE(dlg->SaveCaption());
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_EQ(dlg->caption_encoding(), CaptionEncoding::Utf8);
  EXPECT_EQ(view.encoding_text(), "UTF-8");
  EXPECT_FALSE(editor.IsModified());

  // A text CP949 holds converts: the file becomes CP949 and so does the editor.
  editor.SetText(Body("<SYNC Start=1000><P Class=KRCC>\r\n" + std::string(kHana) + "\r\n"));
  dlg->OnCommand(kCmdConvertCp949);
  ASSERT_TRUE(dlg->SaveCaption());
  const std::string cp949 = Body("<SYNC Start=1000><P Class=KRCC>\r\n\xC7\xCF\xB3\xAA\r\n");  // 하나
  EXPECT_EQ(ReadFile(path), cp949);
  EXPECT_EQ(editor.Text(), cp949);
  EXPECT_EQ(editor.code_page().kind(), CodePage::Kind::Cp949);
  EXPECT_EQ(dlg->document().code_page().kind(), CodePage::Kind::Cp949);
  EXPECT_EQ(view.encoding_text(), "CP949");
}

}  // namespace
}  // namespace cadenzio::test
