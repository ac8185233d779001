#include "saver/pictures/picture_route.h"

#include <algorithm>

#include "common/bitmap_check.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {

PicturePlan PlanPicture(std::span<const uint8_t> bytes) {
  PicturePlan plan;
  plan.format = RecognizePictureFormat(bytes);
  // Some loaders read a bitmap cut short on past the end of its bytes.
  if (bytes.empty() || !BitmapFileIsWhole(bytes, bytes.size())) return plan;
  plan.declared = DeclaredPictureSize(bytes);
  if (plan.declared && !WithinDecodeCeilings(*plan.declared)) return plan;
  if (plan.format == PictureFormat::kPng) {
    plan.route = PictureRoute::kImaging;
    return plan;
  }
  // Only JPEGs and bitmaps are decoded reduced; a large GIF goes to the OLE
  // loader as it always has. The longer side is the same upright or as stored.
  const bool reducible = plan.format == PictureFormat::kJpeg || plan.format == PictureFormat::kBitmap;
  const bool large = reducible && plan.declared &&
                     std::max(plan.declared->width, plan.declared->height) > static_cast<uint32_t>(kLongestSideKept);
  plan.route = large ? PictureRoute::kReduced : PictureRoute::kOlePicture;
  return plan;
}

}  // namespace ventalune::pictures
