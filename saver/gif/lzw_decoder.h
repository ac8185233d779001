#pragma once
// GIF's variable-width LZW: turns a frame's code stream (its data sub-blocks
// joined together) into palette indexes in stream order.
#include <cstddef>
#include <cstdint>
#include <span>

namespace ventalune::gif {

enum class LzwStatus : uint8_t {
  kComplete,     // end code seen, or the output is full (extra data is ignored)
  kDataEnded,    // the codes ran out before the end code
  kCorrupt,      // a code that names no table entry
  kBadCodeSize,  // minimum code size outside 1..8: nothing decoded
};

struct LzwResult {
  size_t pixels = 0;  // indexes written from the start of the output
  LzwStatus status = LzwStatus::kComplete;
};

// Decodes into `out` and never writes past it. Whatever the codes do not
// reach is left untouched. A full table without a clear code keeps being used
// as it is, as GIF encoders expect.
LzwResult DecodeLzw(std::span<const uint8_t> codes, int minCodeSize, std::span<uint8_t> out);

}  // namespace ventalune::gif
