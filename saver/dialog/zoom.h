#pragma once
// The zoom effect of the settings dialog: a rectangle the platform animates
// from the pointer's position to the window as it opens, and back to the
// same point as it closes.
#include <windows.h>

#include <cstdint>

namespace ventalune::dialog {

// Screen pixels, 16 bits each; (0, 0) until the dialog sets it.
struct ZoomPoint {
  int16_t x = 0;
  int16_t y = 0;
};
// Set once when the dialog opens, so the closing animation returns to the
// point the opening one started from even if the pointer has moved.
extern ZoomPoint ZoomOrigin;

// The dialog's way of setting it: the pointer's position; (0, 0) when the
// position cannot be read; unchanged when it does not fit 16 bits.
void TakeZoomOriginFromCursor();

struct ZoomRects {
  RECT from{};
  RECT to{};
};
// From the one-pixel rectangle at ZoomOrigin to the window's frame, and the
// reverse. A window whose frame cannot be read counts as (0, 0, 0, 0).
ZoomRects ZoomOpenRects(HWND window);
ZoomRects ZoomCloseRects(HWND window);

// Play the animation (IDANI_CAPTION); they return when it has been drawn.
void ZoomOpen(HWND window);
void ZoomClose(HWND window);

}  // namespace ventalune::dialog
