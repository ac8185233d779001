// Decode and export speed against giflib on the same data. The GIF comes
// from ANIGIF_BENCH_GIF (tools/gif-bench makes a 30-frame 500 × 375 photo
// animation); run it from an unsanitized Release build for real numbers.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "saver/gif/gif_exporter.h"
#include "saver/gif/gif_picture.h"
#include "saver/gif/lzw_encoder.h"
#include "tests/native/saver/gif/reference/giflib_memory.h"

namespace ventalune::gif {
namespace {

const std::vector<uint8_t>& BenchFile() {
  static const std::vector<uint8_t> bytes = [] {
    const char* path = std::getenv("ANIGIF_BENCH_GIF");
    std::ifstream in(path ? path : "", std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }();
  return bytes;
}

int64_t FramePixels(const GifPicture& picture) {
  int64_t pixels = 0;
  for (const FrameRecord& frame : picture.frames()) pixels += int64_t{frame.width} * frame.height;
  return pixels;
}

void Report(benchmark::State& state, int64_t bytes, int64_t pixels) {
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["Mpixel/s"] =
      benchmark::Counter(static_cast<double>(pixels) * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_DecodeOurs(benchmark::State& state) {
  const auto& file = BenchFile();
  GifPicture picture;
  if (picture.Load(file) == 0) return state.SkipWithError("set ANIGIF_BENCH_GIF to a GIF file");
  for (auto _ : state) benchmark::DoNotOptimize(picture.Load(file));
  Report(state, static_cast<int64_t>(file.size()), FramePixels(picture));
}
BENCHMARK(BM_DecodeOurs)->Unit(benchmark::kMillisecond);

void BM_DecodeGiflib(benchmark::State& state) {
  const auto& file = BenchFile();
  GifPicture picture;
  if (picture.Load(file) == 0) return state.SkipWithError("set ANIGIF_BENCH_GIF to a GIF file");
  for (auto _ : state) {
    MemoryInput input{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
    benchmark::DoNotOptimize(DGifSlurp(gif));
    DGifCloseFile(gif, &error);
  }
  Report(state, static_cast<int64_t>(file.size()), FramePixels(picture));
}
BENCHMARK(BM_DecodeGiflib)->Unit(benchmark::kMillisecond);

// Export: frame 1 of the file, written as a whole one-frame GIF by each.
struct ExportInput {
  GifPicture picture;
  const FrameRecord* frame = nullptr;
  std::vector<uint8_t> pixels;
};

const ExportInput* Frame1() {
  static ExportInput input;
  if (!input.frame) {
    if (input.picture.Load(BenchFile()) == 0) return nullptr;
    input.frame = &input.picture.frames()[0];
    for (int32_t y = 0; y < input.frame->height; ++y)
      input.pixels.insert(input.pixels.end(), input.picture.strip().Row(y), input.picture.strip().Row(y) + input.frame->width);
  }
  return &input;
}

void BM_ExportOurs(benchmark::State& state) {
  const ExportInput* input = Frame1();
  if (!input) return state.SkipWithError("set ANIGIF_BENCH_GIF to a GIF file");
  size_t size = 0;
  for (auto _ : state) {
    const auto out = ExportFrame(input->picture.strip(), *input->frame, input->picture.PaletteOf(*input->frame));
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes out"] = static_cast<double>(size);
  Report(state, static_cast<int64_t>(input->pixels.size()), static_cast<int64_t>(input->pixels.size()));
}
BENCHMARK(BM_ExportOurs)->Unit(benchmark::kMillisecond);

int WriteMemory(GifFileType* gif, const GifByteType* bytes, int count) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), bytes, bytes + count);
  return count;
}

void BM_ExportGiflib(benchmark::State& state) {
  const ExportInput* input = Frame1();
  if (!input) return state.SkipWithError("set ANIGIF_BENCH_GIF to a GIF file");
  const FrameRecord& frame = *input->frame;
  GifColorType colours[256];
  const Palette& palette = input->picture.PaletteOf(frame);
  for (size_t i = 0; i < 256; ++i) colours[i] = GifColorType{RedOf(palette[i]), GreenOf(palette[i]), BlueOf(palette[i])};
  ColorMapObject* map = GifMakeMapObject(256, colours);
  std::vector<uint8_t> row(static_cast<size_t>(frame.width));
  size_t size = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out;
    out.reserve(input->pixels.size() + 800);
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteMemory, &error);
    EGifPutScreenDesc(gif, frame.width, frame.height, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, frame.width, frame.height, false, nullptr);
    for (int32_t y = 0; y < frame.height; ++y) {
      std::memcpy(row.data(), input->pixels.data() + static_cast<size_t>(y) * row.size(), row.size());
      EGifPutLine(gif, row.data(), frame.width);
    }
    EGifCloseFile(gif, &error);
    size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  GifFreeMapObject(map);
  state.counters["bytes out"] = static_cast<double>(size);
  Report(state, static_cast<int64_t>(input->pixels.size()), static_cast<int64_t>(input->pixels.size()));
}
BENCHMARK(BM_ExportGiflib)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ventalune::gif

BENCHMARK_MAIN();
