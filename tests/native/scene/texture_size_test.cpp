#include "scene/texture_size.h"

#include <gtest/gtest.h>

#include "row_name.h"

namespace ventalune::scene {
namespace {

struct SideCase {
  const char* name;
  int32_t pixels;
  int32_t largest;
  int32_t side;
};

class TextureSideTest : public testing::TestWithParam<SideCase> {};

TEST_P(TextureSideTest, NearestPowerOfTwoOnALogScale) {
  EXPECT_EQ(TextureSide(GetParam().pixels, GetParam().largest), GetParam().side);
}

INSTANTIATE_TEST_SUITE_P(
    Sides, TextureSideTest,
    testing::Values(SideCase{"ExactPower1024", 1024, 8192, 1024}, SideCase{"Height768RoundsUp", 768, 8192, 1024},
                    SideCase{"Height600RoundsDown", 600, 8192, 512}, SideCase{"JustBelowMidpoint1448", 1448, 8192, 1024},
                    SideCase{"JustAboveMidpoint1449", 1449, 8192, 2048}, SideCase{"ExactPower256", 256, 8192, 256},
                    SideCase{"Width800", 800, 8192, 1024}, SideCase{"OnePixel", 1, 8192, 1},
                    SideCase{"AboveLargestIsLargest", 20000, 8192, 8192},
                    SideCase{"JustAboveLargest", 4097, 4096, 4096},
                    SideCase{"ZeroBecomesOne", 0, 8192, 1}, SideCase{"NegativeBecomesOne", -5, 8192, 1},
                    SideCase{"NoContextLargestZero", 640, 0, 1},
                    // Desktop copies of today's screens.
                    SideCase{"Width1920", 1920, 8192, 2048}, SideCase{"Height1080", 1080, 8192, 1024},
                    SideCase{"Width2560", 2560, 8192, 2048}, SideCase{"Height1440", 1440, 8192, 1024},
                    SideCase{"Width3840", 3840, 8192, 4096}, SideCase{"Height2160", 2160, 8192, 2048},
                    SideCase{"Width3840OnA2048Driver", 3840, 2048, 2048}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::scene
