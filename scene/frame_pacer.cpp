#include "scene/frame_pacer.h"

#include <algorithm>

namespace ventalune::scene {

FramePacer::FramePacer(uint64_t ticksPerSecond, uint32_t framesPerSecond)
    : ticksPerSecond_(std::max<uint64_t>(ticksPerSecond, 1)), framesPerSecond_(std::max<uint32_t>(framesPerSecond, 1)) {}

uint64_t FramePacer::DueOf(uint64_t frame) const {
  // Whole seconds and the remainder apart, so a run of years does not
  // overflow the product and a 1 kHz clock still averages exactly 60 a second.
  const uint64_t seconds = frame / framesPerSecond_, rest = frame % framesPerSecond_;
  return base_ + seconds * ticksPerSecond_ + rest * ticksPerSecond_ / framesPerSecond_;
}

void FramePacer::Restart(uint64_t now) {
  base_ = now;
  framesSince_ = 0;
}

uint64_t FramePacer::TicksUntilDue(uint64_t now) {
  if (!started_) return 0;
  const uint64_t due = DueOf(framesSince_);
  if (now >= due) return 0;
  const uint64_t period = DueOf(1) - base_ + 1;
  if (due - now > period) {
    // The clock went back: waiting for the old schedule could take hours.
    Restart(now);
    framesSince_ = 1;
    return DueOf(1) - now;
  }
  return due - now;
}

void FramePacer::FrameDrawn(uint64_t now) {
  if (!started_) {
    started_ = true;
    Restart(now);
  } else {
    const uint64_t due = DueOf(framesSince_);
    const uint64_t next = DueOf(framesSince_ + 1);
    // Late by a whole period (a slow frame, a pause, a clock jump forwards)
    // or early (a clock that went back): no burst of missed frames.
    if (now >= next || now + (next - due) < due) Restart(now);
  }
  ++framesSince_;
}

}  // namespace ventalune::scene
