#pragma once
// Where the scene draws on a desktop of several monitors. One window spans
// the monitors the room shows on, and each of them gets a view of its own:
// its part of the window, fitted to its own size and aspect, with the room
// picture made for it on the walls. Portable, so every arrangement of
// monitors can be tried without them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "common/run_monitors.h"

namespace ventalune::scene {

// Part of the window's client area in OpenGL's window coordinates: x from
// the left edge, y from the bottom edge.
struct ViewRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ViewRect&) const = default;
};

struct MonitorView {
  MonitorRect monitor;     // where the monitor lies on the virtual screen
  ViewRect viewport;       // its part of the window
  std::size_t room = 0;    // the room picture on its walls
  uint32_t refreshHz = 0;  // the monitor's, 0 where the system does not say
  bool operator==(const MonitorView&) const = default;
};

struct SceneLayout {
  MonitorRect window;  // the window's rectangle on the virtual screen; empty when no monitor is known
  std::vector<MonitorView> views;  // the main monitor's first
  bool operator==(const SceneLayout&) const = default;
};

// The layout for the monitors as they are now: a view for each monitor the
// room shows on (ShownMonitors), the main one's first.
SceneLayout LayOutScene(std::span<const DisplayMonitor> monitors, const RunMonitors& run);

// A window of its own size (not over the monitors): one view of all of it.
std::vector<MonitorView> WholeWindowView(int32_t width, int32_t height);

// The refresh the frames are paced for: the fastest shown monitor's, so
// none of them waits for frames; 0 where no monitor says.
uint32_t FastestRefresh(std::span<const MonitorView> views);

}  // namespace ventalune::scene
