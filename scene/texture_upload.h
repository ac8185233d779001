#pragma once
#include <cstdint>
#include <span>

namespace ventalune::scene {

// Pixels as a Windows DIB holds them (blue, green, red, unused; bottom row
// first) become red, green, blue, opaque alpha, in place.
void ConvertDibToRgba(std::span<uint8_t> pixels);

// Converts, then uploads as a new linear-filtered texture without mipmaps,
// left bound to GL_TEXTURE_2D. The DIB's bottom-up rows make texture (0, 0)
// the picture's bottom-left corner. Needs a current rendering context.
uint32_t UploadPictureTexture(std::span<uint8_t> dibPixels, int32_t width, int32_t height);

}  // namespace ventalune::scene
