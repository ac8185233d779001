#include "scene/ring_scene.h"

#include <gtest/gtest.h>

#include "row_name.h"

#include <cmath>
#include <vector>

namespace ventalune::scene {
namespace {

struct AdvanceCase {
  const char* name;
  std::vector<uint32_t> steps;  // elapsed milliseconds, one per step
};

class AdvanceSceneTest : public testing::TestWithParam<AdvanceCase> {};

// The clock sums the steps; each step adds one sine of the new clock to each
// view angle; the ring turns depend on the clock alone.
TEST_P(AdvanceSceneTest, ClockSwayAndTurnsFollowTheSteps) {
  RingScene scene;
  float clock = 0.0f, x = 0.0f, y = 0.0f, z = 0.0f;
  for (uint32_t elapsed : GetParam().steps) {
    AdvanceScene(scene, elapsed);
    clock += static_cast<float>(elapsed) / 1000.0f;
    x += std::sin(clock);
    y += std::sin(1.2f * clock);
    z += std::sin(1.1f * clock);
  }
  EXPECT_FLOAT_EQ(scene.clock, clock);
  EXPECT_FLOAT_EQ(scene.viewAngleX, x);
  EXPECT_FLOAT_EQ(scene.viewAngleY, y);
  EXPECT_FLOAT_EQ(scene.viewAngleZ, z);
  for (int k = 1; k <= 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_FLOAT_EQ(scene.ringTurnX[k - 1], std::cos(clock / static_cast<float>(k + 1) / 2.0f));
    EXPECT_FLOAT_EQ(scene.ringTurnY[k - 1], std::sin(clock / static_cast<float>(k + 1)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, AdvanceSceneTest,
    testing::Values(AdvanceCase{"ZeroElapsed", {0}}, AdvanceCase{"OneSecond", {1000}},
                    AdvanceCase{"ManyShortFrames", std::vector<uint32_t>(100, 1)},
                    AdvanceCase{"MixedFrames", {16, 17, 16, 250, 3}},
                    AdvanceCase{"LongMinimisedPause", {16, 3600000}}),
    testing_support::RowName());

TEST(AdvanceSceneTest, AtClockZeroEveryRingLiesInTheBasePlane) {
  RingScene scene;
  AdvanceScene(scene, 0);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(scene.ringTurnX[k], 1.0f);
    EXPECT_EQ(scene.ringTurnY[k], 0.0f);
  }
  EXPECT_EQ(scene.viewAngleX, 0.0f);
}

TEST(AdvanceSceneTest, RingOneAndFourTurnAtTheirOwnRates) {
  RingScene scene;
  AdvanceScene(scene, 2000);  // T = 2
  EXPECT_FLOAT_EQ(scene.ringTurnX[0], std::cos(0.5f));
  EXPECT_FLOAT_EQ(scene.ringTurnY[0], std::sin(1.0f));
  EXPECT_FLOAT_EQ(scene.ringTurnX[3], std::cos(0.2f));
  EXPECT_FLOAT_EQ(scene.ringTurnY[3], std::sin(0.4f));
}

// A long pause moves the ring phases by the whole interval but the view by
// a single increment, so the sway never jumps.
TEST(AdvanceSceneTest, LongPauseMovesTheViewByOneIncrementOnly) {
  RingScene scene;
  AdvanceScene(scene, 10);
  const float before = scene.viewAngleX;
  AdvanceScene(scene, 86400000);
  EXPECT_LE(std::fabs(scene.viewAngleX - before), 1.0f);
}

struct CounterCase {
  const char* name;
  int frames;  // drawn frames from the start
  int32_t value;
  bool falling;
  int rings;
};

class RingCounterTest : public testing::TestWithParam<CounterCase> {};

TEST_P(RingCounterTest, SequenceFromStart) {
  RingCounter counter;
  for (int i = 0; i < GetParam().frames; ++i) StepRingCounter(counter);
  EXPECT_EQ(counter.value, GetParam().value);
  EXPECT_EQ(counter.falling, GetParam().falling);
  EXPECT_EQ(RingsShown(counter.value), GetParam().rings);
}

// Rising 1 … 3999; at 4000 it becomes 3000 and falls to 1; at 0 it becomes
// 1000 and rises again.
INSTANTIATE_TEST_SUITE_P(
    Frames, RingCounterTest,
    testing::Values(CounterCase{"FirstFrameOneRing", 1, 1, false, 1},
                    CounterCase{"Frame999StillOneRing", 999, 999, false, 1},
                    CounterCase{"Frame1000TwoRings", 1000, 1000, false, 2},
                    CounterCase{"Frame2999ThreeRings", 2999, 2999, false, 3},
                    CounterCase{"Frame3000FourRings", 3000, 3000, false, 4},
                    CounterCase{"Frame3999LastRising", 3999, 3999, false, 4},
                    CounterCase{"TopJumpsTo3000StillFour", 4000, 3000, true, 4},
                    CounterCase{"NextFrameThreeRings", 4001, 2999, true, 3},
                    CounterCase{"FallingOneRingStarts", 6001, 999, true, 1},
                    CounterCase{"FallingLastOneRing", 6999, 1, true, 1},
                    CounterCase{"BottomJumpsTo1000TwoRings", 7000, 1000, false, 2},
                    CounterCase{"RisingAgain", 7001, 1001, false, 2},
                    CounterCase{"SecondTop", 10000, 3000, true, 4}),
    testing_support::RowName());

// After the first cycle the one-ring state lasts 999 frames, the others 1000.
TEST(RingCounterTest, FallingOneRingPhaseLasts999Frames) {
  RingCounter counter;
  for (int i = 0; i < 4000; ++i) StepRingCounter(counter);
  int oneRingFrames = 0;
  for (int i = 0; i < 6000; ++i) {
    StepRingCounter(counter);
    if (RingsShown(counter.value) == 1) ++oneRingFrames;
  }
  EXPECT_EQ(oneRingFrames, 999);
}

TEST(RingSwingTest, UnfedSwingKeepsEveryRingCentred) {
  RingScene scene;
  for (int i = 0; i < 500; ++i) AdvanceScene(scene, 16);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(RingSwingOffset(scene.swing, k), 0.0f);
}

// Fed, the swing reaches ring k only after 20·k steps, and stays bounded.
TEST(RingSwingTest, FedSwingReachesOuterRingsLater) {
  RingSwing swing;
  swing.pushCount = 1000000;
  int firstMove[5] = {0, 0, 0, 0, 0};
  for (int step = 1; step <= 100; ++step) {
    AdvanceRingSwing(swing);
    for (int k = 1; k <= 4; ++k) {
      const float offset = RingSwingOffset(swing, k);
      EXPECT_LE(std::fabs(offset), 0.25f);
      if (firstMove[k] == 0 && offset != 0.0f) firstMove[k] = step;
    }
  }
  EXPECT_EQ(firstMove[1], 21);
  EXPECT_EQ(firstMove[2], 41);
  EXPECT_EQ(firstMove[3], 61);
  EXPECT_EQ(firstMove[4], 81);
}

}  // namespace
}  // namespace ventalune::scene
