#pragma once
// Which buffers an animation needs, decided once per load from its frames.
#include <cstdint>
#include <span>

#include "saver/gif/gif_types.h"

namespace ventalune::gif {

struct CompositionPlan {
  bool stripFirstOnly = false;  // first frame only, or a one-frame file: only frame 1 is built
  bool composite = false;       // frames are drawn into a canvas-sized buffer that keeps what they leave
  bool mask = false;            // the composite also records where the background shows
};

CompositionPlan PlanComposition(std::span<const FrameRecord> frames, int32_t logicalWidth, int32_t logicalHeight,
                                bool firstFrameOnly);

}  // namespace ventalune::gif
