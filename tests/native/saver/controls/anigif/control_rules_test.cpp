// The control's rules that need no window: property writes and their
// notices, the Action states, frame timing and loop counting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"
#include "saver/controls/anigif/animation_controller.h"
#include "saver/controls/anigif/control_properties.h"
#include "saver/controls/anigif/timer_registry.h"

namespace ventalune::anigif {
namespace {

struct WriteCase {
  std::string name;
  const char* (*write)(ControlProperties&, int64_t);
  int64_t value;
  ControlProperties expected;
  const char* notice;  // null: no notice
};

const char* MirrorEmpty(ControlProperties& p, int64_t v) { return WriteMirror(p, v, false); }
const char* MirrorLoaded(ControlProperties& p, int64_t v) { return WriteMirror(p, v, true); }

ControlProperties With(int32_t delay, int32_t stretch, int32_t mode, int32_t mirror) {
  return ControlProperties{delay, stretch, mode, mirror};
}

class PropertyWriteTest : public testing::TestWithParam<WriteCase> {};

// Every write starts from the defaults: delay 50, stretch 1, delay mode 1, no mirror.
TEST_P(PropertyWriteTest, StoresWhatTheRuleLetsThroughAndAnnouncesChanges) {
  const WriteCase& row = GetParam();
  ControlProperties properties;
  const char* notice = row.write(properties, row.value);
  EXPECT_EQ(properties.minFrameDelay, row.expected.minFrameDelay);
  EXPECT_EQ(properties.stretch, row.expected.stretch);
  EXPECT_EQ(properties.delayMode, row.expected.delayMode);
  EXPECT_EQ(properties.mirror, row.expected.mirror);
  EXPECT_EQ(std::string(notice ? notice : "(none)"), std::string(row.notice ? row.notice : "(none)"));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, PropertyWriteTest,
    testing::Values(WriteCase{"DelayBelowFloorIsTen", WriteMinFrameDelay, 5, With(10, 1, 1, 0), "Delay"},
                    WriteCase{"DelayAboveCeilingIs32700", WriteMinFrameDelay, 40000, With(32700, 1, 1, 0), "Delay"},
                    WriteCase{"DelayNegativeIsTen", WriteMinFrameDelay, -7, With(10, 1, 1, 0), "Delay"},
                    WriteCase{"DelayUnchangedIsNotAnnounced", WriteMinFrameDelay, 50, With(50, 1, 1, 0), nullptr},
                    WriteCase{"StretchInRange", WriteStretch, 4, With(50, 4, 1, 0), "Stretch"},
                    WriteCase{"StretchAboveRangeIgnored", WriteStretch, 5, With(50, 1, 1, 0), nullptr},
                    WriteCase{"StretchNegativeIgnored", WriteStretch, -1, With(50, 1, 1, 0), nullptr},
                    WriteCase{"StretchSameIgnored", WriteStretch, 1, With(50, 1, 1, 0), nullptr},
                    WriteCase{"DelayModeInRange", WriteDelayAnimation, 3, With(50, 1, 3, 0), "DelayAnimation"},
                    WriteCase{"DelayModeAboveRangeIgnored", WriteDelayAnimation, 4, With(50, 1, 1, 0), nullptr},
                    WriteCase{"DelayModeSameIgnored", WriteDelayAnimation, 1, With(50, 1, 1, 0), nullptr},
                    WriteCase{"MirrorBothWays", MirrorLoaded, 3, With(50, 1, 1, 3), "Mirrored"},
                    WriteCase{"MirrorAboveRangeIgnored", MirrorLoaded, 4, With(50, 1, 1, 0), nullptr},
                    WriteCase{"MirrorSameWithFramesIgnored", MirrorLoaded, 0, With(50, 1, 1, 0), nullptr},
                    // Without frames every valid style is stored and announced.
                    WriteCase{"MirrorSameWithoutFramesAnnounced", MirrorEmpty, 0, With(50, 1, 1, 0), "Mirrored"}),
    testing_support::RowName());

struct LoopsCase {
  std::string name;
  int32_t before;
  int64_t value;
  int32_t stored;
  bool announced;
};

class LoopsWriteTest : public testing::TestWithParam<LoopsCase> {};

TEST_P(LoopsWriteTest, TakesTheAbsoluteValue) {
  const LoopsCase& row = GetParam();
  int32_t loops = row.before;
  const char* notice = WriteLoops(loops, row.value);
  EXPECT_EQ(loops, row.stored);
  EXPECT_EQ(notice != nullptr, row.announced);
}

INSTANTIATE_TEST_SUITE_P(Writes, LoopsWriteTest,
                         testing::Values(LoopsCase{"MinusThreeIsThree", 0, -3, 3, true},
                                         LoopsCase{"SameIsNotAnnounced", 3, -3, 3, false},
                                         LoopsCase{"MostNegativeIsLargest", 0, INT32_MIN, INT32_MAX, true},
                                         LoopsCase{"ZeroIsEndless", 2, 0, 0, true}),
                         testing_support::RowName());

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
  void Repaint() override { ++repaints; }
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
  controller.DeferredBuildTick(1);
  EXPECT_GE(port.builds, 1);
  EXPECT_EQ(port.armedKind, TimerKind::Animate);

