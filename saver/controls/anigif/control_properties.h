#pragma once
// The animated-picture control's settable properties and the rules a write
// goes through: ranges, clamping, and which writes tell the host.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "saver/gif/gif_scan.h"

namespace ventalune::anigif {

inline constexpr int32_t kDefaultMinFrameDelay = 50;
inline constexpr int32_t kMinFrameDelayFloor = 10;
inline constexpr int32_t kMinFrameDelayCeiling = 32700;
inline constexpr int32_t kDefaultStretch = 1;
inline constexpr int32_t kDefaultDelayMode = 1;

// The canvas the control composes at, at most: a frame change moves the
// whole canvas a few times over, so a picture that declares a few frames of
// 4096 × 4096 in a few hundred bytes would keep the window thread busy for
// most of each frame's delay. A larger canvas is built and composed at a
// working size a whole factor smaller both ways (every k-th pixel of every
// k-th row) and shown at its own size.
inline constexpr int64_t kWorkingCanvasPixels = int64_t{1} << 20;

// The names the host hears in change notices; the persisted keys are in
// control_persistence.h.
inline constexpr char kAnimatedGifProperty[] = "AnimatedGIF";
inline constexpr char kEnabledProperty[] = "Enabled";
inline constexpr char kStretchProperty[] = "Stretch";
inline constexpr char kDelayProperty[] = "Delay";
inline constexpr char kLoopsProperty[] = "Loops";
inline constexpr char kMirroredProperty[] = "Mirrored";
inline constexpr char kDelayAnimationProperty[] = "DelayAnimation";
inline constexpr char kMouseIconProperty[] = "MouseIcon";

struct ControlProperties {
  int32_t minFrameDelay = kDefaultMinFrameDelay;  // ms, 10 … 32700
  int32_t stretch = kDefaultStretch;              // 0 … 4, see StretchMode
  int32_t delayMode = kDefaultDelayMode;          // 0 … 3
  int32_t mirror = 0;                             // bit 0 horizontal, bit 1 vertical
};

int32_t ClampMinFrameDelay(int64_t requested);
// The absolute value; the most negative count becomes the largest.
int32_t LoopCountFrom(int64_t requested);
inline constexpr bool ValidStretch(int64_t mode) { return mode >= 0 && mode <= 4; }
inline constexpr bool ValidMirror(int64_t style) { return style >= 0 && style <= 3; }
inline constexpr bool ValidDelayMode(int64_t mode) { return mode >= 0 && mode <= 3; }

// What a delay mode asks for after frame 1 is shown.
inline constexpr bool DefersRemainingFrames(int32_t delayMode) { return delayMode != 0; }
inline constexpr bool StartsAfterBuild(int32_t delayMode) { return (delayMode & 2) == 0; }

// Stretch modes after which the control takes the picture's fitted size.
inline constexpr bool ResizesAfterLoad(int32_t stretch) { return stretch == 1 || stretch == 3 || stretch == 4; }

// Property writes: each stores what its rule lets through and returns the
// name to announce to the host, or null when the write changed nothing.
const char* WriteMinFrameDelay(ControlProperties& properties, int64_t delay);
const char* WriteStretch(ControlProperties& properties, int64_t mode);
const char* WriteDelayAnimation(ControlProperties& properties, int64_t mode);
// With nothing loaded every valid style is stored and announced; with frames
// only a different one (the caller then flips the frames).
const char* WriteMirror(ControlProperties& properties, int64_t style, bool framesLoaded);
const char* WriteLoops(int32_t& loopCount, int64_t count);

// Downloaded data that may be a GIF: more than 14 bytes and a GIF header
// (see ReadGifHeader). Gives the header's screen size.
inline constexpr size_t kMinRemoteBytes = 15;
std::optional<gif::GifScreen> RemoteGifScreen(std::span<const uint8_t> bytes);

}  // namespace ventalune::anigif
