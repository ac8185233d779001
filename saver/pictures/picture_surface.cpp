#include "saver/pictures/picture_surface.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "common/resource_data.h"
#include "saver/pictures/bitmap_file.h"
#include "saver/pictures/picture_limits.h"
#include "saver/pictures/picture_loading.h"

namespace ventalune::pictures {

void PictureSurface::Clear() {
  const std::span<uint8_t> bits = canvas_.pixels();
  std::fill(bits.begin(), bits.end(), uint8_t{0});
}

bool PictureSurface::Resize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || uint64_t(width) * uint64_t(height) > kMaxHeldPixels) return false;
  MemoryCanvas resized = MemoryCanvas::Make(width, height);
  if (!resized) return false;
  canvas_ = std::move(resized);
  return true;
}

bool PictureSurface::Adopt(std::optional<PicturePixels> picture) {
  if (!picture || picture->pixels.size() != uint64_t(picture->width) * uint64_t(picture->height) * 4 ||
      !Resize(picture->width, picture->height)) {
    Clear();
    return false;
  }
  std::copy(picture->pixels.begin(), picture->pixels.end(), canvas_.pixels().begin());
  return true;
}

bool PictureSurface::LoadFile(const std::string& path) { return Adopt(LoadPictureFile(path)); }

bool PictureSurface::LoadBytes(std::span<const uint8_t> bytes) { return Adopt(LoadPicture(bytes, PictureUse::kPhoto)); }

bool PictureSurface::LoadResource(HMODULE module, int resourceId) {
  const std::span<const uint8_t> data = ResourceData(module, resourceId);
  if (data.empty()) return false;
  return Adopt(LoadPicture(data, PictureUse::kArtwork));
}

bool PictureSurface::SaveBitmapFile(const std::string& path) const {
  const std::vector<uint8_t> file = EncodeBitmapFile(pixels(), width(), height());
  if (file.empty()) return false;
  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), std::fclose);
  return out && std::fwrite(file.data(), 1, file.size(), out.get()) == file.size();
}

}  // namespace ventalune::pictures
