#include "saver/controls/anigif/control_properties.h"

#include <algorithm>
#include <limits>

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

std::optional<gif::GifScreen> RemoteGifScreen(std::span<const uint8_t> bytes) {
  if (bytes.size() < kMinRemoteBytes) return std::nullopt;
  return gif::ReadGifHeader(bytes);
}

}  // namespace ventalune::anigif
