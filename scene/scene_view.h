#pragma once
#include <cstdint>

namespace ventalune::scene {

// Viewport and a 45-degree perspective for a client area of w × h pixels.
void ApplyViewSize(int32_t width, int32_t height);

// The fixed GL state every new rendering context starts from.
void PrepareGlState();

}  // namespace ventalune::scene
