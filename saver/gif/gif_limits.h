#pragma once
// Ceilings against hostile GIF data. A GIF can arrive from the network, and
// its 16-bit sizes let a file of a few hundred bytes declare frames of
// 65535 × 65535 pixels, so every allocation the engine makes is bounded here
// before it happens. A file beyond a ceiling does not load (0 frames).
#include <cstdint>

namespace ventalune::gif {

struct Limits {
  // The whole file, as held in memory while the frames are built.
  int64_t maxFileBytes = int64_t{64} << 20;
  // Logical canvas (width × height) — the composite colour buffer and mask
  // are this size: 16 Mi pixels, e.g. 4096 × 4096.
  int64_t maxCanvasPixels = int64_t{1} << 24;
  // The frame strip holds every frame side by side at the canvas height:
  // 256 Mi one-byte pixels at most.
  int64_t maxStripPixels = int64_t{1} << 28;
};

// The frame counter is signed 16-bit: the 32768th image ends the scan and the
// frames before it stay. Together with one colour table per image this also
// bounds the palette store to 32768 palettes (32 MiB).
inline constexpr int32_t kMaxFrames = 32767;

}  // namespace ventalune::gif
