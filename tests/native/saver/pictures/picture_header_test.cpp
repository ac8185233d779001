#include "saver/pictures/picture_header.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "picture_samples.h"
#include "row_name.h"

namespace ventalune::pictures {
namespace {

using namespace samples;

// The first `count` bytes: a file cut short.
Bytes Cut(const Bytes& bytes, size_t count) { return Bytes(bytes.begin(), bytes.begin() + count); }

void Put32(Bytes& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// File header and a 40-byte info header declaring width × height.
Bytes Bitmap(int32_t width, int32_t height) {
  Bytes bytes(54, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 14, 40);
  Put32(bytes, 18, static_cast<uint32_t>(width));
  Put32(bytes, 22, static_cast<uint32_t>(height));
  return bytes;
}

struct HeaderRow {
  const char* name;
  Bytes bytes;
  std::optional<PictureSize> size;
};

class DeclaredPictureSizeTest : public testing::TestWithParam<HeaderRow> {};

TEST_P(DeclaredPictureSizeTest, ReadsTheHeaderOnly) {
  EXPECT_EQ(DeclaredPictureSize(GetParam().bytes), GetParam().size);
}

const Bytes kCamera = kStartOfImage + kApp0 + JpegFrame(0xc0, 6000, 4000);

INSTANTIATE_TEST_SUITE_P(
    Headers, DeclaredPictureSizeTest,
    testing::Values(
        HeaderRow{"BaselineJpeg", kCamera, PictureSize{6000, 4000}},
        HeaderRow{"ProgressiveJpeg", kStartOfImage + JpegFrame(0xc2, 12000, 6000), PictureSize{12000, 6000}},
        HeaderRow{"FillBytesBeforeMarker", kStartOfImage + Bytes{0xff, 0xff} + JpegFrame(0xc0, 640, 480),
                  PictureSize{640, 480}},
        // DHT uses a frame-like code but holds no size: 0xC4 is skipped.
        HeaderRow{"HuffmanTableIsNoFrame",
                  kStartOfImage + Bytes{0xff, 0xc4, 0x00, 0x04, 0x00, 0x00} + JpegFrame(0xc1, 100, 50),
                  PictureSize{100, 50}},
        HeaderRow{"LargestJpeg", kStartOfImage + JpegFrame(0xc0, 65535, 65535), PictureSize{65535, 65535}},
        // Cut inside the frame header.
        HeaderRow{"JpegCutInFrame", Cut(kCamera, kCamera.size() - 12), std::nullopt},
        // A segment length running past the end of the file.
        HeaderRow{"SegmentLongerThanFile", kStartOfImage + Bytes{0xff, 0xe1, 0xff, 0xff, 0, 0}, std::nullopt},
        // A segment length below its own two bytes would loop for ever.
        HeaderRow{"SegmentLengthBelowTwo", kStartOfImage + Bytes{0xff, 0xe1, 0x00, 0x01} + JpegFrame(0xc0, 9, 9),
                  std::nullopt},
        HeaderRow{"FrameTooShortForSize", kStartOfImage + Bytes{0xff, 0xc0, 0x00, 0x05, 8, 0, 1}, std::nullopt},
        HeaderRow{"EndOfImageBeforeFrame", kStartOfImage + Bytes{0xff, 0xd9}, std::nullopt},
        // Bytes that are no marker between segments are stepped over, as the
        // platform's decoders step over them to the frame header they read.
        HeaderRow{"StrayByteBeforeFrame", kStartOfImage + Bytes{0x42} + JpegFrame(0xc0, 65500, 65500),
                  PictureSize{65500, 65500}},
        HeaderRow{"StrayBytesAfterSegment", kStartOfImage + kApp0 + Bytes{0x00, 0x12, 0x34} + JpegFrame(0xc2, 640, 480),
                  PictureSize{640, 480}},
        HeaderRow{"GarbageInsteadOfMarker", kStartOfImage + Bytes{0x12, 0x34}, std::nullopt},
        HeaderRow{"OnlyFillBytes", kStartOfImage + Bytes{0xff, 0xff, 0xff}, std::nullopt},
        HeaderRow{"JpegZeroWidth", kStartOfImage + JpegFrame(0xc0, 0, 100), std::nullopt},
        HeaderRow{"Bitmap", Bitmap(5000, 3000), PictureSize{5000, 3000}},
        HeaderRow{"TopDownBitmap", Bitmap(5000, -3000), PictureSize{5000, 3000}},
        HeaderRow{"BitmapLowestHeight", Bitmap(10, INT32_MIN), std::nullopt},
        HeaderRow{"BitmapNegativeWidth", Bitmap(-10, 10), std::nullopt},
        HeaderRow{"BitmapCut", Cut(Bitmap(5000, 3000), 20), std::nullopt},
        HeaderRow{"BitmapCoreHeader",
                  Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 0x88, 0x13, 0xb8, 0x0b, 1, 0, 24, 0},
                  PictureSize{5000, 3000}},
        // An info header of 20 bytes is no format anyone wrote.
        HeaderRow{"BitmapUnknownHeaderSize",
                  Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, std::nullopt},
        // A GIF's logical screen is its size even where no frame follows.
        HeaderRow{"Gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 0x10, 0x27, 0x10, 0x27}, PictureSize{10000, 10000}},
        HeaderRow{"GifFrameWithinScreen", Gif(64, 32, 10, 20), PictureSize{64, 32}},
        // A frame reaching beyond the screen widens the canvas decoders draw on.
        HeaderRow{"GifFrameBeyondScreen", Gif(10, 10, 65000, 1000), PictureSize{66000, 10}},
        HeaderRow{"GifLargestScreen", Gif(65535, 65535, 0, 1), PictureSize{65535, 65535}},
        HeaderRow{"GifEmptyScreenNoFrame", Bytes{'G', 'I', 'F', '8', '7', 'a', 0, 0, 0, 0, 0, 0, 0, 0x3b}, std::nullopt},
        HeaderRow{"GifCutInScreen", Bytes{'G', 'I', 'F', '8', '9', 'a', 0x10, 0x27, 0x10}, std::nullopt},
        HeaderRow{"Png", Png(400, 300), PictureSize{400, 300}},
        // Beyond what any signed 32-bit reader takes; still what it declares.
        HeaderRow{"PngWidestDeclared", Png(0xffffffff, 1), PictureSize{0xffffffff, 1}},
        HeaderRow{"PngZeroHeight", Png(400, 0), std::nullopt},
        HeaderRow{"PngCutInHeader", Cut(Png(400, 300), 22), std::nullopt},
        // Another chunk where the header chunk must come first.
        HeaderRow{"PngWithoutHeaderFirst",
                  [] {
                    Bytes bytes = Png(400, 300);
                    bytes[12] = 'g', bytes[13] = 'A', bytes[14] = 'M', bytes[15] = 'A';
                    return bytes;
                  }(),
                  std::nullopt},
        HeaderRow{"Empty", Bytes{}, std::nullopt}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
