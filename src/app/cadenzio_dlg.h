// The main window's logic: every command of the menus and keys, the caption
// file's open and save, the movie's control and the preview timer, written
// against the platform interfaces so it runs the same under Qt and in tests.
//
// The window layer owns the controls and forwards to this class: key and
// mouse messages to PreTranslateMessage (before any control sees them), menu
// ids (command_ids.h) to OnCommand, the 25 ms timer to OnTimer, the close box
// to OnClose, the find dialog's buttons to OnFindReplace, the capture list's
// edits, the class combo's changes and the caption-on box's clicks to their
// handlers, and its resizes through LayoutMainWindow.
//
// The references given to the constructor must outlive the object. One
// thread: everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cadenzio_app.h"
#include "app/capture_list.h"
#include "app/key_event.h"
#include "app/key_handlers.h"
#include "app/main_window_view.h"
#include "app/tool_commands.h"
#include "platform/dialogs.h"
#include "platform/editor.h"
#include "platform/player.h"
#include "preview/caption_preview.h"
#include "preview/caption_sync_index.h"
#include "sami/sami_document.h"
#include "settings/caption_encoding.h"
#include "settings/file_services.h"
#include "settings/settings.h"

namespace cadenzio {

// ---- Layout -----------------------------------------------------------------

struct WidgetRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const WidgetRect&) const = default;
};

// The seven controls of the main window for a client area, in pixels.
struct MainWindowLayout {
  WidgetRect player, preview, capture_list, caption_on, class_combo, editor, status;
  bool operator==(const MainWindowLayout&) const = default;
};

// Left half: player (3/5 of the height), preview, and the capture list with
// the caption-on box and the class combo beside it; right half: the editor
// and a 20-pixel status line. Integer arithmetic, truncating.
MainWindowLayout LayoutMainWindow(int width, int height);

// ---- Find and replace -------------------------------------------------------

// The find dialog's flags, with the values of the system's find dialog.
inline constexpr uint32_t kFrDown = 0x1;
inline constexpr uint32_t kFrWholeWord = 0x2;
inline constexpr uint32_t kFrMatchCase = 0x4;
inline constexpr uint32_t kFrFindNext = 0x8;
inline constexpr uint32_t kFrReplace = 0x10;
inline constexpr uint32_t kFrReplaceAll = 0x20;
inline constexpr uint32_t kFrDialogTerm = 0x40;

// One button press of the find or find-and-replace dialog: exactly one of
// kFrFindNext, kFrReplace, kFrReplaceAll, kFrDialogTerm, plus the options.
struct FindReplaceRequest {
  uint32_t flags = 0;
  std::string find_text;     // UTF-8, as typed
  std::string replace_text;  // UTF-8, as typed
};

// ---- File steps of open and save ----------------------------------------------

// The file operations of loading and saving a caption, one virtual call per
// step, so tests can make any step fail. The defaults use the file services.
class CaptionFileSystem {
 public:
  virtual ~CaptionFileSystem() = default;
  // The anonymous work file that the editor text passes through.
  virtual UniqueFile OpenWorkFile();
  // Writes bytes to the work file; the count written.
  virtual std::size_t WriteWorkFile(std::FILE* file, std::string_view bytes);
  // Puts bytes in place of the file at path through a new file beside it that
  // is renamed over it: on failure the old file is whole and no file is left.
  virtual bool ReplaceFile(const std::string& path, std::string_view bytes);
  // Every byte of the file; false for a missing file or a folder.
  virtual bool ReadFile(const std::string& path, std::string& out);
};

// ---- The main window ----------------------------------------------------------

class CCadenzioDlg : public PlayerEvents {
 public:
  // The window title before anything is open: " Cadenzio v2.08".
  static constexpr std::string_view kBaseTitle = " Cadenzio v2.08";
  static constexpr long kEditorTextLimit = 1048576;  // characters
  static constexpr int kRefreshTimerMs = 25;

