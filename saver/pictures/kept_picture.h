#pragma once
// The last steps of a picture's way, once decoded: a large picture, decoded
// halved, is resampled to the size it is kept at and turned upright; any
// other is turned upright as it is. The kept size is decided on the upright
// picture, as the user sees it, and resampled to on the stored one with the
// same sides swapped back, so that no pixel is moved twice.
#include <optional>

#include "saver/pictures/exif_orientation.h"
#include "saver/pictures/picture_header.h"
#include "saver/pictures/picture_pixels.h"

namespace ventalune::pictures {

// `halved` was decoded from a stored picture of `stored` size at a scale
// ReduceToFit gives; the result has the ReducedPictureSize of the upright
// picture. Nothing when the sizes do not fit together.
std::optional<PicturePixels> KeepReduced(PicturePixels halved, PictureSize stored, Orientation orientation);

// A picture decoded at its own size, turned upright (see TurnUpright).
std::optional<PicturePixels> KeepWhole(PicturePixels decoded, Orientation orientation);

}  // namespace ventalune::pictures
