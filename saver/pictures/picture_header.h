#pragma once
// A picture's size read from its header alone, without decoding it: some
// decoders decode the whole picture as soon as they are asked its size, and
// the size decides how a picture is to be decoded.
#include <cstdint>
#include <optional>
#include <span>

namespace ventalune::pictures {

struct PictureSize {
  uint32_t width = 0;
  uint32_t height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The size a JPEG (its first frame header), a Windows bitmap, a PNG (its
// header chunk) or a GIF declares; for a GIF the logical screen, grown to
// hold any frame reaching beyond it, since decoders draw a GIF's frames on
// a canvas of that size. Nothing for other formats or a header that is cut
// short or damaged. A declared size is not a promise that the picture
// decodes.
std::optional<PictureSize> DeclaredPictureSize(std::span<const uint8_t> bytes);

// Whether a decoder may be asked for a picture of this size at all: at most
// kMaxDecodedPixels, and kMaxDecodedSide on either side.
bool WithinDecodeCeilings(PictureSize size);

}  // namespace ventalune::pictures
