#pragma once
// The block scan: signature, colour tables, graphic control extensions, the
// NETSCAPE2.0 loop count and where each frame's bytes lie. No pixel data is
// decoded here.
#include <cstdint>
#include <optional>
#include <span>

#include "saver/gif/gif_types.h"

namespace ventalune::gif {

// The logical screen a GIF's header declares.
struct GifScreen {
  int32_t width = 0;
  int32_t height = 0;
};

// The header of a GIF87a or GIF89a file (the signature in any letter case)
// and the screen size after it; nothing for other bytes or fewer than ten.
std::optional<GifScreen> ReadGifHeader(std::span<const uint8_t> file);

// Scans a whole GIF file. A file that ends early keeps the frames accepted
// before the end; a bad signature, or an image with no colour table at all,
// gives no frames.
GifScan ScanGif(std::span<const uint8_t> file);

}  // namespace ventalune::gif
