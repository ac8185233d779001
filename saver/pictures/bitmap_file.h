#pragma once
// Windows bitmap files as the saver writes its two pictures for the scene:
// 24 bits per pixel, rows bottom-up, each padded to four bytes.
#include <cstdint>
#include <span>
#include <vector>

namespace ventalune::pictures {

// `topDownBgrx` holds width × height pixels of four bytes (blue, green, red,
// unused), top row first, as a 32-bit top-down DIB section holds them.
// Empty when the sizes are not positive or do not match the pixels.
std::vector<uint8_t> EncodeBitmapFile(std::span<const uint8_t> topDownBgrx, int32_t width, int32_t height);

}  // namespace ventalune::pictures
