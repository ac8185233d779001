#pragma once
// The frame loop's clock and its wait between frames: the performance
// counter, and a waitable timer that also wakes for the window's messages,
// so Esc, close and a display-mode switch are read while the loop waits.
#include <windows.h>

#include <cstdint>

namespace ventalune::scene {

class FrameTimer {
 public:
  FrameTimer();
  ~FrameTimer();
  FrameTimer(const FrameTimer&) = delete;
  FrameTimer& operator=(const FrameTimer&) = delete;

  uint64_t Now() const;
  uint64_t ticksPerSecond() const { return ticksPerSecond_; }

  // Returns after `ticks` of the counter, or earlier when a message arrives
  // for this thread.
  void WaitForFrameOrMessage(uint64_t ticks);

 private:
  uint64_t ticksPerSecond_ = 1;
  HANDLE timer_ = nullptr;
  bool raisedSystemTimerRate_ = false;
};

// Asks the driver to wait for the display's vertical blank at each swap
// (interval 1) or not at all (0), where it offers that. True when the
// driver took the request. The rendering context must be current.
bool RequestSwapInterval(int interval);

}  // namespace ventalune::scene
