// The movie player of the window: libmpv drawing into a native child window
// (embedded by window id), behind the MediaPlayer interface.
//
// States reported: Open() reports open state 5, then 6 once the file is
// loaded, or 0 when it cannot be played; Reset() reports 0. Play state 2 while
// playing, 1 while paused (also at the end of the movie, which stays open on
// its last frame), 0 when stopped or closed. Every report is delivered later
// from the Qt event loop, in the order the changes happened, never from
// inside a call into the player; OpenState() changes when its report is
// delivered.
//
// mpv runs its own threads; its wakeup callback only posts a queued call to
// this object, which reads mpv's events on the user-interface thread. mpv is
// created on the first Open(), from the widget's window id: place the widget
// in its window before that and do not reparent it afterwards. mpv needs
// LC_NUMERIC "C" (set after the QApplication is constructed).
#pragma once

#include <QWidget>
#include <atomic>
#include <deque>
#include <string>

#include "platform/player.h"

struct mpv_handle;
struct mpv_event;

namespace cadenzio {

struct MpvPlayerOptions {
  // mpv's video output; x11 works without a GL driver (and under Xvfb).
  std::string video_output = "x11";
  // False plays no sound (ao=null); the environment variable
  // CADENZIO_AUDIO=none has the same effect.
  bool audio = true;
};

class MpvPlayer : public QWidget, public MediaPlayer {
  Q_OBJECT

 public:
  explicit MpvPlayer(QWidget* parent = nullptr, MpvPlayerOptions options = {});
  ~MpvPlayer() override;
  MpvPlayer(const MpvPlayer&) = delete;
  MpvPlayer& operator=(const MpvPlayer&) = delete;

  void SetEvents(PlayerEvents* events) override { events_ = events; }
  void Open(const std::string& path) override;
  void Play() override;
  void Pause() override;
  void Reset() override;

  int OpenState() const override { return open_state_; }
  double CurrentPosition() const override;  // mpv's time-pos; 0 when none
  void SetCurrentPosition(double seconds) override;  // exact seek
  double Duration() const override;

  // The last play state delivered (8 before the first).
  int PlayState() const { return play_state_; }

 private:
  struct Report {
    bool open;  // open state, else play state
    int state;
  };

  bool EnsureMpv();
  static void Wakeup(void* self);
  void ReadMpvEvents();
  void HandleEvent(const mpv_event& event);
  void QueueOpenState(int state);
  void QueuePlayState();
  void ScheduleDelivery();
  void DeliverReports();
  double DoubleProperty(const char* name) const;

  MpvPlayerOptions options_;
  mpv_handle* mpv_ = nullptr;
  PlayerEvents* events_ = nullptr;
  std::atomic<bool> wakeup_pending_{false};

  // The states as the logic has been told them.
  int open_state_ = kOpenStateClosed;
  int play_state_ = 8;
  // The states as the player stands now, ahead of the queued reports.
  int latest_open_state_ = kOpenStateClosed;
  int latest_play_state_ = 8;
  bool paused_ = false;
  // mpv's playlist entry of the last Open, -1 when none is expected: events of
  // older entries (replaced or stopped) are ignored.
  long long expected_entry_ = -1;
  long long current_entry_ = -1;

  std::deque<Report> reports_;
  bool delivery_scheduled_ = false;
};

}  // namespace cadenzio
