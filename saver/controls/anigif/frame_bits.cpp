#include "saver/controls/anigif/frame_bits.h"

#include <cstring>

namespace ventalune::anigif {

bool ComposeFrame(gif::GifPicture& picture, size_t index, gif::Surface& surface) {
  if (index >= picture.builtFrames()) return false;
  surface.Reset(picture.workingWidth(), picture.workingHeight());
  return picture.DrawFrame(index, surface);
}

bool ConvertFrame(const gif::Surface& surface, uint32_t* colour, uint8_t* mask) {
  const int32_t width = surface.width;
  const int32_t height = surface.height;
  const size_t stride = static_cast<size_t>(MaskStride(width));
  std::memset(mask, 0, stride * static_cast<size_t>(height));
  bool anyTransparent = false;
  for (int32_t y = 0; y < height; ++y) {
    uint32_t* colourRow = colour + static_cast<size_t>(y) * static_cast<size_t>(width);
    uint8_t* maskRow = mask + static_cast<size_t>(y) * stride;
    const size_t row = surface.At(0, y);
    for (int32_t x = 0; x < width; ++x) {
      if (surface.background[row + static_cast<size_t>(x)]) {
        colourRow[x] = 0;
        maskRow[x >> 3] = static_cast<uint8_t>(maskRow[x >> 3] | (0x80 >> (x & 7)));
        anyTransparent = true;
      } else {
        colourRow[x] = surface.colour[row + static_cast<size_t>(x)] & 0xFFFFFF;
      }
    }
  }
  return anyTransparent;
}

}  // namespace ventalune::anigif
