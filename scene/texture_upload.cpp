#include "scene/texture_upload.h"

#include <utility>

#include "scene/gl_api.h"

namespace ventalune::scene {

void ConvertDibToRgba(std::span<uint8_t> pixels) {
  for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
    std::swap(pixels[i], pixels[i + 2]);
    pixels[i + 3] = 255;
  }
}

uint32_t UploadPictureTexture(std::span<uint8_t> dibPixels, int32_t width, int32_t height) {
  ConvertDibToRgba(dibPixels);
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // Three components: the alpha is opaque anyway and need not be stored.
  glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, dibPixels.data());
  return name;
}

}  // namespace ventalune::scene
