// Opening, saving and clearing the caption file, and the questions about
// unsaved changes before each and before the program ends.
//
// Saving runs the editor text through a work file and the analyser into the
// main window's document, writes the document and reads the file back, so the
// editor always shows what is on disk. Unlike a plain truncating write, the
// new content goes to a file beside the caption that is renamed over it only
// once it is complete: a failed save never costs the user the file that was
// there, and the editor keeps its text.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <future>

#include "app/cadenzio_dlg.h"
#include "app/cadenzio_dlg_support.h"
#include "app/product.h"
#include "pattern/pattern_matcher.h"

namespace cadenzio {
namespace {


// " 수정중인 데이타를 저장하시겠습니까?"
constexpr char kSaveQuestion[] =
    " \xBC\xF6\xC1\xA4\xC1\xDF\xC0\xCE \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 "
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "동영상과 같은 이름의 자막이 존재합니다.\r\n수정중인 데이타를 저장하시겠습니까?\r\n\r\n
//  (예 = 저장&자동열기 / 아니요 = 저장안함&자동열기 / 취소 = 열지않기)"
constexpr char kSameNameQuestion[] =
    "\xB5\xBF\xBF\xB5\xBB\xF3\xB0\xFA \xB0\xB0\xC0\xBA \xC0\xCC\xB8\xA7\xC0\xC7 "
    "\xC0\xDA\xB8\xB7\xC0\xCC \xC1\xB8\xC0\xE7\xC7\xD5\xB4\xCF\xB4\xD9.\r\n"
    "\xBC\xF6\xC1\xA4\xC1\xDF\xC0\xCE \xB5\xA5\xC0\xCC\xC5\xB8\xB8\xA6 "
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?\r\n\r\n"
    "(\xBF\xB9 = \xC0\xFA\xC0\xE5&\xC0\xDA\xB5\xBF\xBF\xAD\xB1\xE2 / "
    "\xBE\xC6\xB4\xCF\xBF\xE4 = \xC0\xFA\xC0\xE5\xBE\xC8\xC7\xD4&\xC0\xDA\xB5\xBF\xBF\xAD\xB1\xE2 / "
    "\xC3\xEB\xBC\xD2 = \xBF\xAD\xC1\xF6\xBE\xCA\xB1\xE2)";
// "수정된 자막을 저장하시겠습니까?"
constexpr char kCloseQuestion[] =
    "\xBC\xF6\xC1\xA4\xB5\xC8 \xC0\xDA\xB8\xB7\xC0\xBB "
    "\xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";
// "화일을 읽을수 없습니다."
constexpr char kCannotRead[] =
    "\xC8\xAD\xC0\xCF\xC0\xBB \xC0\xD0\xC0\xBB\xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "SMIOpen() 우잉... 다 못 읽었다네.. 새로 읽으세용\r\n"
constexpr char kTooLongToOpen[] =
    "SMIOpen() \xBF\xEC\xC0\xD7... \xB4\xD9 \xB8\xF8 \xC0\xD0\xBE\xFA\xB4\xD9\xB3\xD7.. "
    "\xBB\xF5\xB7\xCE \xC0\xD0\xC0\xB8\xBC\xBC\xBF\xEB\r\n";
// "SMISave() - 임시화일 생성실패"
constexpr char kNoWorkFile[] =
    "SMISave() - \xC0\xD3\xBD\xC3\xC8\xAD\xC0\xCF \xBB\xFD\xBC\xBA\xBD\xC7\xC6\xD0";

// "로 저장할 수 없습니다." after the encoding's name
constexpr char kCannotEncodeSuffix[] =
    "\xB7\xCE \xC0\xFA\xC0\xE5\xC7\xD2 \xBC\xF6 \xBE\xF8\xBD\xC0\xB4\xCF\xB4\xD9.";
// "UTF-8로 저장하시겠습니까?"
constexpr char kSaveAsUtf8Question[] =
    "UTF-8\xB7\xCE \xC0\xFA\xC0\xE5\xC7\xCF\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE?";

}  // namespace

// ---- File steps ---------------------------------------------------------------

UniqueFile CaptionFileSystem::OpenWorkFile() { return cadenzio::OpenWorkFile(); }

std::size_t CaptionFileSystem::WriteWorkFile(std::FILE* file, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file);
}

bool CaptionFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  return WriteWholeFileAtomic(path, bytes);
}

bool CaptionFileSystem::ReadFile(const std::string& path, std::string& out) {
  return ReadWholeFile(path, out);
}

// ---- Questions ------------------------------------------------------------------

