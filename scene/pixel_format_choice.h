#pragma once
// Which of the pixel formats a window's device offers the scene takes.
// ChoosePixelFormat may hand back the system's unaccelerated software
// format even where the driver has an accelerated one, and asked for 16
// colour bits on a 32-bit desktop it picks whatever it likes; so the scene
// looks at every format itself.
//
// A usable format draws to a window through OpenGL, double-buffered, in
// RGBA, with a depth buffer. Among the usable ones: accelerated before
// generic (the system's software renderer; "generic accelerated" counts as
// accelerated), then at least the colour bits asked for, nearest first, then
// at least the depth bits asked for, nearest first, then the lowest number.
#include <cstdint>
#include <span>

namespace ventalune::scene {

// What DescribePixelFormat says of one format, in plain terms.
struct PixelFormatTraits {
  int32_t index = 0;  // 1-based, as the system numbers them
  bool drawsToWindow = false;
  bool supportsOpenGl = false;
  bool doubleBuffered = false;
  bool rgba = false;
  bool generic = false;             // the system's own software format
  bool genericAccelerated = false;  // generic, but run by a driver
  int32_t colorBits = 0;
  int32_t depthBits = 0;
};

struct PixelFormatRequest {
  int32_t colorBits = 32;
  int32_t depthBits = 24;
};

// The request for a desktop of `desktopBits` per pixel: the switched 16-bit
// mode keeps 16 colour and 16 depth bits, deeper desktops their own colour
// depth (never more than 32 counted) over a 24-bit depth buffer.
PixelFormatRequest PixelFormatRequestFor(int32_t desktopBits);

// The best usable format's index, or 0 when none is usable.
int32_t ChooseScenePixelFormat(std::span<const PixelFormatTraits> formats, const PixelFormatRequest& request);

}  // namespace ventalune::scene
