#include "saver/pictures/picture_loading.h"

#include <algorithm>
#include <memory>
#include <new>

#include "common/whole_file.h"
#include "saver/pictures/exif_orientation.h"
#include "saver/pictures/imaging_decoder.h"
#include "saver/pictures/jpeg_reduced_decoder.h"
#include "saver/pictures/kept_picture.h"
#include "saver/pictures/ole_decoder.h"
#include "saver/pictures/picture_limits.h"
#include "saver/pictures/picture_reduction.h"
#include "saver/pictures/picture_route.h"

namespace ventalune::pictures {
namespace {

bool LargerThanKept(const ImagingPicture& picture) {
  return std::max(picture.width(), picture.height()) > static_cast<uint32_t>(kLongestSideKept);
}

// Through the imaging component, halved while decoding, then kept.
std::optional<PicturePixels> ReduceThroughImaging(const ImagingPicture& picture, Transparency transparency,
                                                  Orientation orientation) {
  const PictureSize size{picture.width(), picture.height()};
  if (!WithinDecodeCeilings(size)) return std::nullopt;
  const Reduction halving = ReduceToFit(static_cast<int32_t>(size.width), static_cast<int32_t>(size.height));
  std::optional<PicturePixels> halved = picture.DecodeHalved(halving, transparency);
  if (!halved) return std::nullopt;
  return KeepReduced(std::move(*halved), size, orientation);
}

// PNG: only the imaging component reads it everywhere. Its transparency
// shows on black; a damaged one is refused rather than shown in part.
std::optional<PicturePixels> DecodePng(std::span<const uint8_t> bytes) {
  const std::unique_ptr<ImagingPicture> picture = ImagingPicture::Open(bytes);
  if (!picture) return std::nullopt;
  if (LargerThanKept(*picture)) return ReduceThroughImaging(*picture, Transparency::kOnBlack, Orientation::kAsStored);
  return picture->DecodeWhole(Transparency::kOnBlack);
}

// What became of a picture declared larger than kept.
struct ReducedDecode {
  bool taken = false;  // false: neither decoder took it as a large picture
  std::optional<PicturePixels> picture;
};

// The sequential JPEGs that cameras write are decoded reduced by our own
// decoder, many times faster than a full-size decode; the imaging
// component reduces the rest.
ReducedDecode DecodeReduced(std::span<const uint8_t> bytes, PictureSize declared, Orientation orientation) {
  const Reduction halving = ReduceToFit(static_cast<int32_t>(declared.width), static_cast<int32_t>(declared.height));
  if (std::optional<PicturePixels> halved = DecodeJpegReduced(bytes, std::min(halving.shift, kMaxJpegShift)))
    return {true, KeepReduced(std::move(*halved), declared, orientation)};
  // Asked for its size, a decoder may decode the whole picture; the
  // imaging component reads only the header.
  const std::unique_ptr<ImagingPicture> picture = ImagingPicture::Open(bytes);
  if (!picture || !LargerThanKept(*picture)) return {};
  return {true, ReduceThroughImaging(*picture, Transparency::kOpaque, orientation)};
}

std::optional<PicturePixels> Decode(std::span<const uint8_t> bytes, PictureUse use) {
  const PicturePlan plan = PlanPicture(bytes);
  const Orientation orientation = use == PictureUse::kPhoto ? ReadExifOrientation(bytes) : Orientation::kAsStored;
  switch (plan.route) {
    case PictureRoute::kRefused:
      return std::nullopt;
    case PictureRoute::kImaging:
      return DecodePng(bytes);
    case PictureRoute::kReduced:
      if (ReducedDecode reduced = DecodeReduced(bytes, *plan.declared, orientation); reduced.taken)
        return std::move(reduced.picture);
      break;
    case PictureRoute::kOlePicture:
      break;
  }
  // The rest decode exactly as they always have, so their bitmap files
  // stay the same byte for byte; the OLE loader draws a photo as stored.
  std::optional<PicturePixels> decoded = DecodeThroughOle(bytes);
  if (!decoded) return std::nullopt;
  return KeepWhole(std::move(*decoded), orientation);
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
