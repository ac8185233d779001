#pragma once
// What the scene does once its window exists, so that the user sees it and
// Esc reaches it: show it, bring it to the foreground (the saver that
// started us has passed that right on) and give it the keyboard, in this
// order: a window can take neither the foreground nor the keyboard before
// it shows.

namespace ventalune::scene {

class WindowActivationPort {
 public:
  virtual ~WindowActivationPort() = default;
  virtual void Show() = 0;
  virtual void BringToFront() = 0;
  virtual void TakeKeyboard() = 0;
};

void ActivateSceneWindow(WindowActivationPort& window);

}  // namespace ventalune::scene
