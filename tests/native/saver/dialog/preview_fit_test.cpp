#include "saver/dialog/preview_fit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "row_name.h"

namespace ventalune::dialog {
namespace {

struct FitCase {
  std::string name;
  int32_t width, height;
  PreviewSize preview;
};

class FitPreviewTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitPreviewTest, LongerSideBecomesEighty) {
  const FitCase& row = GetParam();
  EXPECT_EQ(FitPreview(row.width, row.height), row.preview);
}

INSTANTIATE_TEST_SUITE_P(Pictures, FitPreviewTest,
                         testing::Values(FitCase{"Landscape", 160, 120, {80, 60}},
                                         FitCase{"Portrait", 100, 200, {40, 80}},
                                         FitCase{"Square", 300, 300, {80, 80}},
                                         FitCase{"SmallIsEnlarged", 40, 30, {80, 60}},
                                         FitCase{"HairlineRoundsToNothing", 1, 1000, {0, 80}},
                                         FitCase{"FlatLine", 1000, 1, {80, 0}},
                                         // 3 × 80 / 48 = 5: exact; 1 × 80 / 32 = 2.5 goes to 2;
                                         // 7 × 80 / 160 = 3.5 goes to 4.
                                         FitCase{"Exact", 3, 48, {5, 80}},
                                         FitCase{"HalfGoesDownToEven", 1, 32, {2, 80}},
                                         FitCase{"HalfGoesUpToEven", 7, 160, {4, 80}},
                                         FitCase{"NoArea", 0, 0, {0, 0}},
                                         FitCase{"NegativeWidth", -40, 30, {0, 0}},
                                         FitCase{"LargestPicture", 2147483647, 2147483646, {80, 80}}),
                         testing_support::RowName());

using Positions = std::vector<std::pair<int32_t, int32_t>>;

Positions TilePositions(int32_t tileWidth, int32_t tileHeight, int32_t targetWidth, int32_t targetHeight) {
  Positions positions;
  ForEachTilePosition(tileWidth, tileHeight, targetWidth, targetHeight,
                      [&positions](int32_t x, int32_t y) { positions.emplace_back(x, y); });
  return positions;
}

Positions Grid(std::vector<int32_t> xs, std::vector<int32_t> ys) {
  Positions positions;
  for (int32_t x : xs)
    for (int32_t y : ys) positions.emplace_back(x, y);
  return positions;
}

// On a 144 dpi screen the preview area is 120 pixels a side.
TEST(FitPreviewTest, OtherSideForOtherResolutions) {
  EXPECT_EQ(FitPreview(160, 120, 120), (PreviewSize{120, 90}));
  EXPECT_EQ(FitPreview(100, 200, 120), (PreviewSize{60, 120}));
  EXPECT_EQ(FitPreview(160, 120, 0), (PreviewSize{0, 0}));
}

struct TileCase {
  std::string name;
  int32_t tileWidth, tileHeight, targetWidth, targetHeight;
  Positions positions;
};

class TilePositionsTest : public testing::TestWithParam<TileCase> {};

TEST_P(TilePositionsTest, ColumnByColumnPastTheEdges) {
  const TileCase& row = GetParam();
  EXPECT_EQ(TilePositions(row.tileWidth, row.tileHeight, row.targetWidth, row.targetHeight), row.positions);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, TilePositionsTest,
    testing::Values(
        TileCase{"PictureFrame", 563, 21, 449, 125, Grid({0, 563}, {0, 21, 42, 63, 84, 105, 126})},
        TileCase{"MusicFrame", 563, 21, 449, 145, Grid({0, 563}, {0, 21, 42, 63, 84, 105, 126, 147})},
        TileCase{"DialogBackground", 563, 21, 473, 365,
                 Grid({0, 563}, {0, 21, 42, 63, 84, 105, 126, 147, 168, 189, 210, 231, 252, 273, 294, 315, 336, 357,
                                 378})},
        // An exact multiple still gets a row and a column starting on the
        // edge and one beyond it.
        TileCase{"ExactMultiple", 10, 10, 20, 20, Grid({0, 10, 20, 30}, {0, 10, 20, 30})},
        TileCase{"EmptyTarget", 563, 21, 0, 0, Grid({0, 563}, {0, 21})},
        TileCase{"TileWithoutWidth", 0, 21, 449, 125, {}},
        TileCase{"TileWithoutHeight", 563, 0, 449, 125, {}}),
    testing_support::RowName());

// The column that would start beyond a target 2^31 − 1 wide lies outside
// every coordinate a surface has; the walk ends before it instead of wrapping.
TEST(TilePositionsTest, TargetAtTheLimitStopsInsideThirtyTwoBits) {
  constexpr int32_t kTile = 1 << 30;
  EXPECT_EQ(TilePositions(kTile, kTile, 2147483647, 0), Grid({0, kTile}, {0, kTile}));
}

}  // namespace
}  // namespace ventalune::dialog
