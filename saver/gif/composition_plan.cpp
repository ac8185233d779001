#include "saver/gif/composition_plan.h"

#include <algorithm>

namespace ventalune::gif {

CompositionPlan PlanComposition(std::span<const FrameRecord> frames, int32_t logicalWidth, int32_t logicalHeight,
                                bool firstFrameOnly) {
  CompositionPlan plan;
  if (firstFrameOnly || frames.size() <= 1) {
    plan.stripFirstOnly = true;
    return plan;
  }
  // When every frame clears its area afterwards, each one stands alone on the
  // background and can be drawn straight onto the target.
  const bool allRestoreBackground =
      std::all_of(frames.begin(), frames.end(), [](const FrameRecord& f) { return f.disposal == Disposal::kRestoreBackground; });
  if (allRestoreBackground) return plan;

  plan.composite = true;
  const bool anyTransparent = std::any_of(frames.begin(), frames.end(), [](const FrameRecord& f) { return f.transparent; });
  const bool disposalClears =
      std::any_of(frames.begin(), frames.end(), [](const FrameRecord& f) {
    return f.disposal == Disposal::kRestoreBackground || f.disposal == Disposal::kRestorePrevious;
  });
  const FrameRecord& first = frames.front();
  const bool firstCoversCanvas = first.width == logicalWidth && first.height == logicalHeight;
  plan.mask = disposalClears || first.transparent || (anyTransparent && !firstCoversCanvas);
  return plan;
}

}  // namespace ventalune::gif