  // files: the file steps of open and save; null uses the file services.
  CCadenzioDlg(CCadenzioApp& app, TextEditor& editor, MediaPlayer& player, Dialogs& dialogs,
               MainWindowView& view, CaptionFileSystem* files = nullptr);
  ~CCadenzioDlg() override;
  CCadenzioDlg(const CCadenzioDlg&) = delete;
  CCadenzioDlg& operator=(const CCadenzioDlg&) = delete;

  // The window's initialisation once its controls exist: caption-on state,
  // editor text limit and focus, capture list, settings, the movie and
  // caption of the command line (args without the program name), key table.
  // Icons, fonts, colours and placement are the window layer's.
  void Initialise(const std::vector<std::string>& args);

  // ---- Dispatch
  // The message filter; true when the message was consumed.
  bool PreTranslateMessage(const KeyEvent& event);
  // A menu or popup command (command_ids.h); unknown ids do nothing.
  void OnCommand(int command_id);
  // The refresh timer's tick.
  void OnTimer();
  // The close box and "종료": ends the window only when QueryClose allows.
  void OnClose();
  void OnFindReplace(const FindReplaceRequest& request);
  // The end of the user's edit of a capture row; nothing when cancelled.
  void OnCaptureLabelEdited(int row, std::optional<std::string> text);
  void OnClassComboChanged();
  void OnCaptionOnClicked();

  // PlayerEvents.
  void OpenStateChanged(int old_state, int new_state) override;
  void PlayStateChanged(int old_state, int new_state) override;

  // ---- Main window
  void UpdateTitle();
  void ApplyCaptionOn();
  // The chosen class index from the class combo (the preview's language).
  void RecomputeChosenClass();
  void ShowStatus();  // "Line: %d, Contents: %d bytes"
  bool QueryClose();

  // ---- Caption file open and save
  // Loads bytes read from path into the editor and the document, decoded in
  // the chosen encoding (Auto: the detected one); the editor and the document
  // then speak that encoding's code page, and saving writes it again.
  void SMIOpen(const std::string& path, const std::string& bytes,
               EncodingChoice choice = EncodingChoice::Auto);
  bool SMISave(const std::string& path);
  void OpenCaption();
  void AutoOpenCaption(const std::string& path);
  bool SaveCaption();
  bool SaveCaptionAs(const std::string& initial_path);
  void NewCaption();
  // "인코딩": reads the caption file again in the chosen encoding, after the
  // same question about unsaved changes as opening another file.
  void ReopenCaption(EncodingChoice choice);
  // "인코딩": the next save writes the text in this encoding. A text that
  // the encoding cannot hold is refused then, with the offer of UTF-8.
  void ConvertCaption(CaptionEncoding encoding, bool bom);

  // ---- Media player
  void OpenMedia();
  void CloseMedia();
  void SeekBack();
  void SeekForward();
  void TogglePause();

  // ---- Stamping, capture list, keys and tools
  void InsertSync();
  void InsertClearSync();
  void DeleteCurrentLine();
  std::string CurrentClassName() const;
  void CaptureMovieLength();
  void ShowHotkeyInfo();
  void TimeConvertDialog();
  void OpenSyncUtility();
  void CheckSyncCommand();
  void ExportSrtCommand();
  void ImportCaptionsCommand();
  void SplitByLanguageCommand();
  void PlainTextCommand();
  void RemoveShortClearsCommand();
  void EditSettings();

  // ---- Editor aids
  void ShowFind();
  void ShowReplace();
  void InsertHeader();
  void ReflectEdits();
  void ChangeEditorFont();
  void OpenHelp();
  void OpenHomePage();

