#pragma once
#include <cstdint>

namespace ventalune::scene {

// Decodes a picture file with the platform's OLE picture loader (Windows
// bitmaps, and whatever else it understands), stretches it onto a
// power-of-two texture right side up and uploads it. On success the new
// texture is bound to GL_TEXTURE_2D and its name written to textureName.
// Needs a current rendering context.
bool LoadPictureTexture(const wchar_t* path, uint32_t& textureName);

}  // namespace ventalune::scene
