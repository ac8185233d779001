#pragma once
// The scene's own time. Its motion was made as so much per frame at the 60
// frames a second of the displays of its day. To keep that pace at any
// drawing rate it moves on in fixed steps of 1/60 s of the clock, as many as
// the time since the last frame holds, and a frame that falls between two
// steps is drawn that far between them. Exact integer arithmetic on the
// caller's clock, so a run of years neither overflows nor drifts, and tests
// can script time.
#include <cstdint>

namespace ventalune::scene {

inline constexpr uint32_t kStepsPerSecond = 60;

// After a stall (a dragged window, a sleep, a debugger) the scene catches up
// at most a quarter of a second, never racing through what it missed.
inline constexpr uint32_t kMostStepsCaughtUp = kStepsPerSecond / 4;

// Whole steps in `elapsed` ticks of a clock, and what is left over in
// 1/ticksPerSecond of a step: exact for any run a counter can measure.
struct StepPosition {
  uint64_t steps;
  uint64_t remainder;
};
StepPosition StepsIn(uint64_t elapsed, uint64_t ticksPerSecond);

struct StepsDue {
  uint32_t steps = 0;   // steps to take before this frame is drawn
  float weight = 0.0f;  // how far the frame lies from the latest step towards the next: 0 … below 1
};

class StepClock {
 public:
  // `ticksPerSecond` is the clock's resolution (the performance counter's
  // frequency on Windows).
  explicit StepClock(uint64_t ticksPerSecond);

  // A frame is about to be drawn at `now`.
  StepsDue FrameAt(uint64_t now);

 private:
  // Starts the count afresh so that `now` lies half a step past its start.
  void Restart(uint64_t now);
  // After a restart at `now`: so many steps, and the frame half a step on.
  StepsDue Afresh(uint64_t now, uint32_t steps);
  float Weight(uint64_t remainder) const;

  uint64_t ticksPerSecond_;
  uint64_t base_ = 0;
  uint64_t stepsSinceBase_ = 0;
  uint64_t lastFrame_ = 0;
  bool started_ = false;
};

}  // namespace ventalune::scene
