#pragma once
// When the next frame is due, at most so many a second: the frame loop's
// ceiling where the display does not set the pace (see frame_rate_ceiling.h).
// It keeps its cadence without drifting, and never bursts to catch up after
// the program was held up (a slow frame, a minimised window, a clock that
// jumped). Pure arithmetic on a caller's clock, so tests can script time.
#include <cstdint>

namespace ventalune::scene {

inline constexpr uint32_t kFramesPerSecond = 60;

class FramePacer {
 public:
  // `ticksPerSecond` is the clock's resolution (the performance counter's
  // frequency on Windows); `framesPerSecond` the most frames a second.
  explicit FramePacer(uint64_t ticksPerSecond, uint32_t framesPerSecond = kFramesPerSecond);

  // Ticks to wait from `now` until the next frame is due; 0 when it is due.
  // Never more than one frame period, even if the clock went backwards.
  uint64_t TicksUntilDue(uint64_t now);

  // A frame is being drawn at `now`: schedules the one after it. On time or
  // a little late, the schedule keeps its cadence; late by a whole period or
  // more, it starts afresh from now rather than drawing the missed frames.
  void FrameDrawn(uint64_t now);

  uint64_t ticksPerSecond() const { return ticksPerSecond_; }

 private:
  // Due time of frame n after the base: exact, with no rounding carried on.
  uint64_t DueOf(uint64_t frame) const;
  void Restart(uint64_t now);

  uint64_t ticksPerSecond_;
  uint32_t framesPerSecond_;
  uint64_t base_ = 0;        // when the schedule (re)started
  uint64_t framesSince_ = 0; // frames scheduled since the base
  bool started_ = false;
};

}  // namespace ventalune::scene
