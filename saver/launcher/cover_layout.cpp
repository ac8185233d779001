#include "saver/launcher/cover_layout.h"

#include <algorithm>

namespace ventalune::launcher {
namespace {

bool IsEmpty(const ScreenRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Contains(const ScreenRect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// Cuts `hole` out of every piece: what is left of a piece is at most a band
// above, a band below, and the parts left and right of the hole between them.
std::vector<ScreenRect> CutOut(const std::vector<ScreenRect>& pieces, const ScreenRect& hole) {
  std::vector<ScreenRect> rest;
  for (const ScreenRect& r : pieces) {
    const bool overlaps = hole.left < r.right && r.left < hole.right && hole.top < r.bottom && r.top < hole.bottom;
    if (!overlaps) {
      rest.push_back(r);
      continue;
    }
    const int32_t middleTop = std::max(r.top, hole.top);
    const int32_t middleBottom = std::min(r.bottom, hole.bottom);
    const ScreenRect parts[] = {
        {r.left, r.top, r.right, hole.top},
        {r.left, middleTop, hole.left, middleBottom},
        {hole.right, middleTop, r.right, middleBottom},
        {r.left, hole.bottom, r.right, r.bottom},
    };
    for (const ScreenRect& part : parts)
      if (!IsEmpty(part)) rest.push_back(part);
  }
  return rest;
}

}  // namespace

std::vector<ScreenRect> CoverLayout(std::span<const MonitorArea> monitors) {
  std::vector<ScreenRect> sceneAreas;
  for (const MonitorArea& m : monitors)
    if (m.primary && !IsEmpty(m.area)) sceneAreas.push_back(m.area);
  if (sceneAreas.empty()) {
    for (const MonitorArea& m : monitors)
      if (Contains(m.area, 0, 0)) sceneAreas.push_back(m.area);
  }
  if (sceneAreas.empty()) return {};

  std::vector<ScreenRect> covers;
  for (const MonitorArea& m : monitors) {
    if (IsEmpty(m.area)) continue;
    std::vector<ScreenRect> pieces{m.area};
    for (const ScreenRect& hole : sceneAreas) pieces = CutOut(pieces, hole);
    for (const ScreenRect& piece : pieces) {
      if (covers.size() == kMaxCovers) return covers;
      if (std::find(covers.begin(), covers.end(), piece) == covers.end()) covers.push_back(piece);
    }
  }
  return covers;
}

}  // namespace ventalune::launcher
