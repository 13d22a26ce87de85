// SamiDocument::RenderCaption: exact RTF bytes for analysed documents.
#include <gtest/gtest.h>

#include <string>

#include "preview/caption_preview.h"
#include "preview_document.h"

namespace cadenzio {
namespace {

constexpr char kYellowHead[] = R"({\rtf1\ansi\ansicpg949{\colortbl;\red255\green255\blue0;)";
constexpr char kBodyStart[] = R"(}\b\i0\ulnone\cf1 )";

// (sync start found, RTF text) on a first refresh.
std::pair<int32_t, std::string> Render(const SamiDocument& doc, int32_t position, int class_index) {
  std::string rtf = "previous";
  const int32_t start = doc.RenderCaption(position, class_index, kInitialShownSyncStart, rtf);
  return {start, rtf};
}

std::string RenderAt0(const std::string& paragraph) {
  return Render(PreviewDocument("<SYNC Start=0>" + paragraph), 0, kKorean).second;
}

TEST(RenderCaption, TagsToRtf) {
  // "안녕<br><font color=red>세상</font>"
  EXPECT_EQ(RenderAt0("<P Class=KRCC>\xBE\xC8\xB3\xE7<br><font color=red>\xBC\xBC\xBB\xF3</font>\r\n"
                      "<P Class=ENCC>Hello\r\n"),
            R"({\rtf1\ansi\ansicpg949{\colortbl;\red255\green255\blue0;\red255\green0\blue0;})"
            R"(\b\i0\ulnone\cf1 )" "\xBE\xC8\xB3\xE7" R"(\par \cf2 )" "\xBC\xBC\xBB\xF3" "\\cf1 \r\n}");

  EXPECT_EQ(RenderAt0("<P Class=KRCC><B>b</b><i>i</I><ul>u</UL>|<br/><br ><Font>x<unknown>y"
                      "<font color=\"#00FF00\">g</font><font color=nosuch>n</FONT>"
                      "<FONT face=x Color=\"Blue\" size=2>blue</font><fontcolor=red>c\\{}<b>x>y\r\n"),
            std::string(kYellowHead) + R"(\red0\green255\blue0;\red0\green0\blue255;)" + kBodyStart +
                R"(\b b\b0 \i i\i0 \ul u\ulnone |xy\cf2 g\cf1 n\cf1 \cf3 blue\cf1 )"
                R"(c\\\{\}\b x\b y)" "\r\n}");

  // Colour numbers of two digits.
  std::string many, reds, body;
  for (int i = 2; i < 12; ++i)
    many += "<font color=red>r", reds += R"(\red255\green0\blue0;)", body += "\\cf" + std::to_string(i) + " r";
  EXPECT_EQ(RenderAt0("<P Class=KRCC>" + many + "\r\n"), kYellowHead + reds + kBodyStart + body + "\r\n}");

  // A document colour the table does not know falls back to white.
  SamiDocument unknown = PreviewDocument("<SYNC Start=0><P Class=KRCC><font color=red>r\r\n");
  unknown.colour = "nosuch";
  EXPECT_EQ(Render(unknown, 0, kKorean).second,
            R"({\rtf1\ansi\ansicpg949{\colortbl;\red255\green255\blue255;\red255\green0\blue0;})"
            R"(\b\i0\ulnone\cf1 \cf2 r)" "\r\n}");
}

TEST(RenderCaption, WhichSyncIsShown) {
  const SamiDocument doc = PreviewDocument(
      "<SYNC Start=1000><P Class=KRCC>one\r\n<P Class=ENCC>first\r\n"
      "<SYNC Start=2000><P Class=KRCC>&nbsp;\r\n<P Class=ENCC>still\r\n<SYNC Start=3000><P Class=KRCC>three\r\n"
      "<SYNC Start=4000><P Class=JPCC>undeclared\r\n<SYNC Start=5000><P Class=KRCC>five\r\n<P>every class\r\n");
  auto shows = [&](int32_t position, int class_index, int32_t start, const std::string& text) {
    EXPECT_EQ(Render(doc, position, class_index),
              std::pair(start, text.empty() ? "" : kYellowHead + (kBodyStart + text) + "\r\n}"))
        << position << " " << class_index;
  };
  shows(999, kKorean, 0, "");
  shows(-1, kKorean, 5000, "five");  // a negative position is a very late one
  shows(1000, kKorean, 1000, "one");
  shows(2000, kKorean, 2000, "");    // cleared
  shows(2000, kEnglish, 2000, "");   // another class cleared at this sync
  shows(3500, kEnglish, 2000, "");   // 3000 has no English caption
  // An undeclared class takes every class's part in the walk; the caption is
  // the next one of the chosen class, past the following sync.
  shows(4000, kKorean, 4000, "five");
  shows(9999, kEnglish, 5000, "every class");
  shows(3000, -1, 0, "");            // a class the document lacks

  std::string rtf = "kept";
  EXPECT_EQ(doc.RenderCaption(1500, kKorean, 1000, rtf), 1000);
  EXPECT_EQ(doc.RenderCaption(1500, kEnglish, 1000, rtf), 1000);  // a class switch waits
  EXPECT_EQ(rtf, "kept");
}

TEST(RenderCaption, LongCaptionShowsANotice) {
  const std::string notice = std::string(kYellowHead) + R"(\red255;}\cf2 <)"
                             "\xC0\xDA\xB8\xB7 \xB9\xAE\xC0\xDA\xB0\xA1 \xB3\xCA\xB9\xAB \xB8\xB9\xBD\xC0\xB4\xCF\xB4\xD9"
                             R"(> \par\cf1 )";  // "<자막 문자가 너무 많습니다>"
  const std::string tag_line = "<P Class=KRCC>\r\n";  // 16 bytes, a tag to its line's end
  EXPECT_EQ(RenderAt0(tag_line + std::string(182, 'x') + "\r\n"),  // 200 bytes
            std::string(kYellowHead) + kBodyStart + "\r\n" + std::string(182, 'x') + "\r\n}");
  EXPECT_EQ(RenderAt0(tag_line + std::string(183, 'x') + "\r\n"), notice + std::string(183, 'x') + " ...  }");
  // The text after the last tag, cut after byte 200.
  EXPECT_EQ(RenderAt0(tag_line + "skip<i>rest\r\n" + std::string(250, 'y') + "\r\n"),
            notice + std::string(172, 'y') + " ...  }");
}

}  // namespace
}  // namespace cadenzio
