#include "saver/controls/anigif/frame_presenter.h"

#include <algorithm>
#include <cstring>

#include "saver/controls/anigif/frame_bits.h"
#include "saver/gif/mirror.h"

namespace ventalune::anigif {

FramePresenter::~FramePresenter() { Release(); }

void FramePresenter::Release() {
  if (dc_) {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (colour_) DeleteObject(colour_);
  if (mask_) DeleteObject(mask_);
  dc_ = nullptr;
  colour_ = mask_ = nullptr;
  previous_ = nullptr;
  colourBits_ = nullptr;
  maskBits_ = nullptr;
  width_ = height_ = 0;
  anyTransparent_ = false;
  surface_ = gif::Surface{};
}

bool FramePresenter::MakeBitmaps(int32_t width, int32_t height) {
  if (dc_ && width == width_ && height == height_) return true;
  Release();
  if (width <= 0 || height <= 0) return false;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down, as the engine's surface
  info.header.biPlanes = 1;
  info.header.biBitCount = 32;
  info.header.biCompression = BI_RGB;
  void* bits = nullptr;
  colour_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  colourBits_ = static_cast<uint32_t*>(bits);
  info.header.biBitCount = 1;
  info.header.biClrUsed = 2;
  info.header.biClrImportant = 2;
  info.colours[0] = RGBQUAD{0, 0, 0, 0};
  info.colours[1] = RGBQUAD{255, 255, 255, 0};
  bits = nullptr;
  mask_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  maskBits_ = static_cast<uint8_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  if (!colour_ || !mask_ || !dc_ || !colourBits_ || !maskBits_) {
    Release();
    return false;
  }
  previous_ = SelectObject(dc_, colour_);
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
  anyTransparent_ = ConvertFrame(surface_, colourBits_, maskBits_);
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
    SelectObject(dc_, mask_);
    StretchBlt(target, x, y, width, height, dc_, 0, 0, width_, height_, SRCAND);
    SelectObject(dc_, colour_);
    StretchBlt(target, x, y, width, height, dc_, 0, 0, width_, height_, SRCPAINT);
    SetTextColor(target, text);
    SetBkColor(target, back);
  } else {
    StretchBlt(target, x, y, width, height, dc_, 0, 0, width_, height_, SRCCOPY);
  }
  if (stretched) {
    SetStretchBltMode(target, previousMode);
    SetBrushOrgEx(target, previousOrigin.x, previousOrigin.y, nullptr);
  }
}

}  // namespace ventalune::anigif
