#pragma once
// Shrinks a picture by area: each target pixel is the average of the part of
// the picture it covers, pixels it covers only in part weighted by that
// part. Used for the last step of reducing a large picture, where the ratio
// is no power of two and skipping or blending neighbours alone would alias
// the grain of a camera photo.
#include <cstdint>
#include <span>
#include <vector>

namespace ventalune::pictures {

// Four bytes a pixel (blue, green, red, unused), rows packed, top row first,
// in and out; the unused byte comes out 0. The target sides lie between 1
// and the source's. An empty result when the sizes break that rule or do
// not match the pixels given.
std::vector<uint8_t> ResampleByArea(std::span<const uint8_t> pixels, int32_t width, int32_t height,
                                    int32_t targetWidth, int32_t targetHeight);

}  // namespace ventalune::pictures