bool CCadenzioDlg::AskToSave(std::string_view question) {
  if (editor_.TextLength() == 0) editor_.SetModified(false);  // empty never counts as modified
  if (!editor_.IsModified()) return true;
  switch (Message(std::string(question), MessageIcon::Question,
                               MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return SaveCaption();
    case MessageAnswer::No: return true;
    default: return false;
  }
}

bool CCadenzioDlg::QueryClose() {
  if (!editor_.IsModified()) return true;
  dialogs_.Beep();
  switch (Message(kCloseQuestion, MessageIcon::Question,
                               MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return SaveCaption();
    case MessageAnswer::No: return true;
    default: return false;
  }
}

// ---- Open -------------------------------------------------------------------------

void CCadenzioDlg::OpenCaption() {
  if (!AskToSave(kSaveQuestion)) return;
  FileDialogRequest request;
  request.title = "Open Caption File...";
  request.default_extension = "smi";
  request.filters = {{"Caption File(*.smi, *.sami)", "*.smi; *.sami"},
                     {"Text File(*.txt)", "*.txt"},
                     {"All File(*.*)", "*.*"}};
  request.initial_path = caption_path_;
  const std::optional<std::string> path = dialogs_.ShowFileDialog(request);
  if (!path) return;
  std::string bytes;
  if (!files_.ReadFile(*path, bytes)) {
    Message(kCannotRead, MessageIcon::None, MessageButtons::Ok);
    return;
  }
  SMIOpen(*path, bytes);
  editor_.SetSelection({0, 0});
}

void CCadenzioDlg::AutoOpenCaption(const std::string& path) {
  if (editor_.TextLength() == 0) editor_.SetModified(false);
  if (!FileExists(path) || path == caption_path_) return;
  if (!AskToSave(kSameNameQuestion)) return;
  std::string bytes;
  if (!files_.ReadFile(path, bytes)) {
    Message(kCannotRead, MessageIcon::None, MessageButtons::Ok);
    return;
  }
  SMIOpen(path, bytes);
  editor_.SetSelection({0, 0});
}

// A file longer than the editor can hold is refused whole, with the message
// that says it could not all be read: loading only its start would let the
// next save cut the user's file short. The text limit, which bounds typing,
// does not apply to a file opened.
void CCadenzioDlg::SMIOpen(const std::string& path, const std::string& bytes,
                           EncodingChoice choice) {
  OpenStatePause pause(open_state_);
  DecodedCaption decoded = DecodeCaption(bytes, choice);
  if (!decoded.ok()) {
    Message(DisplayPath(decoded.error), MessageIcon::Error, MessageButtons::Ok);
    return;
  }
  const CodePage& cp = decoded.code_page();
  const long capacity = editor_.Capacity();
  // No text has more characters than bytes: most files need no count.
  if (decoded.bytes.size() > static_cast<std::size_t>(capacity) &&
      EditorCharCount(decoded.bytes, cp) > capacity) {
    Message(kTooLongToOpen, MessageIcon::None, MessageButtons::Ok);
    return;
  }
  LoadEditorAndDocument(decoded.bytes, cp);
  caption_encoding_ = save_encoding_ = decoded.encoding;
  caption_bom_ = save_bom_ = decoded.bom;
  DocumentChanged();
  RefillClassCombo();
  caption_path_ = path;
  UpdateTitle();
  ShowStatus();
  editor_.SetModified(false);
  // Bytes kept as they are: the user should know the file is not clean.
  if (!decoded.notice.empty())
    Message(DisplayPath(decoded.notice), MessageIcon::Information, MessageButtons::Ok);
}

// The editor's load and the analysis read the same bytes and share nothing
// else, so on a large caption they run side by side.
void CCadenzioDlg::LoadEditorAndDocument(const std::string& bytes, const CodePage& cp) {
  SamiDocument document(cp);
  const int mode = settings_.AnalysisMode();
  std::future<void> analysed =
      std::async(std::launch::async, [&] { document.Analyse(bytes, mode); });
  editor_.SetCodePage(cp);
  editor_.SetText(bytes);
  analysed.get();
  document_ = std::move(document);
}

void CCadenzioDlg::ReopenCaption(EncodingChoice choice) {
  if (caption_path_.empty()) return;
  if (!AskToSave(kSaveQuestion)) return;
  std::string bytes;
  if (!files_.ReadFile(caption_path_, bytes)) {
    Message(kCannotRead, MessageIcon::None, MessageButtons::Ok);
    return;
  }
  const std::string path = caption_path_;
  SMIOpen(path, bytes, choice);
  editor_.SetSelection({0, 0});
}

void CCadenzioDlg::ConvertCaption(CaptionEncoding encoding, bool bom) {
  save_encoding_ = encoding;
  save_bom_ = bom;
  // A conversion waiting for its save is an unsaved change.
  if (encoding != caption_encoding_ || bom != caption_bom_) editor_.SetModified(true);
  ShowStatus();
}

std::string CCadenzioDlg::EncodingStatusText() const {
  std::string text(EncodingDisplayName(caption_encoding_, caption_bom_));
  if (save_encoding_ != caption_encoding_ || save_bom_ != caption_bom_)
    text += " -> " + std::string(EncodingDisplayName(save_encoding_, save_bom_));
  return text;
}

void CCadenzioDlg::RefillClassCombo() {
  view_.ClearClassCombo();
  for (auto name = document_.classes.rbegin(); name != document_.classes.rend(); ++name)
    view_.InsertClassAtTop(*name);
  RecomputeChosenClass();
}

// ---- Save ---------------------------------------------------------------------------

MessageAnswer CCadenzioDlg::Message(const std::string& text, MessageIcon icon,
                                    MessageButtons buttons) {
  return dialogs_.ShowMessage(text, std::string(kProgramName), icon, buttons);
}

void CCadenzioDlg::ShowError(const std::string& message) {
  Message(message, MessageIcon::Error, MessageButtons::Ok);
}

void CCadenzioDlg::LogSaveFailure(const std::string& message) {
  AppendLog(app_.log_path(), message + "\r\n\r\n");
}

bool CCadenzioDlg::SMISave(const std::string& path) {
  OpenStatePause pause(open_state_);
  // A character typed that CP949 cannot hold would be saved as '?'. The text
  // is taken as UTF-8 instead (the document follows when it is analysed
  // below), so the encoding step names the character and offers UTF-8, and
  // nothing the user typed is lost.
  if (editor_.HoldsCharactersOutsideCodePage()) editor_.SetCodePage(CodePage::Utf8());

  UniqueFile work = files_.OpenWorkFile();
  if (!work) {
    ShowError(kNoWorkFile);
    return false;
  }

  // saveTextToTmpfile
  const std::string text = editor_.Text();
  errno = 0;
  const std::size_t written = files_.WriteWorkFile(work.get(), text);
  if (written != text.size() || std::fflush(work.get()) != 0) {
    const std::string message =
        Format("SMISave() - saveTextToTmpfile error\r\n(real = %ld, write = %ld, dwError =%ld)",
               editor_.TextLength(), static_cast<long>(written), static_cast<long>(errno));
    ShowError(message);
    LogSaveFailure(message);
    return false;
  }
  if (&document_.code_page() != &editor_.code_page()) document_ = SamiDocument(editor_.code_page());
  document_.Analyse(work.get(), settings_.AnalysisMode());
  DocumentChanged();
  if (settings_.insert_nl) ApplyLineBreakForm();
  work.reset();

  // openFileToSave: the new content replaces the file only when all of it was
  // written and flushed, so this one step stands for opening, writing and
  // flushing the target.
  const std::string content = document_.Write();
  const std::optional<std::string> file_bytes = EncodeForSave(content);
  if (!file_bytes) return false;
  if (!files_.ReplaceFile(path, *file_bytes)) {
    const std::string message =
        Format("SMISave() - openFileToSave error\r\n%s", DisplayPath(path).c_str());
    ShowError(message);
    LogSaveFailure(message);
    return false;
  }

  view_.FreezePainting(true);
  const long first_visible = editor_.FirstVisibleLine();
  const long caret = editor_.GetSelection().start;
  const long caret_line = editor_.LineFromChar(caret);
  const long caret_column = caret - editor_.LineIndex(caret_line);

  // fileRead: the editor shows what is on disk. A failure is logged only; the
  // file is saved and the editor keeps the text that was saved.
  // A conversion takes effect: the editor and the document speak the code
  // page of the encoding written.
  const CodePage& written_cp = WorkingCodePage(save_encoding_);
  const bool code_page_changed = &written_cp != &document_.code_page();
  caption_encoding_ = save_encoding_;
  caption_bom_ = save_bom_;
  std::string back;
  errno = 0;
  const bool read_back = files_.ReadFile(path, back);
  DecodedCaption decoded = DecodeCaption(read_back ? back : *file_bytes, ChoiceOf(save_encoding_));
  if (!decoded.ok()) decoded = DecodeCaption(*file_bytes, ChoiceOf(save_encoding_));
  if (code_page_changed) {
    LoadEditorAndDocument(decoded.bytes, written_cp);
    DocumentChanged();
  }
  if (read_back) {
    editor_.SetText(decoded.bytes);
    editor_.LineScroll(first_visible - editor_.FirstVisibleLine());
    const long line = std::min(caret_line, editor_.LineCount() - 1);
    const long column = std::min(caret_column, editor_.LineLength(line));
    const long position = editor_.LineIndex(line) + column;
    editor_.SetSelection({position, position});
  } else {
    LogSaveFailure(Format("SMISave() - fileRead error (want - %ld, read - %ld, dwError - %ld)",
                          static_cast<long>(file_bytes->size()), 0L, static_cast<long>(errno)));
  }
  view_.FreezePainting(false);

  RefillClassCombo();
  caption_path_ = path;
  UpdateTitle();
  ShowStatus();
  editor_.SetModified(false);
  editor_.Focus();
  return true;
}

std::optional<std::string> CCadenzioDlg::EncodeForSave(const std::string& working) {
  const CodePage& cp = document_.code_page();
  EncodedCaption encoded = EncodeCaption(working, cp, save_encoding_, save_bom_);
  if (encoded.ok()) return std::move(encoded.bytes);
  // Nothing is written; UTF-8 holds every character and keeps stray bytes.
  const std::string refusal = std::string(EncodingDisplayName(save_encoding_, save_bom_)) +
                              kCannotEncodeSuffix + "\r\n" + DisplayPath(encoded.error);
  if (save_encoding_ == CaptionEncoding::Utf8) {
    ShowError(refusal);
    return std::nullopt;
  }
  if (Message(refusal + "\r\n\r\n" + kSaveAsUtf8Question, MessageIcon::Question,
              MessageButtons::YesNo) != MessageAnswer::Yes)
    return std::nullopt;
  save_encoding_ = CaptionEncoding::Utf8;
  save_bom_ = false;
  encoded = EncodeCaption(working, cp, save_encoding_, save_bom_);
  if (encoded.ok()) return std::move(encoded.bytes);
  ShowError(DisplayPath(encoded.error));
  return std::nullopt;
}

// INSERTNL: every SYNC tag begins a line and is followed on it by the next
// node (its P tag); the text after a P tag and after every <BR> goes on a new
// line of its own.
void CCadenzioDlg::ApplyLineBreakForm() {
  const CodePage& cp = document_.code_page();
  PatternMatcher paragraph_head(cp), line_break(cp), sync_tag(cp);
  paragraph_head.Compile("^([^<]*<P [^>]*>)[ \t]*([^\r\n].*)$");
  line_break.Compile("^(.*<BR>)[ \t]*([^\r\n].*)$");
  sync_tag.Compile("^(<[ \t]*SYNC[^>]*>)(.*)$");

  const auto end_line = [](SamiNode& node) {
    std::string& text = node.text;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    if (text.size() >= 2 && text.back() != '\r' && text.back() != '\n') text += "\r\n";
  };
  const auto split = [](PatternMatcher& matcher) {
    return std::string(matcher.Group(1)) + "\r\n" + std::string(matcher.Group(2));
  };

  std::vector<SamiNode>& nodes = document_.nodes;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    SamiNode& node = nodes[i];
    if (node.kind == SamiNodeKind::Paragraph && node.clear_mask == 0) {
      if (paragraph_head.Find(node.text) >= 0) node.text = split(paragraph_head);
      // Each round breaks the line after one more <BR>, so the rounds are
      // bounded by the number of tags; the guard only makes that explicit.
      for (std::size_t rounds = node.text.size(); rounds > 0 && line_break.Find(node.text) >= 0;
           --rounds)
        node.text = split(line_break);
    } else if (node.kind == SamiNodeKind::Sync) {
      if (sync_tag.Find(node.text) >= 0) node.text = std::string(sync_tag.Group(1));
      if (i > 0) end_line(nodes[i - 1]);
    }
  }
  if (!nodes.empty()) end_line(nodes.back());
}

bool CCadenzioDlg::SaveCaption() {
  if (caption_path_.empty()) return SaveCaptionAs("");
  return SMISave(caption_path_);
}

bool CCadenzioDlg::SaveCaptionAs(const std::string& initial_path) {
  FileDialogRequest request;
  request.save = true;
  request.title = "Save As Caption File...";
  request.default_extension = "smi";
  request.filters = {{"Caption File(*.smi, *.sami)", "*.smi; *.sami"}};
  request.initial_path = initial_path;
  request.confirm_overwrite = true;
  const std::optional<std::string> path = dialogs_.ShowFileDialog(request);
  if (!path) return false;
  return SMISave(*path);
}

// ---- New ------------------------------------------------------------------------------

void CCadenzioDlg::NewCaption() {
  if (!AskToSave(kSaveQuestion)) return;
  editor_.SetSelection({0, -1});
  editor_.Clear();
  editor_.SetModified(false);
  editor_.SetSelection({0, 0});
  editor_.Focus();
  view_.SetStatusText("Line: 0, Contents: 0 byte");
  // A new caption is CP949 again.
  caption_encoding_ = save_encoding_ = CaptionEncoding::Cp949;
  caption_bom_ = save_bom_ = false;
  editor_.SetCodePage(CodePage::Cp949());
  view_.SetEncodingText(EncodingStatusText());
  document_ = SamiDocument();
  DocumentChanged();
  caption_path_.clear();
  UpdateTitle();
  view_.ClearClassCombo();
  view_.SetCaptionOnChecked(false);
  ApplyCaptionOn();
}

}  // namespace cadenzio
