#include "scene/window_placement.h"

namespace ventalune::scene {

WindowPlacement PlaceSceneWindow(bool fullScreenWanted, bool modeSwitched, ScreenRect sceneArea, int32_t width,
                                 int32_t height) {
  const ScreenRect requested{0, 0, width, height};
  WindowPlacement placement;
  if (!fullScreenWanted) {
    placement.sizeIsClientArea = true;
    placement.rect = requested;
    return placement;
  }
  placement.popup = true;
  placement.topmost = true;
  placement.hidesCursor = true;
  placement.restoresDisplayMode = modeSwitched;
  const bool areaKnown = sceneArea.width > 0 && sceneArea.height > 0;
  placement.rect = areaKnown ? sceneArea : requested;
  return placement;
}

}  // namespace ventalune::scene
