// Draws the scene at a fixed clock offscreen and compares it with a stored
// picture, so any change of geometry, orientation, texture mapping or
// material shows up. After an intended change of the look, regenerate the
// reference with VENTALUNE_UPDATE_REFERENCE=1 and look at it before committing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "offscreen_gl.h"
#include "scene/gl_api.h"
#include "scene/scene_drawing.h"
#include "scene/scene_view.h"
#include "scene/texture_upload.h"

namespace ventalune::scene {
namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A picture as a DIB holds it (blue, green, red, unused; bottom row first)
// whose quadrants differ, so a flipped or turned wall shows: red top-left,
// green top-right, blue bottom-left, yellow bottom-right, with a white band
// along the top edge.
std::vector<uint8_t> QuadrantPicture(int side) {
  std::vector<uint8_t> dib(static_cast<size_t>(side) * side * 4);
  for (int row = 0; row < side; ++row) {
    const bool top = row >= side / 2;  // bottom row first
    for (int col = 0; col < side; ++col) {
      const bool right = col >= side / 2;
      uint8_t r = 0, g = 0, b = 0;
      if (row >= side - side / 16) r = g = b = 255;
      else if (top && !right) r = 220;
      else if (top && right) g = 200;
      else if (!right) b = 230;
      else r = g = 210;
      uint8_t* p = &dib[(static_cast<size_t>(row) * side + col) * 4];
      p[0] = b, p[1] = g, p[2] = r, p[3] = 0;
    }
  }
  return dib;
}

// A smooth two-way gradient for the rings' mirror coating.
std::vector<uint8_t> GradientPicture(int side) {
  std::vector<uint8_t> dib(static_cast<size_t>(side) * side * 4);
  for (int row = 0; row < side; ++row)
    for (int col = 0; col < side; ++col) {
      uint8_t* p = &dib[(static_cast<size_t>(row) * side + col) * 4];
      p[0] = static_cast<uint8_t>(255 * col / (side - 1));
      p[1] = static_cast<uint8_t>(255 * row / (side - 1));
      p[2] = 128;
    }
  return dib;
}

std::vector<uint8_t> RenderFixedScene() {
  offscreen::OffscreenGl gl(kWidth, kHeight);
  EXPECT_TRUE(gl.ok());
  ApplyViewSize(kWidth, kHeight);
  PrepareGlState();

  RingScene scene;
  auto room = QuadrantPicture(64);
  auto rings = GradientPicture(64);
  scene.roomTextures.fill(UploadPictureTexture(room, 64, 64));
  scene.ringTexture = UploadPictureTexture(rings, 64, 64);
  ApplyRingMaterial();
  for (int i = 0; i < 90; ++i) AdvanceScene(scene, 40);  // 3.6 s of sway
  scene.ringCounter.value = 2999;                         // this frame shows all four rings

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene(scene);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  return gl.ReadRgbTopDown();
}

void WritePpm(const std::filesystem::path& path, const std::vector<uint8_t>& rgb) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << kWidth << ' ' << kHeight << "\n255\n";
  out.write(reinterpret_cast<const char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
}

std::vector<uint8_t> ReadPpm(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, maxValue = 0;
  in >> magic >> w >> h >> maxValue;
  in.get();
  if (magic != "P6" || w != kWidth || h != kHeight || maxValue != 255) return {};
  std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
  in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  return in ? rgb : std::vector<uint8_t>{};
}

TEST(SceneRenderingTest, MatchesTheReferencePicture) {
  const auto actual = RenderFixedScene();
  WritePpm(std::filesystem::path(VENTALUNE_TEST_OUT) / "scene_rendering.ppm", actual);
  const std::filesystem::path reference = std::filesystem::path(VENTALUNE_TEST_DATA) / "scene_reference.ppm";
  if (std::getenv("VENTALUNE_UPDATE_REFERENCE")) WritePpm(reference, actual);

  const auto expected = ReadPpm(reference);
  ASSERT_EQ(expected.size(), actual.size()) << "missing or unreadable " << reference;
  // Rasterisers may differ by a level here and there along edges; a real
  // change of the scene moves thousands of pixels.
  int differing = 0;
  for (size_t i = 0; i < actual.size(); i += 3) {
    int worst = 0;
    for (size_t c = 0; c < 3; ++c) worst = std::max(worst, std::abs(actual[i + c] - expected[i + c]));
    if (worst > 24) ++differing;
  }
  EXPECT_LE(differing, kWidth * kHeight / 200) << differing << " pixels differ";
}

// Independent of the reference: the room and the rings both reach the screen.
TEST(SceneRenderingTest, ShowsTheRoomAroundTheRings) {
  const auto rgb = RenderFixedScene();
  auto at = [&](int x, int y) { return &rgb[(static_cast<size_t>(y) * kWidth + x) * 3]; };
  // The centre is covered by the innermost ring's neighbourhood or the room;
  // the corners are always room: one of the four quadrant colours or white.
  int roomCorners = 0;
  for (auto [x, y] : {std::pair{2, 2}, {kWidth - 3, 2}, {2, kHeight - 3}, {kWidth - 3, kHeight - 3}}) {
    const uint8_t* p = at(x, y);
    if (p[0] + p[1] + p[2] > 150) ++roomCorners;
  }
  EXPECT_EQ(roomCorners, 4);
  // Ring pixels carry the coating's fixed 128-level red scaled by light:
  // neither pure room colours nor black. Count shaded, mixed-colour pixels.
  int shaded = 0;
  for (size_t i = 0; i < rgb.size(); i += 3)
    if (rgb[i] > 20 && rgb[i] < 200 && rgb[i + 2] > 20) ++shaded;
  EXPECT_GT(shaded, kWidth * kHeight / 20);
}

}  // namespace
}  // namespace ventalune::scene
