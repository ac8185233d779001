// libFuzzer target over the whole engine: load, build the rest, mirror,
// compose every frame, fit, export and read the export back. Any sanitizer
// report, or an export that does not read back as the frame, is a finding.
#include <cstddef>
#include <cstdint>
#include <span>

#include "saver/gif/fit.h"
#include "saver/gif/gif_exporter.h"
#include "saver/gif/gif_picture.h"

namespace {

using namespace ventalune::gif;

// Smaller ceilings than the control's, so one input stays fast; the ceilings
// themselves are what is being exercised.
constexpr Limits kFuzzLimits{int64_t{1} << 20, int64_t{1} << 18, int64_t{1} << 20};
constexpr size_t kFramesExported = 3;

bool SameFrame(const GifPicture& picture, const FrameRecord& frame, const GifPicture& copy) {
  const FrameRecord& back = copy.frames()[0];
  if (back.width != frame.width || back.height != frame.height || back.transparent != frame.transparent) return false;
  if (frame.transparent && back.transparentIndex != frame.transparentIndex) return false;
  if (copy.palettes()[0] != picture.PaletteOf(frame)) return false;
  for (int32_t y = 0; y < frame.height; ++y)
    for (int32_t x = 0; x < frame.width; ++x)
      if (copy.strip().Row(y)[x] != picture.strip().Row(y)[frame.stripOffset + x]) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The length picks the load options, so every seed is read every way.
  LoadOptions options;
  options.limits = kFuzzLimits;
  options.firstFrameOnly = size % 7 == 0;
  options.deferRemainingFrames = size % 2 == 1;
  // Canvases over a sixteenth of the ceiling are then built at a working size.
  options.maxWorkingPixels = size % 3 == 0 ? kFuzzLimits.maxCanvasPixels / 16 : 0;
  GifPicture picture;
  if (picture.Load(std::span<const uint8_t>(data, size), options) == 0) return 0;
  picture.SetMirror(static_cast<int32_t>(size % 4), false, true);
  picture.BuildRemainingFrames();
  picture.SetMirror(static_cast<int32_t>((size / 4) % 4), options.firstFrameOnly, !options.firstFrameOnly);

  Surface target;
  for (size_t i = 0; i < picture.builtFrames(); ++i) {
    target.Reset(picture.workingWidth(), picture.workingHeight());
    picture.DrawFrame(i, target);
  }
  for (int32_t mode = 0; mode <= 4; ++mode) {
    if (const auto fit = Fit(mode, 320, 200, picture.logicalWidth(), picture.logicalHeight())) {
      for (const FrameRecord& frame : picture.frames()) ScaledFrameRect(frame, fit->scaleX, fit->scaleY);
    }
  }

  for (size_t i = 0; i < picture.builtFrames() && i < kFramesExported; ++i) {
    const FrameRecord& frame = picture.frames()[i];
    if (frame.width == 0 || frame.height == 0) continue;
    const std::vector<uint8_t> exported = ExportFrame(picture.strip(), frame, picture.PaletteOf(frame));
    LoadOptions plain;
    plain.limits = kFuzzLimits;
    GifPicture copy;
    if (copy.Load(exported, plain) != 1 || !SameFrame(picture, frame, copy)) __builtin_trap();
  }
  return 0;
}
