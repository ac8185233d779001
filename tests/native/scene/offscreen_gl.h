#pragma once
// A current OpenGL context with no window, for drawing the scene in tests.
#include <GL/osmesa.h>

#include <cstdint>
#include <vector>

namespace ventalune::scene::offscreen {

class OffscreenGl {
 public:
  OffscreenGl(int width, int height);
  ~OffscreenGl();
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  bool ok() const { return made_current_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // RGB rows, top row first, as a picture viewer shows them.
  std::vector<uint8_t> ReadRgbTopDown() const;

 private:
  int width_;
  int height_;
  std::vector<uint8_t> buffer_;
  OSMesaContext context_ = nullptr;
  bool made_current_ = false;
};

}  // namespace ventalune::scene::offscreen
