#include "saver/pictures/picture_route.h"

#include <algorithm>

#include "common/bitmap_check.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {

PicturePlan PlanPicture(std::span<const uint8_t> bytes) {
  PicturePlan plan;
  plan.format = RecognizePictureFormat(bytes);
  if (plan.format == PictureFormat::kPng) {
    plan.route = PictureRoute::kImaging;
    return plan;
  }
  // Some loaders read a bitmap cut short on past the end of its bytes.
  if (bytes.empty() || !BitmapFileIsWhole(bytes, bytes.size())) return plan;
  plan.declared = DeclaredPictureSize(bytes);
  // The longer side is the same upright or as stored.
  const bool large = plan.declared && std::max(plan.declared->width, plan.declared->height) >
                                          static_cast<uint32_t>(kLongestSideKept);
  plan.route = large ? PictureRoute::kReduced : PictureRoute::kOlePicture;
  return plan;
}

}  // namespace ventalune::pictures
