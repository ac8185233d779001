#pragma once
// The scene in the Screen Saver settings' little screen. Started by the
// saver's preview window with "/p WINDOW MAPPING", it draws the room and the
// rings at the designed pace, at most 30 frames a second, into a window of
// its own that is never shown, reads each frame back into the shared memory
// and tells the preview window, which paints it. It shows nothing itself,
// takes no focus, leaves the cursor and the display mode alone, and ends
// when the preview window has gone.
#include <windows.h>

#include "common/preview_frames.h"

namespace ventalune::scene {

inline constexpr uint32_t kPreviewFramesPerSecond = 30;

// Returns the exit code: 0 once the preview window has gone, 1 when the
// shared memory or the rendering context cannot be had (the preview then
// keeps its still).
int RunPreviewProgram(HINSTANCE instance, const PreviewArguments& arguments);

}  // namespace ventalune::scene
