#include "scene/ring_scene.h"

#include <algorithm>
#include <cmath>

namespace ventalune::scene {

void StepRingCounter(RingCounter& counter) {
  constexpr int32_t kTop = 4 * kRingPhaseFrames;
  if (!counter.falling) {
    if (++counter.value == kTop) {
      counter.falling = true;
      counter.value = kTop - kRingPhaseFrames;
    }
  } else if (--counter.value == 0) {
    counter.falling = false;
    counter.value = kRingPhaseFrames;
  }
}

int RingsShown(int32_t counterValue) {
  if (counterValue < kRingPhaseFrames) return 1;
  if (counterValue < 2 * kRingPhaseFrames) return 2;
  if (counterValue < 3 * kRingPhaseFrames) return 3;
  return 4;
}

void AdvanceRingSwing(RingSwing& swing) {
  const double counters = static_cast<double>(swing.pushCount) + static_cast<double>(swing.pullCount);
  const float drive = std::clamp(static_cast<float>(counters / 256.0 / 50.0), 0.0f, 0.1f);
  swing.speed = (swing.speed + drive) / 1.1f;
  swing.phase += swing.speed;
  if (swing.phase > 360.0f) swing.phase -= 360.0f;
  if (swing.phase < 0.0f) swing.phase += 360.0f;
  std::copy_backward(swing.samples.begin(), swing.samples.end() - 1, swing.samples.end());
  swing.samples[0] = std::sin(swing.phase) / 4.0f;
}

float RingSwingOffset(const RingSwing& swing, int ring) { return swing.samples[static_cast<size_t>(ring) * 20]; }

void AdvanceScene(RingScene& scene, uint32_t elapsedMs) {
  scene.clock += static_cast<float>(elapsedMs) / 1000.0f;
  const float t = scene.clock;
  scene.viewAngleX += std::sin(t);
  scene.viewAngleY += std::sin(1.2f * t);
  scene.viewAngleZ += std::sin(1.1f * t);
  for (int k = 1; k <= kRingCount; ++k) {
    const float divisor = static_cast<float>(k + 1);
    scene.ringTurnX[k - 1] = std::cos(t / divisor / 2.0f);
    scene.ringTurnY[k - 1] = std::sin(t / divisor);
  }
  AdvanceRingSwing(scene.swing);
}

}  // namespace ventalune::scene
