#pragma once
// What the host keeps of an animated-picture control between design and
// run: keys, defaults, and the fixed orders they are read and written in.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "saver/controls/anigif/control_properties.h"
#include "saver/toolkit/property_bag.h"

namespace ventalune::anigif {

inline constexpr char kGifKey[] = "GIF";
inline constexpr char kDelayKey[] = "Delay";
inline constexpr char kStretchKey[] = "Stretch";
inline constexpr char kDelayLoadKey[] = "DelayLoad";
inline constexpr char kMirrorKey[] = "Mirror";
inline constexpr char kEnabledKey[] = "Enabled";
inline constexpr char kMouseIconKey[] = "MouseIcon";
inline constexpr char kMousePointerKey[] = "MousePointer";
inline constexpr char kLoopsKey[] = "Loops";

struct PersistedControl {
  toolkit::ByteArray gif;  // the GIF file; empty when none is kept
  ControlProperties properties;
  bool enabled = true;
  toolkit::ByteArray mouseIcon;  // a cursor or icon file; empty for none
  int32_t mousePointer = 0;
  int32_t loops = 0;
};

struct LoadOutcome {
  int32_t frames = 0;
  int32_t fileLoopCount = 0;
};

// Reads "GIF", "Delay", "Stretch", "DelayLoad", "Mirror", "Enabled",
// "MouseIcon", "MousePointer" over `current`, then calls `load` with what
// was read so far, and reads "Loops" only when it gave frames: a stored
// count then overrides the file's, an unstored one leaves the file's. Values
// a property write would refuse fall back to the property's default.
PersistedControl ReadControlProperties(const toolkit::PropertyBag& bag, const PersistedControl& current,
                                       const std::function<LoadOutcome(const PersistedControl&)>& load);

// Writes "GIF", "Delay", "Stretch", "Loops", "DelayLoad", "Mirror",
// "MouseIcon", "MousePointer", "Enabled"; values equal to their defaults
// are left out.
void WriteControlProperties(toolkit::PropertyBag& bag, const PersistedControl& control);

}  // namespace ventalune::anigif
