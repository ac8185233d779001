#include "saver/gif/frame_strip.h"

#include <new>

namespace ventalune::gif {

int64_t LayOutStrip(std::span<FrameRecord> frames, bool firstOnly) {
  int64_t offset = 0;
  for (FrameRecord& frame : frames) {
    frame.stripOffset = static_cast<int32_t>(offset);
    offset += frame.width;
  }
  if (firstOnly) return frames.empty() ? 0 : frames.front().width;
  return offset;
}

bool CreateStrip(FrameStrip& strip, int64_t width, int64_t height, const Limits& limits) {
  strip = FrameStrip{};
  // A bitmap with no pixels cannot be made, as on the platform.
  if (width <= 0 || height <= 0) return false;
  if (width > limits.maxStripPixels / height) return false;
  try {
    strip.pixels.assign(static_cast<size_t>(width * height), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  strip.width = static_cast<int32_t>(width);
  strip.height = static_cast<int32_t>(height);
  return true;
}

}  // namespace ventalune::gif
