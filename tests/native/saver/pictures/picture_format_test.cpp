#include "saver/pictures/picture_format.h"

#include <gtest/gtest.h>

#include <vector>

#include "row_name.h"

namespace ventalune::pictures {
namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kPng = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};

struct FormatRow {
  const char* name;
  Bytes bytes;
  PictureFormat format;
  PictureLoader loader;
};

class PictureFormatTest : public testing::TestWithParam<FormatRow> {};

TEST_P(PictureFormatTest, SignatureChoosesTheLoader) {
  const FormatRow& row = GetParam();
  EXPECT_EQ(RecognizePictureFormat(row.bytes), row.format);
  EXPECT_EQ(ChoosePictureLoader(row.bytes), row.loader);
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, PictureFormatTest,
    testing::Values(
        FormatRow{"Bitmap", {'B', 'M', 0x36, 0, 0, 0}, PictureFormat::kBitmap, PictureLoader::kOlePicture},
        FormatRow{"Jfif", {0xff, 0xd8, 0xff, 0xe0, 0, 16}, PictureFormat::kJpeg, PictureLoader::kOlePicture},
        FormatRow{"ExifJpeg", {0xff, 0xd8, 0xff, 0xe1, 0, 16}, PictureFormat::kJpeg, PictureLoader::kOlePicture},
        FormatRow{"Png", kPng, PictureFormat::kPng, PictureLoader::kImaging},
        // The signature alone decides; what follows is the decoder's to judge.
        FormatRow{"PngSignatureOnly", Bytes(kPng.begin(), kPng.begin() + 8), PictureFormat::kPng,
                  PictureLoader::kImaging},
        FormatRow{"Gif", {'G', 'I', 'F', '8', '9', 'a'}, PictureFormat::kOther, PictureLoader::kOlePicture},
        FormatRow{"Icon", {0, 0, 1, 0, 1, 0}, PictureFormat::kOther, PictureLoader::kOlePicture},
        FormatRow{"Empty", {}, PictureFormat::kOther, PictureLoader::kOlePicture},
        // Cut short inside each signature: too little to be sure of anything.
        FormatRow{"PngCutInSignature", Bytes(kPng.begin(), kPng.begin() + 7), PictureFormat::kOther,
                  PictureLoader::kOlePicture},
        FormatRow{"JpegCutInSignature", {0xff, 0xd8}, PictureFormat::kOther, PictureLoader::kOlePicture},
        FormatRow{"SingleB", {'B'}, PictureFormat::kOther, PictureLoader::kOlePicture},
        // One byte off: a PNG whose line-ending bytes a text transfer turned
        // round is no PNG to any decoder.
        FormatRow{"PngWithMangledLineEnd", {0x89, 'P', 'N', 'G', '\n', '\n', 0x1a, '\n'}, PictureFormat::kOther,
                  PictureLoader::kOlePicture}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
