#pragma once
// Turns one frame back into a GIF file: GIF89a, the frame's size as the
// screen, its palette as a 256-entry global table, a graphic control block
// when it is transparent, and its indexes LZW-encoded.
#include <cstdint>
#include <vector>

#include "saver/gif/frame_strip.h"
#include "saver/gif/gif_types.h"

namespace ventalune::gif {

// The frame's pixels are read from its strip columns, top row first, as the
// strip holds them (mirrored or not).
std::vector<uint8_t> ExportFrame(const FrameStrip& strip, const FrameRecord& frame, const Palette& palette);

}  // namespace ventalune::gif
