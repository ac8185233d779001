#pragma once
// How fast the frame loop may draw. Frames come as the display refreshes, so
// a fast display shows every refresh; the loop's own pacing holds them to
// the refresh where the driver cannot wait for it, and to fewer in a remote
// session, where every frame is sent over the wire.
#include <cstdint>

namespace ventalune::scene {

inline constexpr uint32_t kDefaultRefreshHz = 60;
inline constexpr uint32_t kRemoteFramesPerSecond = 30;

struct DisplayTraits {
  uint32_t refreshHz = 0;            // as the system reports it; 0 and 1 mean the hardware's default
  bool swapWaitsForDisplay = false;  // the driver took a swap interval of 1
  bool remoteSession = false;
};

// The most frames a second the loop draws.
uint32_t MostFramesPerSecond(const DisplayTraits& display);

}  // namespace ventalune::scene
