#pragma once
// A picture's way from a file or bytes to its pixels, in one straight line:
// the bytes read once, the format told and the size known and held against
// the ceilings before any decoder is asked (picture_decoding), decoded,
// turned upright and reduced (kept_picture), handed over as pixels. Every
// step lives in a file of its own; this is the line that joins them, on
// the platform's decoders.
#include <optional>
#include <span>
#include <string>

#include "saver/pictures/picture_decoding.h"
#include "saver/pictures/picture_pixels.h"

namespace ventalune::pictures {

// The picture in the bytes, a photo shown as a photo viewer shows it, a
// transparent picture on black; a picture longer than kLongestSideKept on
// either side reduced to kReducedLongestSide (see ReducedPictureSize).
// Nothing for bytes that are no picture, a damaged picture, one over a
// ceiling or of a size that cannot be told before it is decoded, or one
// larger than the memory there is now.
std::optional<PicturePixels> LoadPicture(std::span<const uint8_t> bytes, PictureUse use);
// The same for the photo in a file (a path in the system code page); nothing
// also for a file that is missing or over kMaxPictureFileBytes.
std::optional<PicturePixels> LoadPictureFile(const std::string& path);

}  // namespace ventalune::pictures
