#pragma once
// The screen's resolution as the display reports it: pixels per logical
// inch across and down. 96 when the screen cannot be asked.
#include <cstdint>

namespace ventalune {

struct ScreenDpi {
  int32_t x = 96, y = 96;
};
// Read anew on every call: the user may change the scale while we run.
ScreenDpi ReadScreenDpi();

}  // namespace ventalune
