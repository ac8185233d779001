#include "saver/toolkit/screen_units.h"

#include <windows.h>

#include "saver/toolkit/twips.h"

namespace ventalune::toolkit {

int32_t TwipsToPixelsX(int64_t twips) { return TwipsToPixels(twips, ReadScreenDpi().x); }
int32_t TwipsToPixelsY(int64_t twips) { return TwipsToPixels(twips, ReadScreenDpi().y); }
int32_t PixelsToTwipsX(int64_t pixels) { return PixelsToTwips(pixels, ReadScreenDpi().x); }
int32_t PixelsToTwipsY(int64_t pixels) { return PixelsToTwips(pixels, ReadScreenDpi().y); }

}  // namespace ventalune::toolkit
