#pragma once
// GIFs made byte by byte at test time, each showing one thing the control
// must draw right, and the engine's own composition of them to compare
// the screen with.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "saver/gif/surface.h"

namespace ventalune::wine_test {

struct SampleGif {
  std::string name;
  std::vector<uint8_t> bytes;
};
inline void PrintTo(const SampleGif& gif, std::ostream* out) { *out << gif.name; }

// Four frames with disposals 0 to 3, transparent pixels over a canvas the
// first frame does not cover.
SampleGif DisposalsGif();
// Local colour tables beside the global one; two frames interlaced.
SampleGif LocalPalettesGif();
// A frame reaching beyond the screen size the header declares.
SampleGif OutsideTheCanvasGif();
// One frame, transparent index 2.
SampleGif TransparentStillGif();
// Frames of 4 × 4 pixels with the given delays (hundredths), each a plain
// colour of its own; a NETSCAPE2.0 loop count unless negative.
SampleGif DelaysGif(const std::vector<int>& hundredths, int loopCount = -1);

// One opaque 300 × 200 frame whose colour changes at every pixel.
SampleGif LargeStillGif();
// Four such frames of other patterns: well over 64 KiB, more than one read
// of a download.
SampleGif LargeAnimationGif();
// Sixteen frames of 4096 × 4096 in a few hundred bytes: each frame's data
// is one pixel of its own colour, the rest left to index 0.
SampleGif HugeFramesGif();

// Every frame as the engine composes it, in order, at the logical size.
std::vector<gif::Surface> ComposeFrames(const std::vector<uint8_t>& gif);

std::string WriteTempGif(const SampleGif& gif);

}  // namespace ventalune::wine_test
