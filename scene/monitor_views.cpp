#include "scene/monitor_views.h"

#include <algorithm>

namespace ventalune::scene {
namespace {

MonitorRect Bounds(const MonitorRect& a, const MonitorRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

SceneLayout LayOutScene(std::span<const DisplayMonitor> monitors, const RunMonitors& run) {
  SceneLayout layout;
  const std::vector<DisplayMonitor> shown = ShownMonitors(monitors, run.mainOnly);
  if (shown.empty()) return layout;
  layout.window = shown.front().area;
  for (const DisplayMonitor& m : shown) layout.window = Bounds(layout.window, m.area);
  for (const DisplayMonitor& m : shown) {
    const MonitorRect& area = m.area;
    // GL counts rows from the bottom of the window.
    const ViewRect viewport{area.left - layout.window.left, layout.window.bottom - area.bottom, area.width(),
                            area.height()};
    layout.views.push_back({area, viewport, RoomPictureFor(area, run.rooms), m.refreshHz});
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
