// The command identifiers of the main menu and of the caption editor's popup
// menu, and the menus' labels in menu order. The window builds its menus from
// these tables and hands each chosen id to CCadenzioDlg::OnCommand.
//
// Labels are CP949 bytes (the comment gives the UTF-8 text); a tab separates
// the shortcut hint, which the window shows right-aligned.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace cadenzio {

// Menu "동영상": the movie.
inline constexpr int kCmdOpenMedia = 1006;
inline constexpr int kCmdCloseMedia = 1008;
inline constexpr int kCmdSeekBack = 32791;
inline constexpr int kCmdSeekForward = 32792;
inline constexpr int kCmdTogglePause = 32802;
inline constexpr int kCmdExit = 57602;
// Menu "자막관리": the caption file and the editor.
inline constexpr int kCmdOpenCaption = 1012;
inline constexpr int kCmdSaveCaption = 57603;
inline constexpr int kCmdSaveCaptionAs = 1020;
inline constexpr int kCmdNewCaption = 1027;
inline constexpr int kCmdInsertSync = 32789;
inline constexpr int kCmdInsertClearSync = 32790;
inline constexpr int kCmdInsertHeader = 32782;
inline constexpr int kCmdFind = 1028;
inline constexpr int kCmdReplace = 1029;
// Menu "인코딩": the caption read again in an encoding, or written in another
// one from the next save on.
inline constexpr int kCmdReopenAuto = 33001;
inline constexpr int kCmdReopenCp949 = 33002;
inline constexpr int kCmdReopenUtf8 = 33003;
inline constexpr int kCmdReopenUtf16Le = 33004;
inline constexpr int kCmdReopenUtf16Be = 33005;
inline constexpr int kCmdConvertCp949 = 33011;
inline constexpr int kCmdConvertUtf8 = 33012;
inline constexpr int kCmdConvertUtf8Bom = 33013;
inline constexpr int kCmdConvertUtf16Le = 33014;
inline constexpr int kCmdConvertUtf16Be = 33015;
// Menu "추가명령": tools.
inline constexpr int kCmdCheckSync = 32793;
inline constexpr int kCmdSyncUtility = 1055;
inline constexpr int kCmdImportCaptions = 32783;
inline constexpr int kCmdExportSrt = 32788;
inline constexpr int kCmdSplitByLanguage = 32794;
inline constexpr int kCmdPlainText = 32804;
inline constexpr int kCmdRemoveShortClears = 32806;
inline constexpr int kCmdCaptureMovieLength = 32787;
inline constexpr int kCmdTimeConvert = 32779;
inline constexpr int kCmdSettings = 32803;
// Menu "도움": help.
inline constexpr int kCmdOpenHelp = 32786;
inline constexpr int kCmdOpenHomePage = 32785;
inline constexpr int kCmdHotkeyInfo = 32784;
// The editor's popup menu.
inline constexpr int kCmdEditCopy = 32797;
inline constexpr int kCmdEditPaste = 32798;
inline constexpr int kCmdEditCut = 32799;
inline constexpr int kCmdDeleteLine = 32805;
inline constexpr int kCmdReflectEdits = 32800;
inline constexpr int kCmdChangeFont = 32801;

struct MenuItem {
  int id;
  std::string_view label;  // CP949
};

struct Menu {
  std::string_view title;  // CP949
  std::span<const MenuItem> items;
};

inline constexpr std::array kMediaMenuItems{
    MenuItem{kCmdOpenMedia, "\xBF\xAD\xB1\xE2\tALT+O"},  // 열기\tALT+O
    MenuItem{kCmdCloseMedia, "\xB4\xDD\xB1\xE2\tALT+C"},  // 닫기\tALT+C
    MenuItem{kCmdSeekBack,
             "\xB5\xBF\xBF\xB5\xBB\xF3 5\xC3\xCA\xC0\xFC\xC0\xB8\xB7\xCE "
             "\xC0\xCC\xB5\xBF\t(F4)"},  // 동영상 5초전으로 이동\t(F4)
    MenuItem{kCmdSeekForward,
             "\xB5\xBF\xBF\xB5\xBB\xF3 5\xC3\xCA\xC8\xC4\xB7\xCE "
             "\xC0\xCC\xB5\xBF\t(F5)"},  // 동영상 5초후로 이동\t(F5)
    MenuItem{kCmdTogglePause,
             "\xB5\xBF\xBF\xB5\xBB\xF3 \xC0\xCF\xBD\xC3\xC1\xA4\xC1\xF6/"
             "\xC0\xE7\xBB\xFD\t(F6)"},  // 동영상 일시정지/재생\t(F6)
    MenuItem{kCmdExit, "\xC1\xBE\xB7\xE1"},  // 종료
};

