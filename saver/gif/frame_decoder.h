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

// The same for a picture kept at a working size `reduction` times smaller
// both ways: `declared` is the frame as the file has it, `working` its place
// in the strip (see ReduceFrame). Working pixel (X, Y) of the canvas takes
// declared canvas pixel (X × reduction, Y × reduction).
LzwStatus DecodeFrame(std::span<const uint8_t> file, const FramePosition& position, const FrameRecord& declared,
                      const FrameRecord& working, int32_t reduction, FrameStrip& strip, DecodeScratch& scratch);

// The smallest whole factor that brings the canvas to at most `maxPixels`
// (1 when it fits already, or when `maxPixels` is 0: no reduction).
int32_t WorkingReduction(int32_t logicalWidth, int32_t logicalHeight, int64_t maxPixels);
// A size at the working scale: the canvas pixels whose sample point lies
// inside `extent` declared pixels.
inline int32_t Reduced(int64_t extent, int32_t reduction) {
  return static_cast<int32_t>((extent + reduction - 1) / reduction);
}
// The frame's place at the working scale: the working pixels whose sample
// points fall inside it (none for a frame narrower than the sampling).
FrameRecord ReduceFrame(const FrameRecord& declared, int32_t reduction);

// The display row of the `index`-th row in an interlaced frame's stream order.
int32_t InterlacedRow(int32_t index, int32_t height);

}  // namespace ventalune::gif
