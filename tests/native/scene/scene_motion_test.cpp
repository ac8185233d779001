#include "scene/scene_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "row_name.h"
#include "scene/step_clock.h"

namespace ventalune::scene {
namespace {

// At 60 frames a second every frame takes one step, so the frames see the
// motion exactly as it was made: the same clock, the same ring counts, and
// the sway between the same two states.
TEST(SceneMotionTest, SixtyFramesASecondSeeTheMotionFrameForFrame) {
  SceneMotion motion;
  RingScene made;  // the motion as one advance and one drawn frame at a time
  StepClock clock(10'000'000);
  RingScene shown;
  for (uint64_t frame = 0; frame < 3 * 4000; ++frame) {
    const StepsDue due = clock.FrameAt(frame * 10'000'000 / 60);
    ASSERT_EQ(due.steps, 1u);
    TakeStep(motion);
    const RingScene before = made;
    AdvanceScene(made, frame % 3 == 0 ? 16 : 17);
    StepRingCounter(made.ringCounter);

    ComposeShownScene(motion, due.weight, shown);
    StepRingCounter(shown.ringCounter);  // as drawing does
    ASSERT_EQ(shown.ringCounter.value, made.ringCounter.value) << "frame " << frame;
    ASSERT_FLOAT_EQ(motion.latest.clock, made.clock);
    ASSERT_NEAR(shown.viewAngleX, before.viewAngleX + (made.viewAngleX - before.viewAngleX) * due.weight, 1e-3);
  }
}

struct DrawingCase {
  const char* name;
  uint32_t framesPerSecond;
};

class SceneMotionRateTest : public testing::TestWithParam<DrawingCase> {};

// Whatever the drawing rate, the frames show the sway moving on smoothly
// (no frame turns further than the fastest step does) and the ring count
// never going back to an earlier phase.
TEST_P(SceneMotionRateTest, FramesShowTheMotionInOrder) {
  const uint32_t fps = GetParam().framesPerSecond;
  SceneMotion motion;
  StepClock clock(10'000'000);
  RingScene shown;
  float lastX = 0.0f;
  float largestStep = 0.0f;
  int32_t lastCount = 0;
  uint64_t lastSteps = 0;
  for (uint64_t frame = 0; frame <= 75ull * fps; ++frame) {
    const StepsDue due = clock.FrameAt(frame * 10'000'000 / fps);
    for (uint32_t i = 0; i < due.steps; ++i) {
      const float before = motion.latest.viewAngleX;
      TakeStep(motion);
      largestStep = std::max(largestStep, std::fabs(motion.latest.viewAngleX - before));
    }
    ComposeShownScene(motion, due.weight, shown);
    StepRingCounter(shown.ringCounter);
    ASSERT_EQ(shown.ringCounter.value, motion.latest.ringCounter.value);
    if (motion.steps == lastSteps) {
      ASSERT_EQ(shown.ringCounter.value, lastCount) << "a frame without a step";
    }
    if (frame > 0) {
      ASSERT_LE(std::fabs(shown.viewAngleX - lastX), largestStep * (1.0f + 60.0f / static_cast<float>(fps)) + 1e-4f) << "frame " << frame;
    }
    lastX = shown.viewAngleX;
    lastCount = shown.ringCounter.value;
    lastSteps = motion.steps;
  }
  // 75 s hold the whole breath of the set: up to four rings and back to one.
  EXPECT_TRUE(motion.latest.ringCounter.falling || motion.latest.ringCounter.value > 3000);
}

INSTANTIATE_TEST_SUITE_P(Rates, SceneMotionRateTest,
                         testing::Values(DrawingCase{"Twelve", 12}, DrawingCase{"Thirty", 30},
                                         DrawingCase{"FiftyNine", 59}, DrawingCase{"SixtyOne", 61},
                                         DrawingCase{"OneHundredFortyFour", 144}, DrawingCase{"TwoHundredForty", 240}),
                         testing_support::RowName());

// Every function of the clock the motion uses repeats after the period the
// clock is wrapped by, so the wrap is invisible.
TEST(SceneMotionTest, EveryFunctionOfTheClockRepeatsAfterThePeriod) {
  const std::vector<std::function<double(double)>> functions = {
      [](double t) { return std::sin(t); },       [](double t) { return std::sin(1.2 * t); },
      [](double t) { return std::sin(1.1 * t); }, [](double t) { return std::cos(t / 4); },
      [](double t) { return std::sin(t / 2); },   [](double t) { return std::cos(t / 6); },
      [](double t) { return std::sin(t / 3); },   [](double t) { return std::cos(t / 8); },
      [](double t) { return std::sin(t / 4); },   [](double t) { return std::cos(t / 10); },
      [](double t) { return std::sin(t / 5); }};
  const double period = 240.0 * 3.14159265358979323846;
  EXPECT_NEAR(kMotionPeriodSeconds, period, 1e-4);
  for (size_t i = 0; i < functions.size(); ++i)
    for (double t : {0.3, 17.0, 400.0}) EXPECT_NEAR(functions[i](t + period), functions[i](t), 1e-9) << i;
}

// Run for days, the clock still resolves a step: it stays within one
// period, every step moves it by the step's 16 or 17 ms, and the rings keep
// turning by small amounts rather than freezing or jumping.
TEST(SceneMotionTest, ClockKeepsItsStepsAcrossTheWrap) {
  SceneMotion motion;
  motion.latest.clock = kMotionPeriodSeconds - 0.5f;
  TakeStep(motion);
  for (int step = 0; step < 2 * 45239; ++step) {
    const float before = motion.latest.clock;
    TakeStep(motion);
    const float after = motion.latest.clock;
    ASSERT_LT(after, kMotionPeriodSeconds);
    const float moved = after >= before ? after - before : after + kMotionPeriodSeconds - before;
    ASSERT_NEAR(moved, 0.0167f, 0.0012f) << "step " << step;
    ASSERT_LT(std::fabs(motion.latest.ringTurnY[0] - motion.previous.ringTurnY[0]), 0.01f);
  }
}

}  // namespace
}  // namespace ventalune::scene
