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
        RouteRow{"BitmapCutShort", BitmapOfWidth(5000), PictureFormat::kBitmap, PictureRoute::kRefused}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
