#pragma once
// The button's behaviour without any window: which look it shows and when it
// raises Click, driven by focus, mouse and timer events. The Win32 control
// feeds it the events and paints the skin each step asks for.
#include <cstdint>
#include <optional>

namespace ventalune::button {

// The six faces of the button, in the order of its skin pictures.
enum class Skin : uint8_t { Normal, HighLight, Selected, HighLightSelect, Pressed, Disable };
inline constexpr int kSkinCount = 6;

// The state byte: 0 until Initialize, then one of the four looks that the
// focus and the pointer select.
enum class ButtonState : uint8_t { Uninitialised = 0, Normal = 1, Hot = 2, Focused = 3, HotFocused = 4 };

enum class MouseButton : uint8_t { Left, Right, Middle };

// What one event asks of the control: a repaint with a skin, a Click, both or neither.
struct ButtonStep {
  std::optional<Skin> paint;
  bool click = false;
};

class ButtonStateMachine {
 public:
  // Sets the normal state; from here on the pointer can make the button hot.
  // The caller starts the 100 ms pointer watch.
  ButtonStep Initialize();
  ButtonStep FocusGained();
  ButtonStep FocusLost();
  ButtonStep ButtonDown(MouseButton button);
  ButtonStep MouseMove();
  ButtonStep ButtonUp(MouseButton button);
  // The pointer watch: `pointerOverControl` is true when the window under the
  // pointer is the control's own (its caption has no window of its own).
  ButtonStep TimerTick(bool pointerOverControl);

  // The enabled flag; a disabled button ignores every event but Initialize.
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }

  // The look that follows property changes, resizing and loading; the state
  // is left as it is.
  Skin EnabledSkin() const { return enabled_ ? Skin::Normal : Skin::Disable; }

  // Before painting a skin: whether the face's gradient runs reversed
  // (lavender at the top). Decided by the state at painting time; in the
  // hot-and-focused state the face keeps the direction it had.
  bool UpdateHotFace();

  ButtonState state() const { return state_; }
  bool held() const { return held_; }
  bool hotFace() const { return hotFace_; }

 private:
  ButtonState state_ = ButtonState::Uninitialised;
  bool enabled_ = true;
  bool held_ = false;
  bool hotFace_ = false;
};

}  // namespace ventalune::button
