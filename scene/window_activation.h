#pragma once
// What the scene does once its window exists, so that the user sees it and
// Esc reaches it: show it, bring it to the foreground (the saver that
// started us has passed that right on) and give it the keyboard, in this
// order: a window can take neither the foreground nor the keyboard before
// it shows.
//
// Windows may still refuse the foreground (a saver started by the system
// after idle may meet none of the conditions it asks), and it refuses
// silently: the scene would cover the screen while Esc went to the window
// in front before. So a scene that covers the screen and is not in front,
// or stops being in front, holds Esc for itself as a hot key until its
// window closes. A scene in an ordinary window never does: Esc belongs to
// whatever window the user is working in.

namespace ventalune::scene {

class WindowActivationPort {
 public:
  virtual ~WindowActivationPort() = default;
  virtual void Show() = 0;
  // False when the system refused.
  virtual bool BringToFront() = 0;
  virtual void TakeKeyboard() = 0;
  virtual bool IsForeground() = 0;
  // Esc reaches the window wherever the keyboard is; false when another
  // program holds it.
  virtual bool HoldEscape() = 0;
  virtual void ReleaseEscape() = 0;
};

// One window's activation, from its first showing to its close.
class SceneActivation {
 public:
  void Activate(WindowActivationPort& window, bool coversScreen);
  // Another window has taken the foreground.
  void ForegroundLost(WindowActivationPort& window);
  // Before the window goes; whatever comes after holds nothing.
  void Release(WindowActivationPort& window);
  bool holdsEscape() const { return holdsEscape_; }

 private:
  void Hold(WindowActivationPort& window);

  bool coversScreen_ = false;
  bool open_ = false;
  bool holdsEscape_ = false;
};

}  // namespace ventalune::scene
