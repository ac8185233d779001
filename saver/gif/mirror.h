#pragma once
// Mirroring frames in the strip and the composite in place.
#include <cstdint>

#include "saver/gif/frame_strip.h"
#include "saver/gif/gif_types.h"
#include "saver/gif/surface.h"

namespace ventalune::gif {

inline constexpr int32_t kMirrorHorizontal = 1;
inline constexpr int32_t kMirrorVertical = 2;
// Kept in the mirror style while frame 1 is already mirrored and the other
// frames are still to be built.
inline constexpr int32_t kMirrorRestPending = 0x20;

// Flips the frame's strip columns by the bits of `change` and moves the frame
// to the mirrored place on the canvas (left = L − (left + width),
// top = T − (top + height)).
void MirrorFrame(FrameStrip& strip, FrameRecord& frame, int32_t change, int32_t logicalWidth, int32_t logicalHeight);

// Flips the whole surface, colours and background alike.
void MirrorSurface(Surface& surface, int32_t change);

}  // namespace ventalune::gif
