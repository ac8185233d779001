#pragma once
// Puts frames on a target surface. With a composite buffer each frame is
// drawn over what the frames before it left, then disposed of (cleared to the
// background or restored) ready for the next; without one each frame is drawn
// straight onto the target.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "saver/gif/composition_plan.h"
#include "saver/gif/frame_strip.h"
#include "saver/gif/gif_types.h"
#include "saver/gif/surface.h"

namespace ventalune::gif {

class Compositor {
 public:
  // Sets up the buffers the plan asks for, at the logical size.
  void Reset(const CompositionPlan& plan, int32_t logicalWidth, int32_t logicalHeight);

  // Draws the frame with index `index` (0 = frame 1) onto `target`, which
  // has the logical size. Pixels the frame leaves transparent, and the
  // composite's transparent pixels, leave the target as it was.
  void Draw(size_t index, const FrameRecord& frame, const Palette& palette, const FrameStrip& strip, Surface& target);

  bool hasComposite() const { return hasComposite_; }
  bool hasMask() const { return hasMask_; }
  Surface& composite() { return composite_; }
  const Surface& composite() const { return composite_; }

 private:
  struct Area {
    int32_t left, top, right, bottom;  // clipped to the canvas, right and bottom exclusive
  };
  Area Clip(const FrameRecord& frame) const;
  void SaveArea(const Area& area);
  void RestoreArea(const Area& area);

  bool hasComposite_ = false;
  bool hasMask_ = false;
  Surface composite_;
  std::vector<Colour> savedColour_;
  std::vector<uint8_t> savedBackground_;
};

// Copies the frame's strip columns onto `target` at the frame's position:
// every pixel but the transparent index takes its palette colour and becomes
// opaque when `markOpaque`.
void BlitFrame(const FrameRecord& frame, const Palette& palette, const FrameStrip& strip, Surface& target,
               bool markOpaque);

}  // namespace ventalune::gif
