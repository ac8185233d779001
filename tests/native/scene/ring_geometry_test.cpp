#include "scene/ring_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace ventalune::scene {
namespace {

std::vector<RingCorner> RingCorners(float r, float radius, int m, int q) {
  std::vector<RingCorner> corners;
  ForEachRingCorner(r, radius, m, q, [&](const RingCorner& corner) { corners.push_back(corner); });
  return corners;
}

void ExpectNear(const Vec3& actual, const Vec3& expected) {
  EXPECT_NEAR(actual.x, expected.x, 1e-5f);
  EXPECT_NEAR(actual.y, expected.y, 1e-5f);
  EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

// The first quad of the innermost ring: it starts at +Y, runs towards +X
// along the ring and turns towards +Z around the tube.
TEST(DrawRingGeometryTest, FirstQuadCornersAndNormals) {
  const float r = 0.5f, radius = 1.2f;
  const float theta1 = kRingFullTurn / 16.0f, phi1 = kRingFullTurn / 64.0f;
  const auto corners = RingCorners(r, radius, 64, 16);
  ASSERT_EQ(corners.size(), 64u * 16u * 4u);

  struct Expected {
    const char* name;
    Vec3 normal;
    Vec3 vertex;
  };
  const float c1 = r * std::cos(theta1);
  const Expected expected[] = {
      {"phi0 theta0", {0, r, 0}, {0, radius + r, 0}},
      {"phi0 theta1", {0, c1, r * std::sin(theta1)}, {0, radius + c1, r * std::sin(theta1)}},
      {"phi1 theta1",
       {std::sin(phi1) * c1, std::cos(phi1) * c1, r * std::sin(theta1)},
       {std::sin(phi1) * (radius + c1), std::cos(phi1) * (radius + c1), r * std::sin(theta1)}},
      {"phi1 theta0", {std::sin(phi1) * r, std::cos(phi1) * r, 0}, {std::sin(phi1) * (radius + r), std::cos(phi1) * (radius + r), 0}},
  };
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(expected[i].name);
    ExpectNear(corners[i].normal, expected[i].normal);
    ExpectNear(corners[i].vertex, expected[i].vertex);
  }
  // The second quad moves one step around the tube, not along the ring.
  ExpectNear(corners[4].vertex, corners[1].vertex);
}

// Normals keep the tube radius as their length (sphere mapping uses them
// unnormalised) and point from the tube's centre line to the surface.
TEST(DrawRingGeometryTest, NormalsHaveTubeRadiusLengthAndPointOutward) {
  for (float radius : kRingRadius) {
    for (const RingCorner& corner : RingCorners(kTubeRadius, radius, kRingSegments, kTubeSegments)) {
      const Vec3& n = corner.normal;
      ASSERT_NEAR(std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z), kTubeRadius, 1e-5f);
      const float rim = std::hypot(corner.vertex.x, corner.vertex.y);
      const float centreX = corner.vertex.x * radius / rim, centreY = corner.vertex.y * radius / rim;
      ASSERT_NEAR(corner.vertex.x - centreX, n.x, 1e-4f);
      ASSERT_NEAR(corner.vertex.y - centreY, n.y, 1e-4f);
      ASSERT_NEAR(corner.vertex.z, n.z, 1e-6f);
    }
  }
}

// The short full turn leaves the last segment a hair short of the first.
TEST(DrawRingGeometryTest, LastQuadEndsNearTheStart) {
  const auto corners = RingCorners(0.5f, 5.0f, 64, 16);
  const RingCorner& last = corners[corners.size() - 2];  // (φ1, θ1) of the final quad
  EXPECT_NEAR(last.vertex.x, 0.0f, 1e-3f);
  EXPECT_NEAR(last.vertex.y, 5.5f, 1e-3f);
}

// Every wall lies in its plane at distance 10, reaches 10.1 both ways, shows
// the whole picture once, and the six walls use the six slots.
TEST(RoomBoxGeometryTest, WallsCloseTheCubeAndCoverTheTexture) {
  std::set<int> slots;
  for (const RoomWall& wall : kRoomWalls) {
    slots.insert(wall.slot);
    std::set<std::pair<float, float>> texCorners;
    int planeAxis = -1;
    for (int axis = 0; axis < 3; ++axis) {
      bool same = true;
      for (const WallCorner& c : wall.corners) {
        const float v[3] = {c.vertex.x, c.vertex.y, c.vertex.z};
        const float v0[3] = {wall.corners[0].vertex.x, wall.corners[0].vertex.y, wall.corners[0].vertex.z};
        same = same && v[axis] == v0[axis];
      }
      if (same) planeAxis = axis;
    }
    ASSERT_NE(planeAxis, -1) << "slot " << wall.slot;
    for (const WallCorner& c : wall.corners) {
      const float v[3] = {c.vertex.x, c.vertex.y, c.vertex.z};
      for (int axis = 0; axis < 3; ++axis) EXPECT_EQ(std::fabs(v[axis]), axis == planeAxis ? 10.0f : 10.1f);
      texCorners.insert({c.s, c.t});
    }
    EXPECT_EQ(texCorners.size(), 4u) << "slot " << wall.slot;
  }
  EXPECT_EQ(slots, (std::set<int>{0, 1, 2, 3, 4, 5}));
}

// The wall straight ahead of the eye (z = −10, slot 5 counted from one):
// from inside, the picture's bottom edge is at the floor.
TEST(RoomBoxGeometryTest, FrontWallIsUprightFromInside) {
  const RoomWall& front = kRoomWalls[1];
  ASSERT_EQ(front.slot, 4);
  for (const WallCorner& c : front.corners) {
    EXPECT_EQ(c.vertex.z, -10.0f);
    EXPECT_EQ(c.t == 0.0f, c.vertex.y < 0.0f);
  }
}

}  // namespace
}  // namespace ventalune::scene
