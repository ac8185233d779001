#pragma once
// Binary PPM pictures (P6, 8 bits per channel) in and out of the preview
// tool, and the turn into the DIB layout the scene's texture upload expects.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace ventalune::preview {

// Larger sides than this are refused before anything is allocated: the
// tool's pictures are a few hundred pixels a side.
inline constexpr int32_t kLargestPpmSide = 8192;

struct RgbImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> rgb;  // top row first, red, green, blue
};

// Reads "P6 <w> <h> 255" (comments and any whitespace between the fields,
// one whitespace byte before the pixels). Anything else, a side of 0 or
// above the ceiling, or fewer pixel bytes than announced: no picture.
std::optional<RgbImage> ParsePpm(std::span<const uint8_t> bytes);

std::vector<uint8_t> PpmBytes(const RgbImage& image);

// Blue, green, red, unused per pixel, bottom row first.
std::vector<uint8_t> DibPixels(const RgbImage& image);

}  // namespace ventalune::preview
