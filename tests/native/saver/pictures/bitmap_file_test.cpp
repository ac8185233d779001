#include "saver/pictures/bitmap_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Pixel (x, y) of a width × height picture gets blue x, green y, red 200.
std::vector<uint8_t> Numbered(int width, int height) {
  std::vector<uint8_t> px(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &px[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>(x), p[1] = static_cast<uint8_t>(y), p[2] = 200, p[3] = 99;
    }
  return px;
}

struct SizeCase {
  const char* name;
  int width, height;
  size_t stride;
};

class EncodeBitmapFileTest : public testing::TestWithParam<SizeCase> {};

// Headers describe a 24-bit bottom-up picture; rows are padded to four
// bytes; the file's last row is the picture's top row.
TEST_P(EncodeBitmapFileTest, HeadersRowsAndPadding) {
  const auto [name, width, height, stride] = GetParam();
  const auto file = EncodeBitmapFile(Numbered(width, height), width, height);
  ASSERT_EQ(file.size(), 54 + stride * height);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), file.size());
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U32(file, 18), static_cast<uint32_t>(width));
  EXPECT_EQ(U32(file, 22), static_cast<uint32_t>(height));
  EXPECT_EQ(file[28], 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &file[54 + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x) * 3];
      ASSERT_EQ(p[0], static_cast<uint8_t>(x));
      ASSERT_EQ(p[1], static_cast<uint8_t>(y));
      ASSERT_EQ(p[2], 200);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EncodeBitmapFileTest,
                         testing::Values(SizeCase{"NoPadding", 4, 3, 12}, SizeCase{"OnePixel", 1, 1, 4},
                                         SizeCase{"ThreeWide", 3, 2, 12}, SizeCase{"Screen", 256, 2, 768},
                                         SizeCase{"OddWide", 5, 5, 16}),
                         testing_support::RowName());

TEST(EncodeBitmapFileTest, RefusesSizesThatDoNotMatch) {
  EXPECT_TRUE(EncodeBitmapFile(Numbered(4, 4), 4, 5).empty());
  EXPECT_TRUE(EncodeBitmapFile({}, 0, 0).empty());
  EXPECT_TRUE(EncodeBitmapFile({}, -1, 4).empty());
}

}  // namespace
}  // namespace ventalune::pictures
