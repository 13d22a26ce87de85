// The main window's halves of the caption tools: where their input comes
// from, their questions and file dialogs, their messages and timings, and
// what they change in the main window. The work itself is done by the
// document operations of src/tools.
//
// Input: the editor's text when it is modified, otherwise the caption file.
// Output files are written through a temporary file renamed into place, so a
// failed write never destroys a file that was there.
#pragma once

#include <functional>
#include <string>

#include "app/main_window_view.h"
#include "platform/dialogs.h"
#include "platform/editor.h"
#include "sami/sami_document.h"
#include "settings/caption_encoding.h"
#include "settings/settings.h"

namespace cadenzio {

// What a tool reaches of the main window. The references live in the main
// window (CCadenzioDlg) and outlive the command.
struct ToolContext {
  TextEditor& editor;
  Dialogs& dialogs;
  MainWindowView& view;
  const Settings& settings;
  // The main window's own document: the plain text and short-clear commands
  // rebuild it (the preview draws from it).
  SamiDocument& document;
  std::string& caption_path;  // the plain text command gives it ".txt"
  const std::string& log_path;
  // The player's open state (6 = a medium is open); set to 0 while a command
  // rebuilds the document and the editor text, so the timer stands still.
  int& open_state;

  // SMISave with the caption path, for the import's "save first?" question;
  // false when the save failed. Unset: the text is not saved and the import
  // stops, as after a failed save.
  std::function<bool()> save_caption;
  // SMIOpen of a file's bytes that are no file yet, read in encoding: the
  // text becomes the editor's (unmodified), the path the caption path; the
  // document, class combo and title follow as after a load. Unset: the editor
  // text and caption path are set directly.
  std::function<void(const std::string& path, const std::string& file_bytes,
                     CaptionEncoding encoding)>
      open_caption_text;
  // The window title after the caption path changed.
  std::function<void()> update_title;
  // ApplyCaptionOn after the caption-on box was unticked.
  std::function<void()> apply_caption_on;
  // The status line after the editor text was replaced. Unset: the view's
  // status text becomes "Line: %d, Contents: %d bytes".
  std::function<void()> show_status;
  // The caption file's encoding: the saved file is read in it, the tools
  // analyse in its working code page (the editor's), and the files they
  // write (SRT export, split) are in it too, with a BOM when it had one.
  CaptionEncoding encoding = CaptionEncoding::Cp949;
  bool bom = false;
};

// F11: the sync error check. The report (with the completion line and the
// time taken) goes to a new modeless report window.
void CheckSyncCommand(ToolContext& context);

// Export to SubRip: asks for the SRT file name (movie.smi proposes movie.srt).
void ExportSrtCommand(ToolContext& context);

// Import of an SRT, SUB or SUBRIP file: offers to save unsaved text, asks
// for the file and for a title (and the frame rate for SUB), and loads the
// converted SAMI text as movie.smi beside the chosen file, unmodified and
// not yet written.
void ImportCaptionsCommand(ToolContext& context);

// Split by language: asks for the base name and writes one file per class.
// The editor and the caption path are not changed.
void SplitByLanguageCommand(ToolContext& context);

// Plain text: only on saved text. The editor gets the bare caption text, the
// caption path the extension ".txt", and the document, class combo and
// caption preview are emptied.
void PlainTextCommand(ToolContext& context);

// Removal of clears that last shorter than DELCLEAR: rebuilds the document,
// and the editor text when any clear went, and reports how many went.
void RemoveShortClearsCommand(ToolContext& context);

}  // namespace cadenzio
