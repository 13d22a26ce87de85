#include "platform/memory_player.h"

#include <cstdio>

namespace cadenzio {

void MemoryPlayer::Open(const std::string& path) { calls_.push_back("open " + path); }

void MemoryPlayer::Play() { calls_.push_back("play"); }

void MemoryPlayer::Pause() { calls_.push_back("pause"); }

void MemoryPlayer::Reset() {
  calls_.push_back("reset");
  if (open_state_ != kOpenStateClosed) ReportOpenState(kOpenStateClosed);
}

void MemoryPlayer::SetCurrentPosition(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "seek %.3f", seconds);
  calls_.push_back(text);
  position_ = seconds;
}

void MemoryPlayer::ReportOpenState(int state) {
  const int old = open_state_;
  open_state_ = state;
  if (events_) events_->OpenStateChanged(old, state);
}

void MemoryPlayer::ReportPlayState(int state) {
  const int old = play_state_;
  play_state_ = state;
  if (events_) events_->PlayStateChanged(old, state);
}

}  // namespace cadenzio
