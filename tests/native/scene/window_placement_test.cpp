#include "scene/window_placement.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune::scene {
namespace {

struct PlacementRow {
  const char* name;
  bool fullScreenWanted;
  bool modeSwitched;
  ScreenRect sceneArea;
  WindowPlacement expected;
};

class PlaceSceneWindowTest : public testing::TestWithParam<PlacementRow> {};

TEST_P(PlaceSceneWindowTest, CoversTheScreenUnlessAWindowIsAskedFor) {
  const PlacementRow& row = GetParam();
  EXPECT_EQ(PlaceSceneWindow(row.fullScreenWanted, row.modeSwitched, row.sceneArea, 1024, 768), row.expected);
}

// popup, topmost, hidesCursor, restoresDisplayMode, sizeIsClientArea, rect
constexpr WindowPlacement kSwitchedMode{true, true, true, true, false, {0, 0, 1024, 768}};
constexpr WindowPlacement kWindow{false, false, false, false, true, {0, 0, 1024, 768}};

INSTANTIATE_TEST_SUITE_P(
    Screens, PlaceSceneWindowTest,
    testing::Values(
        // The monitors as the switch left them: the mode alone, or the
        // mode and the monitor beside it.
        PlacementRow{"ModeSwitchedFillsTheMode", true, true, {0, 0, 1024, 768}, kSwitchedMode},
        PlacementRow{"ModeSwitchedSpansTheOtherMonitorToo", true, true, {0, 0, 2944, 1080},
                     {true, true, true, true, false, {0, 0, 2944, 1080}}},
        PlacementRow{"ModeSwitchedOnAnUnknownMonitor", true, true, {0, 0, 0, 0}, kSwitchedMode},
        // Refused: the monitor at its own size, and no mode to put back.
        PlacementRow{"RefusedCovers1920x1080", true, false, {0, 0, 1920, 1080},
                     {true, true, true, false, false, {0, 0, 1920, 1080}}},
        PlacementRow{"RefusedCovers3840x2160", true, false, {0, 0, 3840, 2160},
                     {true, true, true, false, false, {0, 0, 3840, 2160}}},
        PlacementRow{"RefusedCoversASmallerScreen", true, false, {0, 0, 800, 600},
                     {true, true, true, false, false, {0, 0, 800, 600}}},
        // A monitor left of or above the primary puts the primary's corner
        // away from the virtual screen's.
        PlacementRow{"PrimaryAwayFromTheVirtualOrigin", true, false, {1280, 200, 2560, 1440},
                     {true, true, true, false, false, {1280, 200, 2560, 1440}}},
        PlacementRow{"UnknownMonitorFallsBackToTheMode", true, false, {0, 0, 0, 0},
                     {true, true, true, false, false, {0, 0, 1024, 768}}},
        PlacementRow{"WindowAskedForStaysAWindow", false, false, {0, 0, 1920, 1080}, kWindow}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::scene
