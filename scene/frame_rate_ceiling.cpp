#include "scene/frame_rate_ceiling.h"

#include <algorithm>

namespace ventalune::scene {

uint32_t MostFramesPerSecond(const DisplayTraits& display) {
  const uint32_t refresh = display.refreshHz <= 1 ? kDefaultRefreshHz : display.refreshHz;
  if (display.remoteSession) return std::min(refresh, kRemoteFramesPerSecond);
  // Where the swap waits, the display sets the pace: the loop's ceiling
  // lies a quarter above the refresh (reported rounded, 59 for 59.94), so it
  // never makes a frame miss its refresh, and only holds back a driver that
  // takes the interval and then ignores it.
  if (display.swapWaitsForDisplay) return refresh + refresh / 4;
  return refresh;
}

}  // namespace ventalune::scene
