// Ventalune.dll: the scene program. A windowed executable that carries a .dll
// name so the screen-saver list does not offer it; the saver starts it, for
// a run without arguments, for its live preview with "/p WINDOW MAPPING".
#include <windows.h>
#include <ole2.h>

#include <optional>
#include <string_view>

#include "common/preview_frames.h"
#include "scene/preview_program.h"
#include "scene/scene_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  // Digits and a switch only: the code page cannot change them. A preview
  // switch that cannot be read starts nothing, least of all a full-screen run.
  const std::string_view text = arguments ? arguments : "";
  if (text.starts_with(ventalune::kPreviewSwitch)) {
    const std::optional<ventalune::PreviewArguments> preview = ventalune::ParsePreviewArguments(text);
    return preview ? ventalune::scene::RunPreviewProgram(instance, *preview) : 1;
  }
  // The OLE picture loader needs COM on this thread.
  const HRESULT ole = OleInitialize(nullptr);
  const int exitCode = ventalune::scene::RunSceneProgram(instance);
  if (SUCCEEDED(ole)) OleUninitialize();
  return exitCode;
}