inline constexpr std::array kCaptionMenuItems{
    MenuItem{kCmdOpenCaption, "\xBF\xAD\xB1\xE2\tCTRL+O"},  // 열기\tCTRL+O
    MenuItem{kCmdSaveCaption, "\xC0\xFA\xC0\xE5\tCTRL+S"},  // 저장\tCTRL+S
    MenuItem{kCmdSaveCaptionAs, "Save As\tCTRL+A"},
    MenuItem{kCmdNewCaption, "\xC3\xCA\xB1\xE2\xC8\xAD\tALT+X"},  // 초기화\tALT+X
    MenuItem{kCmdInsertSync, "\xBD\xCC\xC5\xA9 \xB3\xD6\xB1\xE2\t(F2)"},  // 싱크 넣기\t(F2)
    MenuItem{kCmdInsertClearSync,
             "\xC1\xF6\xBF\xEC\xB1\xE2 \xBD\xCC\xC5\xA9 \xB3\xD6\xB1\xE2\t(F3)"},  // 지우기 싱크 넣기\t(F3)
    MenuItem{kCmdInsertHeader, "\xC7\xEC\xB4\xF5 \xB3\xD6\xB1\xE2\t(F9)"},  // 헤더 넣기\t(F9)
    MenuItem{kCmdFind, "\xC3\xA3\xB1\xE2\tCTRL+F"},  // 찾기\tCTRL+F
    MenuItem{kCmdReplace, "\xB9\xD9\xB2\xD9\xB1\xE2\tCTRL+R"},  // 바꾸기\tCTRL+R
};

inline constexpr std::array kToolsMenuItems{
    MenuItem{kCmdCheckSync,
             "\xBD\xCC\xC5\xA9\xBF\xC0\xB7\xF9 \xC3\xBC\xC5\xA9\t(F11)"},  // 싱크오류 체크\t(F11)
    MenuItem{kCmdSyncUtility,
             "\xC0\xDA\xB8\xB7\xBD\xCC\xC5\xA9 \xC0\xAF\xC6\xBF\t(F12)"},  // 자막싱크 유틸\t(F12)
    MenuItem{kCmdImportCaptions,
             "\xB4\xD9\xB8\xA5 \xC6\xF7\xB8\xCB \xC0\xDA\xB8\xB7 "
             "\xB0\xA1\xC1\xAE\xBF\xC0\xB1\xE2"},  // 다른 포맷 자막 가져오기
    MenuItem{kCmdExportSrt,
             "SRT \xC0\xDA\xB8\xB7\xC0\xB8\xB7\xCE \xC3\xE2\xB7\xC2\xC7\xCF\xB1\xE2 "
             "(SMI2SRT)"},  // SRT 자막으로 출력하기 (SMI2SRT)
    MenuItem{kCmdSplitByLanguage,
             "\xBE\xF0\xBE\xEE\xBA\xB0\xB7\xCE "
             "\xB3\xAA\xB4\xB2\xC3\xE2\xB7\xC2\xC7\xCF\xB1\xE2"},  // 언어별로 나눠출력하기
    MenuItem{kCmdPlainText,
             "\xBD\xCC\xC5\xA9\xBE\xF8\xB4\xC2 \xBC\xF8\xBC\xF6 "
             "\xC5\xD8\xBD\xBA\xC6\xAE\xB8\xB8 \xBE\xF2\xB1\xE2"},  // 싱크없는 순수 텍스트만 얻기
    MenuItem{kCmdRemoveShortClears,
             "\xC2\xAA\xC0\xBA \xC5\xAC\xB8\xAE\xBE\xEE-\xBD\xC3\xC0\xDB "
             "\xB1\xB8\xB0\xA3 \xBB\xE8\xC1\xA6"},  // 짧은 클리어-시작 구간 삭제
    MenuItem{kCmdCaptureMovieLength,
             "\xB5\xBF\xBF\xB5\xBB\xF3 \xB8\xB6\xC1\xF6\xB8\xB7 \xBD\xCC\xC5\xA9\xB8\xA6 "
             "\xB8\xAE\xBD\xBA\xC6\xAE 7\xB9\xF8\xC2\xB0 "
             "\xC0\xFA\xC0\xE5\t(F7)"},  // 동영상 마지막 싱크를 리스트 7번째 저장\t(F7)
    MenuItem{kCmdTimeConvert, "\xBD\xC3\xB0\xA3 \xBA\xAF\xC8\xAF\t(F8)"},  // 시간 변환\t(F8)
    MenuItem{kCmdSettings, "Cadenzio \xBC\xB3\xC1\xA4"},  // Cadenzio 설정
};

