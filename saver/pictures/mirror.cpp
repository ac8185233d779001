#include "saver/pictures/mirror.h"

#include <algorithm>
#include <cstring>

namespace ventalune::pictures {

void MirrorLeftRight(std::span<uint8_t> pixels, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  if (pixels.size() != rowBytes * static_cast<size_t>(height)) return;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = pixels.data() + static_cast<size_t>(y) * rowBytes;
    for (int32_t left = 0, right = width - 1; left < right; ++left, --right) {
      uint8_t held[4];
      std::memcpy(held, row + left * 4, 4);
      std::memcpy(row + left * 4, row + right * 4, 4);
      std::memcpy(row + right * 4, held, 4);
    }
  }
}

}  // namespace ventalune::pictures
