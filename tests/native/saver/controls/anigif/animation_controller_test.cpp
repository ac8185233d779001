// The Action states, frame timing and loop counting, through a scripted
// port in place of the window's timer and paints; and steps whose paint or
// loops-ended handler pauses, reloads or deletes the control on the way.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "row_name.h"
#include "saver/controls/anigif/animation_controller.h"

namespace ventalune::anigif {
namespace {

// A scripted timer, screen and builder for the animation rules.
class FakePort : public AnimationPort {
 public:
  bool ArmTimer(TimerKind kind, uint32_t milliseconds) override {
    if (refuseTimers) return false;
    armed = true;
    armedKind = kind;
    intervals.push_back(milliseconds);
    return true;
  }
  void KillTimer() override { armed = false; }
  bool Repaint() override {
    ++repaints;
    return true;
  }
  void RaiseLoopsEnded() override { ++loopsEnded; }
  void BuildRemainingFrames() override { ++builds; }

  bool refuseTimers = false;
  bool armed = false;
  TimerKind armedKind = TimerKind::Animate;
  std::vector<uint32_t> intervals;
  int repaints = 0;
  int loopsEnded = 0;
  int builds = 0;
};

class AnimationTest : public testing::Test {
 protected:
  // Ticks the armed animation timer until it is no longer armed, at most `limit` times.
  int RunUntilStopped(int limit) {
    int ticks = 0;
    while (port.armed && ticks < limit) {
      controller.AnimationTick();
      ++ticks;
    }
    return ticks;
  }
  FakePort port;
  AnimationController controller{port};
};

TEST_F(AnimationTest, NothingLoadedMeansNoLoopsRemainingAndNoActions) {
  EXPECT_EQ(controller.LoopsRemaining(), -1);
  for (int action = 0; action <= 4; ++action) controller.SetAction(action);
  EXPECT_FALSE(port.armed);
  EXPECT_EQ(port.repaints, 0);
  EXPECT_EQ(controller.state(), kStopped);
}

TEST_F(AnimationTest, EndlessAnimationHasNoLoopsRemaining) {
  controller.Loaded({100, 100}, 0);
  EXPECT_EQ(controller.LoopsRemaining(), 0);
}

TEST_F(AnimationTest, PlayOnOneFrameArmsNothing) {
  controller.Loaded({100}, 0);
  controller.SetAction(kActionPlay);
  EXPECT_FALSE(port.armed);
  EXPECT_EQ(controller.state(), kStopped);
}

TEST_F(AnimationTest, DesignModeNeverArmsATimer) {
  controller.SetRunMode(false);
  controller.Loaded({100, 100}, 0);
  controller.AfterLoad(false, 0);
  controller.SetAction(kActionPlay);
  EXPECT_TRUE(port.intervals.empty());
}

struct DelayCase {
  std::string name;
  int32_t frameDelay;
  int32_t minimum;
  uint32_t interval;
};

class FrameDelayTest : public testing::TestWithParam<DelayCase> {};

TEST_P(FrameDelayTest, FrameStaysItsDelayButAtLeastTheMinimum) {
  const DelayCase& row = GetParam();
  FakePort port;
  AnimationController controller(port);
  controller.SetMinFrameDelay(row.minimum);
  controller.Loaded({row.frameDelay, row.frameDelay}, 0);
  controller.SetAction(kActionPlay);
  controller.AnimationTick();
  ASSERT_EQ(port.intervals.size(), 2u);
  EXPECT_EQ(port.intervals[0], row.interval);
  EXPECT_EQ(port.intervals[1], row.interval);
}

INSTANTIATE_TEST_SUITE_P(Delays, FrameDelayTest,
                         testing::Values(DelayCase{"ZeroPlaysAtTheMinimum", 0, 50, 50},
                                         DelayCase{"TwentyPlaysAtTheMinimum", 20, 50, 50},
                                         DelayCase{"FiveHundredPlaysAsIs", 500, 50, 500},
                                         DelayCase{"LoweredMinimum", 20, 10, 20}),
                         testing_support::RowName());

TEST_F(AnimationTest, TwoLoopsPlayTwoCyclesStopOnFrameOneAndEndOnce) {
  controller.Loaded({100, 100, 100}, 2);
  controller.AfterLoad(false, 1);
  EXPECT_EQ(controller.LoopsRemaining(), 2);
  const int ticks = RunUntilStopped(100);
  EXPECT_EQ(ticks, 6);  // frames 2, 3, 1, 2, 3, 1
  EXPECT_EQ(controller.currentFrame(), 1);
  EXPECT_EQ(controller.state(), kStopped);
  EXPECT_EQ(port.loopsEnded, 1);
  EXPECT_EQ(port.repaints, 6);
}

TEST_F(AnimationTest, LoopCountLoweredBelowLoopsPlayedStillEnds) {
  controller.Loaded({100, 100}, 5);
  controller.SetAction(kActionPlay);
  for (int i = 0; i < 6; ++i) controller.AnimationTick();  // three loops played
  controller.SetLoopCount(2);
  EXPECT_EQ(controller.LoopsRemaining(), 0);
  EXPECT_LE(RunUntilStopped(100), 2);
  EXPECT_EQ(port.loopsEnded, 1);
}

TEST_F(AnimationTest, LoopCountAbove32767IsPlayedInFull) {
  controller.Loaded({100, 100}, 40000);
  controller.SetAction(kActionPlay);
  const int ticks = RunUntilStopped(200000);
  EXPECT_EQ(ticks, 80000);
  EXPECT_EQ(port.loopsEnded, 1);
}

TEST_F(AnimationTest, TimerRefusedLeavesThePictureStill) {
  port.refuseTimers = true;
  controller.Loaded({100, 100}, 0);
  EXPECT_FALSE(controller.StartTimer(TimerKind::Animate));
  EXPECT_EQ(controller.state(), kStopped);
}

TEST_F(AnimationTest, ActionsMoveBetweenStates) {
  controller.Loaded({100, 100, 100}, 0);
  controller.SetAction(kActionPlay);
  EXPECT_EQ(controller.state(), kPlaying);
  controller.AnimationTick();
  EXPECT_EQ(controller.currentFrame(), 2);

  controller.SetAction(kActionPause);
  EXPECT_EQ(controller.state(), kPaused);
  EXPECT_FALSE(port.armed);

  controller.SetAction(kActionStep);
  EXPECT_EQ(controller.currentFrame(), 3);
  controller.SetAction(kActionStep);  // wraps, and counts no loop
  EXPECT_EQ(controller.currentFrame(), 1);
  EXPECT_EQ(controller.loopsDone(), 0);
  EXPECT_EQ(controller.state(), kPaused);

  controller.SetAction(kActionPlay);
  controller.AnimationTick();
  controller.SetAction(kActionStop);
  EXPECT_EQ(controller.currentFrame(), 1);
  EXPECT_EQ(controller.state(), kStopped);
  EXPECT_FALSE(port.armed);

  controller.SetAction(kActionRestart);
  EXPECT_EQ(controller.state(), kPlaying);
  EXPECT_EQ(controller.currentFrame(), 1);

  controller.SetAction(7);  // no such action
  EXPECT_EQ(controller.state(), kPlaying);
}

TEST_F(AnimationTest, PauseWhenStoppedStaysStopped) {
  controller.Loaded({100, 100}, 0);
  controller.SetAction(kActionPause);
  EXPECT_EQ(controller.state(), kStopped);
}

TEST_F(AnimationTest, DeferredBuildComesFirstThenTheAnimationUnlessHeldBack) {
  controller.Loaded({100, 100}, 0);
  controller.AfterLoad(true, 1);
  EXPECT_EQ(port.armedKind, TimerKind::DeferredBuild);
  EXPECT_EQ(port.intervals.back(), kDeferredBuildMs);
  EXPECT_EQ(controller.state(), kPlaying);
  controller.DeferredBuildTick();
  EXPECT_GE(port.builds, 1);
  EXPECT_EQ(port.armedKind, TimerKind::Animate);

  FakePort heldPort;
  AnimationController held(heldPort);
  held.Loaded({100, 100}, 0);
  held.AfterLoad(true, 2);
  held.DeferredBuildTick();
  EXPECT_FALSE(heldPort.armed);
  EXPECT_EQ(held.state(), kStopped);
}

TEST_F(AnimationTest, PlayAfterPausedDeferredBuildBuildsTheFramesFirst) {
  controller.Loaded({100, 100}, 0);
  controller.AfterLoad(true, 1);
  controller.SetAction(kActionPause);  // the deferred build never ran
  const int before = port.builds;
  controller.SetAction(kActionPlay);
  EXPECT_GT(port.builds, before);
  EXPECT_EQ(port.armedKind, TimerKind::Animate);
}

// Delay modes 2 and 3 hold the animation until the host plays it, through
// whatever happens while the rest of the frames is still being built.
struct HoldCase {
  std::string name;
  int32_t delayMode;
  void (*during)(AnimationController&);  // while the deferred build is armed
  bool animates;                         // once the build has run
};

class HeldAnimationTest : public testing::TestWithParam<HoldCase> {};

TEST_P(HeldAnimationTest, StartsOnlyWhenPlayedOrNotHeld) {
  const HoldCase& row = GetParam();
  FakePort port;
  AnimationController controller(port);
  controller.Loaded({100, 100, 100}, 0);
  controller.AfterLoad(true, row.delayMode);
  ASSERT_EQ(port.armedKind, TimerKind::DeferredBuild);
  row.during(controller);
  if (port.armed && port.armedKind == TimerKind::DeferredBuild) controller.DeferredBuildTick();
  EXPECT_GE(port.builds, 1);
  EXPECT_EQ(port.armed && port.armedKind == TimerKind::Animate, row.animates);
  EXPECT_EQ(controller.state(), row.animates ? kPlaying : kStopped);
}

void Reshaped(AnimationController& c) { c.Resume(c.Suspend()); }
void HiddenAndShown(AnimationController& c) {
  c.Hide();
  c.Show();
}
void Played(AnimationController& c) { c.SetAction(kActionPlay); }
void ShownTwice(AnimationController& c) {
  c.Show();
  c.Show();
}

INSTANTIATE_TEST_SUITE_P(
    Builds, HeldAnimationTest,
    testing::Values(HoldCase{"Mode2ReshapedStaysHeld", 2, Reshaped, false},
                    HoldCase{"Mode3ReshapedStaysHeld", 3, Reshaped, false},
                    HoldCase{"Mode2HiddenAndShownStaysHeld", 2, HiddenAndShown, false},
                    HoldCase{"Mode3ShownStaysHeld", 3, ShownTwice, false},
                    HoldCase{"Mode2PlayedStarts", 2, Played, true},
                    HoldCase{"Mode1ReshapedStarts", 1, Reshaped, true},
                    HoldCase{"Mode1HiddenAndShownStarts", 1, HiddenAndShown, true}),
    testing_support::RowName());

TEST_F(AnimationTest, HeldAnimationShownAgainAfterItsBuildStaysStill) {
  controller.Loaded({100, 100}, 0);
  controller.AfterLoad(true, 2);
  controller.DeferredBuildTick();
  controller.Hide();
  controller.Show();
  EXPECT_FALSE(port.armed);
  EXPECT_EQ(controller.currentFrame(), 1);
}

// A paint (or the loops-ended event) whose handler does something to the
// control while a step of the animation is still on the stack.
class HandlerPort : public AnimationPort {
 public:
  enum class At { kPaint, kLoopsEnded };
  HandlerPort(At at, void (*handler)(HandlerPort&)) : at_(at), handler_(handler) {}

