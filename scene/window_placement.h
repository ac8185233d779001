#pragma once
// Where the scene's window goes and how it looks. Full screen is tried
// first through a 1024 × 768 display mode; where the display refuses that
// mode (today's Windows always does, below 32 bits per pixel, and so does
// any screen without that mode), the monitors keep their own sizes. Either
// way the window covers the monitors the scene shows on, so the desktop is
// never left in view.
#include <cstdint>

namespace ventalune::scene {

struct ScreenRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct WindowPlacement {
  bool popup = false;                // borderless; otherwise an overlapped window with a frame
  bool topmost = false;              // above every other window
  bool hidesCursor = false;          // the cursor is hidden while the window lives
  bool restoresDisplayMode = false;  // the display mode was switched and must be put back
  bool sizeIsClientArea = false;     // `rect` is the client area; the frame goes round it
  ScreenRect rect;
  bool operator==(const WindowPlacement&) const = default;
};

// `fullScreenWanted`: the window is to be full screen (the display-mode
// switch message may ask for a window instead). `modeSwitched`: the display
// now runs the requested width × height mode. `sceneArea`: what the monitors
// the scene shows on span, in virtual-screen pixels, as they are after the
// switch or its refusal; an empty one (unknown) is taken as the requested
// size at the origin.
WindowPlacement PlaceSceneWindow(bool fullScreenWanted, bool modeSwitched, ScreenRect sceneArea, int32_t width,
                                 int32_t height);

}  // namespace ventalune::scene
