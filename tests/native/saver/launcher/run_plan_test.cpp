#include "saver/launcher/run_plan.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "row_name.h"
#include "saver/settings/settings_store.h"

namespace ventalune::launcher {
namespace {

using namespace settings;

TEST(ScenePathTest, BesideTheSaver) {
  EXPECT_EQ(ScenePath(L"C:\\Program Files\\Ventalune"), L"C:\\Program Files\\Ventalune\\Ventalune.dll");
  // A profile folder no ANSI code page spells stays as the system named it.
  EXPECT_EQ(ScenePath(L"C:\\Users\\\u0410\u043d\u044f\u738b\\Ventalune"),
            L"C:\\Users\\\u0410\u043d\u044f\u738b\\Ventalune\\Ventalune.dll");
}

// A program starter that records what it is asked, and starts or fails.
class RecordingPrograms final : public ProgramStartPort {
 public:
  explicit RecordingPrograms(bool starts) : starts_(starts) {}
  std::vector<std::wstring> calls;
  std::optional<uint32_t> Start(const std::wstring& path) override {
    calls.push_back(L"start " + path);
    if (!starts_) return std::nullopt;
    return 4242;
  }
  void AllowForeground(uint32_t processId) override { calls.push_back(L"allow " + std::to_wstring(processId)); }

