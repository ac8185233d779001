#include "scene/window_activation.h"

namespace ventalune::scene {

void ActivateSceneWindow(WindowActivationPort& window) {
  window.Show();
  window.BringToFront();
  window.TakeKeyboard();
}

}  // namespace ventalune::scene
