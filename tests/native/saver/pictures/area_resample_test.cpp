#include "saver/pictures/area_resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

// Neighbouring pixels differ in every channel, with the unused byte set.
std::vector<uint8_t> Picture(int32_t width, int32_t height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const auto x = static_cast<int32_t>(i / 4 % width), y = static_cast<int32_t>(i / 4 / width);
    pixels[i] = static_cast<uint8_t>(x * 37 + y * 11);
    pixels[i + 1] = static_cast<uint8_t>(x * 5 + y * 101);
    pixels[i + 2] = static_cast<uint8_t>((x ^ y) * 29);
    pixels[i + 3] = 0xff;
  }
  return pixels;
}

// The area average worked out the plain way, in real numbers: the overlap
// of each source pixel with the target pixel's square.
double Expected(const std::vector<uint8_t>& pixels, int32_t width, int32_t height, int32_t targetWidth,
                int32_t targetHeight, int32_t tx, int32_t ty, int channel) {
  const double sx = static_cast<double>(width) / targetWidth, sy = static_cast<double>(height) / targetHeight;
  double sum = 0;
  for (int32_t y = 0; y < height; ++y) {
    const double oy = std::min(y + 1.0, (ty + 1) * sy) - std::max(double(y), ty * sy);
    if (oy <= 0) continue;
    for (int32_t x = 0; x < width; ++x) {
      const double ox = std::min(x + 1.0, (tx + 1) * sx) - std::max(double(x), tx * sx);
      if (ox > 0) sum += ox * oy * pixels[(static_cast<size_t>(y) * width + x) * 4 + channel];
    }
  }
  return sum / (sx * sy);
}

struct ResampleRow {
  const char* name;
  int32_t width, height, targetWidth, targetHeight;
};

class ResampleByAreaTest : public testing::TestWithParam<ResampleRow> {};

TEST_P(ResampleByAreaTest, EachPixelIsTheAverageOfTheAreaItCovers) {
  const ResampleRow& row = GetParam();
  const std::vector<uint8_t> picture = Picture(row.width, row.height);
  const std::vector<uint8_t> got = ResampleByArea(picture, row.width, row.height, row.targetWidth, row.targetHeight);
  ASSERT_EQ(got.size(), static_cast<size_t>(row.targetWidth) * row.targetHeight * 4);
  for (int32_t ty = 0; ty < row.targetHeight; ++ty)
    for (int32_t tx = 0; tx < row.targetWidth; ++tx) {
      const uint8_t* pixel = &got[(static_cast<size_t>(ty) * row.targetWidth + tx) * 4];
      for (int channel = 0; channel < 3; ++channel) {
        const double want = Expected(picture, row.width, row.height, row.targetWidth, row.targetHeight, tx, ty, channel);
        ASSERT_LE(std::abs(pixel[channel] - want), 0.5 + 1e-9) << "at " << tx << "," << ty << " channel " << channel;
      }
      ASSERT_EQ(pixel[3], 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResampleByAreaTest,
                         testing::Values(ResampleRow{"SameSizeCopies", 5, 4, 5, 4},
                                         ResampleRow{"HalvedExactly", 8, 6, 4, 3},
                                         ResampleRow{"ThreeToTwo", 9, 6, 6, 4},
                                         ResampleRow{"PhotoProportions", 301, 199, 128, 85},
                                         ResampleRow{"OnlyTheWidth", 50, 7, 17, 7},
                                         ResampleRow{"ToOnePixel", 13, 11, 1, 1},
                                         ResampleRow{"OneRow", 97, 1, 64, 1},
                                         ResampleRow{"LargeRatio", 700, 3, 9, 2}),
                         testing_support::RowName());

TEST(ResampleByAreaTest, KeepsAFlatPictureFlat) {
  std::vector<uint8_t> flat(3000 * 20 * 4);
  for (size_t i = 0; i < flat.size(); i += 4) flat[i] = 200, flat[i + 1] = 3, flat[i + 2] = 255;
  const std::vector<uint8_t> got = ResampleByArea(flat, 3000, 20, 2048, 13);
  ASSERT_EQ(got.size(), 2048u * 13 * 4);
  for (size_t i = 0; i < got.size(); i += 4) {
    ASSERT_EQ(got[i], 200);
    ASSERT_EQ(got[i + 1], 3);
    ASSERT_EQ(got[i + 2], 255);
  }
}

TEST(ResampleByAreaTest, RefusesSizesThatDoNotFit) {
  const std::vector<uint8_t> picture = Picture(4, 3);
  struct Case {
    const char* name;
    size_t bytes;
    int32_t width, height, targetWidth, targetHeight;
  };
  for (const Case& c : {Case{"Enlarging", picture.size(), 4, 3, 5, 3}, Case{"NoTargetRows", picture.size(), 4, 3, 2, 0},
                        Case{"NegativeSource", picture.size(), -4, -3, 2, 1},
                        Case{"PixelsShort", picture.size() - 1, 4, 3, 2, 2},
                        Case{"SizesClaimMore", picture.size(), 4, 4, 2, 2}}) {
    EXPECT_TRUE(ResampleByArea(std::span(picture).first(c.bytes), c.width, c.height, c.targetWidth, c.targetHeight)
                    .empty())
        << c.name;
  }
}

}  // namespace
}  // namespace ventalune::pictures
