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

struct WatchCase {
  const char* name;
  std::vector<std::pair<bool, uint32_t>> looks;  // window exists, ms since start
  bool over;                                     // after the last look
};

class SceneWatchTest : public testing::TestWithParam<WatchCase> {};

TEST_P(SceneWatchTest, EndsWhenTheWindowHasComeAndGoneOrNeverCame) {
  SceneWatch watch;
  bool over = false;
  for (auto [exists, ms] : GetParam().looks) {
    ASSERT_FALSE(over) << "ended before the last look";
    over = watch.RunIsOver(exists, ms);
  }
  EXPECT_EQ(over, GetParam().over);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, SceneWatchTest,
    testing::Values(WatchCase{"SlowStartIsNotAnEnd", {{false, 500}, {false, 1000}, {false, 9500}}, false},
                    WatchCase{"NeverAppearedWithinGrace", {{false, 500}, {false, 10000}}, true},
                    WatchCase{"AppearedThenGone", {{false, 500}, {true, 1000}, {false, 1500}}, true},
                    WatchCase{"StillThere", {{true, 500}, {true, 60000}}, false},
                    WatchCase{"GoneRightAfterAppearing", {{true, 500}, {false, 1000}}, true}),
    testing_support::RowName());

struct HangCase {
  const char* name;
  std::vector<std::pair<bool, uint32_t>> looks;  // answered, ms since start
  bool hung;                                     // after the last look
};

class SceneHangTest : public testing::TestWithParam<HangCase> {};

TEST_P(SceneHangTest, HungOnlyAfterTenSecondsOfSilenceWithoutABreak) {
  SceneWatch watch;
  bool hung = false;
  for (auto [answered, ms] : GetParam().looks) {
    ASSERT_FALSE(hung) << "hung before the last look";
    hung = watch.SceneHung(answered, ms);
  }
  EXPECT_EQ(hung, GetParam().hung);
}

INSTANTIATE_TEST_SUITE_P(
    Looks, SceneHangTest,
    testing::Values(HangCase{"AlwaysAnswering", {{true, 500}, {true, 60000}}, false},
                    HangCase{"SilentJustUnderTenSeconds", {{true, 500}, {false, 1000}, {false, 10999}}, false},
                    HangCase{"SilentTenSeconds", {{true, 500}, {false, 1000}, {false, 11000}}, true},
                    // A busy moment that passes starts the count again.
                    HangCase{"AnswerInBetweenRestarts", {{false, 1000}, {false, 9000}, {true, 9500}, {false, 10000},
                                                         {false, 19999}}, false},
                    HangCase{"SilentFromTheFirstLook", {{false, 500}, {false, 10500}}, true},
                    // The tick count wraps after 49 days; the difference still counts.
                    HangCase{"AcrossTheTickWrap", {{false, 0xFFFFF000u}, {false, 0x00001800u}}, true}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::launcher
