#pragma once
#include <cstdint>

namespace ventalune::scene {

// The side of the texture a picture side of `pixels` becomes: the nearest
// power of two on a logarithmic scale (1024 stays, 768 → 1024, 600 → 512,
// 1448 → 1024, 1449 → 2048), never more than the GL's largest size.
// A side below one pixel (a damaged picture) becomes 1.
int32_t TextureSide(int32_t pixels, int32_t largestSide);

}  // namespace ventalune::scene
