#pragma once
// The platform's OLE picture loader, fed from bytes in memory: what the
// saver's picture surfaces and the animated-picture control's picture
// objects decode with.
#include <windows.h>
#include <olectl.h>

#include <cstdint>
#include <span>

#include "common/handles.h"

namespace ventalune {

// The picture the loader reads from the bytes; null when it takes none.
ComPtr<IPicture> LoadOlePicture(std::span<const uint8_t> bytes);

// A picture's size, which the loader gives in HIMETRIC (hundredths of a
// millimetre), in pixels at `dpi`, rounded to the nearest pixel.
inline int32_t HimetricToPixels(OLE_XSIZE_HIMETRIC himetric, int32_t dpi) {
  constexpr int kHimetricPerInch = 2540;
  return MulDiv(himetric, dpi, kHimetricPerInch);
}

}  // namespace ventalune
