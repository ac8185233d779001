#include "scene/monitor_views.h"

#include <algorithm>

namespace ventalune::scene {
namespace {

bool Holds(const MonitorRect& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

MonitorRect Bounds(const MonitorRect& a, const MonitorRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

const DisplayMonitor* MainMonitor(std::span<const DisplayMonitor> monitors) {
  for (const DisplayMonitor& m : monitors)
    if (m.primary && !m.area.empty()) return &m;
  for (const DisplayMonitor& m : monitors)
    if (!m.area.empty() && Holds(m.area, 0, 0)) return &m;
  for (const DisplayMonitor& m : monitors)
    if (!m.area.empty()) return &m;
  return nullptr;
}

SceneLayout LayOutScene(std::span<const DisplayMonitor> monitors, const RunMonitors& run) {
  SceneLayout layout;
  const DisplayMonitor* main = MainMonitor(monitors);
  if (!main) return layout;
  std::vector<const DisplayMonitor*> shown{main};
  const auto alreadyShown = [&](const MonitorRect& area) {
    return std::any_of(shown.begin(), shown.end(), [&](const DisplayMonitor* s) { return s->area == area; });
  };
  if (!run.mainOnly) {
    for (const DisplayMonitor& m : monitors) {
      if (m.area.empty() || shown.size() == kMostRoomPictures || alreadyShown(m.area)) continue;
      shown.push_back(&m);
    }
  }
  layout.window = main->area;
  for (const DisplayMonitor* m : shown) layout.window = Bounds(layout.window, m->area);
  for (const DisplayMonitor* m : shown) {
    const MonitorRect& area = m->area;
    // GL counts rows from the bottom of the window.
    const ViewRect viewport{area.left - layout.window.left, layout.window.bottom - area.bottom, area.width(),
                            area.height()};
    layout.views.push_back({area, viewport, RoomPictureFor(area, run.rooms), m->refreshHz});
  }
  return layout;
}

std::vector<MonitorView> WholeWindowView(int32_t width, int32_t height) {
  return {{{0, 0, width, height}, {0, 0, width, height}, 0, 0}};
}

uint32_t FastestRefresh(std::span<const MonitorView> views) {
  uint32_t fastest = 0;
  for (const MonitorView& v : views) fastest = std::max(fastest, v.refreshHz);
  return fastest;
}

}  // namespace ventalune::scene
