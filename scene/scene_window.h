#pragma once
// The scene program's one OpenGL window: full screen over every monitor (or
// the main one only, as the run says), each monitor at its own size and
// with a view of its own, after the main monitor was tried at 1024 × 768 ×
// 16; an ordinary window of 1024 × 768 client size when another program asks
// for one (kDisplayModeSwitchMessage). The window follows the monitors when
// they change.
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "common/program_contract.h"
#include "common/run_monitors.h"
#include "common/wide_text.h"
#include "scene/monitor_views.h"
#include "scene/window_activation.h"

namespace ventalune::scene {

inline constexpr wchar_t kWindowClassName[] = L"OpenGL";
inline constexpr auto kSceneWindowTitleWide = WideAscii(kSceneWindowTitle);
// Another program may post this to flip between full screen and a window.
inline constexpr UINT kDisplayModeSwitchMessage = WM_USER + 1;

// The hot key id under which a covering scene not in front holds Esc.
inline constexpr int kEscapeHotKey = 1;

// 1 while a key is down, by virtual-key code. Only Esc is consulted.
using KeyTable = std::array<int32_t, 256>;

struct SceneApplication {
  HINSTANCE instance = nullptr;
  const wchar_t* className = kWindowClassName;
};

// The process's run flags; the window procedure and the frame change them.
struct SceneRunFlags {
  bool running = false;              // keep (re)creating the window
  bool requestedFullScreen = true;   // for the next window
  bool drawingSuppressed = false;    // the assets failed to load; never cleared
};

struct SceneWindow {
  KeyTable* keys = nullptr;
  HWND window = nullptr;
  HDC dc = nullptr;
  HGLRC gl = nullptr;
  SceneApplication* application = nullptr;
  const wchar_t* title = kSceneWindowTitleWide.data();
  int32_t width = 1024;
  int32_t height = 768;
  int32_t bitsPerPixel = 16;  // the switched display mode's colour depth
  uint32_t fullScreen = 1;    // the window covers the screen (switched mode or the primary monitor)
  uint32_t displayModeSwitched = 0;  // the display mode was changed and is put back at the close
  uint32_t visible = 0;       // 0 while minimised
  uint32_t displayOff = 0;    // 1 while the system has the display off
  HPOWERNOTIFY displayPower = nullptr;  // tells the window when the display goes off and on
  SceneRunFlags* flags = nullptr;
  SceneActivation activation;  // whether this window holds Esc
  RunMonitors run;                 // which monitors show the room, and their pictures
  std::vector<MonitorView> views;  // one per monitor the window covers, or one of a plain window

  // The window's messages: the record travels through CreateWindowEx into
  // the window (see common/window_of.h).
  LRESULT HandleMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
};

// Temporarily switches the display to width × height × bits; true on success.
bool SwitchDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel);

// Creates the window, its pixel format and a current GL context, shows it
// and gives it the keyboard. On failure everything it made is released
// again (a display mode already switched stays switched and the cursor
// hidden; the caller's teardown puts both back).
bool OpenSceneWindow(SceneWindow& record);

// Lays the full-screen window and its views over the monitors as they are
// now (nothing for a plain window).
void FollowMonitors(SceneWindow& record);

// Releases context, DC and window, then restores the display mode if it was
// switched and shows the cursor if the window was full screen. Always
// succeeds.
bool CloseSceneWindow(SceneWindow& record);

// Ends the run: the posted WM_QUIT ends this window's message loop and the
// cleared running flag stops the program from making another.
BOOL RequestQuit(SceneWindow& record);

// The window class's procedure: the shared one, on SceneWindow::HandleMessage.
LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ventalune::scene