  FakePort heldPort;
  AnimationController held(heldPort);
  held.Loaded({100, 100}, 0);
  held.AfterLoad(true, 2);
  held.DeferredBuildTick(2);
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

TEST(TimerRegistryTest, IdsAreUniqueAndForgottenOnesFindNothing) {
  int a = 0, b = 0;
  TimerRegistry<int> registry;
  const uintptr_t first = registry.Add(&a);
  const uintptr_t second = registry.Add(&b);
  EXPECT_NE(first, second);
  EXPECT_NE(first, 0u);
  EXPECT_EQ(registry.Find(first), &a);
  registry.Remove(first);
  EXPECT_EQ(registry.Find(first), nullptr);
  EXPECT_EQ(registry.Find(second), &b);
  // A fresh id never repeats one removed a moment ago.
  EXPECT_NE(registry.Add(&a), first);
}

TEST(TimerRegistryTest, WrapsPastTheLargestIdWithoutZeroOrTakenIds) {
  int owner = 0;
  TimerRegistry<int> registry(UINTPTR_MAX - 1);
  const uintptr_t last = registry.Add(&owner);
  const uintptr_t largest = registry.Add(&owner);
  const uintptr_t wrapped = registry.Add(&owner);
  EXPECT_EQ(last, UINTPTR_MAX - 1);
  EXPECT_EQ(largest, UINTPTR_MAX);
  EXPECT_NE(wrapped, 0u);
  EXPECT_NE(wrapped, last);
  EXPECT_EQ(registry.size(), 3u);
}

struct HeaderCase {
  std::string name;
  std::vector<uint8_t> bytes;
  bool gif;
  int32_t width, height;
};

std::vector<uint8_t> Header(const char* signature, size_t length) {
  std::vector<uint8_t> bytes(signature, signature + 6);
  bytes.insert(bytes.end(), {0x78, 0x00, 0x32, 0x01});  // 120 × 306
  bytes.resize(length, 0);
  return bytes;
}

class RemoteDataTest : public testing::TestWithParam<HeaderCase> {};

TEST_P(RemoteDataTest, NeedsFifteenBytesAndASignature) {
  const HeaderCase& row = GetParam();
  GifHeaderSize size;
  EXPECT_EQ(LooksLikeGif(row.bytes.data(), row.bytes.size(), size), row.gif);
  if (row.gif) {
    EXPECT_EQ(size.width, row.width);
    EXPECT_EQ(size.height, row.height);
  }
}

INSTANTIATE_TEST_SUITE_P(Data, RemoteDataTest,
                         testing::Values(HeaderCase{"FifteenBytes", Header("GIF89a", 15), true, 120, 306},
                                         HeaderCase{"FourteenBytesOfGif", Header("GIF89a", 14), false, 0, 0},
                                         HeaderCase{"LowerCase87", Header("gif87a", 20), true, 120, 306},
                                         HeaderCase{"WrongVersion", Header("GIF88a", 20), false, 0, 0},
                                         HeaderCase{"NotAGif", Header("<html>", 200), false, 0, 0}),
                         testing_support::RowName());

TEST(TwipsTest, PixelsBecomeTwipsRoundedDown) {
  EXPECT_EQ(PixelsToTwipsDown(120, 96), 1800);
  EXPECT_EQ(PixelsToTwipsDown(1, 120), 12);
  EXPECT_EQ(PixelsToTwipsDown(1, 144), 10);
  EXPECT_EQ(PixelsToTwipsDown(1, 100), 14);   // 14.4
  EXPECT_EQ(PixelsToTwipsDown(-1, 100), -15);  // left of the control: down, not toward zero
}

}  // namespace
}  // namespace ventalune::anigif
