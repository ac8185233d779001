#pragma once
// The monitors as the system lists them now, in physical pixels of the
// virtual screen (both programs are aware of each monitor's scale).
#include <vector>

#include "common/run_monitors.h"

namespace ventalune {

std::vector<DisplayMonitor> DisplayMonitors();

}  // namespace ventalune
