#include "saver/controls/anigif/animation_controller.h"

#include <algorithm>

namespace ventalune::anigif {

void AnimationController::Loaded(std::vector<int32_t> delays, int32_t fileLoopCount) {
  StopTimer();
  delays_ = std::move(delays);
  currentFrame_ = delays_.empty() ? 0 : 1;
  loopsDone_ = 0;
  loopCount_ = fileLoopCount;
}

void AnimationController::Released() {
  StopTimer();
  delays_.clear();
  currentFrame_ = 0;
  loopsDone_ = 0;
}

void AnimationController::AfterLoad(bool remainingPending, int32_t delayMode) {
  if (remainingPending) {
    StartTimer(TimerKind::DeferredBuild);
  } else if ((delayMode & 2) == 0) {
    StartTimer(TimerKind::Animate);
  }
}

uint32_t AnimationController::CurrentDelay() const {
  if (currentFrame_ < 1 || currentFrame_ > frameCount()) return static_cast<uint32_t>(minFrameDelay_);
  return static_cast<uint32_t>(std::max(delays_[static_cast<size_t>(currentFrame_ - 1)], minFrameDelay_));
}

bool AnimationController::StartTimer(TimerKind kind) {
  if (state_ == kPlaying) return false;
  state_ = kStopped;
  if (currentFrame_ == 0 || !runMode_) return false;
  if (frameCount() <= 1 && kind == TimerKind::Animate) return false;
  // Frames a deferred build has not made yet are made before they are due.
  if (kind == TimerKind::Animate) port_.BuildRemainingFrames();
  const uint32_t interval = kind == TimerKind::DeferredBuild ? kDeferredBuildMs : CurrentDelay();
  if (!port_.ArmTimer(kind, interval)) return false;
  state_ = kPlaying;
  return true;
}

void AnimationController::StopTimer() {
  if (runMode_) port_.KillTimer();
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
  port_.Repaint();
  if (continuing) {
    if (!port_.ArmTimer(TimerKind::Animate, CurrentDelay())) state_ = kStopped;
  } else {
    port_.RaiseLoopsEnded();
  }
}

void AnimationController::DeferredBuildTick(int32_t delayMode) {
  StopTimer();
  port_.BuildRemainingFrames();
  if ((delayMode & 2) == 0) StartTimer(TimerKind::Animate);
}

void AnimationController::SetAction(int32_t action) {
  if (currentFrame_ == 0 || !runMode_) return;
  switch (action) {
    case kActionStop:
    case kActionRestart:
      StopTimer();
      loopsDone_ = 0;
      currentFrame_ = 1;
      port_.Repaint();
      if (action == kActionRestart) StartTimer(TimerKind::Animate);
      return;
    case kActionPlay:
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

int32_t AnimationController::LoopsRemaining() const {
  if (currentFrame_ == 0) return -1;
  if (loopCount_ == 0) return 0;
  return static_cast<int32_t>(std::max<int64_t>(loopCount_ - loopsDone_, 0));
}

}  // namespace ventalune::anigif
