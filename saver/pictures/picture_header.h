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

// The size a JPEG (its first frame header) or a Windows bitmap declares;
// nothing for other formats or a header that is cut short or damaged. A
// declared size is not a promise that the picture decodes.
std::optional<PictureSize> DeclaredPictureSize(std::span<const uint8_t> bytes);

}  // namespace ventalune::pictures
