#pragma once
// The scene as the frames see it: the motion's last two steps, and the
// record a frame draws, set between them. What moves smoothly (the sway, the
// ring turns, the swing) is drawn in between; what changes in whole frames
// (how many rings show) is the latest step's.
#include <cstdint>

#include "scene/ring_scene.h"

namespace ventalune::scene {

// Every function of the scene clock the motion uses (the sines and cosines
// of T, 1.1 T, 1.2 T, T/2 … T/10) repeats after 240π seconds, so taking that
// period off the clock changes nothing that shows, while keeping it small
// enough that single precision still resolves a step after days or years.
inline constexpr float kMotionPeriodSeconds = 753.982236861550f;

struct SceneMotion {
  RingScene previous;  // one step before the latest
  RingScene latest;    // the textures are loaded into this one
  uint64_t steps = 0;  // taken in this process
};

// One step of 1/60 s: the scene's advance with the step's share of whole
// milliseconds (16, 17, 17, so three steps are exactly 50 ms) and its ring
// counter's step.
void TakeStep(SceneMotion& motion);

// Fills `shown` for a frame that lies `weight` (0 … below 1) of a step past
// the latest step. Drawing runs one step behind the clock, so a frame never
// needs a step not yet taken: the continuous state lies that far from the
// previous step to the latest, the textures are the latest's. Its ring
// counter is left at the previous step's, since drawing steps it once.
void ComposeShownScene(const SceneMotion& motion, float weight, RingScene& shown);

}  // namespace ventalune::scene
