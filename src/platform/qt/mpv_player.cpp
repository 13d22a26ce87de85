// MediaPlayer on libmpv. mpv's events are read on the user-interface thread
// (see Wakeup); the open and play states reported to the logic are queued and
// delivered from the event loop in order.
#include "platform/qt/mpv_player.h"

#include <mpv/client.h>

#include <QMetaObject>
#include <QPalette>
#include <clocale>
#include <cstdlib>
#include <cstring>

namespace cadenzio {
namespace {

// expected_entry_ when the last Open's entry id is not known yet: the next
// file mpv starts is it.
constexpr long long kNextEntry = -2;

mpv_node StringNode(const char* text) {
  mpv_node node{};
  node.format = MPV_FORMAT_STRING;
  node.u.string = const_cast<char*>(text);  // mpv only reads it
  return node;
}

bool AudioWanted(const MpvPlayerOptions& options) {
  const char* audio = std::getenv("CADENZIO_AUDIO");
  return options.audio && !(audio && std::strcmp(audio, "none") == 0);
}

}  // namespace

MpvPlayer::MpvPlayer(QWidget* parent, MpvPlayerOptions options)
    : QWidget(parent), options_(std::move(options)) {
  // mpv draws into a window of its own inside this one; the rest of the
  // window stays alien. Without a movie the area is black.
  setAttribute(Qt::WA_NativeWindow);
  setAttribute(Qt::WA_DontCreateNativeAncestors);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  setAutoFillBackground(true);
}

MpvPlayer::~MpvPlayer() {
  if (!mpv_) return;
  // Once this returns no wakeup runs or will run; the calls it posted die
  // with this object.
  mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
  mpv_terminate_destroy(mpv_);
}

bool MpvPlayer::EnsureMpv() {
  if (mpv_) return true;
  // mpv refuses to start under any other numeric locale; Qt sets the user's.
  std::setlocale(LC_NUMERIC, "C");
  mpv_ = mpv_create();
  if (!mpv_) return false;
  int64_t window = static_cast<int64_t>(winId());
  mpv_set_option(mpv_, "wid", MPV_FORMAT_INT64, &window);
  struct Option {
    const char* name;
    const char* value;
  };
  const Option options[] = {
      {"vo", options_.video_output.c_str()},
      {"ao", AudioWanted(options_) ? "" : "null"},
      {"hwdec", "no"},
      {"keep-open", "yes"},  // the last frame stays at the end
      {"idle", "yes"},
      {"force-window", "no"},
      // The window owns keys, mouse and captions: no mpv bindings, on-screen
      // display or scripts, and no caption file loaded beside the movie.
      {"input-default-bindings", "no"},
      {"input-vo-keyboard", "no"},
      {"input-cursor", "no"},
      {"cursor-autohide", "no"},
      {"osc", "no"},
      {"osd-level", "0"},
      {"sub-auto", "no"},
      {"load-scripts", "no"},
      {"ytdl", "no"},
      {"audio-display", "no"},
  };
  for (const Option& option : options) {
    if (*option.value) mpv_set_option_string(mpv_, option.name, option.value);
  }
  mpv_observe_property(mpv_, 0, "pause", MPV_FORMAT_FLAG);
  mpv_set_wakeup_callback(mpv_, &MpvPlayer::Wakeup, this);
  if (mpv_initialize(mpv_) < 0) {
    mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
    mpv_terminate_destroy(mpv_);
    mpv_ = nullptr;
    return false;
  }
  return true;
}

// Runs on one of mpv's threads: only posts a call to the user-interface
// thread, at most one at a time.
void MpvPlayer::Wakeup(void* self) {
  auto* player = static_cast<MpvPlayer*>(self);
  if (player->wakeup_pending_.exchange(true)) return;
  QMetaObject::invokeMethod(
      player,
      [player] {
        player->wakeup_pending_ = false;
        player->ReadMpvEvents();
      },
      Qt::QueuedConnection);
}

void MpvPlayer::ReadMpvEvents() {
  while (mpv_) {
    const mpv_event* event = mpv_wait_event(mpv_, 0);
    if (event->event_id == MPV_EVENT_NONE) break;
    HandleEvent(*event);
  }
  DeliverReports();
}

void MpvPlayer::HandleEvent(const mpv_event& event) {
  switch (event.event_id) {
    case MPV_EVENT_START_FILE: {
      const auto* start = static_cast<const mpv_event_start_file*>(event.data);
      current_entry_ = start->playlist_entry_id;
      if (expected_entry_ == kNextEntry) expected_entry_ = current_entry_;
      break;
    }
    case MPV_EVENT_FILE_LOADED:
      if (expected_entry_ >= 0 && current_entry_ == expected_entry_) {
        QueueOpenState(kOpenStateOpen);
        QueuePlayState();
      }
      break;
    case MPV_EVENT_END_FILE: {
      const auto* end = static_cast<const mpv_event_end_file*>(event.data);
      if (expected_entry_ < 0 || end->playlist_entry_id != expected_entry_) break;  // replaced
      if (end->reason == MPV_END_FILE_REASON_REDIRECT && end->playlist_insert_num_entries > 0) {
        expected_entry_ = end->playlist_insert_id;  // a playlist: its first entry plays
        break;
      }
      expected_entry_ = -1;
      QueueOpenState(kOpenStateClosed);
      QueuePlayState();
      break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
      const auto* property = static_cast<const mpv_event_property*>(event.data);
      if (std::strcmp(property->name, "pause") == 0 && property->format == MPV_FORMAT_FLAG) {
        paused_ = *static_cast<const int*>(property->data) != 0;
        QueuePlayState();
      }
      break;
    }
    default:
      break;
  }
}

void MpvPlayer::QueueOpenState(int state) {
  if (state == latest_open_state_) return;
  latest_open_state_ = state;
  reports_.push_back({true, state});
  ScheduleDelivery();
}

void MpvPlayer::QueuePlayState() {
  const int state = latest_open_state_ != kOpenStateOpen ? kPlayStateStopped
                    : paused_                            ? kPlayStatePaused
                                                         : kPlayStatePlaying;
  // Before the first movie plays there is nothing to report as stopped.
  if (state == latest_play_state_ || (latest_play_state_ == 8 && state == kPlayStateStopped))
    return;
  latest_play_state_ = state;
  reports_.push_back({false, state});
  ScheduleDelivery();
}

void MpvPlayer::ScheduleDelivery() {
  if (delivery_scheduled_) return;
  delivery_scheduled_ = true;
  QMetaObject::invokeMethod(this, [this] { DeliverReports(); }, Qt::QueuedConnection);
}

void MpvPlayer::DeliverReports() {
  delivery_scheduled_ = false;
  // A handler may call back into the player, which only appends reports.
  while (!reports_.empty()) {
    const Report report = reports_.front();
    reports_.pop_front();
    int& state = report.open ? open_state_ : play_state_;
    const int old = state;
    state = report.state;
    if (!events_) continue;
    if (report.open) {
      events_->OpenStateChanged(old, report.state);
    } else {
      events_->PlayStateChanged(old, report.state);
    }
  }
}

void MpvPlayer::Open(const std::string& path) {
  QueueOpenState(kOpenStateOpening);
  if (!EnsureMpv()) {
    QueueOpenState(kOpenStateClosed);
    return;
  }
  // The movie starts playing once loaded, also after a pause of the last one;
  // until then nothing plays.
  mpv_set_property_string(mpv_, "pause", "no");
  paused_ = false;
  QueuePlayState();
  mpv_node args[] = {StringNode("loadfile"), StringNode(path.c_str()), StringNode("replace")};
  mpv_node_list list{3, args, nullptr};
  mpv_node command{};
  command.format = MPV_FORMAT_NODE_ARRAY;
  command.u.list = &list;
  mpv_node result{};
  if (mpv_command_node(mpv_, &command, &result) < 0) {
    expected_entry_ = -1;
    QueueOpenState(kOpenStateClosed);
    return;
  }
  expected_entry_ = kNextEntry;
  if (result.format == MPV_FORMAT_NODE_MAP) {
    for (int i = 0; i < result.u.list->num; ++i) {
      const mpv_node& value = result.u.list->values[i];
      if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
          value.format == MPV_FORMAT_INT64)
        expected_entry_ = value.u.int64;
    }
  }
  mpv_free_node_contents(&result);
}

