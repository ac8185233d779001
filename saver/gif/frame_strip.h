#pragma once
// The frame strip: every frame's pixels as palette indexes, side by side.
// Frame n occupies columns offset(n) .. offset(n) + width(n) − 1 and its
// height in rows from the top; the strip is as tall as the logical canvas.
#include <cstdint>
#include <span>
#include <vector>

#include "saver/gif/gif_limits.h"
#include "saver/gif/gif_types.h"

namespace ventalune::gif {

struct FrameStrip {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // top row first, `width` bytes per row

  uint8_t* Row(int32_t y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
  const uint8_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// Gives each frame its strip offset (frame 1 at 0, each next one after the
// one before) and returns the width of a strip holding all of them, or only
// the first when `firstOnly` (design mode, or a one-frame file).
int64_t LayOutStrip(std::span<FrameRecord> frames, bool firstOnly);

// An all-zero strip, or false when it would be empty or exceed the ceiling.
bool CreateStrip(FrameStrip& strip, int64_t width, int64_t height, const Limits& limits);

}  // namespace ventalune::gif
