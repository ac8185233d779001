#include "scene/scene_window.h"

#include "common/window_of.h"
#include "scene/gl_api.h"
#include "scene/scene_view.h"

namespace ventalune::scene {
namespace {

void DestroySceneWindow(SceneWindow& record) {
  DestroyWindow(record.window);
  record.window = nullptr;
}

void ReleaseDeviceContext(SceneWindow& record) {
  ReleaseDC(record.window, record.dc);
  record.dc = nullptr;
}

bool CreatePixelFormatAndContext(SceneWindow& record) {
  PIXELFORMATDESCRIPTOR format{};
  format.nSize = sizeof(format);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.iPixelType = PFD_TYPE_RGBA;
  format.cColorBits = static_cast<BYTE>(record.bitsPerPixel);
  format.cDepthBits = 16;
  format.iLayerType = PFD_MAIN_PLANE;
  const int index = ChoosePixelFormat(record.dc, &format);
  if (index == 0 || !SetPixelFormat(record.dc, index, &format)) return false;
  record.gl = wglCreateContext(record.dc);
  if (!record.gl) return false;
  if (!wglMakeCurrent(record.dc, record.gl)) {
    wglDeleteContext(record.gl);
    record.gl = nullptr;
    return false;
  }
  return true;
}

}  // namespace

bool SwitchDisplayMode(int32_t width, int32_t height, int32_t bitsPerPixel) {
  DEVMODEA mode{};
  mode.dmSize = sizeof(mode);
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

bool OpenSceneWindow(SceneWindow& record) {
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = WS_EX_APPWINDOW;
  RECT rect{0, 0, record.width, record.height};
  if (record.fullScreen) {
    if (SwitchDisplayMode(record.width, record.height, record.bitsPerPixel)) {
      ShowCursor(FALSE);
      style = WS_POPUP;
      exStyle |= WS_EX_TOPMOST;
    } else {
      // Keep the unadjusted rectangle: the fallback window's outer size is
      // the mode's size.
      record.fullScreen = 0;
    }
  } else {
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }

  record.window = CreateWindowExA(exStyle, record.application->className, record.title, style, 0, 0,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                                  record.application->instance, &record);
  if (!record.window) return false;
  record.dc = GetDC(record.window);
  if (!record.dc) {
    DestroySceneWindow(record);
    return false;
  }
  if (!CreatePixelFormatAndContext(record)) {
    ReleaseDeviceContext(record);
    DestroySceneWindow(record);
    return false;
  }

  ShowWindow(record.window, SW_SHOWNORMAL);
  record.visible = 1;
  ApplyViewSize(record.width, record.height);
  record.keys->fill(0);
  record.lastTick = GetTickCount();
  return true;
}

bool CloseSceneWindow(SceneWindow& record) {
  if (record.window) {
    if (record.dc) {
      wglMakeCurrent(record.dc, nullptr);
      if (record.gl) {
        wglDeleteContext(record.gl);
        record.gl = nullptr;
      }
      ReleaseDeviceContext(record);
    }
    DestroySceneWindow(record);
  }
  if (record.fullScreen) {
    ChangeDisplaySettingsA(nullptr, 0);
    ShowCursor(TRUE);
  }
  return true;
}

BOOL RequestQuit(SceneWindow& record) {
  const BOOL posted = PostMessageA(record.window, WM_QUIT, 0, 0);
  record.flags->running = false;
  return posted;
}

LRESULT CALLBACK SceneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return WindowProcOf<SceneWindow>(window, message, wParam, lParam);
}

LRESULT SceneWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        visible = 0;
        return 0;
      }
      if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
        visible = 1;
        ApplyViewSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
      }
      break;
    case WM_CLOSE:
      RequestQuit(*this);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (wParam <= 255) {
        (*keys)[wParam] = message == WM_KEYDOWN ? 1 : 0;
        return 0;
      }
      break;
    case WM_SYSCOMMAND:
      // Exact values only: no screen saver and no monitor power-down while
      // we are the screen saver. Other codes keep their default handling.
      if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
      break;
    case kDisplayModeSwitchMessage:
      flags->requestedFullScreen = !flags->requestedFullScreen;
      PostMessageA(window, WM_QUIT, 0, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace ventalune::scene