void MpvPlayer::Play() {
  if (mpv_) mpv_set_property_string(mpv_, "pause", "no");
}

void MpvPlayer::Pause() {
  if (mpv_) mpv_set_property_string(mpv_, "pause", "yes");
}

void MpvPlayer::Reset() {
  if (latest_open_state_ == kOpenStateClosed) return;
  expected_entry_ = -1;
  if (mpv_) {
    // Unloads the movie; mpv's picture window goes and the black area shows.
    const char* stop[] = {"stop", nullptr};
    mpv_command(mpv_, stop);
  }
  QueueOpenState(kOpenStateClosed);
  QueuePlayState();
}

double MpvPlayer::DoubleProperty(const char* name) const {
  double value = 0;
  if (!mpv_ || mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) < 0) return 0;
  return value;
}

double MpvPlayer::CurrentPosition() const { return DoubleProperty("time-pos"); }

double MpvPlayer::Duration() const { return DoubleProperty("duration"); }

void MpvPlayer::SetCurrentPosition(double seconds) {
  if (!mpv_) return;
  mpv_node args[3] = {StringNode("seek"), {}, StringNode("absolute+exact")};
  args[1].format = MPV_FORMAT_DOUBLE;
  args[1].u.double_ = seconds;
  mpv_node_list list{3, args, nullptr};
  mpv_node command{};
  command.format = MPV_FORMAT_NODE_ARRAY;
  command.u.list = &list;
  mpv_command_node(mpv_, &command, nullptr);
}

}  // namespace cadenzio
