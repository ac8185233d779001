#include "saver/pictures/picture_decoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture_samples.h"
#include "row_name.h"

namespace ventalune::pictures {
namespace {

using namespace samples;

const Bytes kJfif = kStartOfImage + kApp0;

Bytes Jpeg(uint16_t width, uint16_t height) { return kJfif + JpegFrame(0xc0, width, height) + Bytes{0xff, 0xd9}; }

// Forty bytes: JFIF, one stray byte, then a frame header of 65500 × 65500.
const Bytes kStrayByteJpeg = kJfif + Bytes{0x00} + JpegFrame(0xc0, 65500, 65500);

// Bytes none of our header readers knows: an icon's directory.
const Bytes kIcon = {0, 0, 1, 0, 1, 0, 32, 32, 0, 0, 1, 0, 32, 0};

PicturePixels Grey(int32_t width, int32_t height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0x80)};
}

struct DecodingRow {
  const char* name;
  Bytes bytes;
  PictureSize size;         // what the decoders find: the picture's real size
  bool imagingReads;        // the imaging component reads the bytes as a picture
  bool jpegDecoderTakes;    // our own JPEG decoder takes them
  const char* asked;        // the decoders asked, in order
  std::optional<PictureSize> shown;  // nothing: refused
};

// Decoders that give grey pictures of the row's size and note each call. A
// picture to be refused fails the test the moment it reaches any decoder,
// or the imaging component's header reading, the row does not expect.
class FakeDecoders final : public PictureDecoders {
 public:
  explicit FakeDecoders(const DecodingRow& row) : row_(row) {}

  class Frame final : public ImagingFrame {
   public:
    explicit Frame(FakeDecoders& owner) : owner_(owner) {}
    PictureSize size() const override { return owner_.row_.size; }
    std::optional<PicturePixels> DecodeWhole(Transparency) const override {
      owner_.Asked("whole");
      return Grey(static_cast<int32_t>(size().width), static_cast<int32_t>(size().height));
    }
    std::optional<PicturePixels> DecodeHalved(const Reduction& reduction, Transparency) const override {
      owner_.Asked("halved");
      return Grey(reduction.width, reduction.height);
    }

   private:
    FakeDecoders& owner_;
  };

  std::unique_ptr<ImagingFrame> OpenImaging(std::span<const uint8_t>) override {
    Asked("header");
    if (!row_.imagingReads) return nullptr;
    return std::make_unique<Frame>(*this);
  }
  std::optional<PicturePixels> DecodeOle(std::span<const uint8_t>) override {
    Asked("ole");
    return Grey(static_cast<int32_t>(row_.size.width), static_cast<int32_t>(row_.size.height));
  }
  std::optional<PicturePixels> DecodeJpeg(std::span<const uint8_t>, int shift) override {
    Asked("jpeg");
    if (!row_.jpegDecoderTakes) return std::nullopt;
    const auto reduced = [shift](uint32_t side) { return static_cast<int32_t>((side + (1u << shift) - 1) >> shift); };
    return Grey(reduced(row_.size.width), reduced(row_.size.height));
  }

  const std::string& asked() const { return asked_; }

 private:
  void Asked(const char* decoder) {
    if (!asked_.empty()) asked_ += ' ';
    asked_ += decoder;
    if (!row_.shown && (" " + std::string(row_.asked) + " ").find(" " + std::string(decoder) + " ") == std::string::npos)
      ADD_FAILURE() << "a refused picture reached " << decoder;
  }

  const DecodingRow& row_;
  std::string asked_;
};

class PictureDecodingTest : public testing::TestWithParam<DecodingRow> {};

TEST_P(PictureDecodingTest, RefusesBeforeAnyDecoderOrDecodesThroughTheRouteOne) {
  const DecodingRow& row = GetParam();
  FakeDecoders decoders(row);
  const std::optional<PicturePixels> picture = DecodePicture(row.bytes, PictureUse::kPhoto, decoders);
  EXPECT_EQ(decoders.asked(), row.asked);
  ASSERT_EQ(picture.has_value(), row.shown.has_value());
  if (!picture) return;
  EXPECT_EQ(picture->width, static_cast<int32_t>(row.shown->width));
  EXPECT_EQ(picture->height, static_cast<int32_t>(row.shown->height));
}

constexpr uint32_t k2To28 = uint32_t{1} << 28;

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureDecodingTest,
    testing::Values(
        // Declared in a few bytes over a ceiling: refused by our own header
        // readers, before even the imaging component is asked.
        DecodingRow{"StrayByteBeforeHugeJpegFrame", kStrayByteJpeg, {65500, 65500}, true, true, "", std::nullopt},
        DecodingRow{"GifScreenOfLargestSize", Gif(65535, 65535), {65535, 65535}, true, false, "", std::nullopt},
        DecodingRow{"PngOnePixelHigh", Png(k2To28, 1), {k2To28, 1}, true, false, "", std::nullopt},
        // Within the pixels but over what the OLE loader may hold whole.
        DecodingRow{"GifOverHeldPixels", Gif(9000, 8000), {9000, 8000}, true, false, "", std::nullopt},
        // Small pictures of each format, decoded as they always were.
        DecodingRow{"SmallJpeg", Jpeg(640, 480), {640, 480}, true, true, "ole", PictureSize{640, 480}},
        DecodingRow{"SmallGif", Gif(64, 32), {64, 32}, true, false, "ole", PictureSize{64, 32}},
        DecodingRow{"SmallPng", Png(400, 300), {400, 300}, true, false, "header whole", PictureSize{400, 300}},
        DecodingRow{"LargeGifWhole", Gif(6000, 4000), {6000, 4000}, true, false, "ole", PictureSize{6000, 4000}},
        // Large ones, reduced.
        DecodingRow{"CameraJpeg", Jpeg(6000, 4000), {6000, 4000}, true, true, "jpeg", PictureSize{2048, 1365}},
        DecodingRow{"ProgressiveJpeg", Jpeg(6000, 4000), {6000, 4000}, true, false, "jpeg header halved",
                    PictureSize{2048, 1365}},
        DecodingRow{"LargePng", Png(10000, 5000), {10000, 5000}, true, false, "header halved", PictureSize{2048, 1024}},
        // A large JPEG neither decoder takes goes to the OLE loader as always.
        DecodingRow{"LargeJpegNeitherReduces", Jpeg(5000, 3000), {5000, 3000}, false, false, "jpeg header ole",
                    PictureSize{5000, 3000}},
        // Where our readers know no size, the imaging component reads it.
        DecodingRow{"IconSizeFromTheHeader", kIcon, {32, 32}, true, false, "header ole", PictureSize{32, 32}},
        DecodingRow{"UnknownSizeTooLarge", kIcon, {65535, 65535}, true, false, "header", std::nullopt},
        DecodingRow{"UnknownSizeOnePixelHigh", kIcon, {k2To28, 1}, true, false, "header", std::nullopt},
        DecodingRow{"SizeCannotBeTold", kIcon, {32, 32}, false, false, "header", std::nullopt},
        // The imaging component's own reading of a PNG is held to the ceilings too.
        DecodingRow{"PngHeaderReadOverCeiling", Png(400, 300), {k2To28, 1}, true, false, "header", std::nullopt},
        DecodingRow{"JpegReadOverCeiling", Jpeg(6000, 4000), {70000, 4000}, true, false, "jpeg header",
                    std::nullopt}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::pictures
