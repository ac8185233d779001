#include "saver/pictures/picture_reduction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

struct FitRow {
  const char* name;
  int32_t width, height;
  Reduction want;
};

class ReduceToFitTest : public testing::TestWithParam<FitRow> {};

TEST_P(ReduceToFitTest, HalvesRoundingUpUntilTheLongerSideFits) {
  const FitRow& row = GetParam();
  const Reduction got = ReduceToFit(row.width, row.height);
  EXPECT_EQ(got.width, row.want.width);
  EXPECT_EQ(got.height, row.want.height);
  EXPECT_EQ(got.shift, row.want.shift);
  if (got.shift > 0) {
    // The longer side lands between half the ceiling (exclusive) and the ceiling.
    EXPECT_GT(std::max(got.width, got.height), kLongestSideKept / 2);
    EXPECT_LE(std::max(got.width, got.height), kLongestSideKept);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ReduceToFitTest,
    testing::Values(FitRow{"SmallKept", 1024, 768, {1024, 768, 0}},
                    FitRow{"CeilingKept", 4096, 4096, {4096, 4096, 0}},
                    FitRow{"TallCeilingKept", 10, 4096, {10, 4096, 0}},
                    FitRow{"JustOverHalved", 4097, 10, {2049, 5, 1}},
                    FitRow{"CameraPhoto", 6000, 4000, {3000, 2000, 1}},
                    FitRow{"TwiceTheCeiling", 8192, 4096, {4096, 2048, 1}},
                    // Halved once it would be 4097: a second halving is needed.
                    FitRow{"RoundingUpNeedsAnotherHalving", 8193, 100, {2049, 25, 2}},
                    FitRow{"WidePhoto", 12000, 6000, {3000, 1500, 2}},
                    FitRow{"Panorama", 20000, 5000, {2500, 625, 3}},
                    FitRow{"TallSliver", 1, 100000, {1, 3125, 5}},
                    FitRow{"LargestWidth", INT32_MAX, 1, {4096, 1, 19}},
                    FitRow{"NoAreaUnchanged", 0, 50000, {0, 50000, 0}},
                    FitRow{"NegativeUnchanged", -9000, 5, {-9000, 5, 0}}),
    testing_support::RowName());

struct ReducedSizeRow {
  const char* name;
  int32_t width, height;
  ReducedSize want;
};

class ReducedPictureSizeTest : public testing::TestWithParam<ReducedSizeRow> {};

TEST_P(ReducedPictureSizeTest, KeepsTheProportionWithTheLongerSideAtTheReducedSize) {
  const ReducedSizeRow& row = GetParam();
  EXPECT_EQ(ReducedPictureSize(row.width, row.height), row.want);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ReducedPictureSizeTest,
    testing::Values(ReducedSizeRow{"SmallKept", 1024, 768, {1024, 768}},
                    ReducedSizeRow{"CeilingKept", 4096, 3000, {4096, 3000}},
                    ReducedSizeRow{"CameraPhotoRoundsDown", 6000, 4000, {2048, 1365}},
                    ReducedSizeRow{"PortraitRoundsUp", 3000, 4500, {1365, 2048}},
                    ReducedSizeRow{"WidePhoto", 12000, 6000, {2048, 1024}},
                    ReducedSizeRow{"SquareJustOver", 4097, 4097, {2048, 2048}},
                    ReducedSizeRow{"SliverKeepsAPixel", 100000, 1, {2048, 1}},
                    ReducedSizeRow{"LargestSides", INT32_MAX, INT32_MAX - 1, {2048, 2048}},
                    ReducedSizeRow{"NoAreaUnchanged", 9000, 0, {9000, 0}}),
    testing_support::RowName());

// A picture whose every pixel differs from its neighbours, four bytes a pixel.
std::vector<uint8_t> Picture(int32_t width, int32_t height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>(x * 37 + y * 11);
      p[1] = static_cast<uint8_t>(x * 5 + y * 101);
      p[2] = static_cast<uint8_t>((x ^ y) * 29);
      p[3] = 0xff;
    }
  return pixels;
}

// The same picture, three bytes a pixel.
std::vector<uint8_t> Packed(const std::vector<uint8_t>& fourBytes) {
  std::vector<uint8_t> three;
  for (size_t at = 0; at < fourBytes.size(); at += 4) three.insert(three.end(), &fourBytes[at], &fourBytes[at + 3]);
  return three;
}

