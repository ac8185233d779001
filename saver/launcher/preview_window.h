#pragma once
// The preview inside the host's small preview area (the Screen Saver
// settings' monitor picture): a still picture of the scene, as a child of
// the host's window, filling it.
#include <windows.h>

namespace ventalune::launcher {

inline constexpr wchar_t kPreviewWindowClass[] = L"Nubivola_R";
inline constexpr wchar_t kPreviewWindowTitle[] = L"Preview Window";

// Creates the preview inside `host` and shows it, with the still picture
// from the resources of `resources`. False when the host is no window
// (nothing is created then). The process should run its message loop until
// the preview has gone: it ends when the host destroys its area.
bool ShowPreview(HINSTANCE instance, HMODULE resources, HWND host);

}  // namespace ventalune::launcher
