// One frame written back as a GIF: the file layout byte for byte, and the
// LZW codes read back exactly.
#include <gtest/gtest.h>

#include <functional>

#include "gif_builder.h"
#include "row_name.h"
#include "saver/gif/gif_exporter.h"
#include "saver/gif/gif_picture.h"
#include "saver/gif/lzw_decoder.h"
#include "saver/gif/lzw_encoder.h"

namespace ventalune::gif {
namespace {

using testing::CodeStream;

// Splits encoder output into its sub-block sizes and the joined data.
struct Blocks {
  std::vector<size_t> sizes;
  std::vector<uint8_t> data;
};

Blocks Unblock(const std::vector<uint8_t>& encoded) {
  Blocks blocks;
  for (size_t at = 0; at < encoded.size();) {
    const size_t size = encoded[at];
    blocks.sizes.push_back(size);
    blocks.data.insert(blocks.data.end(), encoded.begin() + static_cast<std::ptrdiff_t>(at + 1),
                       encoded.begin() + static_cast<std::ptrdiff_t>(std::min(encoded.size(), at + 1 + size)));
    at += 1 + size;
  }
  return blocks;
}

// Reads codes back at the widths a decoder uses, up to the end code.
std::vector<uint32_t> Codes(const std::vector<uint8_t>& data) {
  std::vector<uint32_t> codes;
  uint64_t bit = 0;
  int width = 9;
  uint32_t nextFree = 258;
  bool first = true;
  while (bit + static_cast<uint64_t>(width) <= data.size() * 8u) {
    uint32_t code = 0;
    for (int i = 0; i < width; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1u) << i;
    codes.push_back(code);
    if (code == 257) break;
    if (code == 256) {
      width = 9;
      nextFree = 258;
      first = true;
      continue;
    }
    if (!first && nextFree < 4096) ++nextFree;
    first = false;
    if (nextFree >= (1u << width) && width < 12) ++width;
  }
  return codes;
}

TEST(LzwEncodeTest, RepeatedPixelsUseTheGrowingStrings) {
  std::vector<uint8_t> encoded;
  EncodeLzw8(std::vector<uint8_t>(7, 0), encoded);
  // 0, then "0 0" as 258, "0 0 0" as 259, then the last 0.
  EXPECT_EQ(Codes(Unblock(encoded).data), (std::vector<uint32_t>{256, 0, 258, 259, 0, 257}));
}

TEST(LzwEncodeTest, EmptyPictureIsClearThenEnd) {
  std::vector<uint8_t> encoded;
  EncodeLzw8({}, encoded);
  EXPECT_EQ(encoded, (std::vector<uint8_t>{3, 0x00, 0x03, 0x02}));  // 256 and 257 at 9 bits
}

TEST(LzwEncodeTest, ClearWhenTheTableReaches4096) {
  // Pseudo-random pixels: nearly every pixel pair is new, so the table fills fast.
  std::vector<uint8_t> pixels(20000);
  uint32_t state = 7;
  for (uint8_t& pixel : pixels) {
    state = state * 1103515245u + 12345u;
    pixel = static_cast<uint8_t>(state >> 23);
  }
  std::vector<uint8_t> encoded;
  EncodeLzw8(pixels, encoded);
  const std::vector<uint32_t> codes = Codes(Unblock(encoded).data);
  ASSERT_GT(codes.size(), 3841u);
  // 3839 codes add entries 258 … 4095; the code after the next one is the clear.
  EXPECT_EQ(codes[0], 256u);
  EXPECT_EQ(codes[3840], 256u);
  for (size_t i = 1; i < 3840; ++i) ASSERT_NE(codes[i], 256u) << i;
}

// --- round trip -----------------------------------------------------------------------

struct RoundTripCase {
  std::string name;
  std::function<std::vector<uint8_t>()> pixels;
};

class LzwRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

std::vector<uint8_t> Noise(size_t count, uint32_t seed, uint32_t colours) {
  std::vector<uint8_t> pixels(count);
  for (uint8_t& pixel : pixels) {
    seed = seed * 1664525u + 1013904223u;
    pixel = static_cast<uint8_t>((seed >> 16) % colours);
  }
  return pixels;
}

TEST_P(LzwRoundTripTest, DecodesToTheSamePixelsIn254ByteBlocks) {
  const std::vector<uint8_t> pixels = GetParam().pixels();
  std::vector<uint8_t> encoded;
  EncodeLzw8(pixels, encoded);
  const Blocks blocks = Unblock(encoded);
  for (size_t i = 0; i + 1 < blocks.sizes.size(); ++i) ASSERT_EQ(blocks.sizes[i], 254u) << "block " << i;
  ASSERT_GT(blocks.sizes.back(), 0u);
  ASSERT_LE(blocks.sizes.back(), 254u);
  std::vector<uint8_t> decoded(pixels.size());
  const LzwResult result = DecodeLzw(blocks.data, 8, decoded);
  EXPECT_EQ(result.status, LzwStatus::kComplete);
  EXPECT_EQ(decoded, pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, LzwRoundTripTest,
    ::testing::Values(RoundTripCase{"OnePixel", [] { return std::vector<uint8_t>{200}; }},
                      RoundTripCase{"TwoColoursLong", [] { return Noise(100000, 3, 2); }},
                      RoundTripCase{"AllColoursNoise", [] { return Noise(300000, 11, 256); }},
                      RoundTripCase{"FlatMillion", [] { return std::vector<uint8_t>(1000000, 0); }},
                      RoundTripCase{"FlatNonZero", [] { return std::vector<uint8_t>(70000, 77); }},
                      RoundTripCase{"Ramp4096Wide", [] { return testing::Ramp(4096, 3, 256); }},
                      RoundTripCase{"Stripes", [] { return testing::Ramp(997, 131, 7); }}),
    testing_support::RowName());

// --- the exported file ----------------------------------------------------------------------

Palette CountingPalette() {
  Palette palette{};
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = MakeColour(static_cast<uint8_t>(i), 0x40, static_cast<uint8_t>(255 - i));
  return palette;
}

std::vector<uint8_t> ExpectedFile(bool transparent) {
  std::vector<uint8_t> file = {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x87, 0, 0};
  for (int i = 0; i < 256; ++i) file.insert(file.end(), {static_cast<uint8_t>(i), 0x40, static_cast<uint8_t>(255 - i)});
  if (transparent) file.insert(file.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 5, 0x00});
  file.insert(file.end(), {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x00, 8});
  const auto data = testing::SubBlocks(CodeStream().Put(256, 9).Put(1, 9).Put(2, 9).Put(257, 9).Bytes());
  file.insert(file.end(), data.begin(), data.end());
  file.push_back(0x3B);
  return file;
}

TEST(ExportFrameTest, LayoutByteForByte) {
  FrameStrip strip;
  ASSERT_TRUE(CreateStrip(strip, 5, 2, Limits{}));
  strip.Row(0)[3] = 1;
  strip.Row(0)[4] = 2;
  FrameRecord frame;
  frame.left = 7;  // where it sat in the animation does not matter
  frame.width = 2;
  frame.height = 1;
  frame.stripOffset = 3;
  EXPECT_EQ(ExportFrame(strip, frame, CountingPalette()), ExpectedFile(false));
  frame.transparent = true;
  frame.transparentIndex = 5;
  EXPECT_EQ(ExportFrame(strip, frame, CountingPalette()), ExpectedFile(true));
}

TEST(ExportFrameTest, LoadedFrameComesBackWithItsPaletteAndMirror) {
  testing::ImageBlock local{1, 1, 3, 2, 2, false, 3};  // 8-entry local table
  const auto file = testing::GifBuilder("GIF89a", 4, 3, 1)
                        .Image(testing::ImageBlock{0, 0, 4, 3}, testing::Ramp(4, 3, 4))
                        .Control(0, 0, true, 6)
                        .Image(local, {1, 2, 3, 4, 5, 6})
                        .Trailer()
                        .bytes();
  GifPicture picture;
  ASSERT_EQ(picture.Load(file), 2);
  picture.SetMirror(1, false, true);
  const FrameRecord& frame = picture.frames()[1];
  const std::vector<uint8_t> exported = ExportFrame(picture.strip(), frame, picture.PaletteOf(frame));

  GifPicture again;
  ASSERT_EQ(again.Load(exported), 1);
  const FrameRecord& copy = again.frames()[0];
  EXPECT_EQ(copy.width, 3);
  EXPECT_EQ(copy.height, 2);
  EXPECT_TRUE(copy.transparent);
  EXPECT_EQ(copy.transparentIndex, 6);
  EXPECT_EQ(again.palettes()[0], picture.palettes()[1]);
  const std::vector<uint8_t> row0(again.strip().Row(0), again.strip().Row(0) + 3);
  const std::vector<uint8_t> row1(again.strip().Row(1), again.strip().Row(1) + 3);
  EXPECT_EQ(row0, (std::vector<uint8_t>{3, 2, 1}));
  EXPECT_EQ(row1, (std::vector<uint8_t>{6, 5, 4}));
}

TEST(ExportFrameTest, ZeroSizedFrameIsAnEmptyImage) {
  FrameStrip strip;
  ASSERT_TRUE(CreateStrip(strip, 1, 1, Limits{}));
  FrameRecord frame;  // 0 × 0
  const std::vector<uint8_t> exported = ExportFrame(strip, frame, Palette{});
  ASSERT_EQ(exported.size(), 13u + 768u + 10u + 1u + 4u + 1u + 1u);
  const std::vector<uint8_t> tail(exported.end() - 7, exported.end());
  EXPECT_EQ(tail, (std::vector<uint8_t>{8, 3, 0x00, 0x03, 0x02, 0x00, 0x3B}));
}

}  // namespace
}  // namespace ventalune::gif
