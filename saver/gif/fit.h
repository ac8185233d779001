#pragma once
// How big the picture is drawn in the space the control has, for each
// stretch mode, and where a frame lands once scaled.
#include <cstdint>
#include <optional>

#include "saver/gif/gif_types.h"

namespace ventalune::gif {

enum StretchMode : int32_t {
  kNaturalClipped = 0,   // natural size, cut to the space
  kProportional = 1,     // largest size that keeps the proportions
  kFill = 2,             // fills the space, proportions lost
  kProportionalNoEnlarge = 3,
  kNaturalAdopted = 4,   // natural size; the control takes that size
};

struct FitResult {
  int32_t width = 0;
  int32_t height = 0;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
};

// Nearest integer, halves to even (2.5 → 2, 3.5 → 4).
int32_t RoundHalfEven(double value);

// Nothing when no picture is loaded (an empty logical size) or the mode is
// not one of the five.
std::optional<FitResult> Fit(int32_t mode, int32_t availableWidth, int32_t availableHeight, int32_t logicalWidth,
                             int32_t logicalHeight);

struct Rect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// Where a frame is drawn straight onto the target: (R(left × sx),
// R(top × sy)) with size (R(width × sx), R(height × sy)).
Rect ScaledFrameRect(const FrameRecord& frame, float scaleX, float scaleY);

// Where the whole composite is painted: (0, 0) with size (R(L × sx), R(T × sy)).
Rect ScaledCanvasRect(int32_t logicalWidth, int32_t logicalHeight, float scaleX, float scaleY);

}  // namespace ventalune::gif
