#include "scene/step_clock.h"

#include <algorithm>

namespace ventalune::scene {

StepPosition StepsIn(uint64_t elapsed, uint64_t ticksPerSecond) {
  // Whole seconds and the rest apart: elapsed × 60 overflows after three
  // years of a 3 GHz counter, these never do.
  const uint64_t seconds = elapsed / ticksPerSecond, rest = elapsed % ticksPerSecond;
  const uint64_t scaled = rest * kStepsPerSecond;
  return {seconds * kStepsPerSecond + scaled / ticksPerSecond, scaled % ticksPerSecond};
}

StepClock::StepClock(uint64_t ticksPerSecond) : ticksPerSecond_(std::max<uint64_t>(ticksPerSecond, 1)) {}

float StepClock::Weight(uint64_t remainder) const {
  const auto weight = static_cast<float>(static_cast<double>(remainder) / static_cast<double>(ticksPerSecond_));
  return std::min(weight, 0.99999994f);  // a remainder a hair below a step must not round to 1
}

void StepClock::Restart(uint64_t now) {
  // Half a step's slack either way: a display's frames at 60 a second, a
  // little early or late, each still find exactly one step.
  base_ = now - ticksPerSecond_ / (2 * kStepsPerSecond);
  stepsSinceBase_ = 0;
}

StepsDue StepClock::Afresh(uint64_t now, uint32_t steps) {
  Restart(now);
  return {steps, Weight(StepsIn(now - base_, ticksPerSecond_).remainder)};
}

StepsDue StepClock::FrameAt(uint64_t now) {
  const bool wentBack = started_ && now < lastFrame_;
  lastFrame_ = now;
  if (!started_) {
    // The first frame takes the first step, as the motion always began.
    started_ = true;
    Restart(now);
    base_ -= ticksPerSecond_ / kStepsPerSecond;
  }
  // The clock went back: nothing is due until it moves on again.
  if (wentBack) return Afresh(now, 0);
  const StepPosition at = StepsIn(now - base_, ticksPerSecond_);
  const uint64_t due = at.steps - stepsSinceBase_;
  if (due > kMostStepsCaughtUp) return Afresh(now, kMostStepsCaughtUp);
  stepsSinceBase_ = at.steps;
  return {static_cast<uint32_t>(due), Weight(at.remainder)};
}

}  // namespace ventalune::scene
