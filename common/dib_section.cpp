#include "common/dib_section.h"

#include <cstring>
#include <utility>

namespace ventalune {
namespace {

// The colour table a one-bit section needs follows the header.
struct MaskBitmapInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[2];
};

DibSection MakeSection(const BITMAPINFO* info) {
  DibSection section;
  void* bits = nullptr;
  section.bitmap.reset(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (section.bitmap) section.bits = bits;
  return section;
}

}  // namespace

BITMAPINFO ColourBitmapInfo(int32_t width, int32_t height, RowOrder order) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = order == RowOrder::kTopDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

DibSection MakeColourSection(int32_t width, int32_t height, RowOrder order) {
  if (width <= 0 || height <= 0) return {};
  const BITMAPINFO info = ColourBitmapInfo(width, height, order);
  return MakeSection(&info);
}

DibSection MakeMaskSection(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return {};
  MaskBitmapInfo info{};
  info.header = ColourBitmapInfo(width, height, RowOrder::kTopDown).bmiHeader;
  info.header.biBitCount = 1;
  info.header.biClrUsed = 2;
  info.header.biClrImportant = 2;
  info.colours[0] = RGBQUAD{0, 0, 0, 0};
  info.colours[1] = RGBQUAD{255, 255, 255, 0};
  return MakeSection(reinterpret_cast<const BITMAPINFO*>(&info));
}

MemoryCanvas& MemoryCanvas::operator=(MemoryCanvas&& other) noexcept {
  if (this != &other) {
    Release();
    dc_ = std::move(other.dc_);
    section_ = std::move(other.section_);
    previous_ = std::exchange(other.previous_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

void MemoryCanvas::Release() {
  // The section leaves the context before either goes.
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  dc_.reset();
  section_ = {};
  width_ = height_ = 0;
}

MemoryCanvas MemoryCanvas::Make(int32_t width, int32_t height, RowOrder order) {
  MemoryCanvas canvas;
  OwnedDc dc(CreateCompatibleDC(nullptr));
  DibSection section = MakeColourSection(width, height, order);
  if (!dc || !section) return canvas;
  canvas.previous_ = SelectObject(dc.get(), section.bitmap.get());
  canvas.dc_ = std::move(dc);
  canvas.section_ = std::move(section);
  canvas.width_ = width;
  canvas.height_ = height;
  std::memset(canvas.section_.bits, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  return canvas;
}

std::span<uint8_t> MemoryCanvas::pixels() const {
  if (!section_) return {};
  GdiFlush();
  return {static_cast<uint8_t*>(section_.bits), static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4};
}

}  // namespace ventalune
