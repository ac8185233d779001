#pragma once
// Where the black covers go during a run: every monitor but the one the
// scene fills, as rectangles in virtual-screen pixels. Portable, so the
// rules can be tried on any monitor arrangement without the monitors.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ventalune::launcher {

// Left and top inclusive, right and bottom exclusive, as Windows' RECT.
struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct MonitorArea {
  ScreenRect area;
  bool primary = false;
};

// Ceiling on the covers of one layout: a handful of monitors each cut into
// at most four pieces stays far below it, and a broken monitor list cannot
// make the run open windows without end.
inline constexpr size_t kMaxCovers = 64;

// The covers for one monitor arrangement. The primary monitor (the flagged
// one; with none flagged, the one holding the origin, where Windows keeps the
// primary) stays free for the scene, and so does any part of another monitor
// that overlaps it (a mirrored monitor shows the scene too). Empty monitor
// rectangles are skipped, monitors that show the same area get one cover.
// With no primary to be found nothing is covered: the scene's monitor must
// never go dark.
std::vector<ScreenRect> CoverLayout(std::span<const MonitorArea> monitors);

}  // namespace ventalune::launcher
