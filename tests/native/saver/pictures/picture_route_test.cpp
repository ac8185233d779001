#include "saver/pictures/picture_route.h"

#include <gtest/gtest.h>

#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};

// A JPEG of start-of-image, then a baseline frame header of the size given.
Bytes JpegOfSize(uint16_t width, uint16_t height) {
  return {0xff, 0xd8, 0xff, 0xc0, 0, 11, 8, static_cast<uint8_t>(height >> 8), static_cast<uint8_t>(height),
          static_cast<uint8_t>(width >> 8), static_cast<uint8_t>(width), 1, 1, 0x11, 0};
}

// A whole 24-bit bitmap file of one pixel, with the width it declares.
Bytes BitmapOfWidth(uint32_t width) {
  Bytes bitmap(58, 0);
  bitmap[0] = 'B', bitmap[1] = 'M';
  bitmap[10] = 54, bitmap[14] = 40, bitmap[22] = 1, bitmap[26] = 1, bitmap[28] = 24;
  for (int i = 0; i < 4; ++i) bitmap[18 + i] = static_cast<uint8_t>(width >> (8 * i));
  return bitmap;
}

// A PNG's signature and header chunk declaring width × height.
Bytes PngOfSize(uint32_t width, uint32_t height) {
  Bytes png = kPng;
  for (const uint32_t value : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<uint8_t>(value >> shift));
  png.insert(png.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
  return png;
}

// A GIF header declaring the logical screen, and the trailer.
Bytes GifOfScreen(uint16_t width, uint16_t height) {
  return {'G', 'I', 'F', '8', '9', 'a', static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
          static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8), 0, 0, 0, 0x3b};
}

// A whole 24-bit bitmap file, its rows all there.
Bytes WholeBitmap(uint32_t width, uint32_t height) {
  Bytes bitmap = BitmapOfWidth(width);
  bitmap[22] = static_cast<uint8_t>(height), bitmap[23] = static_cast<uint8_t>(height >> 8);
  bitmap.resize(54 + size_t{(width * 3 + 3) & ~3u} * height);
  return bitmap;
}

struct RouteRow {
  const char* name;
  Bytes bytes;
  PictureFormat format;
  PictureRoute route;
};

class PictureRouteTest : public testing::TestWithParam<RouteRow> {};

