#pragma once
// The preview inside the host's small preview area (the Screen Saver
// settings' monitor picture), as a child of the host's window, filling it:
// the scene itself, moving, drawn by the scene program (live_preview.h), and
// a still picture of it until the first frame comes or where the scene
// cannot draw.
#include <windows.h>

#include <string>

namespace ventalune::launcher {

inline constexpr wchar_t kPreviewWindowClass[] = L"Nubivola_R";
inline constexpr wchar_t kPreviewWindowTitle[] = L"Preview Window";

// What the live preview draws. Without a scene program, the still only.
struct LiveScene {
  std::wstring sceneProgram;  // Ventalune.dll beside the saver
  std::string userPicture;    // the user's picture for the walls (system code page); empty: the preview's own room
};

// An area smaller than this either way shows the still.
inline constexpr int kSmallestLiveArea = 32;

// Creates the preview inside `host` and shows it, with the still picture
// and the pictures of the live scene from the resources of `resources`. A
// preview of ours already in the host is asked to close first. False when
// the host is no window (nothing is created then). The process should run
// its message loop until the preview has gone: it ends when the host
// destroys its area.
bool ShowPreview(HINSTANCE instance, HMODULE resources, HWND host, const LiveScene& live = {});

}  // namespace ventalune::launcher
