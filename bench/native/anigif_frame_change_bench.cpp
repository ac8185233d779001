// What the animated-picture control's window thread computes per frame
// change, outside GDI: the frame composed at the picture's working size and
// converted to the colour and mask bits GDI paints. The picture declares 16
// frames of 4096 × 4096 in a few hundred bytes; the control composes it at
// its working size (kWorkingCanvasPixels), "full size" is the same work
// without that reduction. Run from the unsanitized bench preset.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "saver/controls/anigif/frame_bits.h"
#include "saver/controls/anigif/control_properties.h"
#include "saver/gif/gif_picture.h"

namespace ventalune::anigif {
namespace {

constexpr int kFrames = 16;
constexpr int kSide = 4096;

void Word(std::vector<uint8_t>& bytes, int value) {
  bytes.push_back(static_cast<uint8_t>(value & 0xFF));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

// Every frame covers the canvas, keeps what it leaves (disposal 1) and has
// a transparent index, so the control keeps a composite and a mask: the
// most work a frame change can take. Each frame's data is three codes:
// one pixel of its own colour, the rest left to index 0.
std::vector<uint8_t> HugeFrames() {
  std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a'};
  Word(gif, kSide);
  Word(gif, kSide);
  gif.insert(gif.end(), {0x81, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255});
  for (int i = 0; i < kFrames; ++i) {
    gif.insert(gif.end(), {0x21, 0xF9, 4, (1 << 2) | 1, 10, 0, 3, 0});  // 100 ms, transparent index 3
    gif.push_back(0x2C);
    Word(gif, 0);
    Word(gif, 0);
    Word(gif, kSide);
    Word(gif, kSide);
    gif.push_back(0);
    // Minimum code size 2: clear (4), a literal, end (5), three bits each.
    const uint32_t codes = 4u | (static_cast<uint32_t>(i % 3) << 3) | (5u << 6);
    gif.insert(gif.end(), {2, 2, static_cast<uint8_t>(codes & 0xFF), static_cast<uint8_t>(codes >> 8), 0});
  }
  gif.push_back(0x3B);
  return gif;
}

void FrameChange(benchmark::State& state, int64_t maxWorkingPixels) {
  const std::vector<uint8_t> file = HugeFrames();
  gif::LoadOptions options;
  options.maxWorkingPixels = maxWorkingPixels;
  gif::GifPicture picture;
  if (picture.Load(file, options) != kFrames) return state.SkipWithError("the picture does not load");
  const int32_t width = picture.workingWidth(), height = picture.workingHeight();
  std::vector<uint32_t> colour(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::vector<uint8_t> mask(static_cast<size_t>(MaskStride(width)) * static_cast<size_t>(height));
  gif::Surface surface;
  size_t frame = 0;
  for (auto _ : state) {
    ComposeFrame(picture, frame, surface);
    benchmark::DoNotOptimize(ConvertFrame(surface, colour.data(), mask.data()));
    frame = (frame + 1) % kFrames;
  }
  state.counters["file bytes"] = static_cast<double>(file.size());
  state.counters["working side"] = width;
}

void BM_HugeCanvasFrameChange(benchmark::State& state) { FrameChange(state, kWorkingCanvasPixels); }
BENCHMARK(BM_HugeCanvasFrameChange)->Unit(benchmark::kMillisecond);

void BM_HugeCanvasFrameChangeFullSize(benchmark::State& state) { FrameChange(state, 0); }
BENCHMARK(BM_HugeCanvasFrameChangeFullSize)->Unit(benchmark::kMillisecond);

// The frames' build, which the control does once, from its deferred-build timer.
void BM_HugeCanvasBuild(benchmark::State& state) {
  const std::vector<uint8_t> file = HugeFrames();
  gif::LoadOptions options;
  options.maxWorkingPixels = kWorkingCanvasPixels;
  for (auto _ : state) {
    gif::GifPicture picture;
    benchmark::DoNotOptimize(picture.Load(file, options));
  }
}
BENCHMARK(BM_HugeCanvasBuild)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ventalune::anigif

BENCHMARK_MAIN();
