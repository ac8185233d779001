#pragma once
// The scene's state and its clockwork: how the room sways, how each ring
// turns, and how many rings are shown. Pure arithmetic, no GL.
#include <array>
#include <cstdint>

namespace ventalune::scene {

inline constexpr int kRingCount = 4;
inline constexpr int kRoomWallCount = 6;

// Over time the set grows from one ring to four and back in phases of this
// many drawn frames.
inline constexpr int32_t kRingPhaseFrames = 1000;

// Counts drawn frames: rising 1 … 3999, then falling from 3000 to 1, then
// rising again from 1000, so the set breathes 4, 3, 2, 1, 2, 3, 4, …
struct RingCounter {
  int32_t value = 0;
  bool falling = false;
};

void StepRingCounter(RingCounter& counter);
// How many rings a counter value shows (1 … 4).
int RingsShown(int32_t counterValue);

// A sideways swing of the rings, delayed further for each outer ring. It is
// driven by two counters that nothing in the program feeds, so it rests at 0;
// it is kept so the rings' offsets have one well-defined source.
struct RingSwing {
  static constexpr int kSamples = 81;
  std::array<float, kSamples> samples{};  // index 0 is the newest
  float phase = 0.0f;                     // wrapped into 0 … 360, used as radians
  float speed = 0.0f;
  uint32_t pushCount = 0;
  int32_t pullCount = 0;
};

void AdvanceRingSwing(RingSwing& swing);
// Vertical offset of ring k (1 … 4): samples 20, 40, 60 and 80.
float RingSwingOffset(const RingSwing& swing, int ring);

// The whole scene, one per process, alive for the whole run. The first
// fields keep the order the scene has always had.
struct RingScene {
  float viewAngleX = 0.0f;  // degrees; the room's sway and the ring set's base
  float viewAngleY = 0.0f;
  float viewAngleZ = 0.0f;
  // Walls in the order y = +10, y = −10, x = −10, x = +10, z = −10, z = +10.
  std::array<uint32_t, kRoomWallCount> roomTextures{};
  uint32_t ringTexture = 0;
  std::array<float, kRingCount> ringTurnX{};  // fractions of a full turn
  std::array<float, kRingCount> ringTurnY{};

  float clock = 0.0f;  // seconds
  RingCounter ringCounter;
  RingSwing swing;
};

// One frame step: the clock moves on by the elapsed milliseconds; the sway
// adds one increment per step whatever the elapsed time (so it is faster at
// higher frame rates, and bounded because the increments alternate in sign).
void AdvanceScene(RingScene& scene, uint32_t elapsedMs);

}  // namespace ventalune::scene
