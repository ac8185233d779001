#include "saver/pictures/kept_picture.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

// A flat grey picture: what is checked is the size each step lands at.
PicturePixels Grey(int32_t width, int32_t height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0x80)};
}

struct KeptRow {
  const char* name;
  PictureSize stored;        // the picture as its file holds it
  int32_t halvedWidth, halvedHeight;  // as the decoder gave it
  Orientation orientation;
  int32_t width, height;     // kept, upright; 0 × 0: refused
};

class KeepReducedTest : public testing::TestWithParam<KeptRow> {};

TEST_P(KeepReducedTest, KeepsTheUprightPictureAtItsReducedSize) {
  const KeptRow& row = GetParam();
  const std::optional<PicturePixels> kept =
      KeepReduced(Grey(row.halvedWidth, row.halvedHeight), row.stored, row.orientation);
  if (row.width == 0) {
    EXPECT_FALSE(kept.has_value());
    return;
  }
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->width, row.width);
  EXPECT_EQ(kept->height, row.height);
  EXPECT_EQ(kept->pixels.size(), static_cast<size_t>(row.width) * static_cast<size_t>(row.height) * 4);
}

INSTANTIATE_TEST_SUITE_P(
    Photos, KeepReducedTest,
    testing::Values(
        // A camera's 6000 × 4000, halved to 3000 × 2000, kept at 2048 × 1365.
        KeptRow{"Landscape", {6000, 4000}, 3000, 2000, Orientation::kAsStored, 2048, 1365},
        // Tagged a quarter turn: the size is decided upright, 1365 × 2048.
        KeptRow{"QuarterTurned", {6000, 4000}, 3000, 2000, Orientation::kQuarterTurnClockwise, 1365, 2048},
        KeptRow{"Transposed", {6000, 4000}, 3000, 2000, Orientation::kTranspose, 1365, 2048},
        KeptRow{"HalfTurned", {6000, 4000}, 3000, 2000, Orientation::kHalfTurn, 2048, 1365},
        // A panorama keeps at least one pixel on its short side.
        KeptRow{"Sliver", {65535, 2}, 4096, 1, Orientation::kAsStored, 2048, 1},
        // A decoder that gave less than the kept size cannot be resampled up.
        KeptRow{"HalvedTooFar", {6000, 4000}, 1000, 700, Orientation::kAsStored, 0, 0},
        KeptRow{"NothingDecoded", {6000, 4000}, 0, 0, Orientation::kAsStored, 0, 0}),
    testing_support::RowName());

TEST(KeepWholeTest, AnUntaggedPictureIsHandedOnUntouched) {
  PicturePixels picture = Grey(3, 2);
  picture.pixels[5] = 7;
  const std::optional<PicturePixels> kept = KeepWhole(picture, Orientation::kAsStored);
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(kept->pixels, picture.pixels);
  const std::optional<PicturePixels> turned = KeepWhole(picture, Orientation::kQuarterTurnCounterClockwise);
  ASSERT_TRUE(turned.has_value());
  EXPECT_EQ(turned->width, 2);
  EXPECT_EQ(turned->height, 3);
}

}  // namespace
}  // namespace ventalune::pictures
