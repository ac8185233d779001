#include "saver/controls/anigif/control_properties.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string_view>

namespace ventalune::anigif {

int32_t ClampMinFrameDelay(int64_t requested) {
  return static_cast<int32_t>(std::clamp<int64_t>(requested, kMinFrameDelayFloor, kMinFrameDelayCeiling));
}

int32_t LoopCountFrom(int64_t requested) {
  const int64_t magnitude = requested < 0 ? -requested : requested;
  return static_cast<int32_t>(std::min<int64_t>(magnitude, std::numeric_limits<int32_t>::max()));
}

const char* WriteMinFrameDelay(ControlProperties& properties, int64_t delay) {
  const int32_t clamped = ClampMinFrameDelay(delay);
  if (clamped == properties.minFrameDelay) return nullptr;
  properties.minFrameDelay = clamped;
  return kDelayProperty;
}

const char* WriteStretch(ControlProperties& properties, int64_t mode) {
  if (!ValidStretch(mode) || mode == properties.stretch) return nullptr;
  properties.stretch = static_cast<int32_t>(mode);
  return kStretchProperty;
}

const char* WriteDelayAnimation(ControlProperties& properties, int64_t mode) {
  if (!ValidDelayMode(mode) || mode == properties.delayMode) return nullptr;
  properties.delayMode = static_cast<int32_t>(mode);
  return kDelayAnimationProperty;
}

const char* WriteMirror(ControlProperties& properties, int64_t style, bool framesLoaded) {
  if (!ValidMirror(style) || (framesLoaded && style == properties.mirror)) return nullptr;
  properties.mirror = static_cast<int32_t>(style);
  return kMirroredProperty;
}

const char* WriteLoops(int32_t& loopCount, int64_t count) {
  const int32_t stored = LoopCountFrom(count);
  if (stored == loopCount) return nullptr;
  loopCount = stored;
  return kLoopsProperty;
}

bool LooksLikeGif(const uint8_t* bytes, size_t size, GifHeaderSize& sizeOut) {
  if (bytes == nullptr || size < kMinRemoteBytes) return false;
  char signature[6];
  for (int i = 0; i < 6; ++i) signature[i] = static_cast<char>(std::tolower(bytes[i]));
  const std::string_view text(signature, 6);
  if (text != "gif89a" && text != "gif87a") return false;
  sizeOut.width = bytes[6] | (bytes[7] << 8);
  sizeOut.height = bytes[8] | (bytes[9] << 8);
  return true;
}

int32_t PixelsToTwipsDown(int64_t pixels, int32_t dpi) {
  if (dpi <= 0) dpi = 96;
  const int64_t clamped = std::clamp<int64_t>(pixels, -(int64_t{1} << 40), int64_t{1} << 40);
  const int64_t product = clamped * 1440;
  // Floor division, also for negative positions left of the control.
  int64_t twips = product / dpi;
  if (product % dpi != 0 && product < 0) --twips;
  return static_cast<int32_t>(std::clamp<int64_t>(twips, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace ventalune::anigif
