#pragma once
#include <cstdint>
#include <span>

namespace ventalune::pictures {

// Mirrors a picture of four-byte pixels left to right in place: column x
// takes what column width − 1 − x held. Nothing happens when the sizes do
// not match the pixels.
void MirrorLeftRight(std::span<uint8_t> pixels, int32_t width, int32_t height);

}  // namespace ventalune::pictures
