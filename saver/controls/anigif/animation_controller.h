#pragma once
// When the animated-picture control changes frames: its one timer, the
// frame delays with their minimum, loop counting and the Action states.
// The control supplies the timer, the painting and the frame building
// through AnimationPort, so these rules run the same in a test.
//
// A paint raises the host's paint event, whose handler may release or
// delete the control (this controller with it) or change the animation.
// So a paint is the last thing a step does, unless the port says the
// control is still there and nothing changed the animation meanwhile.
#include <cstdint>
#include <optional>
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
  // Shows the current frame. False when the control did not survive it:
  // the controller may then be gone and returns without touching itself.
  virtual bool Repaint() = 0;
  // The last thing a tick does: the handler may end the control.
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
  // After a load: the deferred build first when frames are pending, then
  // the animation, unless the delay mode holds it until the host plays it.
  void AfterLoad(bool remainingPending, int32_t delayMode);

  // Arms the animation (or deferred-build) timer unless one is running.
  // True when a timer was armed.
  bool StartTimer(TimerKind kind);
  void StopTimer();
  // The two timer handlers; each kills its timer first.
  void AnimationTick();
  void DeferredBuildTick();

  // Stop, play, pause, step or restart; other values and a control without
  // frames or in design mode do nothing. Play and restart start an
  // animation the delay mode holds.
  void SetAction(int32_t action);

  // The timer held while the control reshapes its frames; Resume arms again
  // exactly what was armed, so a deferred build stays a deferred build and
  // a held animation stays held.
  struct Suspension {
    std::optional<TimerKind> armed;
  };
  Suspension Suspend();
  void Resume(const Suspension& suspension);
  // The window hidden and shown again: hiding pauses whatever runs; showing
  // resumes a deferred build, or starts the animation unless it is held.
  void Hide();
  void Show();

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
  bool Arm(TimerKind kind, uint32_t milliseconds);
  void Disarm();
  void ArmBuild();

  AnimationPort& port_;
  std::vector<int32_t> delays_;
  bool runMode_ = true;
  int32_t state_ = kStopped;
  std::optional<TimerKind> armed_;
  bool held_ = false;
  bool buildPending_ = false;
  // Counts what the host can change while a paint runs its handler; a step
  // that painted goes on only when nothing changed meanwhile.
  uint64_t changes_ = 0;
  int32_t currentFrame_ = 0;
  // Wide enough that a count of up to 2^31 − 1 loops is played in full.
  int64_t loopsDone_ = 0;
  int32_t loopCount_ = 0;
  int32_t minFrameDelay_ = 50;
};

}  // namespace ventalune::anigif
