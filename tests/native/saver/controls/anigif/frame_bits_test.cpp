// The bits the control hands GDI for a frame: colours with the top byte
// cleared and black where the background shows, and a mask whose rows are
// padded to 32 bits, most significant bit first. A mask off by one bit or
// one row, or padding left set, shows as a stripe along the picture's edge,
// so the widths sit on either side of that padding.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gif_builder.h"
#include "row_name.h"
#include "saver/controls/anigif/frame_bits.h"
#include "saver/gif/gif_picture.h"

namespace ventalune::anigif {
namespace {

enum class Shows { Nowhere, Everywhere, Scattered, LastColumn };

bool BackgroundAt(Shows shows, int32_t x, int32_t y, int32_t width) {
  switch (shows) {
    case Shows::Nowhere:
      return false;
    case Shows::Everywhere:
      return true;
    case Shows::Scattered:
      return (x + y) % 3 == 0;
    case Shows::LastColumn:
      return x == width - 1;
  }
  return false;
}

struct ConvertCase {
  std::string name;
  int32_t width;
  Shows shows;
  int32_t maskStride;  // bytes per mask row
};

class ConvertFrameTest : public testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertFrameTest, SplitsColoursFromTheBackgroundMask) {
  const ConvertCase& row = GetParam();
  constexpr int32_t kHeight = 3;
  gif::Surface surface;
  surface.Reset(row.width, kHeight);
  bool anyShows = false;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < row.width; ++x) {
      const size_t at = surface.At(x, y);
      // A top byte set everywhere, and a colour under the background too:
      // neither may reach GDI.
      surface.colour[at] = 0xA5000000u | gif::MakeColour(static_cast<uint8_t>(x * 7 + 1), static_cast<uint8_t>(y + 40),
                                                         static_cast<uint8_t>(200 - x));
      surface.background[at] = BackgroundAt(row.shows, x, y, row.width) ? 1 : 0;
      anyShows = anyShows || surface.background[at];
    }
  ASSERT_EQ(MaskStride(row.width), row.maskStride);

  // Exactly as large as GDI's bitmaps, and full of leftovers of another frame.
  std::vector<uint32_t> colour(static_cast<size_t>(row.width) * kHeight, 0xDEADBEEFu);
  std::vector<uint8_t> mask(static_cast<size_t>(row.maskStride) * kHeight, 0xFF);
  EXPECT_EQ(ConvertFrame(surface, colour.data(), mask.data()), anyShows);

  int wrongColours = 0, wrongBits = 0, paddingSet = 0;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t bit = 0; bit < row.maskStride * 8; ++bit) {
      const uint8_t byte = mask[static_cast<size_t>(y) * static_cast<size_t>(row.maskStride) + bit / 8];
      const bool set = (byte & (0x80 >> (bit % 8))) != 0;
      if (bit >= row.width) {
        paddingSet += set;
        continue;
      }
      const size_t at = surface.At(bit, y);
      const bool shows = surface.background[at] != 0;
      wrongBits += set != shows;
      const uint32_t wanted = shows ? 0 : surface.colour[at] & 0xFFFFFF;
      if (colour[at] != wanted && wrongColours++ == 0)
        ADD_FAILURE() << "colour at " << bit << "," << y << " is " << std::hex << colour[at] << ", not " << wanted;
    }
  EXPECT_EQ(wrongBits, 0) << "mask bits that do not say where the background shows";
  EXPECT_EQ(paddingSet, 0) << "padding bits set past the frame's right edge";
  EXPECT_EQ(wrongColours, 0) << "colours that are not the surface's without its top byte, or black";
}

INSTANTIATE_TEST_SUITE_P(Widths, ConvertFrameTest,
                         testing::Values(ConvertCase{"OnePixelOpaque", 1, Shows::Nowhere, 4},
                                         ConvertCase{"OnePixelTransparent", 1, Shows::Everywhere, 4},
                                         ConvertCase{"OnePixelScattered", 1, Shows::Scattered, 4},
                                         ConvertCase{"ThirtyOneOpaque", 31, Shows::Nowhere, 4},
                                         ConvertCase{"ThirtyOneTransparent", 31, Shows::Everywhere, 4},
                                         ConvertCase{"ThirtyOneScattered", 31, Shows::Scattered, 4},
                                         ConvertCase{"ThirtyOneLastColumn", 31, Shows::LastColumn, 4},
                                         ConvertCase{"ThirtyTwoOpaque", 32, Shows::Nowhere, 4},
                                         ConvertCase{"ThirtyTwoTransparent", 32, Shows::Everywhere, 4},
                                         ConvertCase{"ThirtyTwoScattered", 32, Shows::Scattered, 4},
                                         ConvertCase{"ThirtyTwoLastColumn", 32, Shows::LastColumn, 4},
                                         ConvertCase{"ThirtyThreeOpaque", 33, Shows::Nowhere, 8},
                                         ConvertCase{"ThirtyThreeTransparent", 33, Shows::Everywhere, 8},
                                         ConvertCase{"ThirtyThreeScattered", 33, Shows::Scattered, 8},
                                         // The one pixel of the second mask word: its top bit.
                                         ConvertCase{"ThirtyThreeLastColumn", 33, Shows::LastColumn, 8}),
                         testing_support::RowName());

