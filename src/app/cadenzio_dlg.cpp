// The main window: construction, initialisation, layout, title, closing and
// the dispatch of keys and commands. The operations live beside it in
// caption_files.cpp, media_commands.cpp and editor_aids.cpp.
#include "app/cadenzio_dlg.h"

#include <cctype>
#include <cstdio>

#include "app/command_ids.h"
#include "app/cadenzio_dlg_support.h"
#include "app/sync_stamping.h"
#include "tools/sync_line.h"

namespace cadenzio {

MainWindowLayout LayoutMainWindow(int width, int height) {
  const int half = width / 2;
  const int player_height = (3 * height) / 5;
  const int lower = (2 * height) / 5;
  const int preview_height = lower / 3;
  const int list_y = player_height + preview_height;
  const int list_width = half * 2 / 3;
  MainWindowLayout layout;
  layout.player = {0, 0, half, player_height};
  layout.preview = {0, player_height, half, preview_height};
  layout.capture_list = {0, list_y, list_width, lower - preview_height};
  layout.caption_on = {list_width + 8, list_y, 70, 20};
  layout.class_combo = {list_width + 8, list_y + 24, 70, 20};
  layout.editor = {half, 0, half, height - 20};
  layout.status = {half, height - 20, half, 20};
  return layout;
}

CCadenzioDlg::CCadenzioDlg(CCadenzioApp& app, TextEditor& editor, MediaPlayer& player,
                           Dialogs& dialogs, MainWindowView& view, CaptionFileSystem* files)
    : app_(app),
      editor_(editor),
      player_(player),
      dialogs_(dialogs),
      view_(view),
      files_(files ? *files : default_files_) {
  player_.SetEvents(this);
}

CCadenzioDlg::~CCadenzioDlg() { player_.SetEvents(nullptr); }

namespace {

bool IsCaptionArgument(const std::string& path) {
  std::string ext = ExtensionOf(path);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".smi" || ext == ".txt";
}

}  // namespace

void CCadenzioDlg::Initialise(const std::vector<std::string>& args) {
  ApplyCaptionOn();
  play_state_ = 8;
  open_state_ = kOpenStateClosed;
  chosen_class_index_ = 0;
  editor_.SetTextLimit(kEditorTextLimit);
  editor_.Focus();

  // The capture list: presets from the settings file, then shown row by row.
  if (FileExists(app_.settings_path())) capture_list_.LoadPresets(app_.settings_path());
  for (int row = 0; row < CaptureList::kRows; ++row) ShowCaptureRow(row);

  settings_ = Settings::Load(app_.settings_path());
  UpdateTitle();

  // Up to two files, a movie and a caption, in either order.
  std::string movie, caption;
  if (args.size() == 1) {
    if (IsCaptionArgument(args[0])) {
      caption = args[0];
    } else {
      movie = args[0];
      caption = ReplaceExtension(args[0], ".smi");
    }
  } else if (args.size() >= 2) {
    if (!IsCaptionArgument(args[0])) {
      movie = args[0];
      caption = args[1];
    } else {
      caption = args[0];
      if (!IsCaptionArgument(args[1])) movie = args[1];
    }
  }
  if (!movie.empty() && FileExists(movie)) {
    player_.Open(movie);
    media_path_ = movie;
    UpdateTitle();
    view_.StartRefreshTimer();
  }
  std::string bytes;
  if (!caption.empty() && files_.ReadFile(caption, bytes)) SMIOpen(caption, bytes);

  key_handlers_ = LoadKeyHandlers(app_.settings_path());
}

void CCadenzioDlg::UpdateTitle() {
  const std::string movie = media_path_.empty() ? "NO MOVIE" : DisplayFileName(media_path_);
  const std::string caption = caption_path_.empty() ? "New SMI" : DisplayFileName(caption_path_);
  view_.SetTitle(Format(" %s [\xB5\xBF\xBF\xB5\xBB\xF3 - %s] [\xC0\xDA\xB8\xB7 - %s]",  // 동영상, 자막
                        std::string(kBaseTitle).c_str(), movie.c_str(), caption.c_str()));
}

void CCadenzioDlg::ApplyCaptionOn() {
  caption_on_ = view_.CaptionOnChecked();
  view_.EnableClassCombo(caption_on_);
  if (caption_on_) RecomputeChosenClass();
  editor_.Focus();
}

void CCadenzioDlg::RecomputeChosenClass() {
  const ClassChoice choice =
      ChooseClassIndex(document_, view_.ClassComboSelection(), view_.ClassComboCount(),
                       [this](int i) { return view_.ClassComboItem(i); });
  if (choice.select_item >= 0) view_.SetClassComboSelection(choice.select_item);
  chosen_class_index_ = choice.class_index;
  if (choice.focus_editor) editor_.Focus();
}

void CCadenzioDlg::OnCaptionOnClicked() { ApplyCaptionOn(); }

void CCadenzioDlg::OnClassComboChanged() { RecomputeChosenClass(); }

void CCadenzioDlg::ShowStatus() {
  view_.SetStatusText(Format("Line: %ld, Contents: %ld bytes", editor_.LineCount(),
                             editor_.TextLength()));
  view_.SetEncodingText(EncodingStatusText());
}

void CCadenzioDlg::OnClose() {
  if (QueryClose()) view_.EndDialog();
}

// ---- Keys -----------------------------------------------------------------

bool CCadenzioDlg::PreTranslateMessage(const KeyEvent& event) {
  if (event.message == KeyMessage::KeyDown && event.key == kKeyF1 &&
      event.target == KeyTarget::Player) {
    ShowHotkeyInfo();
    return true;
  }
  if (event.message == KeyMessage::RightButtonUp && event.target == KeyTarget::Editor) {
    view_.ShowEditorPopupMenu(event.x, event.y);
    return true;
  }
  if (event.message == KeyMessage::SysKeyDown && event.alt) return HandleAltKey(event);
  if (event.message == KeyMessage::KeyDown && event.ctrl && HandleCtrlKey(event)) return true;
  if (event.message == KeyMessage::KeyDown && event.key >= kKeyF1 && event.key <= kKeyF12) {
    const int number = event.key - kKeyF1 + 1;
    if (number <= 9) {
      RunKeyAction(key_handlers_[static_cast<std::size_t>(number - 1)]);
      return true;
    }
    if (number == 11) {
      CheckSyncCommand();
      return true;
    }
    if (number == 12) {
      OpenSyncUtility();
      return true;
    }
  }
  return false;  // F10 and every other key: the controls' own handling
}

bool CCadenzioDlg::HandleAltKey(const KeyEvent& event) {
  switch (event.key) {
    case 'C': CloseMedia(); return true;
    case 'O': OpenMedia(); return true;
    case 'X': NewCaption(); return true;
    default: break;
  }
  const int row = CaptureList::RowForDigit(event.key);
  if (row < 0) return false;
  if (!event.shift) {
    const long start = ShiftSyncAtCaret(editor_, dialogs_, 0);
    if (start >= 0) StoreCaptureRow(row, static_cast<int32_t>(start));
  } else if (open_state_ == kOpenStateOpen) {
    StoreCaptureRow(row, CurrentTime());
  }
  return true;
}

bool CCadenzioDlg::HandleCtrlKey(const KeyEvent& event) {
  switch (event.key) {
    case kKeyUp: ShiftSyncAtCaret(editor_, dialogs_, settings_.add_del); return true;
    case kKeyDown: ShiftSyncAtCaret(editor_, dialogs_, -static_cast<long>(settings_.add_del)); return true;
    case 'A': SaveCaptionAs(caption_path_); return true;
    case 'F': ShowFind(); return true;
    case 'O': OpenCaption(); return true;
    case 'R': ShowReplace(); return true;
    case 'S': SaveCaption(); return true;
    case 'Y': DeleteCurrentLine(); return true;
    case 'J':
      if (open_state_ != kOpenStateOpen) return true;
      if (event.shift) {
        MoveCaptionToMovie();
      } else {
        const long start = ShiftSyncAtCaret(editor_, dialogs_, 0);
        // Integer division: the movie goes to the whole second at or before the sync.
        if (start >= 0) player_.SetCurrentPosition(static_cast<double>(start / 1000));
      }
      return true;
    default: break;
  }
  const int row = CaptureList::RowForDigit(event.key);
  if (row < 0) return false;
  editor_.ReplaceSelection(capture_list_.CaptureRowText(row), true);
  return true;
}

// CTRL+SHIFT+J: the lowest line whose sync lies in (0, now] is selected and
// scrolled to the top. When no line qualifies nothing changes.
void CCadenzioDlg::MoveCaptionToMovie() {
  const int32_t now = CurrentTime();
  for (long line = editor_.LineCount() - 1; line >= 0; --line) {
    const long start = ReadSyncStart(editor_.GetLine(line, kStampLineLimit));
    if (start <= 0 || start > now) continue;
    const long first = editor_.LineIndex(line);
    const long next = editor_.LineIndex(line + 1);
    const long end = next >= 0 ? next - 1 : first + editor_.LineLength(line);
    editor_.SetSelection({first, end});
    editor_.LineScroll(line - editor_.FirstVisibleLine());
    editor_.Focus();
    return;
  }
}

void CCadenzioDlg::RunKeyAction(KeyAction action) {
  switch (action) {
    case KeyAction::ShowHotkeyInfo: ShowHotkeyInfo(); break;
    case KeyAction::InsertSync: InsertSync(); break;
    case KeyAction::InsertClearSync: InsertClearSync(); break;
    case KeyAction::SeekBack: SeekBack(); break;
    case KeyAction::SeekForward: SeekForward(); break;
    case KeyAction::TogglePause: TogglePause(); break;
    case KeyAction::CaptureMovieLength: CaptureMovieLength(); break;
    case KeyAction::TimeConvertDialog: TimeConvertDialog(); break;
    case KeyAction::InsertHeader: InsertHeader(); break;
  }
}

void CCadenzioDlg::OnCommand(int command_id) {
  switch (command_id) {
    case kCmdOpenMedia: OpenMedia(); break;
    case kCmdCloseMedia: CloseMedia(); break;
    case kCmdSeekBack: SeekBack(); break;
    case kCmdSeekForward: SeekForward(); break;
    case kCmdTogglePause: TogglePause(); break;
    case kCmdExit: OnClose(); break;
    case kCmdOpenCaption: OpenCaption(); break;
    case kCmdSaveCaption: SaveCaption(); break;
    case kCmdSaveCaptionAs: SaveCaptionAs(caption_path_); break;
    case kCmdNewCaption: NewCaption(); break;
    case kCmdInsertSync: InsertSync(); break;
    case kCmdInsertClearSync: InsertClearSync(); break;
    case kCmdInsertHeader: InsertHeader(); break;
    case kCmdFind: ShowFind(); break;
    case kCmdReplace: ShowReplace(); break;
    case kCmdReopenAuto: ReopenCaption(EncodingChoice::Auto); break;
    case kCmdReopenCp949: ReopenCaption(EncodingChoice::Cp949); break;
    case kCmdReopenUtf8: ReopenCaption(EncodingChoice::Utf8); break;
    case kCmdReopenUtf16Le: ReopenCaption(EncodingChoice::Utf16Le); break;
    case kCmdReopenUtf16Be: ReopenCaption(EncodingChoice::Utf16Be); break;
    case kCmdConvertCp949: ConvertCaption(CaptionEncoding::Cp949, false); break;
    case kCmdConvertUtf8: ConvertCaption(CaptionEncoding::Utf8, false); break;
    case kCmdConvertUtf8Bom: ConvertCaption(CaptionEncoding::Utf8, true); break;
    case kCmdConvertUtf16Le: ConvertCaption(CaptionEncoding::Utf16Le, true); break;
    case kCmdConvertUtf16Be: ConvertCaption(CaptionEncoding::Utf16Be, true); break;
    case kCmdCheckSync: CheckSyncCommand(); break;
    case kCmdSyncUtility: OpenSyncUtility(); break;
    case kCmdImportCaptions: ImportCaptionsCommand(); break;
    case kCmdExportSrt: ExportSrtCommand(); break;
    case kCmdSplitByLanguage: SplitByLanguageCommand(); break;
    case kCmdPlainText: PlainTextCommand(); break;
    case kCmdRemoveShortClears: RemoveShortClearsCommand(); break;
    case kCmdCaptureMovieLength: CaptureMovieLength(); break;
    case kCmdTimeConvert: TimeConvertDialog(); break;
    case kCmdSettings: EditSettings(); break;
    case kCmdOpenHelp: OpenHelp(); break;
    case kCmdOpenHomePage: OpenHomePage(); break;
    case kCmdHotkeyInfo: ShowHotkeyInfo(); break;
    case kCmdEditCopy: editor_.Copy(); break;
    case kCmdEditPaste: editor_.Paste(); break;
    case kCmdEditCut: editor_.Cut(); break;
    case kCmdDeleteLine: DeleteCurrentLine(); break;
    case kCmdReflectEdits: ReflectEdits(); break;
    case kCmdChangeFont: ChangeEditorFont(); break;
    default: break;
  }
}

// ---- Stamping, capture list and the small commands -------------------------

int32_t CCadenzioDlg::CurrentTime() const {
  return StampTime(player_.CurrentPosition(), settings_.delay);
}

std::string CCadenzioDlg::CurrentClassName() const {
  return cadenzio::CurrentClassName(view_.ClassComboText());
}

void CCadenzioDlg::InsertSync() {
  if (open_state_ != kOpenStateOpen) return;
  cadenzio::InsertSync(editor_, CurrentTime(), CurrentClassName());
  if (settings_.ting) dialogs_.Beep();
}

void CCadenzioDlg::InsertClearSync() {
  if (open_state_ != kOpenStateOpen) return;
  cadenzio::InsertClearSync(editor_, CurrentTime(), CurrentClassName());
  if (settings_.ting) dialogs_.Beep();
}

void CCadenzioDlg::DeleteCurrentLine() { cadenzio::DeleteCurrentLine(editor_); }

void CCadenzioDlg::ShowCaptureRow(int row) {
  view_.ShowCaptureRow(row, capture_list_.CaptureRowText(row), capture_list_.RowLabel(row));
}

// A written row can change a derived row, so those are shown again too.
void CCadenzioDlg::StoreCaptureRow(int row, int32_t value) {
  capture_list_.SetCaptureRow(row, value);
  ShowCaptureRow(row);
  ShowCaptureRow(4);
  ShowCaptureRow(5);
}

void CCadenzioDlg::OnCaptureLabelEdited(int row, std::optional<std::string> text) {
  capture_list_.EndLabelEdit(row, std::move(text));
  ShowCaptureRow(row);
  ShowCaptureRow(4);
  ShowCaptureRow(5);
  editor_.Focus();
}

void CCadenzioDlg::CaptureMovieLength() {
  if (open_state_ != kOpenStateOpen) return;
  const auto length = static_cast<int32_t>(player_.Duration() * 1000.0);
  capture_list_.SetRowText(6, Format("%d", length));
  ShowCaptureRow(6);
}

void CCadenzioDlg::ShowHotkeyInfo() {
  dialogs_.Beep();
  view_.ShowTextView(std::string(kHotkeyHeading), HotkeyText());
}

void CCadenzioDlg::TimeConvertDialog() { view_.ShowTimeConverter(); }

void CCadenzioDlg::OpenSyncUtility() { view_.OpenSyncUtility(caption_path_); }

void CCadenzioDlg::EditSettings() { view_.EditSettings(settings_); }

// ---- Tools -----------------------------------------------------------------

ToolContext CCadenzioDlg::MakeToolContext() {
  return ToolContext{
      .editor = editor_,
      .dialogs = dialogs_,
      .view = view_,
      .settings = settings_,
      .document = document_,
      .caption_path = caption_path_,
      .log_path = app_.log_path(),
      .open_state = open_state_,
      .save_caption = [this] { return SMISave(caption_path_); },
      .open_caption_text = [this](const std::string& path, const std::string& file_bytes,
                                  CaptionEncoding encoding) {
        SMIOpen(path, file_bytes, ChoiceOf(encoding));
      },
      .update_title = [this] { UpdateTitle(); },
      .apply_caption_on = [this] { ApplyCaptionOn(); },
      .show_status = [this] { ShowStatus(); },
      .encoding = caption_encoding_,
      .bom = caption_bom_,
  };
}

// The tools may rebuild the document, so the preview's index follows.
void CCadenzioDlg::CheckSyncCommand() {
  ToolContext context = MakeToolContext();
  cadenzio::CheckSyncCommand(context);
}

void CCadenzioDlg::ExportSrtCommand() {
  ToolContext context = MakeToolContext();
  cadenzio::ExportSrtCommand(context);
}

void CCadenzioDlg::ImportCaptionsCommand() {
  ToolContext context = MakeToolContext();
  cadenzio::ImportCaptionsCommand(context);
  DocumentChanged();
}

void CCadenzioDlg::SplitByLanguageCommand() {
  ToolContext context = MakeToolContext();
  cadenzio::SplitByLanguageCommand(context);
}

void CCadenzioDlg::PlainTextCommand() {
  ToolContext context = MakeToolContext();
  cadenzio::PlainTextCommand(context);
  DocumentChanged();
}

void CCadenzioDlg::RemoveShortClearsCommand() {
  ToolContext context = MakeToolContext();
  cadenzio::RemoveShortClearsCommand(context);
  DocumentChanged();
}

}  // namespace cadenzio
