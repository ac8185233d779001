#include "saver/gif/mirror.h"

#include <algorithm>

namespace ventalune::gif {
namespace {

template <class Pixel>
void FlipRows(Pixel* first, int32_t stride, int32_t width, int32_t height) {
  for (int32_t y = 0; y < height / 2; ++y)
    std::swap_ranges(first + static_cast<ptrdiff_t>(y) * stride, first + static_cast<ptrdiff_t>(y) * stride + width,
                     first + static_cast<ptrdiff_t>(height - 1 - y) * stride);
}

template <class Pixel>
void FlipColumns(Pixel* first, int32_t stride, int32_t width, int32_t height) {
  for (int32_t y = 0; y < height; ++y) std::reverse(first + static_cast<ptrdiff_t>(y) * stride, first + static_cast<ptrdiff_t>(y) * stride + width);
}

}  // namespace

void MirrorFrame(FrameStrip& strip, FrameRecord& frame, int32_t change, int32_t logicalWidth, int32_t logicalHeight) {
  const bool fits = frame.width > 0 && frame.height > 0 && frame.stripOffset >= 0 &&
                    int64_t{frame.stripOffset} + frame.width <= strip.width && frame.height <= strip.height;
  uint8_t* first = fits ? strip.Row(0) + frame.stripOffset : nullptr;
  if (change & kMirrorHorizontal) {
    if (fits) FlipColumns(first, strip.width, frame.width, frame.height);
    frame.left = logicalWidth - (frame.left + frame.width);
  }
  if (change & kMirrorVertical) {
    if (fits) FlipRows(first, strip.width, frame.width, frame.height);
    frame.top = logicalHeight - (frame.top + frame.height);
  }
}

void MirrorSurface(Surface& surface, int32_t change) {
  if (surface.colour.empty()) return;
  if (change & kMirrorHorizontal) {
    FlipColumns(surface.colour.data(), surface.width, surface.width, surface.height);
    FlipColumns(surface.background.data(), surface.width, surface.width, surface.height);
  }
  if (change & kMirrorVertical) {
    FlipRows(surface.colour.data(), surface.width, surface.width, surface.height);
    FlipRows(surface.background.data(), surface.width, surface.width, surface.height);
  }
}

}  // namespace ventalune::gif
