#include "scene/preview_program.h"

#include <cstring>
#include <vector>

#include "common/handles.h"
#include "common/window_of.h"
#include "scene/display_power.h"
#include "scene/frame_pacer.h"
#include "scene/frame_timer.h"
#include "scene/gl_api.h"
#include "scene/gl_context.h"
#include "scene/scene_assets.h"
#include "scene/scene_drawing.h"
#include "scene/scene_motion.h"
#include "scene/scene_view.h"
#include "scene/step_clock.h"
#include "scene/texture_upload.h"

namespace ventalune::scene {
namespace {

constexpr wchar_t kPreviewSceneClass[] = L"Nubivola_PreviewScene";
// The two pictures in the shared memory stand where the run's files stand.
constexpr wchar_t kRoomName[] = L"room";
constexpr wchar_t kRingName[] = L"ring";

// The hidden window that holds the rendering context, and what it is told.
class PreviewScene {
 public:
  PreviewScene(HWND preview, std::byte* shared) : preview_(preview), shared_(shared) {}
  ~PreviewScene() { Close(); }
  PreviewScene(const PreviewScene&) = delete;
  PreviewScene& operator=(const PreviewScene&) = delete;

  bool Open(HINSTANCE instance);
  void Run();
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  PreviewHeader& header() const { return *reinterpret_cast<PreviewHeader*>(shared_); }
  bool LoadPicture(const wchar_t* name, uint32_t& texture) const;
  void FollowArea();
  void DrawFrame(const SceneMotion& motion, float weight);
  void Close();

  HWND preview_;
  std::byte* shared_;
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
  HGLRC gl_ = nullptr;
  HPOWERNOTIFY displayPower_ = nullptr;
  bool displayOff_ = false;
  PreviewPicture size_{};
  RingScene shown_;
};

bool PreviewScene::Open(HINSTANCE instance) {
  RegisterWindowClass({kPreviewSceneClass, instance, WindowProcOf<PreviewScene>, CS_OWNDC});
  // Never shown: no taskbar button, no focus, nothing on the screen. Made
  // at the largest frame's size once, and each frame drawn in its corner:
  // a window that is never shown may keep the drawing surface it was made
  // with when it is resized.
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kPreviewSceneClass, L"", WS_POPUP, 0, 0,
                            kPreviewFrameSide, kPreviewFrameSide, nullptr, nullptr, instance, this);
  if (!window_) return false;
  dc_ = GetDC(window_);
  if (!dc_ || !CreatePixelFormatAndContext(dc_, gl_)) return false;
  PrepareGlState();
  displayPower_ =
      RegisterPowerSettingNotification(window_, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
  FollowArea();
  return true;
}

// A texture from one of the pictures the preview window put in the shared
// memory, copied out first: uploading converts the pixels in place.
bool PreviewScene::LoadPicture(const wchar_t* name, uint32_t& texture) const {
  const bool room = std::wcscmp(name, kRoomName) == 0;
  const PreviewPicture& size = room ? header().room : header().ring;
  const std::byte* pixels = shared_ + (room ? kRoomOffset : kRingOffset);
  std::vector<uint8_t> copy(static_cast<size_t>(size.width) * size.height * 4);
  std::memcpy(copy.data(), pixels, copy.size());
  texture = UploadPictureTexture(copy, size.width, size.height);
  return texture != 0;
}

// The frame takes the area's size as it is now (the host may resize it).
void PreviewScene::FollowArea() {
  RECT area{};
  if (GetClientRect(preview_, &area)) size_ = PreviewFrameSize(area.right - area.left, area.bottom - area.top);
}

void PreviewScene::DrawFrame(const SceneMotion& motion, float weight) {
  ApplyViewSize(size_.width, size_.height);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, size_.width, size_.height);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ComposeShownScene(motion, weight, shown_);
  DrawScene(shown_);
  glDisable(GL_SCISSOR_TEST);
  glFinish();
  // Into the frame the window is not painting from, then made the latest.
  PreviewHeader& shared = header();
  const int next = shared.latestFrame == 0 ? 1 : 0;
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, size_.width, size_.height, GL_BGRA_EXT, GL_UNSIGNED_BYTE, shared_ + FrameOffset(next));
  shared.frames[next] = size_;
  InterlockedExchange(reinterpret_cast<volatile LONG*>(&shared.latestFrame), next);
  PostMessageW(preview_, kPreviewFrameMessage, 0, 0);
}

void PreviewScene::Run() {
  SceneMotion motion;
  if (!LoadSceneAssets(motion.latest, {kRoomName, kRingName},
                       [this](const wchar_t* name, uint32_t& texture) { return LoadPicture(name, texture); }))
    return;
  FrameTimer timer;
  const uint64_t second = timer.ticksPerSecond();
  StepClock clock(second);
  FramePacer pacer(second, kPreviewFramesPerSecond);
  MSG message;
  for (;;) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      DispatchMessageW(&message);
    }
    // The host took the area away, and the preview window with it.
    if (!IsWindow(preview_)) return;
    const uint64_t now = timer.Now();
    if (const uint64_t wait = pacer.TicksUntilDue(now)) {
      timer.WaitForFrameOrMessage(wait);
      continue;
    }
    pacer.FrameDrawn(now);
    const StepsDue due = clock.FrameAt(now);
    for (uint32_t step = 0; step < due.steps; ++step) TakeStep(motion);
    // Nothing is drawn for an area nobody sees; the clock goes on.
    if (displayOff_ || !IsWindowVisible(preview_)) {
      timer.WaitForFrameOrMessage(second / 5);
      continue;
    }
    FollowArea();
    DrawFrame(motion, due.weight);
  }
}

void PreviewScene::Close() {
  if (displayPower_) UnregisterPowerSettingNotification(displayPower_);
  displayPower_ = nullptr;
  if (gl_) {
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(gl_);
    gl_ = nullptr;
  }
  if (dc_) ReleaseDC(window_, dc_);
  dc_ = nullptr;
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT PreviewScene::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_POWERBROADCAST && wParam == PBT_POWERSETTINGCHANGE) {
    if (const std::optional<bool> off = DisplayOffIn(lParam)) displayOff_ = *off;
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunPreviewProgram(HINSTANCE instance, const PreviewArguments& arguments) {
  HWND preview = reinterpret_cast<HWND>(static_cast<uintptr_t>(arguments.window));
  const OwnedHandle mapping(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(arguments.mapping)));
  void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kPreviewMappingBytes);
  if (!view) return 1;
  int exitCode = 1;
  // What the other program wrote is believed only where it fits.
  if (PreviewHeaderValid(*static_cast<const PreviewHeader*>(view)) && IsWindow(preview)) {
    PreviewScene scene(preview, static_cast<std::byte*>(view));
    if (scene.Open(instance)) {
      scene.Run();
      exitCode = 0;
    }
  }
  UnmapViewOfFile(view);
  return exitCode;
}

}  // namespace ventalune::scene
