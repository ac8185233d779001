#pragma once
// A picture the size of the logical canvas: colours plus where the
// background shows through. This is what the control puts on screen.
#include <cstdint>
#include <vector>

#include "saver/gif/gif_types.h"

namespace ventalune::gif {

struct Surface {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<Colour> colour;       // top row first
  std::vector<uint8_t> background;  // 1 = transparent: the background shows, colour is black

  // All transparent black.
  void Reset(int32_t newWidth, int32_t newHeight) {
    width = newWidth;
    height = newHeight;
    const size_t area = static_cast<size_t>(newWidth) * static_cast<size_t>(newHeight);
    colour.assign(area, 0);
    background.assign(area, 1);
  }
  size_t At(int32_t x, int32_t y) const { return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x); }
};

}  // namespace ventalune::gif