  // ---- State, for the window layer and tests
  int open_state() const { return open_state_; }
  int play_state() const { return play_state_; }
  const std::string& caption_path() const { return caption_path_; }
  const std::string& media_path() const { return media_path_; }
  int chosen_class_index() const { return chosen_class_index_; }
  bool caption_on() const { return caption_on_; }
  const SamiDocument& document() const { return document_; }
  Settings& settings() { return settings_; }
  const CaptureList& capture_list() const { return capture_list_; }
  const KeyHandlerTable& key_handlers() const { return key_handlers_; }
  const std::string& last_movie_path() const { return last_movie_path_; }
  CaptionEncoding caption_encoding() const { return caption_encoding_; }
  bool caption_bom() const { return caption_bom_; }
  CaptionEncoding save_encoding() const { return save_encoding_; }
  bool save_bom() const { return save_bom_; }

 private:
  // Holds the open state at 0 for a scope, so the preview timer and the
  // position keys stand still while the editor text and the document change,
  // and restores it on every way out.
  class OpenStatePause {
   public:
    explicit OpenStatePause(int& state) : state_(state), saved_(state) { state_ = 0; }
    ~OpenStatePause() { state_ = saved_; }
    OpenStatePause(const OpenStatePause&) = delete;
    OpenStatePause& operator=(const OpenStatePause&) = delete;

   private:
    int& state_;
    int saved_;
  };

  void RunKeyAction(KeyAction action);
  bool HandleAltKey(const KeyEvent& event);
  bool HandleCtrlKey(const KeyEvent& event);
  void MoveCaptionToMovie();
  void StoreCaptureRow(int row, int32_t value);
  void ShowCaptureRow(int row);
  // The current time of the position commands: DELAY + position in ms.
  int32_t CurrentTime() const;

  // The save question; false when the operation is to be abandoned.
  bool AskToSave(std::string_view question);
  void RefillClassCombo();
  void LoadEditorAndDocument(const std::string& bytes, const CodePage& cp);
  void FindNext(const FindReplaceRequest& request);
  void ReplaceAll(const FindReplaceRequest& request);
  void ScrollToEleventhLine(long line);
  void LogSaveFailure(const std::string& message);
  // A message box with the program's name as its caption.
  MessageAnswer Message(const std::string& text, MessageIcon icon, MessageButtons buttons);
  void ShowError(const std::string& message);
  void ApplyLineBreakForm();
  // The saved document's bytes in the save encoding; after a refusal, asks
  // whether to write UTF-8 instead. Nothing when no bytes are to be written.
  std::optional<std::string> EncodeForSave(const std::string& working);
  // The encoding field of the status line: "UTF-8", or "UTF-8 -> CP949"
  // while a conversion waits for the next save.
  std::string EncodingStatusText() const;
  // A CP949 text of the program or a dialog in the editor's code page.
  std::string ForEditor(const std::string& cp949) const;
  ToolContext MakeToolContext();
  // After every change of the document's nodes: the preview's sync index
  // must be rebuilt.
  void DocumentChanged() { sync_index_.Reset(); }

  CCadenzioApp& app_;
  TextEditor& editor_;
  MediaPlayer& player_;
  Dialogs& dialogs_;
  MainWindowView& view_;
  CaptionFileSystem default_files_;
  CaptionFileSystem& files_;

  int play_state_ = 8;
  int open_state_ = kOpenStateClosed;
  SamiDocument document_;
  std::string caption_path_;
  // The caption file's encoding, which the editor's and the document's code
  // page follow, and the one the next save writes (different only after a
  // conversion was chosen).
  CaptionEncoding caption_encoding_ = CaptionEncoding::Cp949;
  bool caption_bom_ = false;
  CaptionEncoding save_encoding_ = CaptionEncoding::Cp949;
  bool save_bom_ = false;
  std::string media_path_;
  int chosen_class_index_ = 0;
  bool caption_on_ = false;
  Settings settings_;
  CaptureList capture_list_;
  KeyHandlerTable key_handlers_ = DefaultKeyHandlers();

  // The movie open dialog starts here; kept for the whole run.
  std::string last_movie_path_;
  // The preview: the sync start shown last and the renderer's RTF text.
  int32_t last_shown_start_ = kInitialShownSyncStart;
  std::string preview_rtf_;
  CaptionSyncIndex sync_index_;
};

}  // namespace cadenzio
