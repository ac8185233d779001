#include "saver/controls/anigif/animation_controller.h"

#include <algorithm>

namespace ventalune::anigif {

void AnimationController::Loaded(std::vector<int32_t> delays, int32_t fileLoopCount) {
  StopTimer();
  delays_ = std::move(delays);
  currentFrame_ = delays_.empty() ? 0 : 1;
  loopsDone_ = 0;
  loopCount_ = fileLoopCount;
  held_ = false;
  buildPending_ = false;
}

void AnimationController::Released() {
  StopTimer();
  delays_.clear();
  currentFrame_ = 0;
  loopsDone_ = 0;
  held_ = false;
  buildPending_ = false;
}

void AnimationController::AfterLoad(bool remainingPending, int32_t delayMode) {
  ++changes_;
  held_ = (delayMode & 2) != 0;
  if (remainingPending) {
    buildPending_ = true;
    ArmBuild();
  } else if (!held_) {
    StartTimer(TimerKind::Animate);
  }
}

uint32_t AnimationController::CurrentDelay() const {
  if (currentFrame_ < 1 || currentFrame_ > frameCount()) return static_cast<uint32_t>(minFrameDelay_);
  return static_cast<uint32_t>(std::max(delays_[static_cast<size_t>(currentFrame_ - 1)], minFrameDelay_));
}

bool AnimationController::Arm(TimerKind kind, uint32_t milliseconds) {
  armed_.reset();
  if (!port_.ArmTimer(kind, milliseconds)) return false;
  armed_ = kind;
  return true;
}

void AnimationController::Disarm() {
  if (runMode_) port_.KillTimer();
  armed_.reset();
}

// The deferred build counts as playing unless the animation is held: it is
// then only the frames being made.
void AnimationController::ArmBuild() {
  if (currentFrame_ == 0 || !runMode_ || !buildPending_) return;
  if (Arm(TimerKind::DeferredBuild, kDeferredBuildMs)) {
    state_ = held_ ? kStopped : kPlaying;
    return;
  }
  // Without a timer the frames are made now, or never would be.
  port_.BuildRemainingFrames();
  buildPending_ = false;
  state_ = kStopped;
}

bool AnimationController::StartTimer(TimerKind kind) {
  if (state_ == kPlaying && armed_) return false;
  ++changes_;
  if (kind == TimerKind::DeferredBuild) {
    buildPending_ = true;
    ArmBuild();
    return armed_ == TimerKind::DeferredBuild;
  }
  state_ = kStopped;
  if (currentFrame_ == 0 || !runMode_) return false;
  if (frameCount() <= 1) return false;
  // Frames a deferred build has not made yet are made before they are due.
  port_.BuildRemainingFrames();
  buildPending_ = false;
  if (!Arm(TimerKind::Animate, CurrentDelay())) return false;
  state_ = kPlaying;
  return true;
}

void AnimationController::StopTimer() {
  ++changes_;
  Disarm();
  state_ = kStopped;
}

void AnimationController::Advance(bool& wrapped) {
  wrapped = false;
  if (++currentFrame_ > frameCount()) {
    currentFrame_ = 1;
    wrapped = true;
  }
}

void AnimationController::AnimationTick() {
  port_.KillTimer();
  armed_.reset();
  if (currentFrame_ == 0) {
    state_ = kStopped;
    return;
  }
  bool wrapped = false;
  Advance(wrapped);
  bool continuing = true;
  if (wrapped && loopCount_ != 0) {
    ++loopsDone_;
    // At or past the count: a count lowered below the loops already played
    // ends the animation here instead of never.
    if (loopsDone_ >= loopCount_) {
      state_ = kStopped;
      loopsDone_ = 0;
      continuing = false;
    }
  }
  // The frame's delay starts once it is on screen. A paint handler that
  // ended the control, or stopped, restarted or reloaded it, has the last word.
  const uint64_t changes = changes_;
  if (!port_.Repaint() || changes_ != changes) return;
  if (continuing) {
    if (!Arm(TimerKind::Animate, CurrentDelay())) state_ = kStopped;
  } else {
    port_.RaiseLoopsEnded();
  }
}

void AnimationController::DeferredBuildTick() {
  StopTimer();
  port_.BuildRemainingFrames();
  buildPending_ = false;
  if (!held_) StartTimer(TimerKind::Animate);
}

void AnimationController::SetAction(int32_t action) {
  if (currentFrame_ == 0 || !runMode_) return;
  switch (action) {
    case kActionStop:
    case kActionRestart: {
      if (action == kActionRestart) held_ = false;
      StopTimer();
      loopsDone_ = 0;
      currentFrame_ = 1;
      const uint64_t changes = changes_;
      if (!port_.Repaint() || changes_ != changes) return;
      if (action == kActionRestart) StartTimer(TimerKind::Animate);
      return;
    }
    case kActionPlay:
      held_ = false;
      StartTimer(TimerKind::Animate);
      return;
    case kActionPause:
      if (state_ != kStopped) {
        StopTimer();
        state_ = kPaused;
      }
      return;
    case kActionStep: {
      StopTimer();
      port_.BuildRemainingFrames();
      buildPending_ = false;
      bool wrapped = false;
      Advance(wrapped);
      state_ = kPaused;
      port_.Repaint();
      return;
    }
    default:
      return;
  }
}

AnimationController::Suspension AnimationController::Suspend() {
  Suspension suspension{armed_};
  if (armed_) Disarm();
  return suspension;
}

void AnimationController::Resume(const Suspension& suspension) {
  if (!suspension.armed || armed_) return;
  if (*suspension.armed == TimerKind::DeferredBuild) {
    ArmBuild();
  } else if (!Arm(TimerKind::Animate, CurrentDelay())) {
    state_ = kStopped;
  }
}

void AnimationController::Hide() {
  ++changes_;
  Disarm();
  if (state_ == kPlaying) state_ = kPaused;
}

void AnimationController::Show() {
  ++changes_;
  if (buildPending_ && armed_ != TimerKind::DeferredBuild) {
    ArmBuild();
    return;
  }
  if (!held_ && !buildPending_) StartTimer(TimerKind::Animate);
}

int32_t AnimationController::LoopsRemaining() const {
  if (currentFrame_ == 0) return -1;
  if (loopCount_ == 0) return 0;
  return static_cast<int32_t>(std::max<int64_t>(loopCount_ - loopsDone_, 0));
}

}  // namespace ventalune::anigif
