#include "saver/launcher/cover_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "row_name.h"

namespace ventalune::launcher {

void PrintTo(const ScreenRect& r, std::ostream* out) {
  *out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

constexpr ScreenRect kPrimary{0, 0, 1024, 768};
constexpr ScreenRect kRight{1024, 0, 1824, 600};
constexpr ScreenRect kLeft{-1280, -100, 0, 924};
constexpr ScreenRect kAbove{0, -600, 800, 0};
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

MonitorArea Primary(ScreenRect r) { return {r, true}; }
MonitorArea Other(ScreenRect r) { return {r, false}; }

struct LayoutCase {
  const char* name;
  std::vector<MonitorArea> monitors;
  std::vector<ScreenRect> covers;
};

class CoverLayoutTest : public testing::TestWithParam<LayoutCase> {};

TEST_P(CoverLayoutTest, CoversEveryMonitorButTheScenes) {
  EXPECT_EQ(CoverLayout(GetParam().monitors), GetParam().covers);
}

INSTANTIATE_TEST_SUITE_P(
    Monitors, CoverLayoutTest,
    testing::Values(
        LayoutCase{"NoMonitors", {}, {}},
        LayoutCase{"OnlyThePrimary", {Primary(kPrimary)}, {}},
        LayoutCase{"SecondOnTheRight", {Primary(kPrimary), Other(kRight)}, {kRight}},
        LayoutCase{"PrimaryListedLast", {Other(kRight), Primary(kPrimary)}, {kRight}},
        LayoutCase{"LeftOfThePrimaryNegative", {Primary(kPrimary), Other(kLeft)}, {kLeft}},
        LayoutCase{"AboveThePrimaryNegative", {Primary(kPrimary), Other(kAbove)}, {kAbove}},
        LayoutCase{"ThreeAround", {Other(kLeft), Primary(kPrimary), Other(kRight)}, {kLeft, kRight}},
        LayoutCase{"FourAround", {Primary(kPrimary), Other(kLeft), Other(kAbove), Other(kRight)},
                   {kLeft, kAbove, kRight}},
        // The same arrangement once the left monitor has been unplugged.
        LayoutCase{"LeftOneRemoved", {Primary(kPrimary), Other(kAbove), Other(kRight)}, {kAbove, kRight}},
        // A mirrored monitor shows the scene: covering it would blank the scene.
        LayoutCase{"MirrorOfThePrimary", {Primary(kPrimary), Other(kPrimary)}, {}},
        LayoutCase{"OverlapsThePrimarysRightHalf", {Primary(kPrimary), Other({512, 0, 1536, 768})},
                   {{1024, 0, 1536, 768}}},
        // A larger monitor showing the primary in its top-left corner: the
        // band to the right of the scene and the band below it.
        LayoutCase{"EnclosesThePrimary", {Primary(kPrimary), Other({0, 0, 1280, 1024})},
                   {{1024, 0, 1280, 768}, {0, 768, 1280, 1024}}},
        LayoutCase{"PrimaryInTheMiddleOfALargerOne", {Primary({100, 100, 200, 200}), Other({0, 0, 300, 300})},
                   {{0, 0, 300, 100}, {0, 100, 100, 200}, {200, 100, 300, 200}, {0, 200, 300, 300}}},
        LayoutCase{"TwoMonitorsShowingTheSameArea", {Primary(kPrimary), Other(kRight), Other(kRight)}, {kRight}},
        LayoutCase{"EmptyAndInvertedRectanglesSkipped",
                   {Primary(kPrimary), Other({1024, 0, 1024, 600}), Other({1824, 600, 1024, 0}), Other(kRight)},
                   {kRight}},
        LayoutCase{"NoneFlaggedTheOneAtTheOriginIsTheScenes", {Other(kRight), Other(kPrimary)}, {kRight}},
        LayoutCase{"NoneFlaggedAndNoneAtTheOriginCoversNothing", {Other(kRight), Other(kLeft)}, {}},
        LayoutCase{"EmptyPrimaryFallsBackToTheOrigin", {Primary({0, 0, 0, 0}), Other(kPrimary), Other(kRight)},
                   {kRight}},
        LayoutCase{"ExtremeCoordinates",
                   {Primary(kPrimary), Other({kMin, kMin, 0, kMax}), Other({1024, 0, kMax, kMax})},
                   {{kMin, kMin, 0, kMax}, {1024, 0, kMax, kMax}}}),
    testing_support::RowName());

TEST(CoverLayoutCeilingTest, AHugeMonitorListGivesAtMostTheCeiling) {
  std::vector<MonitorArea> monitors{Primary(kPrimary)};
  for (int32_t i = 1; i <= 1000; ++i) monitors.push_back(Other({i * 1024, 0, (i + 1) * 1024, 768}));
  const std::vector<ScreenRect> covers = CoverLayout(monitors);
  ASSERT_EQ(covers.size(), kMaxCovers);
  EXPECT_EQ(covers.front(), (ScreenRect{1024, 0, 2048, 768}));
}

}  // namespace
}  // namespace ventalune::launcher
