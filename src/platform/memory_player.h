// A player for tests: no movie, a position and duration the test sets, open
// and play states the test drives, and a record of every call.
#pragma once

#include <string>
#include <vector>

#include "platform/player.h"

namespace cadenzio {

class MemoryPlayer : public MediaPlayer {
 public:
  void SetEvents(PlayerEvents* events) override { events_ = events; }
  // Records the path; the open state stays until the test calls ReportOpenState.
  void Open(const std::string& path) override;
  void Play() override;
  void Pause() override;
  // Records the reset and reports open state 0 when a movie was open.
  void Reset() override;

  int OpenState() const override { return open_state_; }
  double CurrentPosition() const override { return position_; }
  void SetCurrentPosition(double seconds) override;
  double Duration() const override { return duration_; }

  // Test controls: these report to the events as the real player does.
  void ReportOpenState(int state);
  void ReportPlayState(int state);
  void set_position(double seconds) { position_ = seconds; }
  void set_duration(double seconds) { duration_ = seconds; }

  // What the logic asked for, in order: "open PATH", "play", "pause", "reset",
  // "seek SECONDS" (seconds printed with %.3f).
  const std::vector<std::string>& calls() const { return calls_; }
  void clear_calls() { calls_.clear(); }

 private:
  PlayerEvents* events_ = nullptr;
  int open_state_ = kOpenStateClosed;
  int play_state_ = 8;
  double position_ = 0;
  double duration_ = 0;
  std::vector<std::string> calls_;
};

}  // namespace cadenzio
