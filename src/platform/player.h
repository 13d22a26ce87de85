// The movie player as the system's logic sees it: open, play, pause, reset, a
// position and a duration in seconds, and two events that report the open
// state and the play state as numbers.
//
// Open states: 0 closed, 5 opening, 6 open (every position command needs 6).
// Play states: 0 stopped, 1 paused, 2 playing, 6 closed; the window starts
// from 8 until the first report.
//
// Implemented on libmpv in the window and by MemoryPlayer for tests.
#pragma once

#include <string>

namespace cadenzio {

inline constexpr int kOpenStateClosed = 0;
inline constexpr int kOpenStateOpening = 5;
inline constexpr int kOpenStateOpen = 6;
inline constexpr int kPlayStateStopped = 0;
inline constexpr int kPlayStatePaused = 1;
inline constexpr int kPlayStatePlaying = 2;
inline constexpr int kPlayStateClosed = 6;

class PlayerEvents {
 public:
  virtual ~PlayerEvents() = default;
  virtual void OpenStateChanged(int old_state, int new_state) = 0;
  virtual void PlayStateChanged(int old_state, int new_state) = 0;
};

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Events are delivered on the user-interface thread, never from inside a
  // call of the logic into the player.
  virtual void SetEvents(PlayerEvents* events) = 0;

  // Starts opening a movie (a native file-system path); the outcome arrives as
  // open-state changes: 6 when it plays, back to 0 when it cannot be played.
  virtual void Open(const std::string& path) = 0;
  virtual void Play() = 0;
  virtual void Pause() = 0;
  // Stops, unloads the movie and brings the player back to its empty, default
  // display. Does nothing when the open state is 0.
  virtual void Reset() = 0;

  virtual int OpenState() const = 0;
  virtual double CurrentPosition() const = 0;  // seconds
  virtual void SetCurrentPosition(double seconds) = 0;
  virtual double Duration() const = 0;  // seconds; 0 when unknown
};

}  // namespace cadenzio
