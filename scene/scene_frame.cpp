#include "scene/scene_frame.h"

#include "common/run_monitors.h"
#include "common/user_picture_folder.h"
#include "common/window_of.h"
#include "scene/frame_pacer.h"
#include "scene/frame_rate_ceiling.h"
#include "scene/frame_timer.h"
#include "scene/gl_api.h"
#include "scene/picture_texture.h"
#include "scene/scene_assets.h"
#include "scene/scene_drawing.h"
#include "scene/scene_view.h"

#include <algorithm>
#include <iterator>

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

// What the saver said of the run's monitors; started alone, or told
// something unreadable, the room shows on every monitor with one picture.
RunMonitors RunMonitorsNamed() {
  wchar_t text[1024] = {};
  const DWORD length = GetEnvironmentVariableW(kRunMonitorsVariable, text, static_cast<DWORD>(std::size(text)));
  if (length == 0 || length >= std::size(text)) return {};
  return ParseRunMonitors(std::wstring_view(text, length)).value_or(RunMonitors{});
}

// The room pictures of the further monitors, each once. One that cannot be
// read shows the first monitor's room rather than ending the run.
void LoadFurtherRooms(SceneFrame& frame) {
  const uint32_t first = frame.motion->latest.roomTextures[0];
  frame.roomTextures.assign(1, first);
  for (size_t room = 1; room < frame.window->run.rooms.size(); ++room) {
    uint32_t name = 0;
    const bool loaded = LoadPictureTexture(RoomPictureIn(frame.pictureFolder, room).c_str(), name);
    frame.roomTextures.push_back(loaded ? name : first);
  }
}

}  // namespace

bool PrepareGlState(SceneFrame& frame, SceneWindow& window, KeyTable& keys) {
  frame.window = &window;
  frame.keys = &keys;
  frame.contextHasAssets = false;
  PrepareGlState();
  // The swap waits for the display where the driver can; the loop's own
  // pacing covers drivers that cannot or that ignore the request.
  const bool displayRate = frame.pacing == FramePacing::kDisplayRate;
  frame.swapWaitsForDisplay = RequestSwapInterval(displayRate ? 1 : 0) && displayRate;
  return true;
}

void StepFrame(SceneFrame& frame, const StepsDue& due) {
  // Esc counts only if it is still down now; the steps go on regardless.
  if ((*frame.keys)[VK_ESCAPE] == 1) RequestQuit(*frame.window);
  for (uint32_t step = 0; step < due.steps; ++step) TakeStep(*frame.motion);
  frame.weight = due.weight;
  if (frame.contextHasAssets || frame.window->flags->drawingSuppressed) return;

  // A window re-created by a display-mode switch has a new rendering context
  // without our textures: load them again rather than draw white walls.
  RingScene& scene = frame.motion->latest;
  const bool loaded = frame.assetsLoaded ? ReloadSceneAssets(scene, frame.pictures, LoadPictureTexture)
                                         : LoadSceneAssets(scene, frame.pictures, LoadPictureTexture);
  frame.assetsLoaded = true;
  frame.contextHasAssets = loaded;
  if (!loaded) {
    RequestQuit(*frame.window);
    frame.window->flags->drawingSuppressed = true;
    return;
  }
  LoadFurtherRooms(frame);
}

void RenderFrame(SceneFrame& frame) {
  if (frame.window->flags->drawingSuppressed) return;
  ComposeShownScene(*frame.motion, frame.weight, frame.shown);
  // Each view clears and draws only its own part of the window (the scene
  // clears depth between room and rings, which must not reach the others).
  glEnable(GL_SCISSOR_TEST);
  for (const MonitorView& view : frame.window->views) {
    const ViewRect& v = view.viewport;
    glScissor(v.x, v.y, v.width, v.height);
    ApplyViewport(v.x, v.y, v.width, v.height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A copy per view: drawing steps the copy's ring counter, so every
    // monitor shows the same rings.
    RingScene drawn = frame.shown;
    if (view.room < frame.roomTextures.size()) drawn.roomTextures.fill(frame.roomTextures[view.room]);
    DrawScene(drawn);
  }
  glDisable(GL_SCISSOR_TEST);
  glFlush();
}

namespace {

// The displays' refresh and the session as they are now: a run may be
// connected to or from a remote session while it lasts. With monitors of
// several rates, the fastest one's: none of them waits for a frame.
uint32_t MostFramesPerSecondNow(const SceneFrame& frame) {
  uint32_t refresh = FastestRefresh(frame.window->views);
  if (refresh == 0) refresh = static_cast<uint32_t>(std::max(GetDeviceCaps(frame.window->dc, VREFRESH), 0));
  return MostFramesPerSecond({refresh, frame.swapWaitsForDisplay,
                              GetSystemMetrics(SM_REMOTESESSION) != 0});
}

}  // namespace

void RunMessageLoop(SceneFrame& frame) {
  SceneWindow& window = *frame.window;
  const bool paced = frame.pacing == FramePacing::kDisplayRate;
  FrameTimer timer;
  const uint64_t second = timer.ticksPerSecond();
  StepClock clock(second);
  uint32_t mostFrames = MostFramesPerSecondNow(frame);
  FramePacer pacer(second, mostFrames);
  uint64_t nextLook = timer.Now() + second;
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
    const uint64_t now = timer.Now();
    if (window.displayOff) {
      // Nothing is drawn for a display that is off, but the scene's clock
      // goes on, a few steps at a time, so the display comes back to the
      // scene where the time has taken it.
      StepFrame(frame, clock.FrameAt(now));
      timer.WaitForFrameOrMessage(second / 5);
      continue;
    }
    if (now >= nextLook) {
      nextLook = now + second;
      if (const uint32_t most = MostFramesPerSecondNow(frame); most != mostFrames) {
        mostFrames = most;
        pacer = FramePacer(second, most);
      }
    }
    if (paced) {
      // A message that arrives meanwhile ends the wait and is handled first.
      if (const uint64_t wait = pacer.TicksUntilDue(now)) {
        timer.WaitForFrameOrMessage(wait);
        continue;
      }
      pacer.FrameDrawn(now);
    }
    StepFrame(frame, clock.FrameAt(now));
    RenderFrame(frame);
    SwapBuffers(window.dc);
    if (frame.framePresented) frame.framePresented(frame);
  }
}

int RunSceneProgram(HINSTANCE instance, FramePresentedHook framePresented, FramePacing pacing) {
  // The records live as long as the run, on this stack: the window reaches
  // its own through CreateWindowEx, the frame through its pointers.
  SceneApplication application{instance, kWindowClassName};
  KeyTable keys{};
  SceneRunFlags flags;
  SceneWindow window;
  SceneMotion motion;
  SceneFrame frame;

  window.keys = &keys;
  window.application = &application;
  window.flags = &flags;
  window.run = RunMonitorsNamed();
  frame.motion = &motion;
  frame.framePresented = framePresented;
  frame.pacing = pacing;
  frame.pictureFolder = PictureFolder();
  frame.pictures = PicturePathsIn(frame.pictureFolder);

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
