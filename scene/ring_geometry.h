#pragma once
// Where the room's walls and the rings' surfaces lie, as plain numbers, so the
// drawing code and the tests share one description of the geometry.
#include <array>
#include <cmath>

namespace ventalune::scene {

// The full turn the ring geometry has always used; keeping the short value
// keeps the seam of each torus exactly where it was.
inline constexpr float kRingFullTurn = 6.28318f;
inline constexpr float kTubeRadius = 0.5f;
inline constexpr int kRingSegments = 64;
inline constexpr int kTubeSegments = 16;
inline constexpr std::array<float, 4> kRingRadius = {1.2f, 2.4f, 3.8f, 5.0f};  // inner to outer
inline constexpr float kRingSetDistance = 16.0f;
inline constexpr float kRingSetTilt = 90.0f;  // degrees about X

struct Vec3 {
  float x, y, z;
  friend bool operator==(const Vec3&, const Vec3&) = default;
};

// One corner of a ring quad. The normal's length is the tube radius, not 1:
// the sphere-mapped coating is looked up with these normals as they are.
struct RingCorner {
  Vec3 normal;
  Vec3 vertex;
};

inline RingCorner RingCornerAt(float tubeRadius, float ringRadius, float phi, float theta) {
  const float c = tubeRadius * std::cos(theta);
  const float sinPhi = std::sin(phi);
  const float cosPhi = std::cos(phi);
  const float z = tubeRadius * std::sin(theta);
  return {{sinPhi * c, cosPhi * c, z}, {sinPhi * (ringRadius + c), cosPhi * (ringRadius + c), z}};
}

// Calls emit(corner) for every corner of every quad of a torus lying around
// its local Z axis, starting at +Y and running towards +X: ring position i
// outside, tube position j inside, corners (φ0,θ0) (φ0,θ1) (φ1,θ1) (φ1,θ0).
template <class Emit>
void ForEachRingCorner(float tubeRadius, float ringRadius, int ringSegments, int tubeSegments, Emit&& emit) {
  for (int i = 0; i < ringSegments; ++i) {
    const float phi0 = static_cast<float>(i) / static_cast<float>(ringSegments) * kRingFullTurn;
    const float phi1 = static_cast<float>(i + 1) / static_cast<float>(ringSegments) * kRingFullTurn;
    for (int j = 0; j < tubeSegments; ++j) {
      const float theta0 = static_cast<float>(j) / static_cast<float>(tubeSegments) * kRingFullTurn;
      const float theta1 = static_cast<float>(j + 1) / static_cast<float>(tubeSegments) * kRingFullTurn;
      emit(RingCornerAt(tubeRadius, ringRadius, phi0, theta0));
      emit(RingCornerAt(tubeRadius, ringRadius, phi0, theta1));
      emit(RingCornerAt(tubeRadius, ringRadius, phi1, theta1));
      emit(RingCornerAt(tubeRadius, ringRadius, phi1, theta0));
    }
  }
}

// The room: a cube around the eye. Each wall lies 10 units out and reaches
// 10.1 each way, so neighbouring walls overlap and no seam shows.
struct WallCorner {
  float s, t;
  Vec3 vertex;
};
struct RoomWall {
  int slot;  // index into RingScene::roomTextures
  std::array<WallCorner, 4> corners;
};

inline constexpr float kWall = 10.0f;
inline constexpr float kReach = 10.1f;

// In drawing order. The eye looks along −Z, so the z = −10 wall is straight
// ahead before any sway; texture (0,0) is the picture's bottom-left corner.
inline constexpr std::array<RoomWall, 6> kRoomWalls = {{
    {5, {{{0, 0, {-kReach, -kReach, kWall}}, {1, 0, {kReach, -kReach, kWall}},
          {1, 1, {kReach, kReach, kWall}}, {0, 1, {-kReach, kReach, kWall}}}}},  // z = +10
    {4, {{{1, 0, {-kReach, -kReach, -kWall}}, {1, 1, {-kReach, kReach, -kWall}},
          {0, 1, {kReach, kReach, -kWall}}, {0, 0, {kReach, -kReach, -kWall}}}}},  // z = −10
    {0, {{{0, 1, {-kReach, kWall, -kReach}}, {0, 0, {-kReach, kWall, kReach}},
          {1, 0, {kReach, kWall, kReach}}, {1, 1, {kReach, kWall, -kReach}}}}},  // y = +10
    {1, {{{1, 1, {-kReach, -kWall, -kReach}}, {0, 1, {kReach, -kWall, -kReach}},
          {0, 0, {kReach, -kWall, kReach}}, {1, 0, {-kReach, -kWall, kReach}}}}},  // y = −10
    {3, {{{1, 0, {kWall, -kReach, -kReach}}, {1, 1, {kWall, kReach, -kReach}},
          {0, 1, {kWall, kReach, kReach}}, {0, 0, {kWall, -kReach, kReach}}}}},  // x = +10
    {2, {{{0, 0, {-kWall, -kReach, -kReach}}, {1, 0, {-kWall, -kReach, kReach}},
          {1, 1, {-kWall, kReach, kReach}}, {0, 1, {-kWall, kReach, -kReach}}}}},  // x = −10
}};

}  // namespace ventalune::scene
