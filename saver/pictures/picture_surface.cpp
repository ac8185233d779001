#include "saver/pictures/picture_surface.h"

#include <ole2.h>
#include <olectl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "common/bitmap_check.h"
#include "common/screen_dpi.h"
#include "common/whole_file.h"
#include "saver/pictures/bitmap_file.h"
#include "saver/pictures/picture_format.h"
#include "saver/pictures/upright.h"

namespace ventalune::pictures {
namespace {

constexpr int kHimetricPerInch = 2540;
// Larger pictures are refused rather than allocated (about 256 MiB of pixels).
constexpr int64_t kMaxPixels = int64_t{1} << 26;

struct PictureRelease {
  void operator()(IPicture* picture) const { picture->Release(); }
};
using PicturePtr = std::unique_ptr<IPicture, PictureRelease>;

PicturePtr DecodePicture(std::span<const uint8_t> bytes) {
  if (bytes.empty() || !BitmapFileIsWhole(bytes, bytes.size())) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  // The stream owns the memory from here on and frees it with itself.
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  void* picture = nullptr;
  const HRESULT loaded =
      OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture, &picture);
  stream->Release();
  return SUCCEEDED(loaded) ? PicturePtr(static_cast<IPicture*>(picture)) : nullptr;
}

}  // namespace

PictureSurface::~PictureSurface() { Release(); }

void PictureSurface::Release() {
  if (dc_) {
    if (previous_) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr;
  bitmap_ = nullptr;
  previous_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

void PictureSurface::Clear() {
  if (bits_) std::memset(bits_, 0, static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
}

bool PictureSurface::Resize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxPixels) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    return false;
  }
  Release();
  dc_ = dc;
  bitmap_ = bitmap;
  bits_ = bits;
  previous_ = SelectObject(dc_, bitmap_);
  width_ = width;
  height_ = height;
  Clear();
  return true;
}

bool PictureSurface::LoadBytes(std::span<const uint8_t> bytes) { return Load(bytes, ReadExifOrientation(bytes)); }

bool PictureSurface::Load(std::span<const uint8_t> bytes, Orientation orientation) {
  if (ChoosePictureLoader(bytes) == PictureLoader::kImaging) return Adopt(DecodeImagingPicture(bytes));
  // Larger pictures arrive reduced; the rest decode exactly as they always
  // have, so their bitmap files stay the same byte for byte.
  if (!bytes.empty() && BitmapFileIsWhole(bytes, bytes.size())) {
    LargePicture large = DecodeLargePicture(bytes, orientation);
    if (large.outcome != LargePicture::Outcome::kNotLarge) return Adopt(std::move(large));
  }
  PicturePtr picture = DecodePicture(bytes);
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (!picture || FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight))) {
    Clear();
    return false;
  }
  const ScreenDpi dpi = ReadScreenDpi();
  const int width = MulDiv(himetricWidth, dpi.x, kHimetricPerInch);
  const int height = MulDiv(himetricHeight, dpi.y, kHimetricPerInch);
  if (!Resize(width, height)) {
    Clear();
    return false;
  }
  // From the top edge with a negative height: right side up.
  const HRESULT drawn =
      picture->Render(dc_, 0, 0, width_, height_, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
  GdiFlush();
  if (FAILED(drawn)) {
    Clear();
    return false;
  }
  // The OLE loader draws a photo as it is stored; untagged pictures are
  // left exactly as drawn.
  return orientation == Orientation::kAsStored || TurnUprightInPlace(orientation);
}

bool PictureSurface::Adopt(LargePicture&& decoded) {
  if (decoded.outcome != LargePicture::Outcome::kDecoded || !Resize(decoded.width, decoded.height)) {
    Clear();
    return false;
  }
  std::memcpy(bits_, decoded.pixels.data(), decoded.pixels.size());
  return true;
}

bool PictureSurface::TurnUprightInPlace(Orientation orientation) {
  const std::span<const uint8_t> stored = pixels();
  std::optional<UprightPicture> upright =
      TurnUpright(width_, height_, std::vector<uint8_t>(stored.begin(), stored.end()), orientation);
  if (!upright || !Resize(upright->width, upright->height)) {
    Clear();
    return false;
  }
  std::memcpy(bits_, upright->pixels.data(), upright->pixels.size());
  return true;
}

bool PictureSurface::LoadFile(const std::string& path) {
  try {
    return LoadBytes(ReadWholeFile(path, kMaxPictureFileBytes).value_or(std::vector<uint8_t>{}));
  } catch (const std::bad_alloc&) {
    // A picture too large for the memory there is now is as good as unreadable.
    Clear();
    return false;
  }
}

bool PictureSurface::LoadResource(HMODULE module, int resourceId) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  // The program's own artwork is drawn the way it is stored.
  return Load(std::span(static_cast<const uint8_t*>(data), SizeofResource(module, found)), Orientation::kAsStored);
}

std::span<const uint8_t> PictureSurface::pixels() const { return const_cast<PictureSurface*>(this)->pixels(); }

std::span<uint8_t> PictureSurface::pixels() {
  if (!bits_) return {};
  GdiFlush();
  return {static_cast<uint8_t*>(bits_), static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4};
}

bool PictureSurface::SaveBitmapFile(const std::string& path) const {
  const std::vector<uint8_t> file = EncodeBitmapFile(pixels(), width_, height_);
  if (file.empty()) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
  return out && std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}

}  // namespace ventalune::pictures
