// Ventalune.scr: the screen saver program the system's screen-saver
// machinery starts with "/p <window>", "/c" or "/s".
#include <windows.h>
#include <ole2.h>

#include "saver/launcher/start_up.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  // The picture loader is OLE's.
  const HRESULT ole = OleInitialize(nullptr);
  const int exitCode = ventalune::launcher::RunSaverProgram(instance, arguments);
  if (SUCCEEDED(ole)) OleUninitialize();
  return exitCode;
}
