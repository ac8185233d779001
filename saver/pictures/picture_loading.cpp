#include "saver/pictures/picture_loading.h"

#include <memory>
#include <new>

#include "common/whole_file.h"
#include "saver/pictures/imaging_decoder.h"
#include "saver/pictures/jpeg_reduced_decoder.h"
#include "saver/pictures/ole_decoder.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {
namespace {

// The platform's decoders, and our own, as the decision asks for them.
class PlatformDecoders final : public PictureDecoders {
 public:
  std::unique_ptr<ImagingFrame> OpenImaging(std::span<const uint8_t> bytes) override {
    return ImagingPicture::Open(bytes);
  }
  std::optional<PicturePixels> DecodeOle(std::span<const uint8_t> bytes) override { return DecodeThroughOle(bytes); }
  std::optional<PicturePixels> DecodeJpeg(std::span<const uint8_t> bytes, int shift) override {
    return DecodeJpegReduced(bytes, shift);
  }
};

std::optional<PicturePixels> Decode(std::span<const uint8_t> bytes, PictureUse use) {
  PlatformDecoders decoders;
  return DecodePicture(bytes, use, decoders);
}

}  // namespace

std::optional<PicturePixels> LoadPicture(std::span<const uint8_t> bytes, PictureUse use) {
  try {
    return Decode(bytes, use);
  } catch (const std::bad_alloc&) {
    // A picture too large for the memory there is now is as good as unreadable.
    return std::nullopt;
  }
}

std::optional<PicturePixels> LoadPictureFile(const std::string& path) {
  try {
    const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(path, kMaxPictureFileBytes);
    if (!bytes) return std::nullopt;
    return Decode(*bytes, PictureUse::kPhoto);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace ventalune::pictures
