// The main window on the in-memory editor, player, dialogs and view, its
// program folder a fresh temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/cadenzio_app.h"
#include "app/cadenzio_dlg.h"
#include "app/memory_main_window_view.h"
#include "platform/memory_dialogs.h"
#include "platform/memory_editor.h"
#include "platform/memory_player.h"
#include "test_support.h"

namespace cadenzio::test {

// The file steps of saving, each of which a test can make fail.
class FaultyFiles : public CaptionFileSystem {
 public:
  bool fail_work_file = false, fail_work_write = false, fail_replace = false, fail_read_back = false;
  int replace_calls = 0;

  UniqueFile OpenWorkFile() override { return fail_work_file ? nullptr : CaptionFileSystem::OpenWorkFile(); }
  std::size_t WriteWorkFile(std::FILE* file, std::string_view bytes) override {
    return fail_work_write ? bytes.size() / 2 : CaptionFileSystem::WriteWorkFile(file, bytes);
  }
  bool ReplaceFile(const std::string& path, std::string_view bytes) override {
    ++replace_calls;
    return !fail_replace && CaptionFileSystem::ReplaceFile(path, bytes);
  }
  bool ReadFile(const std::string& path, std::string& out) override {
    return !(fail_read_back && replace_calls > 0) && CaptionFileSystem::ReadFile(path, out);
  }
};

// Two captions of class KRCC, ENCC and KRCC declared, CR LF line ends.
inline const std::string kTwoCaptions =
    "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
    ".KRCC { Name:Korean; lang:ko-KR; }\r\n.ENCC { Name:English; lang:en-US; }\r\n-->\r\n"
    "</STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
    "<SYNC Start=1000><P Class=KRCC>one\r\n<SYNC Start=61999><P Class=KRCC>two\r\n"
    "<SYNC Start=70000><P Class=KRCC>&nbsp;\r\n</BODY>\r\n</SAMI>\r\n";

// " Cadenzio v2.08 [동영상 - %s] [자막 - %s]" after the base title's own blank.
inline std::string WindowTitle(const std::string& movie, const std::string& caption) {
  return "  Cadenzio v2.08 [\xB5\xBF\xBF\xB5\xBB\xF3 - " + movie + "] [\xC0\xDA\xB8\xB7 - " + caption + "]";
}

// The window and its doubles; DlgTest is the fixture form.
struct DlgHarness {
  // Settings come from the INI file written before, if any; DELAY is then set.
  void Start(const std::vector<std::string>& args = {}, int delay = 0) {
    dlg = std::make_unique<CCadenzioDlg>(app, editor, player, dialogs, view, &files);
    dlg->Initialise(args);
    dlg->settings().delay = delay;
  }
  // A caption file in the temporary folder, loaded as if opened.
  std::string LoadCaption(const std::string& name = "movie.smi", const std::string& bytes = kTwoCaptions) {
    const std::string path = dir.File(name);
    WriteFile(path, bytes);
    dlg->SMIOpen(path, bytes);
    return path;
  }
  void OpenMovieAt(double seconds, double duration = 100.0) {
    player.ReportOpenState(kOpenStateOpen);
    player.set_position(seconds);
    player.set_duration(duration);
  }
  void CaretAt(long pos) { editor.SetSelection({pos, pos}); }
  void CaretAtLine(long line) { CaretAt(editor.LineIndex(line)); }

  TempDir dir;
  CCadenzioApp app{dir.path().string()};
  MemoryEditor editor;
  MemoryPlayer player;
  MemoryDialogs dialogs;
  MemoryMainWindowView view;
  FaultyFiles files;
  std::unique_ptr<CCadenzioDlg> dlg;
};

class DlgTest : public ::testing::Test, public DlgHarness {};

inline KeyEvent Key(int key, bool ctrl = false, bool shift = false, KeyTarget target = KeyTarget::Editor) {
  return {.message = KeyMessage::KeyDown, .key = key, .ctrl = ctrl, .shift = shift, .target = target};
}
inline KeyEvent AltKey(int key, bool shift = false) {
  return {.message = KeyMessage::SysKeyDown, .key = key, .shift = shift, .alt = true};
}
inline KeyEvent FKey(int number) { return Key(kKeyF1 + number - 1); }

}  // namespace cadenzio::test
