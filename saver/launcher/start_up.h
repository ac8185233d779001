#pragma once
#include <windows.h>

namespace ventalune::launcher {

// The saver program from its argument text to its end: refuses to run
// beside a run or settings dialog already open, then shows the preview, the
// settings, or runs the saver. Returns the exit code.
int RunSaverProgram(HINSTANCE instance, const char* arguments);

}  // namespace ventalune::launcher
