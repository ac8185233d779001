#pragma once
// Twips on this screen: the resolution the display really reports.
#include <cstdint>

#include "common/screen_dpi.h"

namespace ventalune::toolkit {

int32_t TwipsToPixelsX(int64_t twips);
int32_t TwipsToPixelsY(int64_t twips);
int32_t PixelsToTwipsX(int64_t pixels);
int32_t PixelsToTwipsY(int64_t pixels);

}  // namespace ventalune::toolkit
