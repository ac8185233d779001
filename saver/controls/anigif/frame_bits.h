#pragma once
// A frame as the control hands it to GDI, made without GDI: the picture's
// frame composed at its working size, then split into 32-bit colours
// (black where the background shows) and a one-bit mask (set where it
// shows), both top row first, mask rows padded to 32 bits. This is all the
// window thread computes per frame change; painting is GDI's.
#include <cstddef>
#include <cstdint>

#include "saver/gif/gif_picture.h"
#include "saver/gif/surface.h"

namespace ventalune::anigif {

// Bytes in one mask row of a frame `width` pixels wide.
inline constexpr int32_t MaskStride(int32_t width) { return ((width + 31) / 32) * 4; }

// Composes frame `index` (0 = frame 1) on `surface`, which it resets to the
// picture's working size. False when that frame is not built.
bool ComposeFrame(gif::GifPicture& picture, size_t index, gif::Surface& surface);

// Fills `colour` (width × height) and `mask` (MaskStride(width) × height)
// from the surface. True when any pixel shows the background.
bool ConvertFrame(const gif::Surface& surface, uint32_t* colour, uint8_t* mask);

}  // namespace ventalune::anigif
