// render_preview_still RINGS.ppm WALLS.ppm OUT.ppm [WIDTH HEIGHT [STEPS]]
//
// Draws our ring scene once, offscreen, at a fixed clock: the room's walls
// carry WALLS, the four rings carry RINGS as their mirror coating. Writes the
// frame as a PPM; tools/make_preview_still turns it into the saver's preview
// still. Both pictures must have power-of-two sides, as the scene program's
// own textures always have.
#include <GL/osmesa.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "scene/gl_api.h"
#include "scene/ring_scene.h"
#include "scene/scene_drawing.h"
#include "scene/scene_view.h"
#include "scene/texture_upload.h"
#include "tools/preview_still/ppm_image.h"

namespace {

using ventalune::preview::RgbImage;
namespace scene = ventalune::scene;

constexpr char kUsage[] = "usage: render_preview_still RINGS.ppm WALLS.ppm OUT.ppm [WIDTH HEIGHT [STEPS]]\n";

// Four times the preview's 152 × 112, so the downsampled still is smooth.
constexpr int kDefaultWidth = 608;
constexpr int kDefaultHeight = 448;
// The clock: this many 40 ms frame steps (25 frames a second) after the
// start. Chosen by eye: all four rings show, nested like a gimbal.
constexpr int kDefaultSteps = 180;
constexpr uint32_t kStepMs = 40;
// The ring counter one step before the set grows to four rings.
constexpr int32_t kBeforeFourRings = 3 * scene::kRingPhaseFrames - 1;

std::optional<RgbImage> ReadPicture(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return ventalune::preview::ParsePpm(bytes);
}

bool IsPowerOfTwo(int32_t side) { return side > 0 && (side & (side - 1)) == 0; }

std::optional<int> PositiveNumber(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 1 || value > 100000) return std::nullopt;
  return static_cast<int>(value);
}

// A current GL context drawing into memory, released on every way out.
class OffscreenContext {
 public:
  OffscreenContext(int width, int height) : width_(width), height_(height) {
    buffer_.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    current_ = context_ && OSMesaMakeCurrent(context_, buffer_.data(), GL_UNSIGNED_BYTE, width, height);
  }
  ~OffscreenContext() {
    if (context_) OSMesaDestroyContext(context_);
  }
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  bool current() const { return current_; }

  RgbImage ReadFrame() const {
    glFinish();
    RgbImage frame{width_, height_, std::vector<uint8_t>(static_cast<size_t>(width_) * height_ * 3)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL rows run bottom-up; the picture's top-down.
    for (int row = 0; row < height_; ++row)
      glReadPixels(0, height_ - 1 - row, width_, 1, GL_RGB, GL_UNSIGNED_BYTE,
                   &frame.rgb[static_cast<size_t>(row) * width_ * 3]);
    return frame;
  }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> buffer_;
  OSMesaContext context_ = nullptr;
  bool current_ = false;
};

uint32_t Upload(const RgbImage& picture) {
  std::vector<uint8_t> dib = ventalune::preview::DibPixels(picture);
  return scene::UploadPictureTexture(dib, picture.width, picture.height);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 6 && argc != 7) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  int width = kDefaultWidth, height = kDefaultHeight, steps = kDefaultSteps;
  if (argc >= 6) {
    const auto w = PositiveNumber(argv[4]);
    const auto h = PositiveNumber(argv[5]);
    const auto s = argc == 7 ? PositiveNumber(argv[6]) : std::optional<int>(steps);
    if (!w || !h || !s || *w > 8192 || *h > 8192) {
      std::fputs(kUsage, stderr);
      return 2;
    }
    width = *w, height = *h, steps = *s;
  }

  const auto rings = ReadPicture(argv[1]);
  const auto walls = ReadPicture(argv[2]);
  for (const auto& [picture, path] : {std::pair{&rings, argv[1]}, std::pair{&walls, argv[2]}}) {
    if (!*picture) {
      std::fprintf(stderr, "render_preview_still: %s is no readable binary PPM\n", path);
      return 1;
    }
    if (!IsPowerOfTwo((*picture)->width) || !IsPowerOfTwo((*picture)->height)) {
      std::fprintf(stderr, "render_preview_still: %s needs power-of-two sides\n", path);
      return 1;
    }
  }

  OffscreenContext gl(width, height);
  if (!gl.current()) {
    std::fputs("render_preview_still: no offscreen GL context\n", stderr);
    return 1;
  }
  scene::ApplyViewSize(width, height);
  scene::PrepareGlState();

  scene::RingScene state;
  state.roomTextures.fill(Upload(*walls));
  state.ringTexture = Upload(*rings);
  scene::ApplyRingMaterial();
  for (int i = 0; i < steps; ++i) scene::AdvanceScene(state, kStepMs);
  state.ringCounter.value = kBeforeFourRings;

  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  scene::DrawScene(state);
  if (glGetError() != GL_NO_ERROR) {
    std::fputs("render_preview_still: the GL reported an error while drawing\n", stderr);
    return 1;
  }

  const std::vector<uint8_t> ppm = ventalune::preview::PpmBytes(gl.ReadFrame());
  std::ofstream out(argv[3], std::ios::binary);
  out.write(reinterpret_cast<const char*>(ppm.data()), static_cast<std::streamsize>(ppm.size()));
  if (!out) {
    std::fprintf(stderr, "render_preview_still: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
