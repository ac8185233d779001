#include "scene/frame_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "row_name.h"

namespace ventalune::scene {
namespace {

// A frame loop on scripted time. Real time only moves forward (waits, the
// drawing, a stall); the clock the pacer reads is real time plus an offset
// that a jump changes, as a changed system clock or a faulty counter would.
struct PacingCase {
  const char* name;
  uint64_t ticksPerSecond;
  double drawMs;         // cost of one frame
  double wakeLateMs;     // how late the timer wakes the loop
  int eventAtFrame;      // -1: none
  double stallMs;        // real time without frames (a stall, a minimised window)
  double clockJumpMs;    // the clock moves by this much, real time does not
  double expectedFps;    // over the real time that had frames
};

struct Simulation {
  std::vector<double> frameTimesMs;  // real time of each frame
  double longestWaitMs = 0;
  double framedMs = 0;               // real time minus the stall
};

Simulation Simulate(const PacingCase& row, double realSeconds) {
  const double ticksPerMs = static_cast<double>(row.ticksPerSecond) / 1000.0;
  auto ticks = [&](double ms) { return static_cast<int64_t>(ms * ticksPerMs); };
  FramePacer pacer(row.ticksPerSecond);
  Simulation result;
  int64_t real = 0;
  int64_t offset = ticks(3600.0 * 1000.0);  // the clock does not start at 0
  const int64_t end = ticks(realSeconds * 1000.0);
  while (real < end) {
    const auto clock = static_cast<uint64_t>(real + offset);
    const uint64_t wait = pacer.TicksUntilDue(clock);
    if (wait > 0) {
      result.longestWaitMs = std::max(result.longestWaitMs, static_cast<double>(wait) / ticksPerMs);
      real += static_cast<int64_t>(wait) + ticks(row.wakeLateMs);
      continue;
    }
    pacer.FrameDrawn(clock);
    result.frameTimesMs.push_back(static_cast<double>(real) / ticksPerMs);
    real += ticks(row.drawMs);
    if (static_cast<int>(result.frameTimesMs.size()) == row.eventAtFrame) {
      real += ticks(row.stallMs);
      offset += ticks(row.clockJumpMs);
    }
  }
  result.framedMs = realSeconds * 1000.0 - row.stallMs;
  return result;
}

// Most frames drawn in any stretch of real time this long.
size_t MostFramesWithin(const std::vector<double>& times, double windowMs) {
  size_t most = 0;
  for (size_t first = 0, last = 0; first < times.size(); ++first) {
    while (last < times.size() && times[last] < times[first] + windowMs) ++last;
    most = std::max(most, last - first);
  }
  return most;
}

class FramePacerTest : public testing::TestWithParam<PacingCase> {};

// Whatever happens to the clock or the drawing, frames come at the steady
// pace (or as fast as the drawing allows, when that is slower), never in a
// burst, and no wait is longer than one frame.
TEST_P(FramePacerTest, KeepsThePaceWithoutBursts) {
  const PacingCase& row = GetParam();
  const Simulation run = Simulate(row, 10.0);
  const double fps = static_cast<double>(run.frameTimesMs.size()) * 1000.0 / run.framedMs;
  EXPECT_NEAR(fps, row.expectedFps, 0.5);
  EXPECT_LE(MostFramesWithin(run.frameTimesMs, 100.0), 7u) << "a burst of frames";
  EXPECT_LE(run.longestWaitMs, 1000.0 / kFramesPerSecond + 0.01);
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, FramePacerTest,
    testing::Values(
        PacingCase{"OnTimeWithTheWindowsCounter", 10'000'000, 2, 0, -1, 0, 0, 60},
        PacingCase{"OnTimeWithAMillisecondClock", 1'000, 2, 0, -1, 0, 0, 60},
        PacingCase{"OnTimeWithAnOddFrequency", 3'579'545, 2, 0, -1, 0, 0, 60},
        PacingCase{"TimerWakesLateEveryTime", 10'000'000, 2, 3, -1, 0, 0, 60},
        PacingCase{"FramesSlowerThanThePace", 10'000'000, 25, 0, -1, 0, 0, 40},
        PacingCase{"FramesSlightlyTooSlow", 10'000'000, 17, 0, -1, 0, 0, 1000.0 / 17},
        PacingCase{"OneFrameLateByHalfAPeriod", 10'000'000, 2, 0, 100, 8, 0, 60},
        PacingCase{"LongStall", 10'000'000, 2, 0, 100, 2000, 0, 60},
        PacingCase{"LongPauseWhileMinimised", 1'000, 2, 0, 100, 5000, 0, 60},
        PacingCase{"ClockJumpsAnHourAhead", 10'000'000, 2, 0, 100, 0, 3600.0 * 1000, 60},
        PacingCase{"ClockJumpsAnHourBack", 10'000'000, 2, 0, 100, 0, -3600.0 * 1000, 60},
        PacingCase{"ClockJumpsBackALittle", 10'000'000, 2, 0, 100, 0, -40, 60}),
    testing_support::RowName());

TEST(FramePacerTest, FirstFrameIsDueAtOnceAndTheNextOnePeriodLater) {
  FramePacer pacer(6'000, 60);
  EXPECT_EQ(pacer.TicksUntilDue(123'456), 0u);
  pacer.FrameDrawn(123'456);
  EXPECT_EQ(pacer.TicksUntilDue(123'456), 100u);
  EXPECT_EQ(pacer.TicksUntilDue(123'500), 56u);
  EXPECT_EQ(pacer.TicksUntilDue(123'556), 0u);
}

// A frame a little late keeps the cadence: the next is due one period after
// the time the late one was due, not after the time it was drawn.
TEST(FramePacerTest, SlightlyLateFrameKeepsTheCadence) {
  FramePacer pacer(6'000, 60);
  pacer.FrameDrawn(0);
  pacer.FrameDrawn(130);  // due at 100
  EXPECT_EQ(pacer.TicksUntilDue(130), 70u);
}

TEST(FramePacerTest, DegenerateRatesDoNotDivideByZero) {
  FramePacer pacer(0, 0);
  pacer.FrameDrawn(5);
  EXPECT_LE(pacer.TicksUntilDue(5), 1u);
}

}  // namespace
}  // namespace ventalune::scene
