#include "saver/controls/anigif/frame_presenter.h"

#include <algorithm>
#include <cstring>

#include "saver/controls/anigif/frame_bits.h"
#include "saver/gif/mirror.h"

namespace ventalune::anigif {

void FramePresenter::Release() {
  // The bitmaps leave the context before any of them goes.
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  dc_.reset();
  colour_ = {};
  mask_ = {};
  width_ = height_ = 0;
  anyTransparent_ = false;
  surface_ = gif::Surface{};
}

bool FramePresenter::MakeBitmaps(int32_t width, int32_t height) {
  if (dc_ && width == width_ && height == height_) return true;
  Release();
  // top-down, as the engine's surface
  DibSection colour = MakeColourSection(width, height, RowOrder::kTopDown);
  DibSection mask = MakeMaskSection(width, height);
  OwnedDc dc(CreateCompatibleDC(nullptr));
  if (!colour || !mask || !dc) return false;
  previous_ = SelectObject(dc.get(), colour.bitmap.get());
  dc_ = std::move(dc);
  colour_ = std::move(colour);
  mask_ = std::move(mask);
  width_ = width;
  height_ = height;
  return true;
}

// At the picture's working size: painting stretches it to the place the
// logical size is laid out at.
bool FramePresenter::Show(gif::GifPicture& picture, size_t index) {
  if (index >= picture.builtFrames() || !MakeBitmaps(picture.workingWidth(), picture.workingHeight())) {
    Release();
    return false;
  }
  ComposeFrame(picture, index, surface_);
  Convert();
  return true;
}

void FramePresenter::Mirror(int32_t change) {
  if (!dc_) return;
  gif::MirrorSurface(surface_, change);
  Convert();
}

void FramePresenter::Convert() {
  // GDI may still be reading the bitmaps from an earlier paint.
  GdiFlush();
  anyTransparent_ = ConvertFrame(surface_, static_cast<uint32_t*>(colour_.bits), static_cast<uint8_t*>(mask_.bits));
}

void FramePresenter::Paint(HDC target, int x, int y, int width, int height) const {
  if (!dc_ || width <= 0 || height <= 0) return;
  const bool stretched = width != width_ || height != height_;
  int previousMode = 0;
  POINT previousOrigin{};
  if (stretched) {
    previousMode = SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, &previousOrigin);
  }
  if (anyTransparent_) {
    // A one-bit source reads through the target's text and background
    // colours: black stays black (opaque), white stays white (transparent).
    const COLORREF text = SetTextColor(target, RGB(0, 0, 0));
    const COLORREF back = SetBkColor(target, RGB(255, 255, 255));
    SelectObject(dc_.get(), mask_.bitmap.get());
    StretchBlt(target, x, y, width, height, dc_.get(), 0, 0, width_, height_, SRCAND);
    SelectObject(dc_.get(), colour_.bitmap.get());
    StretchBlt(target, x, y, width, height, dc_.get(), 0, 0, width_, height_, SRCPAINT);
    SetTextColor(target, text);
    SetBkColor(target, back);
  } else {
    StretchBlt(target, x, y, width, height, dc_.get(), 0, 0, width_, height_, SRCCOPY);
  }
  if (stretched) {
    SetStretchBltMode(target, previousMode);
    SetBrushOrgEx(target, previousOrigin.x, previousOrigin.y, nullptr);
  }
}

}  // namespace ventalune::anigif
