// Ventalune.dll: the scene program. A windowed executable that carries a .dll
// name so the screen-saver list does not offer it; the saver starts it.
#include <windows.h>
#include <ole2.h>

#include "scene/scene_frame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // The OLE picture loader needs COM on this thread.
  const HRESULT ole = OleInitialize(nullptr);
  const int exitCode = ventalune::scene::RunSceneProgram(instance);
  if (SUCCEEDED(ole)) OleUninitialize();
  return exitCode;
}
