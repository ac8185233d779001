// CPU cost of averaging a camera photo down to the walls' size, apart from
// decoding it: 6000 × 4000 halved, 12000 × 6000 quartered, fed in strips of
// rows as the decoder delivers them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <span>
#include <vector>

#include "saver/pictures/picture_reduction.h"

namespace ventalune::pictures {
namespace {

void BM_AveragePhoto(benchmark::State& state) {
  const auto width = static_cast<int32_t>(state.range(0));
  const auto height = static_cast<int32_t>(state.range(1));
  constexpr int kBytesPerPixel = 3;
  constexpr int32_t kStripRows = 200;
  std::vector<uint8_t> strip(static_cast<size_t>(width) * kStripRows * kBytesPerPixel);
  for (size_t i = 0; i < strip.size(); ++i) strip[i] = static_cast<uint8_t>(i * 131);
  const Reduction reduction = ReduceToFit(width, height);
  std::vector<uint8_t> target(static_cast<size_t>(reduction.width) * reduction.height * 4);
  for (auto _ : state) {
    BlockAverager averager(width, height, kBytesPerPixel, reduction, target);
    for (int32_t row = 0; row < height; row += kStripRows) {
      const int32_t rows = std::min(kStripRows, height - row);
      averager.AddRows(std::span(strip).first(static_cast<size_t>(rows) * width * kBytesPerPixel));
    }
    benchmark::DoNotOptimize(target.data());
  }
  state.SetItemsProcessed(state.iterations() * int64_t{width} * height);
}
BENCHMARK(BM_AveragePhoto)->Args({6000, 4000})->Args({12000, 6000})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ventalune::pictures

BENCHMARK_MAIN();
