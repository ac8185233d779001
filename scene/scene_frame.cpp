#include "scene/scene_frame.h"

#include "common/user_picture_folder.h"
#include "common/window_of.h"
#include "scene/frame_pacer.h"
#include "scene/frame_timer.h"
#include "scene/gl_api.h"
#include "scene/picture_texture.h"
#include "scene/scene_assets.h"
#include "scene/scene_drawing.h"
#include "scene/scene_view.h"

namespace ventalune::scene {
namespace {

// The folder the saver named for this run; started alone, the scene reads
// the user's own, where the last run's pictures are. Never a folder another
// account could fill.
std::wstring PictureFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(kPictureFolderVariable, folder, MAX_PATH);
  // Too long for a path the file functions take: as though none were named.
  if (length == 0 || length >= MAX_PATH) return UserPictureFolder();
  return std::wstring(folder, length);
}

}  // namespace

bool PrepareGlState(SceneFrame& frame, SceneWindow& window, KeyTable& keys) {
  frame.window = &window;
  frame.keys = &keys;
  frame.contextHasAssets = false;
  PrepareGlState();
  // The swap waits for the display where the driver can; the loop's own
  // pacing covers drivers that cannot or that ignore the request.
  RequestSwapInterval(frame.pacing == FramePacing::kDisplayRate ? 1 : 0);
  return true;
}

void StepFrame(SceneFrame& frame, uint32_t elapsedMs) {
  // Esc counts only if it is still down now; the step goes on regardless.
  if ((*frame.keys)[VK_ESCAPE] == 1) RequestQuit(*frame.window);
  AdvanceScene(*frame.scene, elapsedMs);
  if (frame.contextHasAssets || frame.window->flags->drawingSuppressed) return;

  // A window re-created by a display-mode switch has a new rendering context
  // without our textures: load them again rather than draw white walls.
  const bool loaded = frame.assetsLoaded ? ReloadSceneAssets(*frame.scene, frame.pictures, LoadPictureTexture)
                                         : LoadSceneAssets(*frame.scene, frame.pictures, LoadPictureTexture);
  frame.assetsLoaded = true;
  frame.contextHasAssets = loaded;
  if (!loaded) {
    RequestQuit(*frame.window);
    frame.window->flags->drawingSuppressed = true;
  }
}

void RenderFrame(SceneFrame& frame) {
  if (frame.window->flags->drawingSuppressed) return;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  DrawScene(*frame.scene);
  glFlush();
}

void RunMessageLoop(SceneFrame& frame) {
  SceneWindow& window = *frame.window;
  const bool paced = frame.pacing == FramePacing::kDisplayRate;
  FrameTimer timer;
  FramePacer pacer(timer.ticksPerSecond());
  MSG message;
  for (;;) {
    // Only the scene window's own messages; no TranslateMessage, so no
    // character messages either.
    if (PeekMessageA(&message, window.window, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      DispatchMessageA(&message);
      continue;
    }
    if (!window.visible) {
      WaitMessage();
      continue;
    }
    if (paced) {
      // A message that arrives meanwhile ends the wait and is handled first.
      if (const uint64_t wait = pacer.TicksUntilDue(timer.Now())) {
        timer.WaitForFrameOrMessage(wait);
        continue;
      }
      pacer.FrameDrawn(timer.Now());
    }
    const DWORD now = GetTickCount();
    StepFrame(frame, now - window.lastTick);
    window.lastTick = now;
    RenderFrame(frame);
    SwapBuffers(window.dc);
    if (frame.framePresented) frame.framePresented(frame);
  }
}

int RunSceneProgram(HINSTANCE instance, FramePresentedHook framePresented, FramePacing pacing) {
  static SceneApplication application;
  static KeyTable keys;
  static SceneRunFlags flags;
  static SceneWindow window;
  static RingScene scene;
  static SceneFrame frame;

  application = {instance, kWindowClassName};
  window = SceneWindow{};
  window.keys = &keys;
  window.application = &application;
  window.flags = &flags;
  keys.fill(0);
  frame.scene = &scene;
  frame.framePresented = framePresented;
  frame.pacing = pacing;
  frame.pictures = PicturePathsIn(PictureFolder());

  // The system colour index used directly as the brush value, as the class
  // has always had it; the GL covers the whole client area anyway.
  if (!RegisterWindowClass({application.className, instance, SceneWindowProc, CS_HREDRAW | CS_VREDRAW | CS_OWNDC,
                            ArrowCursor(), reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_APPWORKSPACE))})) {
    return -1;
  }

  flags.running = true;
  flags.requestedFullScreen = window.fullScreen != 0;
  while (flags.running) {
    window.fullScreen = flags.requestedFullScreen ? 1 : 0;
    if (!OpenSceneWindow(window)) {
      // The display mode may already be switched and the cursor hidden:
      // put both back before the program ends.
      CloseSceneWindow(window);
      flags.running = false;
      break;
    }
    PrepareGlState(frame, window, keys);
    RunMessageLoop(frame);
    CloseSceneWindow(window);
  }
  UnregisterClassW(application.className, instance);
  return 0;
}

}  // namespace ventalune::scene
