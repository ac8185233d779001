#include "scene/window_activation.h"

namespace ventalune::scene {

void SceneActivation::Activate(WindowActivationPort& window, bool coversScreen) {
  coversScreen_ = coversScreen;
  open_ = true;
  holdsEscape_ = false;
  window.Show();
  // Either answer saying no is enough: a call that reports success need not
  // leave us in front, and holding Esc costs a covering scene nothing.
  const bool front = window.BringToFront();
  window.TakeKeyboard();
  if (!(front && window.IsForeground())) Hold(window);
}

void SceneActivation::ForegroundLost(WindowActivationPort& window) { Hold(window); }

void SceneActivation::Release(WindowActivationPort& window) {
  if (holdsEscape_) window.ReleaseEscape();
  holdsEscape_ = false;
  open_ = false;
}

void SceneActivation::Hold(WindowActivationPort& window) {
  // Held once for the window's life: letting go when we come to the front
  // again would race the next loss, and held Esc ends the run all the same.
  if (!open_ || !coversScreen_ || holdsEscape_) return;
  holdsEscape_ = window.HoldEscape();
}

}  // namespace ventalune::scene
