#include "saver/pictures/picture_decoding.h"

#include <algorithm>

#include "saver/pictures/exif_orientation.h"
#include "saver/pictures/jpeg_reduced_decoder.h"
#include "saver/pictures/kept_picture.h"
#include "saver/pictures/picture_limits.h"
#include "saver/pictures/picture_route.h"

namespace ventalune::pictures {
namespace {

bool LargerThanKept(PictureSize size) {
  return std::max(size.width, size.height) > static_cast<uint32_t>(kLongestSideKept);
}

// The OLE loader decodes the whole picture and holds it: one over the held
// pixels would only be refused once it had cost its decode.
bool OleMayDecode(PictureSize size) {
  return WithinDecodeCeilings(size) && uint64_t{size.width} * size.height <= kMaxHeldPixels;
}

// Through the imaging component, halved while decoding, then kept.
std::optional<PicturePixels> ReduceThroughImaging(const ImagingFrame& frame, Transparency transparency,
                                                  Orientation orientation) {
  const PictureSize size = frame.size();
  const Reduction halving = ReduceToFit(static_cast<int32_t>(size.width), static_cast<int32_t>(size.height));
  std::optional<PicturePixels> halved = frame.DecodeHalved(halving, transparency);
  if (!halved) return std::nullopt;
  return KeepReduced(std::move(*halved), size, orientation);
}

// PNG: only the imaging component reads it everywhere. Its transparency
// shows on black; a damaged one is refused rather than shown in part. The
// size its header chunk declares was held against the ceilings already;
// the component's own reading of it is held there too.
std::optional<PicturePixels> DecodePng(std::span<const uint8_t> bytes, PictureDecoders& decoders) {
  const std::unique_ptr<ImagingFrame> frame = decoders.OpenImaging(bytes);
  if (!frame || !WithinDecodeCeilings(frame->size())) return std::nullopt;
  if (LargerThanKept(frame->size())) return ReduceThroughImaging(*frame, Transparency::kOnBlack, Orientation::kAsStored);
  return frame->DecodeWhole(Transparency::kOnBlack);
}

// What became of a picture declared larger than kept.
struct ReducedDecode {
  bool taken = false;  // false: neither decoder took it as a large picture
  std::optional<PicturePixels> picture;
};

// The sequential JPEGs that cameras write are decoded reduced by our own
// decoder, many times faster than a full-size decode; the imaging
// component reduces the rest.
ReducedDecode DecodeReduced(std::span<const uint8_t> bytes, PictureSize declared, Orientation orientation,
                            PictureDecoders& decoders) {
  const Reduction halving = ReduceToFit(static_cast<int32_t>(declared.width), static_cast<int32_t>(declared.height));
  if (std::optional<PicturePixels> halved = decoders.DecodeJpeg(bytes, std::min(halving.shift, kMaxJpegShift)))
    return {true, KeepReduced(std::move(*halved), declared, orientation)};
  // Asked for its size, a decoder may decode the whole picture; the
  // imaging component reads only the header.
  const std::unique_ptr<ImagingFrame> frame = decoders.OpenImaging(bytes);
  if (!frame || !LargerThanKept(frame->size())) return {};
  if (!WithinDecodeCeilings(frame->size())) return {true, std::nullopt};
  return {true, ReduceThroughImaging(*frame, Transparency::kOpaque, orientation)};
}

// The size the OLE loader would decode: declared, or else read from the
// header by the imaging component (which reads GIFs, icons and JPEGs, but
// not metafiles); nothing when neither can tell it.
std::optional<PictureSize> SizeBeforeOle(std::span<const uint8_t> bytes, const std::optional<PictureSize>& declared,
                                         PictureDecoders& decoders) {
  if (declared) return declared;
  const std::unique_ptr<ImagingFrame> frame = decoders.OpenImaging(bytes);
  if (!frame) return std::nullopt;
  return frame->size();
}

}  // namespace

std::optional<PicturePixels> DecodePicture(std::span<const uint8_t> bytes, PictureUse use,
                                           PictureDecoders& decoders) {
  const PicturePlan plan = PlanPicture(bytes);
  const Orientation orientation = use == PictureUse::kPhoto ? ReadExifOrientation(bytes) : Orientation::kAsStored;
  switch (plan.route) {
    case PictureRoute::kRefused:
      return std::nullopt;
    case PictureRoute::kImaging:
      return DecodePng(bytes, decoders);
    case PictureRoute::kReduced:
      if (ReducedDecode reduced = DecodeReduced(bytes, *plan.declared, orientation, decoders); reduced.taken)
        return std::move(reduced.picture);
      break;
    case PictureRoute::kOlePicture:
      break;
  }
  const std::optional<PictureSize> size = SizeBeforeOle(bytes, plan.declared, decoders);
  if (!size || !OleMayDecode(*size)) return std::nullopt;
  // The rest decode exactly as they always have, so their bitmap files
  // stay the same byte for byte; the OLE loader draws a photo as stored.
  std::optional<PicturePixels> decoded = decoders.DecodeOle(bytes);
  if (!decoded) return std::nullopt;
  return KeepWhole(std::move(*decoded), orientation);
}

}  // namespace ventalune::pictures
