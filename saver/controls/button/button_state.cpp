#include "saver/controls/button/button_state.h"

namespace ventalune::button {

ButtonStep ButtonStateMachine::Initialize() {
  state_ = ButtonState::Normal;
  return {};
}

ButtonStep ButtonStateMachine::FocusGained() {
  if (!enabled_) return {};
  // Gaining the focus while hot keeps the pointer's look as a press-like face.
  if (state_ == ButtonState::Hot) {
    state_ = ButtonState::HotFocused;
    return {Skin::Pressed};
  }
  state_ = ButtonState::Focused;
  return {Skin::Selected};
}

ButtonStep ButtonStateMachine::FocusLost() {
  if (!enabled_ || state_ == ButtonState::Normal) return {};
  state_ = ButtonState::Normal;
  return {Skin::Normal};
}

ButtonStep ButtonStateMachine::ButtonDown(MouseButton button) {
  if (!enabled_ || button != MouseButton::Left) return {};
  // The press itself says the pointer is over the button, also when no move
  // has said so: a button that took the focus back on activation, or one
  // that appeared under a resting pointer, must still click on release.
  if (state_ == ButtonState::Normal) state_ = ButtonState::Hot;
  if (state_ == ButtonState::Focused) state_ = ButtonState::HotFocused;
  held_ = true;
  return {Skin::Pressed};
}

ButtonStep ButtonStateMachine::MouseMove() {
  if (!enabled_) return {};
  if (state_ == ButtonState::Normal) {
    state_ = ButtonState::Hot;
    return {Skin::HighLight};
  }
  // While the button is held the hot look does not come back, so a release
  // after leaving and returning still raises no Click.
  if (state_ == ButtonState::Focused && !held_) {
    state_ = ButtonState::HotFocused;
    return {Skin::HighLightSelect};
  }
  return {};
}

ButtonStep ButtonStateMachine::ButtonUp(MouseButton button) {
  if (!enabled_) return {};
  ButtonStep step;
  if (button == MouseButton::Left) {
    held_ = false;
    if (state_ == ButtonState::Hot) step.paint = Skin::Normal;
    if (state_ == ButtonState::HotFocused) step.paint = Skin::HighLightSelect;
  }
  // A focused button that the pointer has left takes no release as a click;
  // every other state does, whichever button was released.
  step.click = state_ != ButtonState::Focused;
  return step;
}

ButtonStep ButtonStateMachine::TimerTick(bool pointerOverControl) {
  if (!enabled_ || pointerOverControl) return {};
  if (state_ == ButtonState::Hot) {
    state_ = ButtonState::Normal;
    return {Skin::Normal};
  }
  if (state_ == ButtonState::HotFocused) {
    state_ = ButtonState::Focused;
    return {Skin::Selected};
  }
  return {};
}

bool ButtonStateMachine::UpdateHotFace() {
  switch (state_) {
    case ButtonState::Normal:
    case ButtonState::Focused:
      hotFace_ = false;
      break;
    case ButtonState::Hot:
      hotFace_ = true;
      break;
    default:
      break;
  }
  return hotFace_;
}

}  // namespace ventalune::button
