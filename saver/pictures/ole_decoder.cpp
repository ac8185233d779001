#include "saver/pictures/ole_decoder.h"

#include <windows.h>

#include <algorithm>

#include "common/dib_section.h"
#include "common/ole_picture.h"
#include "common/screen_dpi.h"
#include "saver/pictures/picture_limits.h"

namespace ventalune::pictures {

std::optional<PicturePixels> DecodeThroughOle(std::span<const uint8_t> bytes) {
  const ComPtr<IPicture> picture = LoadOlePicture(bytes);
  OLE_XSIZE_HIMETRIC himetricWidth = 0;
  OLE_YSIZE_HIMETRIC himetricHeight = 0;
  if (!picture || FAILED(picture->get_Width(&himetricWidth)) || FAILED(picture->get_Height(&himetricHeight)))
    return std::nullopt;
  const ScreenDpi dpi = ReadScreenDpi();
  const int32_t width = HimetricToPixels(himetricWidth, dpi.x);
  const int32_t height = HimetricToPixels(himetricHeight, dpi.y);
  if (width <= 0 || height <= 0 || uint64_t(width) * uint64_t(height) > kMaxHeldPixels) return std::nullopt;
  MemoryCanvas canvas = MemoryCanvas::Make(width, height);
  if (!canvas) return std::nullopt;
  // From the top edge with a negative height: right side up.
  if (FAILED(picture->Render(canvas.dc(), 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight,
                             nullptr))) {
    return std::nullopt;
  }
  const std::span<const uint8_t> drawn = canvas.pixels();
  PicturePixels decoded;
  decoded.width = width;
  decoded.height = height;
  decoded.pixels.assign(drawn.begin(), drawn.end());
  return decoded;
}

}  // namespace ventalune::pictures
