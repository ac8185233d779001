#pragma once
// Pictures larger than the walls can show are decoded at a reduced scale:
// sequential JPEGs by our own decoder, which halves, quarters or eighths
// them while decoding; anything else through the Windows Imaging Component,
// by its decoder where it can scale, otherwise a few rows at a time averaged
// down. The full-size pixels are never all held.
#include <cstdint>
#include <span>
#include <vector>

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
// ReduceToFit), then resampled to its ReducedPictureSize.
LargePicture DecodeLargePicture(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
