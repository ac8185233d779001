#include "saver/toolkit/twips.h"

#include <gtest/gtest.h>

#include <string>

#include "row_name.h"

namespace ventalune::toolkit {
namespace {

struct TwipsCase {
  std::string name;
  int64_t twips;
  int32_t dpi;
  int32_t pixels;
};

class TwipsToPixelsTest : public testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixelsTest, RoundsToTheNearestPixel) {
  const TwipsCase& row = GetParam();
  EXPECT_EQ(TwipsToPixels(row.twips, row.dpi), row.pixels);
}

INSTANTIATE_TEST_SUITE_P(Values, TwipsToPixelsTest,
                         testing::Values(TwipsCase{"SkinWidthAt96", 960, 96, 64},
                                         TwipsCase{"DialogWidthAt96", 7190, 96, 479},
                                         TwipsCase{"SkinWidthAt120", 960, 120, 80},
                                         TwipsCase{"HalfPixelRoundsUp", 1500 / 2 + 15 / 2 + 1, 96, 51},
                                         TwipsCase{"NegativeHalfRoundsAway", -45, 144, -5},
                                         TwipsCase{"OneTwipIsNoPixel", 1, 96, 0},
                                         TwipsCase{"ZeroDpiCountsAs96", 150, 0, 10},
                                         TwipsCase{"HugeClamps", int64_t{1} << 50, 96, 2147483647}),
                         testing_support::RowName());

TEST(PixelsToTwipsTest, RoundedDownAsAControlReportsPositions) {
  EXPECT_EQ(PixelsToTwipsRoundedDown(120, 96), 1800);
  EXPECT_EQ(PixelsToTwipsRoundedDown(1, 120), 12);
  EXPECT_EQ(PixelsToTwipsRoundedDown(1, 144), 10);
  EXPECT_EQ(PixelsToTwipsRoundedDown(1, 100), 14);   // 14.4
  EXPECT_EQ(PixelsToTwipsRoundedDown(-1, 100), -15);  // left of the control: down, not toward zero
  EXPECT_EQ(PixelsToTwipsRoundedDown(1, 0), 15);      // no resolution counts as 96 dpi
}

TEST(PixelsToTwipsTest, ScreenResolutionsGiveWholeTwips) {
  EXPECT_EQ(PixelsToTwips(4, 96), 60);
  EXPECT_EQ(PixelsToTwips(479, 96), 7185);
  EXPECT_EQ(PixelsToTwips(5, 120), 60);
  EXPECT_EQ(PixelsToTwips(-1, 96), -15);
}

}  // namespace
}  // namespace ventalune::toolkit
