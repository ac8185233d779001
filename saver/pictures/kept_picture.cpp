#include "saver/pictures/kept_picture.h"

#include <cstdint>
#include <utility>

#include "saver/pictures/area_resample.h"
#include "saver/pictures/picture_reduction.h"
#include "saver/pictures/upright.h"

namespace ventalune::pictures {

std::optional<PicturePixels> KeepReduced(PicturePixels halved, PictureSize stored, Orientation orientation) {
  if (stored.width > uint32_t{INT32_MAX} || stored.height > uint32_t{INT32_MAX}) return std::nullopt;
  const UprightSize upright =
      UprightPictureSize(static_cast<int32_t>(stored.width), static_cast<int32_t>(stored.height), orientation);
  const ReducedSize kept = ReducedPictureSize(upright.width, upright.height);
  // Swapping the sides is its own inverse: the kept size as stored.
  const UprightSize keptAsStored = UprightPictureSize(kept.width, kept.height, orientation);
  std::vector<uint8_t> resampled =
      ResampleByArea(halved.pixels, halved.width, halved.height, keptAsStored.width, keptAsStored.height);
  halved = {};
  if (resampled.empty()) return std::nullopt;
  return TurnUpright(keptAsStored.width, keptAsStored.height, std::move(resampled), orientation);
}

std::optional<PicturePixels> KeepWhole(PicturePixels decoded, Orientation orientation) {
  // Pictures as stored are handed on untouched.
  if (orientation == Orientation::kAsStored) return decoded;
  return TurnUpright(decoded.width, decoded.height, std::move(decoded.pixels), orientation);
}

}  // namespace ventalune::pictures
