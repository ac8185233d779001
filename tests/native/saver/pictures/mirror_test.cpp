#include "saver/pictures/mirror.h"

#include <gtest/gtest.h>

#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

struct MirrorCase {
  const char* name;
  int width, height;
};

class MirrorLeftRightTest : public testing::TestWithParam<MirrorCase> {};

// Every pixel carries its own column and row, so any shift or swap shows.
TEST_P(MirrorLeftRightTest, ColumnXTakesColumnWidthMinusOneMinusX) {
  const auto [name, width, height] = GetParam();
  std::vector<uint8_t> px(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>(x), p[1] = static_cast<uint8_t>(x >> 8), p[2] = static_cast<uint8_t>(y), p[3] = 7;
    }
  MirrorLeftRight(px, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &px[(static_cast<size_t>(y) * width + x) * 4];
      const int from = width - 1 - x;
      ASSERT_EQ(p[0] | (p[1] << 8), from) << "x " << x << " y " << y;
      ASSERT_EQ(p[2], static_cast<uint8_t>(y));
      ASSERT_EQ(p[3], 7);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, MirrorLeftRightTest,
                         testing::Values(MirrorCase{"OneColumn", 1, 3}, MirrorCase{"EvenWidth", 4, 2},
                                         MirrorCase{"OddWidth", 5, 2}, MirrorCase{"ScreenWidth", 1024, 2}),
                         testing_support::RowName());

TEST(MirrorLeftRightTest, MismatchedSizesLeaveThePixelsAlone) {
  std::vector<uint8_t> px = {1, 2, 3, 4, 5, 6, 7, 8};
  MirrorLeftRight(px, 3, 1);
  MirrorLeftRight(px, 0, 2);
  EXPECT_EQ(px, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
}  // namespace ventalune::pictures
