#pragma once
// A decoded photo turned the way its EXIF orientation says a viewer shows
// it, so that the walls show portrait photos standing up.
//
// Takes pictures of four-byte pixels (blue, green, red, unused), top row
// first, rows packed, of at most kMaxHeldPixels (a quarter turn holds the
// picture twice). Refuses sides that are not
// positive, pixels that do not match the sides and pictures over the
// ceiling. An orientation outside 1..8 is taken as kAsStored, as the
// EXIF reader takes a value it does not know.
#include <cstdint>
#include <optional>
#include <vector>

#include "saver/pictures/exif_orientation.h"
#include "saver/pictures/picture_pixels.h"

namespace ventalune::pictures {

struct UprightSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const UprightSize&) const = default;
};

// The size of a stored picture once upright: its sides swapped by the
// orientations that turn it a quarter (transpose, quarter turns,
// transverse). Sizes decided on the upright picture (see
// ReducedPictureSize) can so be decided before any pixel is moved.
UprightSize UprightPictureSize(int32_t width, int32_t height, Orientation orientation);

// The stored picture turned upright, of UprightPictureSize. The pixels are
// taken, not copied: as stored they come back as they are, mirrored and
// half turned they are rearranged in place, and only the orientations that
// swap the sides need a second buffer. Nothing for a picture refused above
// (its pixels are then lost to the caller).
std::optional<PicturePixels> TurnUpright(int32_t width, int32_t height, std::vector<uint8_t> pixels,
                                          Orientation orientation);

}  // namespace ventalune::pictures
