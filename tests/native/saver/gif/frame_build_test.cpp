// Loading a GIF into the frame strip: where each frame's indexes land, what
// cut or corrupt data leaves, and the ceilings against hostile sizes.
#include <gtest/gtest.h>

#include <functional>

#include "gif_builder.h"
#include "row_name.h"
#include "saver/gif/frame_decoder.h"
#include "saver/gif/gif_picture.h"

namespace ventalune::gif {
namespace {

using testing::DecoderPacedCodes;
using testing::GifBuilder;
using testing::ImageBlock;
using testing::SubBlocks;

ImageBlock Block(int left, int top, int width, int height) { return ImageBlock{left, top, width, height}; }

// The frame's indexes as they sit in the strip, row by row.
std::vector<uint8_t> StripPixels(const GifPicture& picture, size_t index) {
  const FrameRecord& frame = picture.frames()[index];
  std::vector<uint8_t> pixels;
  for (int32_t y = 0; y < frame.height; ++y) {
    const uint8_t* row = picture.strip().Row(y) + frame.stripOffset;
    pixels.insert(pixels.end(), row, row + frame.width);
  }
  return pixels;
}

// --- interlacing -----------------------------------------------------------------

struct InterlaceCase {
  std::string name;
  int32_t height;
  std::vector<int32_t> displayRows;  // display row of stream row 0, 1, …
};

class InterlacedRowTest : public ::testing::TestWithParam<InterlaceCase> {};

TEST_P(InterlacedRowTest, StreamRowsGoToTheirDisplayRows) {
  std::vector<int32_t> rows;
  for (int32_t i = 0; i < GetParam().height; ++i) rows.push_back(InterlacedRow(i, GetParam().height));
  EXPECT_EQ(rows, GetParam().displayRows);
}

INSTANTIATE_TEST_SUITE_P(Heights, InterlacedRowTest,
                         ::testing::Values(InterlaceCase{"OneRow", 1, {0}}, InterlaceCase{"TwoRows", 2, {0, 1}},
                                           InterlaceCase{"ThreeRows", 3, {0, 2, 1}},
                                           InterlaceCase{"FiveRows", 5, {0, 4, 2, 1, 3}},
                                           InterlaceCase{"EightRows", 8, {0, 4, 2, 6, 1, 3, 5, 7}},
                                           InterlaceCase{"TenRows", 10, {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}}),
                         testing_support::RowName());

TEST(FrameBuildTest, InterlacedFrameLandsInDisplayOrder) {
  ImageBlock block = Block(0, 0, 2, 10);
  block.interlaced = true;
  block.minCodeSize = 4;
  std::vector<uint8_t> streamOrder;
  for (int i = 0; i < 10; ++i) streamOrder.insert(streamOrder.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
  GifPicture picture;
  ASSERT_EQ(picture.Load(GifBuilder("GIF89a", 2, 10, 3).Image(block, streamOrder).Trailer().bytes()), 1);
  const std::vector<uint8_t> pixels = StripPixels(picture, 0);
  const uint8_t expected[] = {0, 5, 3, 6, 2, 7, 4, 8, 1, 9};  // stream row shown on display row y
  for (int y = 0; y < 10; ++y) EXPECT_EQ(pixels[static_cast<size_t>(y) * 2], expected[y]) << "display row " << y;
}

// --- strip layout -------------------------------------------------------------------

TEST(FrameBuildTest, FramesSitSideBySideAtTheirOffsets) {
  const auto file = GifBuilder()
                        .Image(Block(0, 0, 3, 2), {1, 1, 1, 1, 1, 1})
                        .Image(Block(1, 0, 2, 3), {2, 2, 2, 2, 2, 2})
                        .Image(Block(0, 0, 4, 1), {3, 3, 3, 3})
                        .Trailer()
                        .bytes();
  GifPicture picture;
  ASSERT_EQ(picture.Load(file), 3);
  EXPECT_EQ(picture.strip().width, 9);
  EXPECT_EQ(picture.strip().height, 3);
  EXPECT_EQ(picture.frames()[1].stripOffset, 3);
  EXPECT_EQ(picture.frames()[2].stripOffset, 5);
  // Row 0 holds every frame's top row; rows below a short frame stay 0.
  const std::vector<uint8_t> top(picture.strip().Row(0), picture.strip().Row(0) + 9);
  EXPECT_EQ(top, (std::vector<uint8_t>{1, 1, 1, 2, 2, 3, 3, 3, 3}));
  const std::vector<uint8_t> bottom(picture.strip().Row(2), picture.strip().Row(2) + 9);
  EXPECT_EQ(bottom, (std::vector<uint8_t>{0, 0, 0, 2, 2, 0, 0, 0, 0}));
}

TEST(FrameBuildTest, FirstFrameOnlyBuildsFrameOneAndKeepsTheBytes) {
  const auto file = GifBuilder().Image(Block(0, 0, 3, 1), {1, 1, 1}).Image(Block(0, 0, 2, 1), {2, 2}).Trailer().bytes();
  GifPicture picture;
  LoadOptions design;
  design.firstFrameOnly = true;
  ASSERT_EQ(picture.Load(file, design), 2);
  EXPECT_EQ(picture.strip().width, 3);
  EXPECT_EQ(picture.builtFrames(), 1u);
  EXPECT_EQ(picture.source(), file);
  ASSERT_EQ(picture.Load(file), 2);
  EXPECT_EQ(picture.builtFrames(), 2u);
  EXPECT_TRUE(picture.source().empty()) << "run mode keeps only the strip";
}

TEST(FrameBuildTest, DeferredLoadBuildsTheRestLater) {
  const auto file = GifBuilder().Image(Block(0, 0, 1, 1), {1}).Image(Block(0, 0, 1, 1), {2}).Trailer().bytes();
  GifPicture picture;
  LoadOptions deferred;
  deferred.deferRemainingFrames = true;
  ASSERT_EQ(picture.Load(file, deferred), 2);
  EXPECT_EQ(picture.builtFrames(), 1u);
  Surface target;
  target.Reset(1, 1);
  EXPECT_FALSE(picture.DrawFrame(1, target));
  ASSERT_TRUE(picture.BuildRemainingFrames());
  EXPECT_EQ(StripPixels(picture, 1), std::vector<uint8_t>{2});
  EXPECT_FALSE(picture.BuildRemainingFrames());
}

// --- damaged and hostile data -----------------------------------------------------------

struct DamageCase {
  std::string name;
  std::function<std::vector<uint8_t>()> file;
  int32_t frames;                 // what the load reports
  std::vector<uint8_t> lastFrame;  // the last frame's indexes in the strip
};

class DamagedDataTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedDataTest, LoadsWhatCanBeShown) {
  GifPicture picture;
  ASSERT_EQ(picture.Load(GetParam().file()), GetParam().frames);
  if (GetParam().frames == 0) return;
  EXPECT_EQ(StripPixels(picture, picture.builtFrames() - 1), GetParam().lastFrame);
}

// A 4 × 2 frame after a 1 × 1 one, its image data given raw.
std::vector<uint8_t> SecondFrameData(const std::vector<uint8_t>& data, int minCodeSize = 2) {
  ImageBlock block = Block(0, 0, 4, 2);
  block.minCodeSize = minCodeSize;
  GifBuilder gif;
  gif.Image(Block(0, 0, 1, 1), {1}).Descriptor(block).Raw(data);
  return gif.bytes();
}

// Clear and three 3-bit codes, then 4-bit codes: bytes 0-2 hold exactly the
// first six pixels.
std::vector<uint8_t> EightPixelCodes() { return testing::LiteralCodes({1, 2, 3, 1, 2, 3, 1, 2}, 2); }

INSTANTIATE_TEST_SUITE_P(
    Damage, DamagedDataTest,
    ::testing::Values(
        DamageCase{"Intact", [] { return SecondFrameData(SubBlocks(EightPixelCodes())); }, 2, {1, 2, 3, 1, 2, 3, 1, 2}},
        // The file ends after 3 of the 5 code bytes of the sub-block.
        DamageCase{"DataCutMidSubBlock",
                   [] {
                     auto bytes = SecondFrameData(SubBlocks(EightPixelCodes()));
                     bytes.resize(bytes.size() - 3);
                     return bytes;
                   },
                   2, {1, 2, 3, 1, 2, 3, 0, 0}},
        // Same codes in one-byte sub-blocks, the file cut after the third block.
        DamageCase{"DataCutBetweenSubBlocks",
                   [] {
                     auto bytes = SecondFrameData(SubBlocks(EightPixelCodes(), 1));
                     bytes.resize(bytes.size() - 5);
                     return bytes;
                   },
                   2, {1, 2, 3, 1, 2, 3, 0, 0}},
        // The end code never comes: the pixels so far stay.
        DamageCase{"NoEndCode", [] { return SecondFrameData(SubBlocks(DecoderPacedCodes(2).Clear().Put(3).Put(3).Bytes())); }, 2,
                   {3, 3, 0, 0, 0, 0, 0, 0}},
        // The image data is only the terminator.
        DamageCase{"OnlyAZeroLengthSubBlock", [] { return SecondFrameData({0x00}); }, 2, {0, 0, 0, 0, 0, 0, 0, 0}},
        // A zero-length sub-block ends the data; the two after it are read as blocks (0x00 padding, then 0x3B).
        DamageCase{"ZeroLengthSubBlockEndsData",
                   [] {
                     auto codes = EightPixelCodes();
                     std::vector<uint8_t> data = {2, codes[0], codes[1], 0x00, 0x00, 0x3B};
                     return SecondFrameData(data);
                   },
                   2, {1, 2, 3, 1, 0, 0, 0, 0}},
        // Codes for 12 pixels in an 8-pixel frame: the surplus is ignored.
        DamageCase{"MorePixelsThanTheFrame",
                   [] { return SecondFrameData(SubBlocks(testing::LiteralCodes(testing::Ramp(12, 1, 4), 2))); }, 2,
                   {0, 1, 2, 3, 0, 1, 2, 3}},
        // Code 7 before the table has an entry 7.
        DamageCase{"CodeAboveNextFree", [] { return SecondFrameData(SubBlocks(DecoderPacedCodes(2).Clear().Put(2).Put(7).Put(1).End().Bytes())); },
                   2, {2, 0, 0, 0, 0, 0, 0, 0}},
        DamageCase{"MinimumCodeSize9LeavesFrameBlank", [] { return SecondFrameData(SubBlocks(EightPixelCodes()), 9); }, 2,
                   {0, 0, 0, 0, 0, 0, 0, 0}},
        DamageCase{"MinimumCodeSize0LeavesFrameBlank", [] { return SecondFrameData(SubBlocks(EightPixelCodes()), 0); }, 2,
                   {0, 0, 0, 0, 0, 0, 0, 0}},
        // Index 9 and 15 with a 4-entry table: kept as indexes (they draw black).
        DamageCase{"IndexesBeyondTheTable",
                   [] { return SecondFrameData(SubBlocks(testing::LiteralCodes({9, 15, 0, 1, 2, 3, 9, 9}, 4)), 4); }, 2,
                   {9, 15, 0, 1, 2, 3, 9, 9}}),
    testing_support::RowName());

// --- ceilings -------------------------------------------------------------------------

struct CeilingCase {
  std::string name;
  std::function<std::vector<uint8_t>()> file;
  Limits limits;
  int32_t frames;
};

class CeilingTest : public ::testing::TestWithParam<CeilingCase> {};

TEST_P(CeilingTest, SizesBeyondTheCeilingDoNotLoad) {
  LoadOptions options;
  options.limits = GetParam().limits;
  GifPicture picture;
  EXPECT_EQ(picture.Load(GetParam().file(), options), GetParam().frames);
}

std::vector<uint8_t> Frames(std::vector<ImageBlock> specs) {
  GifBuilder gif;
  for (const ImageBlock& block : specs) gif.Descriptor(block).Raw(SubBlocks(DecoderPacedCodes(2).Clear().Put(1).End().Bytes()));
  return gif.Trailer().bytes();
}

Limits With(int64_t fileBytes, int64_t canvasPixels, int64_t stripPixels) { return Limits{fileBytes, canvasPixels, stripPixels}; }

INSTANTIATE_TEST_SUITE_P(
    Ceilings, CeilingTest,
    ::testing::Values(
        // A 40-byte file declaring 65535 × 65535 pixels: 4 GiB if believed.
        CeilingCase{"DecompressionBombDefaultLimits", [] { return Frames({Block(0, 0, 65535, 65535)}); }, Limits{}, 0},
        CeilingCase{"WideButShortFitsDefaults", [] { return Frames({Block(0, 0, 65535, 2)}); }, Limits{}, 1},
        CeilingCase{"CanvasAtTheCeiling", [] { return Frames({Block(0, 0, 10, 10)}); }, With(1 << 20, 100, 1000), 1},
        CeilingCase{"CanvasOverTheCeiling", [] { return Frames({Block(0, 0, 10, 11)}); }, With(1 << 20, 100, 1000), 0},
        // Far offsets make the canvas large although the frame is 1 pixel.
        CeilingCase{"OffsetsCountForTheCanvas", [] { return Frames({Block(60000, 60000, 1, 1)}); }, Limits{}, 0},
        CeilingCase{"StripAtTheCeiling", [] { return Frames({Block(0, 0, 5, 4), Block(0, 0, 5, 4)}); }, With(1 << 20, 100, 40), 2},
        CeilingCase{"StripOverTheCeiling", [] { return Frames({Block(0, 0, 5, 4), Block(0, 0, 6, 4)}); }, With(1 << 20, 100, 40), 0},
        CeilingCase{"FileOverTheCeiling", [] { return Frames({Block(0, 0, 1, 1)}); }, With(20, 100, 100), 0},
        // A strip with no pixels cannot be made.
        CeilingCase{"OnlyFrameZeroWide", [] { return Frames({Block(3, 0, 0, 4)}); }, Limits{}, 0},
        CeilingCase{"ZeroSizedFramesBesideARealOne", [] { return Frames({Block(0, 0, 0, 3), Block(0, 0, 2, 2), Block(0, 0, 4, 0)}); },
                    Limits{}, 3}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::gif
