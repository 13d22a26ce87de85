// The movie: open and close, the five-second seeks, pause and play, the
// player's state events and the preview refresh of the 25 ms timer.
#include "app/cadenzio_dlg.h"
#include "app/sync_stamping.h"

namespace cadenzio {
namespace {

constexpr int32_t kSeekStepMs = 5000;

// " 현재 동영상을 닫고 새로 여시겠습니까? "
constexpr char kCloseMovieQuestion[] =
    " \xC7\xF6\xC0\xE7 \xB5\xBF\xBF\xB5\xBB\xF3\xC0\xBB \xB4\xDD\xB0\xED \xBB\xF5\xB7\xCE "
    "\xBF\xA9\xBD\xC3\xB0\xDA\xBD\xC0\xB4\xCF\xB1\xEE? ";

}  // namespace

void CCadenzioDlg::OpenMedia() {
  if (open_state_ != kOpenStateClosed) {
    if (Message(kCloseMovieQuestion, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
      return;
    CloseMedia();
  }
  if (last_movie_path_.empty() && !media_path_.empty()) last_movie_path_ = media_path_;

  FileDialogRequest request;
  request.title = "Open Media File...";
  request.default_extension = "avi";
  request.initial_path = last_movie_path_;
  request.filters = {
      {"DivX AVI Files (*.avi)", "*.avi"},
      {"Windows Media Files (*.asf,*.wmv,*.wm)", "*.asf; *.wmv; *.wm"},
      {"MPEG-1/2 Video Files (*.mpg,*.mpeg,*.dat,*.vob,*.m2v)",
       "*.mpg; *.mpeg; *.dat; *.vob; *.m2v"},
      {"Audio Files (*.mp3,*.mp2,*.ogg,*.wma)", "*.mp3; *.mp2; *.ogg; *.wma"},
      {"All Files (*.*)", "*.*"},
  };
  const std::optional<std::string> path = dialogs_.ShowFileDialog(request);
  if (!path) return;
  last_movie_path_ = *path;
  player_.Open(*path);
  media_path_ = *path;
  AutoOpenCaption(ReplaceExtension(*path, ".smi"));
  UpdateTitle();
  view_.StartRefreshTimer();
}

// The open state itself changes when the player reports the reset.
void CCadenzioDlg::CloseMedia() {
  if (open_state_ == kOpenStateClosed) return;
  player_.Reset();
  view_.StopRefreshTimer();
  media_path_.clear();
  UpdateTitle();
}

void CCadenzioDlg::SeekBack() {
  if (open_state_ != kOpenStateOpen) return;
  const int32_t now = CurrentTime();
  const int32_t target = now < kSeekStepMs ? 0 : now - kSeekStepMs;
  player_.SetCurrentPosition(target * 0.001);
  player_.Play();
}

void CCadenzioDlg::SeekForward() {
  if (open_state_ != kOpenStateOpen) return;
  int64_t target = int64_t{CurrentTime()} + kSeekStepMs;
  const auto duration = static_cast<int64_t>(player_.Duration() * 1000.0);
  if (target >= duration) target = duration;
  player_.SetCurrentPosition(static_cast<double>(target) * 0.001);
  editor_.Focus();
}

void CCadenzioDlg::TogglePause() {
  if (open_state_ != kOpenStateOpen) return;
  if (play_state_ == kPlayStatePlaying) {
    player_.Pause();
  } else {
    player_.Play();
  }
}

void CCadenzioDlg::OpenStateChanged(int, int new_state) { open_state_ = new_state; }

void CCadenzioDlg::PlayStateChanged(int, int new_state) {
  play_state_ = new_state;
  editor_.Focus();
}

// The preview box is restreamed only when the sync found changes, so most
// ticks end after the node lookup.
void CCadenzioDlg::OnTimer() {
  if (open_state_ != kOpenStateOpen || !caption_on_ || !document_.valid) return;
  const auto position = static_cast<int32_t>(player_.CurrentPosition() * 1000.0);
  const int32_t found = document_.RenderCaption(position, chosen_class_index_, last_shown_start_,
                                                preview_rtf_, &sync_index_);
  if (found == last_shown_start_) return;
  view_.SetPreviewRtf(preview_rtf_);
  last_shown_start_ = found;
}

}  // namespace cadenzio
