#include "offscreen_gl.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstddef>

namespace ventalune::scene::offscreen {

OffscreenGl::OffscreenGl(int width, int height)
    : width_(width), height_(height), buffer_(static_cast<std::size_t>(width) * height * 4) {
  context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
  if (context_) made_current_ = OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, width, height);
}

OffscreenGl::~OffscreenGl() {
  if (context_) OSMesaDestroyContext(context_);
}

std::vector<uint8_t> OffscreenGl::ReadRgbTopDown() const {
  glFinish();
  std::vector<uint8_t> rgb(static_cast<std::size_t>(width_) * height_ * 3);
  std::vector<uint8_t> row(static_cast<std::size_t>(width_) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  for (int y = 0; y < height_; ++y) {
    glReadPixels(0, height_ - 1 - y, width_, 1, GL_RGB, GL_UNSIGNED_BYTE, row.data());
    std::copy(row.begin(), row.end(), rgb.begin() + static_cast<std::ptrdiff_t>(y) * width_ * 3);
  }
  return rgb;
}

}  // namespace ventalune::scene::offscreen
