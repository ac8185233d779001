#pragma once
// A decoded picture as every step of the picture pipeline hands it on: four
// bytes a pixel (blue, green, red, unused), top row first, rows packed, as
// a 32-bit top-down section holds them.
#include <cstdint>
#include <vector>

namespace ventalune::pictures {

struct PicturePixels {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;
};

}  // namespace ventalune::pictures
