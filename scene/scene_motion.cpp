#include "scene/scene_motion.h"

#include <cstddef>

namespace ventalune::scene {
namespace {

float Between(float from, float to, float weight) { return from + (to - from) * weight; }

}  // namespace

void TakeStep(SceneMotion& motion) {
  static constexpr uint32_t kStepMs[3] = {17, 16, 17};  // steps 3n, 3n + 1, 3n + 2
  motion.previous = motion.latest;
  ++motion.steps;
  AdvanceScene(motion.latest, kStepMs[motion.steps % 3]);
  StepRingCounter(motion.latest.ringCounter);
  if (motion.latest.clock >= kMotionPeriodSeconds) motion.latest.clock -= kMotionPeriodSeconds;
}

void ComposeShownScene(const SceneMotion& motion, float weight, RingScene& shown) {
  const RingScene& from = motion.previous;
  const RingScene& to = motion.latest;
  shown = to;
  shown.viewAngleX = Between(from.viewAngleX, to.viewAngleX, weight);
  shown.viewAngleY = Between(from.viewAngleY, to.viewAngleY, weight);
  shown.viewAngleZ = Between(from.viewAngleZ, to.viewAngleZ, weight);
  for (size_t k = 0; k < kRingCount; ++k) {
    shown.ringTurnX[k] = Between(from.ringTurnX[k], to.ringTurnX[k], weight);
    shown.ringTurnY[k] = Between(from.ringTurnY[k], to.ringTurnY[k], weight);
  }
  for (size_t i = 0; i < RingSwing::kSamples; ++i)
    shown.swing.samples[i] = Between(from.swing.samples[i], to.swing.samples[i], weight);
  shown.ringCounter = from.ringCounter;
}

}  // namespace ventalune::scene
