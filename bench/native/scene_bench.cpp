// CPU cost of the scene's own per-frame work, without any GL: the clock
// step and the ring geometry of a four-ring frame (4096 quads).
#include <benchmark/benchmark.h>

#include "scene/ring_geometry.h"
#include "scene/ring_scene.h"

namespace ventalune::scene {
namespace {

void BM_AdvanceScene(benchmark::State& state) {
  RingScene scene;
  for (auto _ : state) {
    AdvanceScene(scene, 16);
    benchmark::DoNotOptimize(scene);
  }
}
BENCHMARK(BM_AdvanceScene);

void BM_FourRingGeometry(benchmark::State& state) {
  for (auto _ : state) {
    float sink = 0.0f;
    for (float radius : kRingRadius)
      ForEachRingCorner(kTubeRadius, radius, kRingSegments, kTubeSegments,
                        [&](const RingCorner& corner) { sink += corner.vertex.x + corner.normal.z; });
    benchmark::DoNotOptimize(sink);
  }
  state.SetItemsProcessed(state.iterations() * 4 * kRingSegments * kTubeSegments);
}
BENCHMARK(BM_FourRingGeometry);

}  // namespace
}  // namespace ventalune::scene

BENCHMARK_MAIN();
