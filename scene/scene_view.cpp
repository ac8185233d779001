#include "scene/scene_view.h"

#include <algorithm>

#include "scene/gl_api.h"

namespace ventalune::scene {

void ApplyViewSize(int32_t width, int32_t height) { ApplyViewport(0, 0, width, height); }

void ApplyViewport(int32_t x, int32_t y, int32_t width, int32_t height) {
  glViewport(x, y, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // A zero-height client area (a window squeezed flat) would make the aspect
  // infinite and poison the projection; one pixel is as flat as it gets.
  gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(std::max(height, 1)), 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void PrepareGlState() {
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  // Set for completeness of the context's state; blending itself stays off.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glEnable(GL_TEXTURE_2D);
  // Light 0 keeps the GL defaults: a white light shining down −Z.
  glEnable(GL_LIGHT0);
}

}  // namespace ventalune::scene
