#include "saver/gif/compositor.h"

#include <algorithm>

namespace ventalune::gif {

void BlitFrame(const FrameRecord& frame, const Palette& palette, const FrameStrip& strip, Surface& target,
               bool markOpaque) {
  const int32_t left = std::max(frame.left, 0);
  const int32_t top = std::max(frame.top, 0);
  const int32_t right = static_cast<int32_t>(std::min<int64_t>(int64_t{frame.left} + frame.width, target.width));
  const int32_t bottom = std::min({frame.top + frame.height, target.height, frame.top + strip.height});
  if (right <= left || bottom <= top) return;
  for (int32_t y = top; y < bottom; ++y) {
    const uint8_t* source = strip.Row(y - frame.top) + frame.stripOffset + (left - frame.left);
    Colour* colour = target.colour.data() + target.At(left, y);
    uint8_t* background = target.background.data() + target.At(left, y);
    for (int32_t x = 0; x < right - left; ++x) {
      const uint8_t index = source[x];
      if (frame.transparent && index == frame.transparentIndex) continue;
      colour[x] = palette[index];
      if (markOpaque) background[x] = 0;
    }
  }
}

void Compositor::Reset(const CompositionPlan& plan, int32_t logicalWidth, int32_t logicalHeight) {
  hasComposite_ = plan.composite;
  hasMask_ = plan.composite && plan.mask;
  composite_ = Surface{};
  if (hasComposite_) composite_.Reset(logicalWidth, logicalHeight);
  savedColour_.clear();
  savedBackground_.clear();
}

Compositor::Area Compositor::Clip(const FrameRecord& frame) const {
  Area area;
  area.left = std::clamp(frame.left, 0, composite_.width);
  area.top = std::clamp(frame.top, 0, composite_.height);
  area.right = static_cast<int32_t>(std::clamp<int64_t>(int64_t{frame.left} + frame.width, area.left, composite_.width));
  area.bottom = static_cast<int32_t>(std::clamp<int64_t>(int64_t{frame.top} + frame.height, area.top, composite_.height));
  return area;
}

void Compositor::SaveArea(const Area& area) {
  savedColour_.clear();
  savedBackground_.clear();
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const size_t from = composite_.At(area.left, y);
    const size_t to = composite_.At(area.right, y);
    savedColour_.insert(savedColour_.end(), composite_.colour.begin() + from, composite_.colour.begin() + to);
    savedBackground_.insert(savedBackground_.end(), composite_.background.begin() + from, composite_.background.begin() + to);
  }
}

void Compositor::RestoreArea(const Area& area) {
  const size_t rowLength = static_cast<size_t>(area.right - area.left);
  if (savedColour_.size() < rowLength * static_cast<size_t>(area.bottom - area.top)) return;
  size_t saved = 0;
  for (int32_t y = area.top; y < area.bottom; ++y, saved += rowLength) {
    std::copy_n(savedColour_.begin() + saved, rowLength, composite_.colour.begin() + composite_.At(area.left, y));
    std::copy_n(savedBackground_.begin() + saved, rowLength, composite_.background.begin() + composite_.At(area.left, y));
  }
}

void Compositor::Draw(size_t index, const FrameRecord& frame, const Palette& palette, const FrameStrip& strip,
                      Surface& target) {
  if (!hasComposite_) {
    BlitFrame(frame, palette, strip, target, true);
    return;
  }
  // Before: frame 1 starts from an empty canvas; a frame that restores the
  // previous picture keeps a copy of what it covers.
  if (index == 0) {
    std::fill(composite_.colour.begin(), composite_.colour.end(), Colour{0});
    std::fill(composite_.background.begin(), composite_.background.end(), uint8_t{1});
  }
  const Area area = Clip(frame);
  if (frame.disposal == Disposal::kRestorePrevious) SaveArea(area);

  BlitFrame(frame, palette, strip, composite_, hasMask_);

  const int32_t width = std::min(target.width, composite_.width);
  const int32_t height = std::min(target.height, composite_.height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const size_t from = composite_.At(x, y);
      if (hasMask_ && composite_.background[from]) continue;
      const size_t to = target.At(x, y);
      target.colour[to] = composite_.colour[from];
      target.background[to] = 0;
    }
  }

  // After: ready for the next frame.
  if (frame.disposal == Disposal::kRestoreBackground) {
    for (int32_t y = area.top; y < area.bottom; ++y) {
      std::fill_n(composite_.colour.begin() + composite_.At(area.left, y), area.right - area.left, Colour{0});
      if (hasMask_) std::fill_n(composite_.background.begin() + composite_.At(area.left, y), area.right - area.left, uint8_t{1});
    }
  } else if (frame.disposal == Disposal::kRestorePrevious) {
    RestoreArea(area);
  }
}

}  // namespace ventalune::gif
