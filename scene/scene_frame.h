#pragma once
// The frame loop: a frame as the display refreshes, each one taking the
// scene's steps that are due and drawing it between the last two, with the
// window's messages handled in between and while it waits for the next.
#include <cstdint>
#include <string>
#include <vector>

#include "common/program_contract.h"
#include "scene/ring_scene.h"
#include "scene/scene_motion.h"
#include "scene/scene_window.h"
#include "scene/step_clock.h"

namespace ventalune::scene {

struct SceneFrame;
// Called after every presented frame; lets a measuring harness count frames
// and end the run. The program itself passes none.
using FramePresentedHook = void (*)(SceneFrame& frame);

// The program draws as the display refreshes; a benchmark may ask for
// frames as fast as the driver gives them, to measure the drawing itself.
enum class FramePacing { kDisplayRate, kUncapped };

// What the frame step works on. One per process.
struct SceneFrame {
  SceneWindow* window = nullptr;
  KeyTable* keys = nullptr;
  SceneMotion* motion = nullptr;  // the scene's steps; its latest holds the textures
  RingScene shown;                // what the frame being drawn shows
  float weight = 0.0f;            // where that frame lies between the last two steps
  bool assetsLoaded = false;      // once in this process
  bool contextHasAssets = false;  // the current rendering context
  bool swapWaitsForDisplay = false;
  FramePresentedHook framePresented = nullptr;
  FramePacing pacing = FramePacing::kDisplayRate;
  PicturePaths pictures;  // where the saver put the two pictures
  std::wstring pictureFolder;
  // The room pictures' textures in the current context, one per picture the
  // run made (the first is the one the scene itself holds).
  std::vector<uint32_t> roomTextures;
};

// Fixed GL state for a freshly opened window; remembers the window and keys
// for the frame step. Always succeeds.
bool PrepareGlState(SceneFrame& frame, SceneWindow& window, KeyTable& keys);

// Esc check, the scene's steps that are due, and the textures for a context
// that has none.
void StepFrame(SceneFrame& frame, const StepsDue& due);

// Clears and draws the scene between its last two steps on every view of
// the window, each with its own room picture (nothing once the assets have
// failed).
void RenderFrame(SceneFrame& frame);

// Runs until a WM_QUIT addressed to the window is taken from the queue.
void RunMessageLoop(SceneFrame& frame);

// The whole program: register the class, open the window (again after a
// display-mode switch), loop, tear down. Returns the exit code: 0, or −1
// when the window class cannot be registered.
int RunSceneProgram(HINSTANCE instance, FramePresentedHook framePresented = nullptr,
                    FramePacing pacing = FramePacing::kDisplayRate);

}  // namespace ventalune::scene
