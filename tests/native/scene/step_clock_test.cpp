#include "scene/step_clock.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "row_name.h"

namespace ventalune::scene {
namespace {

constexpr uint64_t kWindowsCounter = 10'000'000;
constexpr uint64_t kYear = 365ull * 24 * 3600;

struct RateCase {
  const char* name;
  uint32_t framesPerSecond;
  uint64_t ticksPerSecond;
  uint64_t startSeconds;  // where the clock stands when the run begins
  int64_t jitterTicks;    // every other frame this much late
};

class StepClockRateTest : public testing::TestWithParam<RateCase> {};

// Drawn at any rate, the scene keeps 60 steps a second of the clock; a frame
// never lies a whole step or more past the latest, and what the frames show
// never runs backwards.
TEST_P(StepClockRateTest, KeepsSixtyStepsASecondOverAMinute) {
  const RateCase& row = GetParam();
  StepClock clock(row.ticksPerSecond);
  const uint64_t start = row.startSeconds * row.ticksPerSecond;
  const uint64_t frames = 60ull * row.framesPerSecond;
  uint64_t steps = 0;
  double lastShown = -1.0;
  for (uint64_t k = 0; k <= frames; ++k) {
    const int64_t jitter = (k % 2 == 0 || k == frames) ? 0 : row.jitterTicks;
    const StepsDue due = clock.FrameAt(start + k * row.ticksPerSecond / row.framesPerSecond + jitter);
    steps += due.steps;
    ASSERT_GE(due.weight, 0.0f);
    ASSERT_LT(due.weight, 1.0f);
    const double shown = static_cast<double>(steps) + due.weight;
    ASSERT_GE(shown, lastShown) << "frame " << k;
    lastShown = shown;
    if (row.framesPerSecond == kStepsPerSecond) {
      ASSERT_EQ(due.steps, 1u) << "frame " << k;
    }
  }
  EXPECT_NEAR(static_cast<double>(steps), 60.0 * 60.0, 60.0 * 60.0 * 0.005);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, StepClockRateTest,
    testing::Values(RateCase{"Twelve", 12, kWindowsCounter, 3600, 0},
                    RateCase{"Thirty", 30, kWindowsCounter, 3600, 0},
                    RateCase{"FiftyNine", 59, kWindowsCounter, 3600, 0},
                    RateCase{"Sixty", 60, kWindowsCounter, 3600, 0},
                    RateCase{"SixtyWithFourMillisecondsOfJitter", 60, kWindowsCounter, 3600, 40'000},
                    RateCase{"SixtyOnAMillisecondClock", 60, 1'000, 0, 0},
                    RateCase{"SixtyOne", 61, kWindowsCounter, 3600, 0},
                    RateCase{"OneHundredFortyFour", 144, kWindowsCounter, 3600, 0},
                    RateCase{"TwoHundredForty", 240, kWindowsCounter, 3600, 0},
                    // A counter that has run for years before the scene starts.
                    RateCase{"YearsIntoAFastCounter", 144, 3'000'000'000, 5 * kYear, 0},
                    RateCase{"YearsIntoTheWindowsCounter", 60, kWindowsCounter, 50 * kYear, 20'000}),
    testing_support::RowName());

// Frames that come exactly on time for years still have taken exactly the
// steps the time holds: the count is not a sum of rounded periods.
TEST(StepClockTest, ADayOfFramesTakesExactlyTheStepsOfADay) {
  StepClock clock(3'579'545);  // a counter whose ticks per step are not whole
  uint64_t steps = clock.FrameAt(0).steps;
  for (uint64_t second = 1; second <= 24 * 3600; ++second)
    for (uint64_t part = 1; part <= 5; ++part) steps += clock.FrameAt((second - 1) * 3'579'545 + part * 3'579'545 / 5).steps;
  EXPECT_EQ(steps, 1 + 24ull * 3600 * 60);
}

struct PositionCase {
  const char* name;
  uint64_t ticksPerSecond;
  uint64_t elapsed;
};

class StepsInTest : public testing::TestWithParam<PositionCase> {};

// Exact against wide arithmetic, for runs far longer than any saver's.
TEST_P(StepsInTest, CountsExactlyWithoutOverflow) {
  const PositionCase& row = GetParam();
  __extension__ typedef unsigned __int128 Wide;
  const Wide scaled = static_cast<Wide>(row.elapsed) * kStepsPerSecond;
  const StepPosition at = StepsIn(row.elapsed, row.ticksPerSecond);
  EXPECT_EQ(at.steps, static_cast<uint64_t>(scaled / row.ticksPerSecond));
  EXPECT_EQ(at.remainder, static_cast<uint64_t>(scaled % row.ticksPerSecond));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, StepsInTest,
    testing::Values(PositionCase{"AStep", kWindowsCounter, kWindowsCounter / 60},
                    PositionCase{"OddCounterAnHour", 3'579'545, 3600ull * 3'579'545 + 12'345},
                    PositionCase{"FiveYearsOfAThreeGigahertzCounter", 3'000'000'000, 5 * kYear * 3'000'000'000 + 7},
                    PositionCase{"CenturiesOfTheWindowsCounter", kWindowsCounter, 300 * kYear * kWindowsCounter + 99},
                    PositionCase{"TheWholeCounter", kWindowsCounter, UINT64_MAX}),
    testing_support::RowName());

struct StallCase {
  const char* name;
  int64_t jumpTicks;  // the clock between two frames drawn at 60 a second
  uint32_t mostSteps;
};

class StepClockStallTest : public testing::TestWithParam<StallCase> {};

// After a stall or a clock jump the scene catches up a quarter second at
// most, then goes on at one step a frame.
TEST_P(StepClockStallTest, CatchesUpAFractionOfASecondAtMost) {
  const StallCase& row = GetParam();
  StepClock clock(kWindowsCounter);
  constexpr uint64_t kFrame = kWindowsCounter / 60;
  uint64_t now = 100 * kWindowsCounter;
  for (int k = 0; k < 10; ++k, now += kFrame) clock.FrameAt(now);
  now += static_cast<uint64_t>(row.jumpTicks);
  const StepsDue after = clock.FrameAt(now);
  EXPECT_LE(after.steps, row.mostSteps);
  EXPECT_LT(after.weight, 1.0f);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(clock.FrameAt(now + k * kFrame).steps, 1u) << "frame " << k << " after";
}

INSTANTIATE_TEST_SUITE_P(
    Stalls, StepClockStallTest,
    testing::Values(StallCase{"FiveSecondStall", 5 * static_cast<int64_t>(kWindowsCounter), kMostStepsCaughtUp},
                    StallCase{"ClockGoesBackASecond", -static_cast<int64_t>(kWindowsCounter), 0},
                    StallCase{"ClockGoesBackHalfAFrame", -static_cast<int64_t>(kWindowsCounter / 120), 0},
                    StallCase{"ClockJumpsAYearAhead", static_cast<int64_t>(kYear * kWindowsCounter), kMostStepsCaughtUp}),
    testing_support::RowName());

TEST(StepClockTest, FirstFrameTakesTheFirstStep) {
  StepClock clock(kWindowsCounter);
  EXPECT_EQ(clock.FrameAt(0).steps, 1u);  // a clock that starts at 0 must not wrap
  EXPECT_EQ(clock.FrameAt(0).steps, 0u);
}

TEST(StepClockTest, DegenerateClockDoesNotDivideByZero) {
  StepClock clock(0);
  clock.FrameAt(5);
  EXPECT_LE(clock.FrameAt(6).steps, kMostStepsCaughtUp);
}

}  // namespace
}  // namespace ventalune::scene