// The average of each block, done the plain way.
std::vector<uint8_t> Averaged(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int shift) {
  const int32_t block = 1 << shift;
  const int32_t outWidth = (width + block - 1) / block, outHeight = (height + block - 1) / block;
  std::vector<uint8_t> out(static_cast<size_t>(outWidth) * outHeight * 4, 0);
  for (int32_t by = 0; by < outHeight; ++by)
    for (int32_t bx = 0; bx < outWidth; ++bx)
      for (int channel = 0; channel < 3; ++channel) {
        uint64_t sum = 0, count = 0;
        for (int32_t y = by * block; y < std::min(height, (by + 1) * block); ++y)
          for (int32_t x = bx * block; x < std::min(width, (bx + 1) * block); ++x, ++count)
            sum += pixels[(static_cast<size_t>(y) * width + x) * 4 + channel];
        out[(static_cast<size_t>(by) * outWidth + bx) * 4 + channel] = static_cast<uint8_t>((sum + count / 2) / count);
      }
  return out;
}

struct AverageRow {
  const char* name;
  int32_t width, height;
  int shift;
  int32_t rowsPerCall;
  int bytesPerPixel;
};

class BlockAveragerTest : public testing::TestWithParam<AverageRow> {};

TEST_P(BlockAveragerTest, EachPixelIsTheAverageOfItsBlock) {
  const AverageRow& row = GetParam();
  const std::vector<uint8_t> picture = Picture(row.width, row.height);
  const std::vector<uint8_t> source = row.bytesPerPixel == 3 ? Packed(picture) : picture;
  const int32_t block = 1 << row.shift;
  const Reduction reduction{(row.width + block - 1) / block, (row.height + block - 1) / block, row.shift};
  std::vector<uint8_t> target(static_cast<size_t>(reduction.width) * reduction.height * 4, 0xee);
  BlockAverager averager(row.width, row.height, row.bytesPerPixel, reduction, target);
  const size_t rowBytes = static_cast<size_t>(row.width) * row.bytesPerPixel;
  for (int32_t y = 0; y < row.height; y += row.rowsPerCall) {
    const int32_t rows = std::min(row.rowsPerCall, row.height - y);
    ASSERT_FALSE(averager.complete());
    ASSERT_TRUE(averager.AddRows(std::span(source).subspan(y * rowBytes, rows * rowBytes)));
  }
  EXPECT_TRUE(averager.complete());
  EXPECT_EQ(target, Averaged(picture, row.width, row.height, row.shift));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, BlockAveragerTest,
    testing::Values(AverageRow{"NoReductionCopies", 5, 3, 0, 1, 4},
                    AverageRow{"HalvedExactly", 8, 6, 1, 2, 4},
                    AverageRow{"HalvedOddEdges", 7, 5, 1, 1, 4},
                    AverageRow{"QuarteredPartialBlocks", 13, 11, 2, 3, 4},
                    AverageRow{"RowsAcrossBlockEdges", 17, 19, 2, 5, 4},
                    AverageRow{"AllRowsAtOnce", 33, 9, 3, 9, 4},
                    AverageRow{"BlockLargerThanPicture", 3, 2, 3, 1, 4},
                    AverageRow{"OneRowPicture", 40, 1, 2, 1, 4},
                    AverageRow{"ThreeBytesHalvedOddEdges", 7, 5, 1, 2, 3},
                    AverageRow{"ThreeBytesQuarteredPartialBlocks", 13, 11, 2, 4, 3}),
    testing_support::RowName());

TEST(BlockAveragerTest, RefusesRowsThatDoNotFit) {
  std::vector<uint8_t> target(2 * 2 * 4);
  const std::vector<uint8_t> rows = Picture(4, 5);
  BlockAverager averager(4, 4, 4, Reduction{2, 2, 1}, target);
  EXPECT_FALSE(averager.AddRows(std::span(rows).first(4 * 4 + 4))) << "a row and a bit";
  EXPECT_FALSE(averager.AddRows(rows)) << "five rows of a four-row picture";
  EXPECT_TRUE(averager.AddRows(std::span(rows).first(4 * 4 * 4)));
  EXPECT_TRUE(averager.complete());
  EXPECT_FALSE(averager.AddRows(std::span(rows).first(4 * 4))) << "a row after the last";
}

TEST(BlockAveragerTest, RefusesSizesThatDisagree) {
  const std::vector<uint8_t> rows = Picture(4, 4);
  struct Case {
    const char* name;
    int bytesPerPixel;
    Reduction reduction;
    size_t targetBytes;
  };
  for (const Case& c : {Case{"WrongWidth", 4, {3, 2, 1}, 3 * 2 * 4}, Case{"TargetTooSmall", 4, {2, 2, 1}, 2 * 2 * 4 - 1},
                        Case{"NegativeShift", 4, {4, 4, -1}, 4 * 4 * 4}, Case{"HugeShift", 4, {1, 1, 40}, 4},
                        Case{"TwoBytesAPixel", 2, {2, 2, 1}, 2 * 2 * 4}}) {
    std::vector<uint8_t> target(c.targetBytes);
    BlockAverager averager(4, 4, c.bytesPerPixel, c.reduction, target);
    EXPECT_FALSE(averager.AddRows(rows)) << c.name;
    EXPECT_FALSE(averager.complete()) << c.name;
  }
}

}  // namespace
}  // namespace ventalune::pictures