  bool ArmTimer(TimerKind kind, uint32_t) override {
    ++arms;
    armed = true;
    armedKind = kind;
    return true;
  }
  void KillTimer() override { armed = false; }
  bool Repaint() override {
    if (at_ == At::kPaint) Handle();
    return controller != nullptr;
  }
  void RaiseLoopsEnded() override {
    if (at_ == At::kLoopsEnded) Handle();
  }
  void BuildRemainingFrames() override {}

  AnimationController* controller = nullptr;  // on the heap, the control's part
  bool armed = false;
  TimerKind armedKind = TimerKind::Animate;
  int arms = 0;
  int armsAtHandler = -1;

 private:
  void Handle() {
    if (armsAtHandler >= 0) return;  // once; the handler's own paints pass
    armsAtHandler = arms;
    handler_(*this);
  }
  At at_;
  void (*handler_)(HandlerPort&);
};

struct HandlerCase {
  std::string name;
  HandlerPort::At at;
  void (*step)(AnimationController&);
  void (*handler)(HandlerPort&);
  bool armedAfter;  // what the handler left armed stays so, and nothing else is
};

void DeleteController(HandlerPort& port) {
  delete port.controller;
  port.controller = nullptr;
}
void PauseController(HandlerPort& port) { port.controller->SetAction(kActionPause); }
void ReloadController(HandlerPort& port) {
  port.controller->Loaded({100, 100, 100}, 0);
  port.controller->AfterLoad(true, 1);
}
void Tick(AnimationController& c) { c.AnimationTick(); }
void Stop(AnimationController& c) { c.SetAction(kActionStop); }
void Restart(AnimationController& c) { c.SetAction(kActionRestart); }
void StepOnce(AnimationController& c) { c.SetAction(kActionStep); }

class EventHandlerTest : public testing::TestWithParam<HandlerCase> {};

// Under ASan a step that touches a deleted controller fails here.
TEST_P(EventHandlerTest, StepGoesNoFurtherThanTheHandlerLeftIt) {
  const HandlerCase& row = GetParam();
  HandlerPort port(row.at, row.handler);
  port.controller = new AnimationController(port);
  // Two frames, one loop: the second tick ends it.
  port.controller->Loaded({100, 100}, 1);
  port.controller->SetAction(kActionPlay);
  if (row.at == HandlerPort::At::kLoopsEnded) port.controller->AnimationTick();
  row.step(*port.controller);
  ASSERT_GE(port.armsAtHandler, 0) << "the handler never ran";
  EXPECT_EQ(port.armed, row.armedAfter);
  if (row.handler == DeleteController) {
    EXPECT_EQ(port.arms, port.armsAtHandler);
  }
  if (row.handler == ReloadController) {
    EXPECT_EQ(port.armedKind, TimerKind::DeferredBuild);
  }
  delete port.controller;
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, EventHandlerTest,
    testing::Values(HandlerCase{"TickPaintDeletes", HandlerPort::At::kPaint, Tick, DeleteController, false},
                    HandlerCase{"TickPaintPauses", HandlerPort::At::kPaint, Tick, PauseController, false},
                    HandlerCase{"TickPaintReloads", HandlerPort::At::kPaint, Tick, ReloadController, true},
                    HandlerCase{"LoopsEndedDeletes", HandlerPort::At::kLoopsEnded, Tick, DeleteController, false},
                    HandlerCase{"LoopsEndedRestarts", HandlerPort::At::kLoopsEnded, Tick,
                                [](HandlerPort& port) { port.controller->SetAction(kActionRestart); }, true},
                    HandlerCase{"StopPaintDeletes", HandlerPort::At::kPaint, Stop, DeleteController, false},
                    HandlerCase{"RestartPaintDeletes", HandlerPort::At::kPaint, Restart, DeleteController, false},
                    HandlerCase{"RestartPaintStops", HandlerPort::At::kPaint, Restart,
                                [](HandlerPort& port) { port.controller->SetAction(kActionStop); }, false},
                    HandlerCase{"StepPaintDeletes", HandlerPort::At::kPaint, StepOnce, DeleteController, false}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::anigif
