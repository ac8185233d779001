#include "scene/pixel_format_choice.h"

#include <algorithm>
#include <tuple>

namespace ventalune::scene {
namespace {

bool Usable(const PixelFormatTraits& format) {
  return format.index > 0 && format.drawsToWindow && format.supportsOpenGl && format.doubleBuffered &&
         format.rgba && format.colorBits > 0 && format.depthBits > 0;
}

// Smaller is better, field by field.
auto Rank(const PixelFormatTraits& format, const PixelFormatRequest& request) {
  const bool software = format.generic && !format.genericAccelerated;
  const int32_t colorGap = format.colorBits - request.colorBits;
  const int32_t depthGap = format.depthBits - request.depthBits;
  return std::make_tuple(software, colorGap < 0, colorGap < 0 ? -colorGap : colorGap, depthGap < 0,
                         depthGap < 0 ? -depthGap : depthGap, format.index);
}

}  // namespace

PixelFormatRequest PixelFormatRequestFor(int32_t desktopBits) {
  if (desktopBits <= 0) return {};
  if (desktopBits <= 16) return {16, 16};
  return {std::min<int32_t>(desktopBits, 32), 24};
}

int32_t ChooseScenePixelFormat(std::span<const PixelFormatTraits> formats, const PixelFormatRequest& request) {
  const PixelFormatTraits* best = nullptr;
  for (const PixelFormatTraits& format : formats) {
    if (!Usable(format)) continue;
    if (!best || Rank(format, request) < Rank(*best, request)) best = &format;
  }
  return best ? best->index : 0;
}

}  // namespace ventalune::scene
