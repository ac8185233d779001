#include "saver/controls/anigif/frame_presenter.h"

#include <algorithm>
#include <cstring>

#include "saver/gif/mirror.h"

namespace ventalune::anigif {
namespace {

int32_t MaskStride(int32_t width) { return ((width + 31) / 32) * 4; }

}  // namespace

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

bool FramePresenter::Show(gif::GifPicture& picture, size_t index) {
  const int32_t width = picture.logicalWidth();
  const int32_t height = picture.logicalHeight();
  if (index >= picture.builtFrames() || !MakeBitmaps(width, height)) {
    Release();
    return false;
  }
  surface_.Reset(width, height);
  picture.DrawFrame(index, surface_);
  Convert();
  return true;
}

void FramePresenter::Mirror(int32_t change) {
  if (!dc_) return;
  gif::MirrorSurface(surface_, change);
  Convert();
}

void FramePresenter::Convert() {
  GdiFlush();
  const int32_t stride = MaskStride(width_);
  std::memset(maskBits_, 0, static_cast<size_t>(stride) * static_cast<size_t>(height_));
  anyTransparent_ = false;
  for (int32_t y = 0; y < height_; ++y) {
    uint32_t* colour = colourBits_ + static_cast<size_t>(y) * static_cast<size_t>(width_);
    uint8_t* mask = maskBits_ + static_cast<size_t>(y) * static_cast<size_t>(stride);
    const size_t row = surface_.At(0, y);
    for (int32_t x = 0; x < width_; ++x) {
      if (surface_.background[row + static_cast<size_t>(x)]) {
        colour[x] = 0;
        mask[x >> 3] = static_cast<uint8_t>(mask[x >> 3] | (0x80 >> (x & 7)));
        anyTransparent_ = true;
      } else {
        colour[x] = surface_.colour[row + static_cast<size_t>(x)] & 0xFFFFFF;
      }
    }
  }
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
