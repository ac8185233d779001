// The reduced JPEG decoder on a camera photo: a grainy 6000 × 4000 picture
// at quality 90 from JPEG_BENCH_FILE (tools/bench makes it), decoded at
// half and a quarter of its size as the saver keeps such pictures, and at
// full size for comparison.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "saver/pictures/jpeg_reduced_decoder.h"

namespace ventalune::pictures {
namespace {

const std::vector<uint8_t>& Photo() {
  static const std::vector<uint8_t> bytes = [] {
    const char* path = std::getenv("JPEG_BENCH_FILE");
    if (path == nullptr) return std::vector<uint8_t>();
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }();
  return bytes;
}

void BM_DecodeReduced(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = Photo();
  if (bytes.empty()) return state.SkipWithError("set JPEG_BENCH_FILE to a JPEG file");
  const auto shift = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const std::optional<PicturePixels> picture = DecodeJpegReduced(bytes, shift);
    if (!picture) return state.SkipWithError("the decoder refused the photo");
    benchmark::DoNotOptimize(picture->pixels.data());
  }
}
BENCHMARK(BM_DecodeReduced)->ArgName("shift")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ventalune::pictures

BENCHMARK_MAIN();
