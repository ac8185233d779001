#pragma once
// Drawing the scene with OpenGL 1.1 in immediate mode. Needs a current
// rendering context; nothing here allocates.
#include "scene/ring_scene.h"

namespace ventalune::scene {

// One drawn frame, with the modelview matrix current and the colour and
// depth buffers already cleared: the swaying room, then the rings over it.
// Each call is one drawn frame for the ring counter.
void DrawScene(RingScene& scene);

// The six textured walls around the eye, each with its own texture slot.
void DrawRoomBox(const RingScene& scene);

// One torus as a single batch of quads (see ForEachRingCorner).
void DrawRing(float tubeRadius, float ringRadius, int ringSegments, int tubeSegments);

// The rings' mirror-like coating: sphere-map texture generation, the
// material and the one light. Lasts for the life of the rendering context.
void ApplyRingMaterial();

}  // namespace ventalune::scene
