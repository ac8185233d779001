#pragma once
// Pictures larger than the walls can show are decoded at a reduced scale:
// sequential JPEGs by our own decoder, which halves, quarters or eighths
// them while decoding; anything else through the Windows Imaging Component,
// by its decoder where it can scale, otherwise a few rows at a time averaged
// down. The full-size pixels are never all held. The same imaging path
// decodes the formats only it reads (PNG) at any size.
#include <cstdint>
#include <span>
#include <vector>

#include "saver/pictures/exif_orientation.h"

namespace ventalune::pictures {

struct LargePicture {
  enum class Outcome {
    kNotLarge,     // within the size kept as it is, or not for this decoder: decode as usual
    kDecoded,      // reduced: pixels hold width × height
    kUndecodable,  // too large to keep, and it could not be decoded
  };
  Outcome outcome = Outcome::kNotLarge;
  int32_t width = 0;
  int32_t height = 0;
  // Four bytes a pixel (blue, green, red, unused), top row first.
  std::vector<uint8_t> pixels;
};

// Reads the size a JPEG or bitmap declares and, when its longer side is over
// kLongestSideKept, decodes it reduced: halved while decoding (see
// ReduceToFit), then resampled to the ReducedPictureSize of its upright
// picture and turned as `orientation` says.
LargePicture DecodeLargePicture(std::span<const uint8_t> bytes, Orientation orientation = Orientation::kAsStored);

// Decodes any picture the imaging component reads, its transparency
// composited on black: at its own size up to kLongestSideKept, reduced as
// above beyond. Never kNotLarge: kUndecodable for bytes it cannot decode
// whole, so that a damaged file is refused rather than shown in part.
LargePicture DecodeImagingPicture(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