// A 4 × 3 canvas on the builder's global table (entry i is i, 2i, 3i).
// Frame 1 covers the top right 3 × 2 with index 0 transparent and is kept;
// frame 2 adds the bottom row.
std::vector<uint8_t> TwoFrames() {
  gif::testing::GifBuilder gif("GIF89a", 4, 3, 1);
  gif.Control(1, 10, true, 0).Image({1, 0, 3, 2, -1, false, 2}, {1, 2, 3, 0, 1, 2});
  gif.Control(1, 10).Image({0, 2, 4, 1, -1, false, 2}, {3, 2, 1, 0});
  return gif.Trailer().bytes();
}

struct ComposeCase {
  std::string name;
  bool load;
  gif::LoadOptions options;
  bool buildRest;  // BuildRemainingFrames after the load
  size_t index;    // composed after every frame before it, as the control shows them
  bool composed;
  std::vector<std::string> rows;  // '.' where the background shows, else the table index
};

gif::LoadOptions Deferred() {
  gif::LoadOptions options;
  options.deferRemainingFrames = true;
  return options;
}
gif::LoadOptions Designer() {
  gif::LoadOptions options;
  options.firstFrameOnly = true;
  return options;
}
gif::LoadOptions WorkingPixels(int64_t pixels) {
  gif::LoadOptions options;
  options.maxWorkingPixels = pixels;
  return options;
}

class ComposeFrameTest : public testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeFrameTest, ComposesOnlyBuiltFramesAtTheWorkingSize) {
  const ComposeCase& row = GetParam();
  gif::GifPicture picture;
  if (row.load) {
    ASSERT_EQ(picture.Load(TwoFrames(), row.options), 2);
  }
  if (row.buildRest) {
    ASSERT_TRUE(picture.BuildRemainingFrames());
  }
  // Whatever the surface held before: another size, opaque white.
  gif::Surface surface;
  surface.Reset(7, 5);
  surface.colour.assign(surface.colour.size(), 0xFFFFFF);
  surface.background.assign(surface.background.size(), 0);
  for (size_t i = 0; i < row.index; ++i) ASSERT_TRUE(ComposeFrame(picture, i, surface)) << "frame " << i + 1;

  ASSERT_EQ(ComposeFrame(picture, row.index, surface), row.composed);
  if (!row.composed) return;
  ASSERT_EQ(surface.height, static_cast<int32_t>(row.rows.size()));
  ASSERT_EQ(surface.width, static_cast<int32_t>(row.rows[0].size()));
  for (int32_t y = 0; y < surface.height; ++y) {
    std::string shown;
    for (int32_t x = 0; x < surface.width; ++x) {
      const size_t at = surface.At(x, y);
      if (surface.background[at]) {
        shown += '.';
        continue;
      }
      const gif::Colour c = surface.colour[at] & 0xFFFFFF;
      const uint8_t index = gif::RedOf(c);
      shown += c == gif::MakeColour(index, 2 * index, 3 * index) && index < 4 ? static_cast<char>('0' + index) : '?';
    }
    EXPECT_EQ(shown, row.rows[static_cast<size_t>(y)]) << "row " << y;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ComposeFrameTest,
    testing::Values(ComposeCase{"FrameOne", true, {}, false, 0, true, {".123", "..12", "...."}},
                    ComposeCase{"FrameTwoKeepsFrameOne", true, {}, false, 1, true, {".123", "..12", "3210"}},
                    ComposeCase{"NothingLoaded", false, {}, false, 0, false, {}},
                    ComposeCase{"PastTheLastFrame", true, {}, false, 2, false, {}},
                    ComposeCase{"FrameTwoWhileDeferred", true, Deferred(), false, 1, false, {}},
                    ComposeCase{"FrameTwoOnceBuilt", true, Deferred(), true, 1, true, {".123", "..12", "3210"}},
                    ComposeCase{"FrameTwoInADesigner", true, Designer(), false, 1, false, {}},
                    // Every second pixel of every second row: 2 × 2.
                    ComposeCase{"FrameOneAtHalfSize", true, WorkingPixels(6), false, 0, true, {".2", ".."}}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::anigif
