#pragma once
// The block scan: signature, colour tables, graphic control extensions, the
// NETSCAPE2.0 loop count and where each frame's bytes lie. No pixel data is
// decoded here.
#include <cstdint>
#include <span>

#include "saver/gif/gif_types.h"

namespace ventalune::gif {

// Scans a whole GIF file. A file that ends early keeps the frames accepted
// before the end; a bad signature, or an image with no colour table at all,
// gives no frames.
GifScan ScanGif(std::span<const uint8_t> file);

}  // namespace ventalune::gif
