#pragma once
// When the animated-picture control changes frames: its one timer, the
// frame delays with their minimum, loop counting and the Action states.
// The control supplies the timer, the painting and the frame building
// through AnimationPort, so these rules run the same in a test.
#include <cstdint>
#include <vector>

namespace ventalune::anigif {

enum AnimationState : int32_t { kStopped = 0, kPlaying = 1, kPaused = 2 };

enum Action : int32_t { kActionStop = 0, kActionPlay = 1, kActionPause = 2, kActionStep = 3, kActionRestart = 4 };

enum class TimerKind { Animate, DeferredBuild };

// The deferred build waits this long, so frame 1 reaches the screen first.
inline constexpr uint32_t kDeferredBuildMs = 20;
// A long timer armed and killed first, to learn whether the system gives
// timers at all before the real one is armed.
inline constexpr uint32_t kProbeTimerMs = 60000;

class AnimationPort {
 public:
  virtual ~AnimationPort() = default;
  // Arms the control's one timer (replacing an armed one); false when the
  // system refuses.
  virtual bool ArmTimer(TimerKind kind, uint32_t milliseconds) = 0;
  virtual void KillTimer() = 0;
  // Shows the current frame.
  virtual void Repaint() = 0;
  virtual void RaiseLoopsEnded() = 0;
  // Builds the frames a deferred load left out; nothing when none are left.
  virtual void BuildRemainingFrames() = 0;
};

class AnimationController {
 public:
  explicit AnimationController(AnimationPort& port) : port_(port) {}

  // Timers exist only in run mode.
  void SetRunMode(bool runMode) { runMode_ = runMode; }
  // A load gave these frame delays (ms) and the file's loop count; frame 1
  // shows, nothing runs yet.
  void Loaded(std::vector<int32_t> delays, int32_t fileLoopCount);
  // Stops and forgets the frames.
  void Released();
  // After a load: the deferred build, or the animation unless the delay
  // mode holds it back.
  void AfterLoad(bool remainingPending, int32_t delayMode);

  // Arms the animation (or deferred-build) timer unless one is running.
  // True when a timer was armed.
  bool StartTimer(TimerKind kind);
  void StopTimer();
  // The two timer handlers; each kills its timer first.
  void AnimationTick();
  void DeferredBuildTick(int32_t delayMode);

  // Stop, play, pause, step or restart; other values and a control without
  // frames or in design mode do nothing.
  void SetAction(int32_t action);

  void SetMinFrameDelay(int32_t milliseconds) { minFrameDelay_ = milliseconds; }
  void SetLoopCount(int32_t count) { loopCount_ = count; }
  int32_t loopCount() const { return loopCount_; }
  // −1 with nothing loaded, 0 when endless, else the loops still to play.
  int32_t LoopsRemaining() const;

  int32_t state() const { return state_; }
  int32_t currentFrame() const { return currentFrame_; }
  int32_t frameCount() const { return static_cast<int32_t>(delays_.size()); }
  int64_t loopsDone() const { return loopsDone_; }
  // How long the current frame stays: its delay, at least the minimum.
  uint32_t CurrentDelay() const;

 private:
  void Advance(bool& wrapped);

  AnimationPort& port_;
  std::vector<int32_t> delays_;
  bool runMode_ = true;
  int32_t state_ = kStopped;
  int32_t currentFrame_ = 0;
  // Wide enough that a count of up to 2^31 − 1 loops is played in full.
  int64_t loopsDone_ = 0;
  int32_t loopCount_ = 0;
  int32_t minFrameDelay_ = 50;
};

}  // namespace ventalune::anigif