inline constexpr std::array kEncodingMenuItems{
    MenuItem{kCmdReopenAuto, "\xC0\xDA\xB5\xBF \xB0\xA8\xC1\xF6\xB7\xCE "
                             "\xB4\xD9\xBD\xC3 \xBF\xAD\xB1\xE2"},  // 자동 감지로 다시 열기
    MenuItem{kCmdReopenCp949, "CP949\xB7\xCE \xB4\xD9\xBD\xC3 \xBF\xAD\xB1\xE2"},  // CP949로 다시 열기
    MenuItem{kCmdReopenUtf8, "UTF-8\xB7\xCE \xB4\xD9\xBD\xC3 \xBF\xAD\xB1\xE2"},  // UTF-8로 다시 열기
    MenuItem{kCmdReopenUtf16Le,
             "UTF-16LE\xB7\xCE \xB4\xD9\xBD\xC3 \xBF\xAD\xB1\xE2"},  // UTF-16LE로 다시 열기
    MenuItem{kCmdReopenUtf16Be,
             "UTF-16BE\xB7\xCE \xB4\xD9\xBD\xC3 \xBF\xAD\xB1\xE2"},  // UTF-16BE로 다시 열기
    MenuItem{kCmdConvertCp949, "CP949\xB7\xCE \xBA\xAF\xC8\xAF"},        // CP949로 변환
    MenuItem{kCmdConvertUtf8, "UTF-8\xB7\xCE \xBA\xAF\xC8\xAF"},         // UTF-8로 변환
    MenuItem{kCmdConvertUtf8Bom, "UTF-8 (BOM)\xB7\xCE \xBA\xAF\xC8\xAF"},  // UTF-8 (BOM)로 변환
    MenuItem{kCmdConvertUtf16Le, "UTF-16LE\xB7\xCE \xBA\xAF\xC8\xAF"},   // UTF-16LE로 변환
    MenuItem{kCmdConvertUtf16Be, "UTF-16BE\xB7\xCE \xBA\xAF\xC8\xAF"},   // UTF-16BE로 변환
};

inline constexpr std::array kHelpMenuItems{
    MenuItem{kCmdOpenHelp, "Cadenzio \xB5\xB5\xBF\xF2\xB8\xBB(HTML)"},  // Cadenzio 도움말(HTML)
    MenuItem{kCmdOpenHomePage, "\xC8\xA8\xC6\xE4\xC0\xCC\xC1\xF6 \xB9\xE6\xB9\xAE"},  // 홈페이지 방문
    MenuItem{kCmdHotkeyInfo,
             "\xB4\xDC\xC3\xE0\xC5\xB0 \xC1\xA4\xBA\xB8\xC3\xA2 "
             "\xBA\xB8\xB1\xE2\t(F1)"},  // 단축키 정보창 보기\t(F1)
};

inline constexpr std::array kEditorPopupItems{
    MenuItem{kCmdEditCopy, "\xBA\xB9\xBB\xE7\xC7\xCF\xB1\xE2(&C)"},  // 복사하기(&C)
    MenuItem{kCmdEditPaste, "\xBA\xD9\xBF\xA9\xB3\xD6\xB1\xE2(&P)"},  // 붙여넣기(&P)
    MenuItem{kCmdEditCut, "\xC0\xDF\xB6\xF3\xB3\xBB\xB1\xE2(&X)"},  // 잘라내기(&X)
    MenuItem{kCmdDeleteLine, "\xC7\xD1\xB6\xF3\xC0\xCE\xBB\xE8\xC1\xA6(&D)"},  // 한라인삭제(&D)
    MenuItem{kCmdReflectEdits,
             "\xBC\xF6\xC1\xA4\xC1\xDF\xB3\xBB\xBF\xEB \xC0\xE7\xBB\xFD\xC3\xA2\xBF\xA1 "
             "\xB9\xDD\xBF\xB5(&G)"},  // 수정중내용 재생창에 반영(&G)
    MenuItem{kCmdChangeFont,
             "\xC0\xDA\xB8\xB7\xC6\xED\xC1\xFD\xC3\xA2 "
             "\xC6\xF9\xC6\xAE\xBA\xAF\xB0\xE6(&F)"},  // 자막편집창 폰트변경(&F)
};

// The main menu bar, left to right.
inline constexpr std::array kMainMenu{
    Menu{"\xB5\xBF\xBF\xB5\xBB\xF3(&F)", kMediaMenuItems},  // 동영상(&F)
    Menu{"\xC0\xDA\xB8\xB7\xB0\xFC\xB8\xAE(&S)", kCaptionMenuItems},  // 자막관리(&S)
    Menu{"\xC0\xCE\xC4\xDA\xB5\xF9(&E)", kEncodingMenuItems},  // 인코딩(&E)
    Menu{"\xC3\xDF\xB0\xA1\xB8\xED\xB7\xC9(&A)", kToolsMenuItems},  // 추가명령(&A)
    Menu{"\xB5\xB5\xBF\xF2(&H)", kHelpMenuItems},  // 도움(&H)
};

// The popup menu shown on a right-button release in the caption editor.
inline constexpr Menu kEditorPopupMenu{
    "\xB8\xAE\xC4\xA1\xBF\xA1\xB5\xF0\xC6\xAE \xC6\xCB\xBE\xF7\xB8\xDE\xB4\xBA",  // 리치에디트 팝업메뉴
    kEditorPopupItems};

}  // namespace cadenzio
