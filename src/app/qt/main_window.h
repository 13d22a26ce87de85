// The main window on Qt: the menu bar, the movie player on the left with the
// caption preview, the capture list, the caption-on box and the class combo
// under it, the caption editor and the status line on the right. It owns the
// widgets and the main window's logic (CCadenzioDlg), shows what the logic
// asks through MainWindowView, and forwards every menu command, key, timer
// tick, edit and close request to the logic. It decides nothing itself, but
// for telling the user that a movie could not be played, as a player's own
// error box would.
//
// Keys reach the logic before any control: an application-wide event filter
// translates the key presses addressed to this window's widgets into
// KeyEvents and swallows those the logic consumes.
//
// Lifetime: one instance for the run, on the user-interface thread; app must
// outlive it. The window ends only through the logic's QueryClose; once
// closed it is finished (the logic and the player are gone) and is not shown
// again.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cadenzio_dlg.h"
#include "app/main_window_view.h"
#include "app/qt/sync_utility_dialog.h"
#include "platform/qt/mpv_player.h"
#include "platform/qt/qt_dialogs.h"

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QTableWidget;
class QTextEdit;

namespace cadenzio {

class QtEditor;

class CadenzioWindow : public QMainWindow, public MainWindowView {
  Q_OBJECT

 public:
  // Builds the window and its controls; nothing is shown or opened yet.
  explicit CadenzioWindow(CCadenzioApp& app, MpvPlayerOptions player_options = {});
  ~CadenzioWindow() override;
  CadenzioWindow(const CadenzioWindow&) = delete;
  CadenzioWindow& operator=(const CadenzioWindow&) = delete;

  // Shows the window at its start placement (800 x 600 at the screen's
  // corner, maximised on a screen 800 pixels wide or less) and runs the
  // logic's initialisation with the command-line arguments (without the
  // program name): the movie and the caption file in either order.
  void Start(const std::vector<std::string>& args);

  // ---- MainWindowView
  void SetTitle(const std::string& title) override;
  void SetStatusText(const std::string& text) override;
  void SetEncodingText(const std::string& text) override;
  void SetPreviewRtf(const std::string& rtf) override;
  void ClearClassCombo() override;
  void InsertClassAtTop(const std::string& name) override;
  int ClassComboCount() const override;
  int ClassComboSelection() const override;
  void SetClassComboSelection(int index) override;
  std::string ClassComboItem(int index) const override;
  std::string ClassComboText() const override;
  void EnableClassCombo(bool enabled) override;
  bool CaptionOnChecked() const override;
  void SetCaptionOnChecked(bool checked) override;
  void ShowCaptureRow(int row, const std::string& value, const std::string& label) override;
  void StartRefreshTimer() override;
  void StopRefreshTimer() override;
  void FreezePainting(bool frozen) override;
  void EndDialog() override;
  void ShowTextView(const std::string& heading, const std::string& body) override;
  void ShowTimeConverter() override;
  std::optional<TitleAndRate> AskTitleAndRate(bool want_rate) override;
  void ShowReport(const std::string& report) override;
  void EditSettings(Settings& settings) override;
  void ShowFindReplace(bool replace) override;
  std::optional<std::string> ChooseFontFace(const std::string& current_face) override;
  void OpenSyncUtility(const std::string& caption_path) override;
  void ShowEditorPopupMenu(int x, int y) override;

  // ---- For the window tests; the logic and the player only until the
  // window has closed.
  CCadenzioDlg& dlg() { return *dlg_; }
  QtEditor& editor() { return *editor_; }
  MpvPlayer& player() { return *player_; }
  QWidget& client_area() { return *client_; }
  QTextEdit& preview_box() { return *preview_; }
  QTableWidget& capture_list() { return *capture_list_; }
  QCheckBox& caption_on_box() { return *caption_on_; }
  QComboBox& class_combo() { return *class_combo_; }
  QLabel& status_line() { return *status_; }
  QLabel& encoding_status() { return *encoding_status_; }
  bool refresh_timer_running() const { return refresh_timer_.isActive(); }
  // The sync utility window while it is open, else null.
  SyncUtilityDialog* sync_utility() const { return sync_utility_.data(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // After the accepted close: the logic, the player and the windows opened
  // from here go; the window is finished.
  void ShutDown();
  void BuildMenus();
  void BuildControls();
  void ConnectControls();
  void LayOutClient();
  void FitCaptureColumns();
  // The capture list's editor closed: the row's new text, or nothing when the
  // edit was cancelled.
  void CaptureEditClosed(bool cancelled);
  // Translates a key press for the logic; false when the key is none it knows.
  bool TranslateKey(const QKeyEvent& key, QObject* receiver, KeyEvent& out) const;
  bool IsOwnWidget(QObject* object) const;
  void ShowMovieFailure();

  CCadenzioApp& app_;
  QtDialogs dialogs_;

  // Children of the window (Qt owns them); created before the logic.
  QWidget* client_ = nullptr;
  MpvPlayer* player_ = nullptr;
  QTextEdit* preview_ = nullptr;
  QTableWidget* capture_list_ = nullptr;
  QCheckBox* caption_on_ = nullptr;
  QComboBox* class_combo_ = nullptr;
  QtEditor* editor_ = nullptr;
  QLabel* status_ = nullptr;
  // The caption's encoding, right-aligned over the status line (its child).
  QLabel* encoding_status_ = nullptr;

  QTimer refresh_timer_;
  // Between the player and the logic: reports a movie that could not be
  // played, as a stand-alone player shows its own error.
  std::unique_ptr<PlayerEvents> player_watch_;
  QPointer<SyncUtilityDialog> sync_utility_;
  // The close request is being put to the logic; EndDialog then only says yes.
  bool asking_to_close_ = false;
  bool ending_ = false;

  // Declared last: destroyed first, while the widgets it refers to still exist.
  std::unique_ptr<CCadenzioDlg> dlg_;
};

}  // namespace cadenzio