TEST_P(PictureRouteTest, SignatureAndHeaderChooseTheDecoder) {
  const RouteRow& row = GetParam();
  const PicturePlan plan = PlanPicture(row.bytes);
  EXPECT_EQ(plan.format, row.format);
  EXPECT_EQ(plan.route, row.route);
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, PictureRouteTest,
    testing::Values(
        RouteRow{"Bitmap", BitmapOfWidth(1), PictureFormat::kBitmap, PictureRoute::kOlePicture},
        RouteRow{"Jfif", {0xff, 0xd8, 0xff, 0xe0, 0, 16}, PictureFormat::kJpeg, PictureRoute::kOlePicture},
        RouteRow{"ExifJpeg", {0xff, 0xd8, 0xff, 0xe1, 0, 16}, PictureFormat::kJpeg, PictureRoute::kOlePicture},
        RouteRow{"Png", kPng, PictureFormat::kPng, PictureRoute::kImaging},
        // The signature alone decides; what follows is the decoder's to judge.
        RouteRow{"PngSignatureOnly", Bytes(kPng.begin(), kPng.begin() + 8), PictureFormat::kPng,
                 PictureRoute::kImaging},
        RouteRow{"Gif", {'G', 'I', 'F', '8', '9', 'a'}, PictureFormat::kOther, PictureRoute::kOlePicture},
        RouteRow{"Icon", {0, 0, 1, 0, 1, 0}, PictureFormat::kOther, PictureRoute::kOlePicture},
        RouteRow{"Empty", {}, PictureFormat::kOther, PictureRoute::kRefused},
        // Cut short inside each signature: too little to be sure of anything.
        RouteRow{"PngCutInSignature", Bytes(kPng.begin(), kPng.begin() + 7), PictureFormat::kOther,
                 PictureRoute::kOlePicture},
        RouteRow{"JpegCutInSignature", {0xff, 0xd8}, PictureFormat::kOther, PictureRoute::kOlePicture},
        RouteRow{"SingleB", {'B'}, PictureFormat::kOther, PictureRoute::kOlePicture},
        // One byte off: a PNG whose line-ending bytes a text transfer turned
        // round is no PNG to any decoder.
        RouteRow{"PngWithMangledLineEnd", {0x89, 'P', 'N', 'G', '\n', '\n', 0x1a, '\n'}, PictureFormat::kOther,
                 PictureRoute::kOlePicture},
        // The declared size decides whether a picture is decoded reduced:
        // up to 4096 on the longer side it is kept as it is.
        RouteRow{"JpegKeptSize", JpegOfSize(4096, 3000), PictureFormat::kJpeg, PictureRoute::kOlePicture},
        RouteRow{"JpegWiderThanKept", JpegOfSize(4097, 10), PictureFormat::kJpeg, PictureRoute::kReduced},
        RouteRow{"JpegTallerThanKept", JpegOfSize(10, 6000), PictureFormat::kJpeg, PictureRoute::kReduced},
        // A bitmap declaring more pixel data than the file holds reaches no decoder.
        RouteRow{"BitmapCutShort", BitmapOfWidth(5000), PictureFormat::kBitmap, PictureRoute::kRefused},
        // Over a ceiling, declared in a few bytes: no decoder sees it. The
        // pixels are bounded, and each side too, since a decoder's rows are
        // as long as the picture is wide.
        RouteRow{"PngOnePixelHigh", PngOfSize(uint32_t{1} << 28, 1), PictureFormat::kPng, PictureRoute::kRefused},
        RouteRow{"PngOneSideOver", PngOfSize(65536, 1), PictureFormat::kPng, PictureRoute::kRefused},
        RouteRow{"PngOtherSideOver", PngOfSize(1, 65536), PictureFormat::kPng, PictureRoute::kRefused},
        RouteRow{"PngLongestSide", PngOfSize(65535, 4096), PictureFormat::kPng, PictureRoute::kImaging},
        RouteRow{"PngMostPixels", PngOfSize(16384, 16384), PictureFormat::kPng, PictureRoute::kImaging},
        RouteRow{"PngPixelsOver", PngOfSize(16385, 16384), PictureFormat::kPng, PictureRoute::kRefused},
        RouteRow{"PngSmall", PngOfSize(400, 300), PictureFormat::kPng, PictureRoute::kImaging},
        RouteRow{"GifLargestScreen", GifOfScreen(65535, 65535), PictureFormat::kOther, PictureRoute::kRefused},
        RouteRow{"GifSmall", GifOfScreen(64, 32), PictureFormat::kOther, PictureRoute::kOlePicture},
        // A large GIF is not decoded reduced: the OLE loader draws it whole.
        RouteRow{"GifLargerThanKept", GifOfScreen(5000, 5000), PictureFormat::kOther, PictureRoute::kOlePicture},
        RouteRow{"JpegLargest", JpegOfSize(65535, 65535), PictureFormat::kJpeg, PictureRoute::kRefused},
        RouteRow{"JpegStrayByteBeforeHugeFrame",
                 [] {
                   Bytes jpeg = JpegOfSize(65500, 65500);
                   jpeg.insert(jpeg.begin() + 2, 0x42);
                   return jpeg;
                 }(),
                 PictureFormat::kOther, PictureRoute::kRefused},
        RouteRow{"BitmapWiderThanSideCeiling", WholeBitmap(65536, 1), PictureFormat::kBitmap, PictureRoute::kRefused},
        RouteRow{"BitmapPanorama", WholeBitmap(65535, 2), PictureFormat::kBitmap, PictureRoute::kReduced}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
