#pragma once
// Decodes one frame's image data from the file into its place in the strip.
#include <cstdint>
#include <span>
#include <vector>

#include "saver/gif/frame_strip.h"
#include "saver/gif/gif_types.h"
#include "saver/gif/lzw_decoder.h"

namespace ventalune::gif {

// Buffers reused from frame to frame, so a long animation allocates once.
struct DecodeScratch {
  std::vector<uint8_t> codes;
  std::vector<uint8_t> pixels;
};

// Writes the frame's palette indexes into its strip columns, interlaced rows
// in display order. Whatever the data does not reach (cut or corrupt data)
// stays index 0. Only the file's own bytes within the frame's recorded
// length are read. The result says how the code stream ended.
LzwStatus DecodeFrame(std::span<const uint8_t> file, const FramePosition& position, const FrameRecord& frame,
                      FrameStrip& strip, DecodeScratch& scratch);

// The display row of the `index`-th row in an interlaced frame's stream order.
int32_t InterlacedRow(int32_t index, int32_t height);

}  // namespace ventalune::gif