 private:
  bool starts_;
};

TEST(StartSceneTest, StartsTheSceneThenPassesItTheForeground) {
  RecordingPrograms programs(true);
  EXPECT_TRUE(StartScene(programs, L"C:\\Saver"));
  EXPECT_EQ(programs.calls, (std::vector<std::wstring>{L"start C:\\Saver\\Ventalune.dll", L"allow 4242"}));
}

TEST(StartSceneTest, PassesNothingOnWhenTheSceneDidNotStart) {
  RecordingPrograms programs(false);
  EXPECT_FALSE(StartScene(programs, L"C:\\Saver"));
  EXPECT_EQ(programs.calls, (std::vector<std::wstring>{L"start C:\\Saver\\Ventalune.dll"}));
}

// Looks at the scene window in a row, one look period apart, as the run's
// timer makes them; `count` of them from `fromMs` on.
struct Looks {
  SceneLook look;
  uint32_t fromMs;
  uint32_t count = 1;
  uint32_t stepMs = SceneWatch::kLookPeriodMs;
};
constexpr SceneLook kAbsent = SceneLook::kAbsent;
constexpr SceneLook kAnswering = SceneLook::kAnswering;
constexpr SceneLook kSilent = SceneLook::kSilent;
constexpr uint32_t kHourMs = 60 * 60 * 1000;

struct WatchCase {
  const char* name;
  uint32_t sceneStartedMs;  // after the picture was loaded and written
  std::vector<Looks> looks;
  SceneVerdict verdict;  // after the last look; every look before goes on watching
};

std::string Describe(SceneVerdict verdict) {
  switch (verdict) {
    case SceneVerdict::kWatching: return "watching";
    case SceneVerdict::kGone: return "gone";
    case SceneVerdict::kNeverCame: return "never came";
    case SceneVerdict::kHung: return "hung";
  }
  return "?";
}

void RunLooks(const WatchCase& row) {
  SceneWatch watch(row.sceneStartedMs);
  SceneVerdict verdict = SceneVerdict::kWatching;
  for (const Looks& looks : row.looks) {
    for (uint32_t i = 0; i < looks.count; ++i) {
      const uint32_t ms = looks.fromMs + i * looks.stepMs;  // may wrap, as the tick count does
      ASSERT_EQ(Describe(verdict), "watching") << "ended before the look at " << ms;
      verdict = watch.Look(looks.look, ms);
    }
  }
  EXPECT_EQ(Describe(verdict), Describe(row.verdict));
}

class SceneWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(SceneWatchTest, EndsWhenTheWindowHasComeAndGoneOrNeverCame) { RunLooks(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Looks, SceneWatchTest,
    testing::Values(
        WatchCase{"SlowStartIsNotAnEnd", 0, {{kAbsent, 500, 19}}, SceneVerdict::kWatching},
        WatchCase{"NeverAppearedWithinGrace", 0, {{kAbsent, 500, 20}}, SceneVerdict::kNeverCame},
        WatchCase{"AppearedThenGone", 0, {{kAbsent, 500}, {kAnswering, 1000}, {kAbsent, 1500}}, SceneVerdict::kGone},
        WatchCase{"StillThere", 0, {{kAnswering, 500, 120}}, SceneVerdict::kWatching},
        WatchCase{"GoneRightAfterAppearing", 0, {{kAnswering, 500}, {kAbsent, 1000}}, SceneVerdict::kGone},
        // A picture that took 12 s to load: the scene was started then, and
        // its window comes a second later.
        WatchCase{"WindowASecondAfterATwelveSecondLoad", 12000, {{kAbsent, 12500}, {kAnswering, 13000, 40}},
                  SceneVerdict::kWatching},
        // Looks more often than the timer's period, so that only the time
        // since the scene's start holds the verdict back.
        WatchCase{"GraceCountsFromTheSceneStart", 12000, {{kAbsent, 12250, 30, 250}}, SceneVerdict::kWatching},
        WatchCase{"NeverAppearedAfterASlowLoad", 12000, {{kAbsent, 12500, 20}}, SceneVerdict::kNeverCame},
        // The machine slept right after the scene was started; the window
        // comes soon after it wakes.
        WatchCase{"SleepDuringTheGrace", 0, {{kAbsent, 500}, {kAbsent, 8 * kHourMs}, {kAnswering, 8 * kHourMs + 500}},
                  SceneVerdict::kWatching},
        WatchCase{"GraceStillEndsAfterASleep", 0, {{kAbsent, 500}, {kAbsent, 8 * kHourMs, 19}},
                  SceneVerdict::kNeverCame}),
    testing_support::RowName());

class SceneHangTest : public testing::TestWithParam<WatchCase> {};

TEST_P(SceneHangTest, HungOnlyAfterTenSecondsOfSilenceAwake) { RunLooks(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Looks, SceneHangTest,
    testing::Values(
        WatchCase{"AlwaysAnswering", 0, {{kAnswering, 500, 120}}, SceneVerdict::kWatching},
        WatchCase{"SilentJustUnderTenSeconds", 0, {{kAnswering, 500}, {kSilent, 1000, 20}, {kSilent, 10999}},
                  SceneVerdict::kWatching},
        WatchCase{"SilentTenSeconds", 0, {{kAnswering, 500}, {kSilent, 1000, 21}}, SceneVerdict::kHung},
        // A busy moment that passes starts the count again.
        WatchCase{"AnswerInBetweenRestarts", 0, {{kSilent, 1000, 17}, {kAnswering, 9500}, {kSilent, 10000, 20}},
                  SceneVerdict::kWatching},
        WatchCase{"AnswerRestartsTheLookCountToo", 0,
                  {{kSilent, 500, 19}, {kAnswering, 10000}, {kSilent, 10500}, {kSilent, 30000}},
                  SceneVerdict::kWatching},
        WatchCase{"SilentFromTheFirstLook", 0, {{kSilent, 500, 21}}, SceneVerdict::kHung},
        // The tick count wraps after 49 days; the difference still counts.
        WatchCase{"AcrossTheTickWrap", 0xFFFFF000u, {{kSilent, 0xFFFFF000u, 21}}, SceneVerdict::kHung},
        // One missed answer just before the machine sleeps and one just
        // after it wakes are hours apart, but no hang.
        WatchCase{"MissedAnswersAcrossASleep", 0,
                  {{kAnswering, 500, 10}, {kSilent, 5500}, {kSilent, 5500 + 8 * kHourMs},
                   {kAnswering, 6000 + 8 * kHourMs}},
                  SceneVerdict::kWatching},
        WatchCase{"HungAfterASleep", 0, {{kSilent, 5500}, {kSilent, 5500 + 8 * kHourMs, 19}}, SceneVerdict::kHung},
        // Looks closer together than the timer's period (none should be)
        // still leave the scene its ten seconds.
        WatchCase{"QuickLooksStillWaitTenSeconds", 0, {{kSilent, 500, 60, 100}}, SceneVerdict::kWatching}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::launcher
