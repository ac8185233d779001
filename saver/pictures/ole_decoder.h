#pragma once
// Pictures decoded by the platform's OLE picture loader (bitmaps, JPEGs,
// GIFs, icons, metafiles): drawn at the screen's resolution, as stored.
#include <cstdint>
#include <optional>
#include <span>

#include "saver/pictures/picture_pixels.h"

namespace ventalune::pictures {

// Nothing when the loader takes no picture from the bytes, the picture is
// over kMaxHeldPixels at the screen's resolution, or it cannot be drawn.
std::optional<PicturePixels> DecodeThroughOle(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
