#include "saver/dialog/zoom.h"

#include <limits>

namespace ventalune::dialog {
namespace {

RECT OriginRect() { return {ZoomOrigin.x, ZoomOrigin.y, ZoomOrigin.x, ZoomOrigin.y}; }

RECT WindowFrame(HWND window) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) frame = {};
  return frame;
}

bool FitsSixteenBits(LONG value) {
  return value >= std::numeric_limits<int16_t>::min() && value <= std::numeric_limits<int16_t>::max();
}

}  // namespace

ZoomPoint ZoomOrigin;

void TakeZoomOriginFromCursor() {
  POINT pointer{};
  if (!GetCursorPos(&pointer)) {
    ZoomOrigin = {};
    return;
  }
  if (FitsSixteenBits(pointer.x) && FitsSixteenBits(pointer.y))
    ZoomOrigin = {static_cast<int16_t>(pointer.x), static_cast<int16_t>(pointer.y)};
}

ZoomRects ZoomOpenRects(HWND window) { return {OriginRect(), WindowFrame(window)}; }

ZoomRects ZoomCloseRects(HWND window) { return {WindowFrame(window), OriginRect()}; }

void ZoomOpen(HWND window) {
  const ZoomRects rects = ZoomOpenRects(window);
  DrawAnimatedRects(window, IDANI_CAPTION, &rects.from, &rects.to);
}

void ZoomClose(HWND window) {
  const ZoomRects rects = ZoomCloseRects(window);
  DrawAnimatedRects(window, IDANI_CAPTION, &rects.from, &rects.to);
}

}  // namespace ventalune::dialog
