// The main window's own controls and the windows it opens, as the main
// window's logic (CCadenzioDlg) sees them. Texts are CP949 bytes; paths are
// native file-system bytes.
//
// Implemented by the Qt main window and by MemoryMainWindowView for tests. The
// caption editor, the player and the message boxes are separate interfaces
// (TextEditor, MediaPlayer, Dialogs).
#pragma once

#include <optional>
#include <string>

namespace cadenzio {

struct Settings;

// The answer of the title and frame-rate question of the import.
struct TitleAndRate {
  std::string title;
  std::string rate;  // the frame rate text, checked to lie in 10.0..50.0
};

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  virtual void SetTitle(const std::string& title) = 0;
  virtual void SetStatusText(const std::string& text) = 0;
  // The caption's encoding, in a field of the status line of its own (ASCII).
  virtual void SetEncodingText(const std::string& text) = 0;
  // Replaces the preview box's content with the renderer's RTF text; an empty
  // text empties the box.
  virtual void SetPreviewRtf(const std::string& rtf) = 0;

  // The class combo: an editable drop-down list.
  virtual void ClearClassCombo() = 0;
  virtual void InsertClassAtTop(const std::string& name) = 0;
  virtual int ClassComboCount() const = 0;
  virtual int ClassComboSelection() const = 0;  // -1 when no item is selected
  virtual void SetClassComboSelection(int index) = 0;
  virtual std::string ClassComboItem(int index) const = 0;
  virtual std::string ClassComboText() const = 0;  // the text in its edit field
  virtual void EnableClassCombo(bool enabled) = 0;

  // The caption-on box ("자막ON").
  virtual bool CaptionOnChecked() const = 0;
  virtual void SetCaptionOnChecked(bool checked) = 0;

  // The capture list: shows row (0..9) with its value and key label. The
  // values live in the logic's CaptureList; the view only mirrors them and
  // reports label edits back.
  virtual void ShowCaptureRow(int row, const std::string& value, const std::string& label) = 0;

  // The 25 ms refresh timer; each tick calls CCadenzioDlg::OnTimer.
  virtual void StartRefreshTimer() = 0;
  virtual void StopRefreshTimer() = 0;
  virtual void FreezePainting(bool frozen) = 0;
  // Closes the main window; the program ends.
  virtual void EndDialog() = 0;

  // Windows the main window opens.
  virtual void ShowTextView(const std::string& heading, const std::string& body) = 0;  // modal
  virtual void ShowTimeConverter() = 0;                                                // modal
  // Modal; the rate field is enabled only when want_rate. Nothing on Cancel.
  virtual std::optional<TitleAndRate> AskTitleAndRate(bool want_rate) = 0;
  virtual void ShowReport(const std::string& report) = 0;  // modeless, a new one each time
  virtual void EditSettings(Settings& settings) = 0;        // the settings dialog, modal
  // Modeless find (or find and replace) dialog, created anew; its requests
  // come back through CCadenzioDlg::OnFindReplace.
  virtual void ShowFindReplace(bool replace) = 0;
  // The font dialog; the chosen face, or nothing when cancelled.
  virtual std::optional<std::string> ChooseFontFace(const std::string& current_face) = 0;
  // Creates the sync utility window unless it exists, its first file field
  // set to caption_path.
  virtual void OpenSyncUtility(const std::string& caption_path) = 0;
  // Shows the caption editor's popup menu (kEditorPopupMenu of command_ids.h)
  // at a point in editor client coordinates; the chosen command goes to
  // CCadenzioDlg::OnCommand.
  virtual void ShowEditorPopupMenu(int x, int y) = 0;
};

}  // namespace cadenzio
