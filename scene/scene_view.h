#pragma once
#include <cstdint>

namespace ventalune::scene {

// Viewport and a 45-degree perspective for a client area of w × h pixels.
void ApplyViewSize(int32_t width, int32_t height);
// The same for a part of the client area, its corner x from the left and y
// from the bottom: one monitor's view of a window over several.
void ApplyViewport(int32_t x, int32_t y, int32_t width, int32_t height);

// The fixed GL state every new rendering context starts from.
void PrepareGlState();

}  // namespace ventalune::scene
