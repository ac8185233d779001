#include "tools/preview_still/ppm_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::preview {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

struct HeaderRow {
  std::string name;
  std::string bytes;
  bool accepted;
  int32_t width = 0;
  int32_t height = 0;
};

class PpmHeaderTest : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(PpmHeaderTest, AcceptsOnlyWholeEightBitPictures) {
  const HeaderRow& row = GetParam();
  const auto image = ParsePpm(Bytes(row.bytes));
  ASSERT_EQ(image.has_value(), row.accepted);
  if (!row.accepted) return;
  EXPECT_EQ(image->width, row.width);
  EXPECT_EQ(image->height, row.height);
  EXPECT_EQ(image->rgb.size(), static_cast<size_t>(row.width) * row.height * 3);
}

const std::string kSixBytes = "abcdef";

INSTANTIATE_TEST_SUITE_P(
    Headers, PpmHeaderTest,
    ::testing::Values(
        HeaderRow{"plain", "P6\n2 1\n255\n" + kSixBytes, true, 2, 1},
        HeaderRow{"comments_and_tabs", "P6 # made by hand\n2\t1 # two by one\n255 " + kSixBytes, true, 2, 1},
        // Pixel bytes may themselves look like whitespace or digits.
        HeaderRow{"pixels_that_look_like_header", "P6\n1 2\n255\n\n 12\t#", true, 1, 2},
        HeaderRow{"more_bytes_than_needed", "P6\n1 1\n255\nabcdef", true, 1, 1},
        // What is wrong with each of these is in its name.
        HeaderRow{"ascii_ppm_magic", "P3\n2 1\n255\n" + kSixBytes, false},
        HeaderRow{"empty", "", false},
        HeaderRow{"magic_only", "P6", false},
        HeaderRow{"missing_height", "P6\n2\n", false},
        HeaderRow{"sixteen_bit_samples", "P6\n1 1\n65535\n" + kSixBytes, false},
        HeaderRow{"fifteen_level_samples", "P6\n2 1\n15\n" + kSixBytes, false},
        HeaderRow{"zero_width", "P6\n0 1\n255\n", false},
        HeaderRow{"side_above_ceiling", "P6\n8193 1\n255\n" + kSixBytes, false},
        HeaderRow{"side_that_overflows_32_bits", "P6\n99999999999 1\n255\n" + kSixBytes, false},
        HeaderRow{"no_whitespace_before_pixels", "P6\n2 1\n255" + kSixBytes, false},
        HeaderRow{"one_pixel_byte_short", "P6\n2 1\n255\nabcde", false},
        HeaderRow{"negative_side", "P6\n-2 1\n255\n" + kSixBytes, false}),
    testing_support::RowName{});

TEST(PpmImageTest, WrittenPicturesReadBackUnchanged) {
  const RgbImage image{3, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}};
  const auto back = ParsePpm(PpmBytes(image));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(back->width, 3);
  EXPECT_EQ(back->height, 2);
  EXPECT_EQ(back->rgb, image.rgb);
}

// The scene's upload expects what a Windows DIB holds: the bottom row
// first and blue before red. A picture whose top-left pixel is red and
// bottom-right is blue shows both turns at once.
TEST(PpmImageTest, DibPixelsRunBottomUpInBlueGreenRedOrder) {
  const RgbImage image{2, 2,
                       {
                           255, 0, 0, 0, 255, 0,  // top: red, green
                           0, 0, 0, 0, 0, 255,    // bottom: black, blue
                       }};
  const std::vector<uint8_t> expected = {
      0, 0, 0, 0, 255, 0, 0, 0,  // bottom row first: black, blue
      0, 0, 255, 0, 0, 255, 0, 0,  // then the top row: red, green
  };
  EXPECT_EQ(DibPixels(image), expected);
}

}  // namespace
}  // namespace ventalune::preview
