#include "scene/monitor_views.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune::scene {
namespace {

constexpr MonitorRect kFullHd{0, 0, 1920, 1080};

struct LayoutRow {
  const char* name;
  std::vector<DisplayMonitor> monitors;
  RunMonitors run;
  SceneLayout expected;
};

class LayOutSceneTest : public testing::TestWithParam<LayoutRow> {};

TEST_P(LayOutSceneTest, EveryShownMonitorGetsItsOwnPartOfTheWindow) {
  const LayoutRow& row = GetParam();
  const SceneLayout layout = LayOutScene(row.monitors, row.run);
  EXPECT_EQ(layout, row.expected);
  // Each view is its monitor's size, inside the window, and no two overlap.
  for (size_t i = 0; i < layout.views.size(); ++i) {
    const MonitorView& v = layout.views[i];
    EXPECT_EQ(v.viewport.width, v.monitor.width());
    EXPECT_EQ(v.viewport.height, v.monitor.height());
    EXPECT_GE(v.viewport.x, 0);
    EXPECT_GE(v.viewport.y, 0);
    EXPECT_LE(v.viewport.x + v.viewport.width, layout.window.width());
    EXPECT_LE(v.viewport.y + v.viewport.height, layout.window.height());
    for (size_t j = 0; j < i; ++j) {
      const ViewRect& a = layout.views[j].viewport;
      const ViewRect& b = v.viewport;
      EXPECT_FALSE(a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height)
          << "views " << j << " and " << i << " overlap";
    }
  }
}

const RunMonitors kEvery{false, {}};

INSTANTIATE_TEST_SUITE_P(
    Arrangements, LayOutSceneTest,
    testing::Values(
        LayoutRow{"OneMonitor", {{kFullHd, true, 60}}, kEvery, {kFullHd, {{kFullHd, {0, 0, 1920, 1080}, 0, 60}}}},
        // A 1920 × 1080 main, a portrait one right of it, taller: the window
        // spans both, and the main monitor's rows start 840 up from the
        // window's bottom.
        LayoutRow{"PortraitRightOfTheMain",
                  {{kFullHd, true, 60}, {{1920, 0, 3000, 1920}, false, 144}},
                  RunMonitors{false, {kFullHd, {1920, 0, 3000, 1920}}},
                  {{0, 0, 3000, 1920},
                   {{kFullHd, {0, 840, 1920, 1080}, 0, 60}, {{1920, 0, 3000, 1920}, {1920, 0, 1080, 1920}, 1, 144}}}},
        // Monitors left of and above the main one put the window's corner
        // at negative coordinates; the main view still comes first.
        LayoutRow{"NegativeOrigins",
                  {{{-1280, -1024, 0, 0}, false, 60}, {kFullHd, true, 60}, {{-1280, 0, 0, 1024}, false, 60}},
                  RunMonitors{false, {kFullHd, {-1280, -1024, 0, 0}, {-1280, 0, 0, 1024}}},
                  {{-1280, -1024, 1920, 1080},
                   {{kFullHd, {1280, 0, 1920, 1080}, 0, 60},
                    {{-1280, -1024, 0, 0}, {0, 1080, 1280, 1024}, 1, 60},
                    {{-1280, 0, 0, 1024}, {0, 56, 1280, 1024}, 2, 60}}}},
        // Windows keeps the main monitor at the origin, but a list that
        // flags none still finds it there; one that is away from it is
        // found by its flag.
        LayoutRow{"MainFoundAtTheOriginWithoutAFlag",
                  {{{1920, 0, 3200, 1024}, false, 0}, {kFullHd, false, 0}},
                  RunMonitors{true, {}},
                  {kFullHd, {{kFullHd, {0, 0, 1920, 1080}, 0, 0}}}},
        LayoutRow{"MainAwayFromTheOrigin",
                  {{kFullHd, false, 60}, {{1920, 200, 4480, 1640}, true, 60}},
                  RunMonitors{true, {}},
                  {{1920, 200, 4480, 1640}, {{{1920, 200, 4480, 1640}, {0, 0, 2560, 1440}, 0, 60}}}},
        LayoutRow{"MainOnlyLeavesTheOthersOut",
                  {{kFullHd, true, 60}, {{1920, 0, 3000, 1920}, false, 60}},
                  RunMonitors{true, {kFullHd}},
                  {kFullHd, {{kFullHd, {0, 0, 1920, 1080}, 0, 60}}}},
        // A user's picture: one picture, every monitor shows it.
        LayoutRow{"OnePictureForAll",
                  {{kFullHd, true, 60}, {{1920, 0, 3840, 1080}, false, 60}},
                  kEvery,
                  {{0, 0, 3840, 1080},
                   {{kFullHd, {0, 0, 1920, 1080}, 0, 60}, {{1920, 0, 3840, 1080}, {1920, 0, 1920, 1080}, 0, 60}}}},
        // A mirrored monitor shows the main one's view; an empty one none.
        LayoutRow{"MirroredAndEmptyMonitors",
                  {{kFullHd, true, 60}, {kFullHd, false, 60}, {{1920, 0, 1920, 1080}, false, 60}},
                  kEvery,
                  {kFullHd, {{kFullHd, {0, 0, 1920, 1080}, 0, 60}}}},
        LayoutRow{"NoMonitorKnown", {{{0, 0, 0, 0}, true, 60}}, kEvery, {}},
        // The run's pictures were made for the monitors at its start; after
        // a change, a monitor that moved or came shows the first picture,
        // one that stayed keeps its own.
        LayoutRow{"AfterTheMonitorsChanged",
                  {{kFullHd, true, 60}, {{1920, 0, 3200, 1024}, false, 60}, {{-1080, 0, 0, 1920}, false, 60}},
                  RunMonitors{false, {kFullHd, {1920, 0, 3000, 1920}, {-1080, 0, 0, 1920}}},
                  {{-1080, 0, 3200, 1920},
                   {{kFullHd, {1080, 840, 1920, 1080}, 0, 60},
                    {{1920, 0, 3200, 1024}, {3000, 896, 1280, 1024}, 0, 60},
                    {{-1080, 0, 0, 1920}, {0, 0, 1080, 1920}, 2, 60}}}}),
    testing_support::RowName());

TEST(LayOutSceneTest, NoMoreViewsThanRoomPictures) {
  std::vector<DisplayMonitor> monitors;
  for (int32_t i = 0; i < 40; ++i) monitors.push_back({{i * 100, 0, i * 100 + 100, 100}, i == 0, 60});
  EXPECT_EQ(LayOutScene(monitors, kEvery).views.size(), kMostRoomPictures);
}

TEST(FastestRefreshTest, TheFastestShownMonitorPacesTheFrames) {
  const SceneLayout layout =
      LayOutScene(std::vector<DisplayMonitor>{{kFullHd, true, 60}, {{1920, 0, 3840, 1080}, false, 144}}, kEvery);
  EXPECT_EQ(FastestRefresh(layout.views), 144u);
  const SceneLayout mainOnly =
      LayOutScene(std::vector<DisplayMonitor>{{kFullHd, true, 60}, {{1920, 0, 3840, 1080}, false, 144}},
                  RunMonitors{true, {}});
  EXPECT_EQ(FastestRefresh(mainOnly.views), 60u);
}

}  // namespace
}  // namespace ventalune::scene
