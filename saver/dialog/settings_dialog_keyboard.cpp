// The settings dialog from the keyboard: keys are taken from the message
// loop before the focused window sees them, routed by where the focus is,
// and the focus is shown the way the system's keyboard cues ask.
#include "saver/dialog/settings_dialog_window.h"

namespace ventalune::dialog {
namespace {

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB: return Key::Tab;
    case VK_LEFT: return Key::Left;
    case VK_RIGHT: return Key::Right;
    case VK_UP: return Key::Up;
    case VK_DOWN: return Key::Down;
    case VK_SPACE: return Key::Space;
    case VK_RETURN: return Key::Enter;
    case VK_ESCAPE: return Key::Escape;
    default: return Key::Other;
  }
}

bool SystemShowsKeyboardCues() {
  BOOL cues = FALSE;
  return SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) && cues;
}

}  // namespace

bool SettingsDialog::TranslateDialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  // With Alt held a system key belongs to the system (Alt+F4, the window
  // menu); without, it is a plain key that came as a system key because no
  // window had the focus.
  constexpr LPARAM kAltDown = LPARAM{1} << 29;
  if (message.message == WM_SYSKEYDOWN && (message.lParam & kAltDown)) return false;
  const Key key = KeyOf(message.wParam);
  if (key == Key::Other) return false;
  SyncFocusFromSystem();
  const KeyAction action = RouteKey(key, GetKeyState(VK_SHIFT) < 0, focus_, musicGroup_->RepeatListOpen());
  if (action == KeyAction::PassOn) return false;
  keyboardUsed_ = true;
  DoKeyAction(action);
  if (window_) ShowFocusCues();
  return true;
}

void SettingsDialog::DoKeyAction(KeyAction action) {
  const auto step = [this](int direction) {
    // Step 0 selects the option with the focus: the selected one, or the
    // first while none is.
    if (focus_ == Stop::PictureOptions) pictureGroup_->Step(direction);
    if (focus_ == Stop::MonitorOptions) monitorsGroup_->Step(direction);
    if (focus_ == Stop::MusicOptions) musicGroup_->Step(direction);
  };
  switch (action) {
    case KeyAction::FocusNext:
    case KeyAction::FocusPrevious:
      FocusStop(NextStop(focus_, action == KeyAction::FocusPrevious, EnabledStops()));
      break;
    case KeyAction::SelectPrevious: step(-1); break;
    case KeyAction::SelectNext: step(1); break;
    case KeyAction::SelectFocused: step(0); break;
    case KeyAction::PressFocused:
      if (button::Command* button = ButtonOfStop(focus_); button && button->Enabled() && button->Click)
        button->Click();
      break;
    case KeyAction::PressSave:
      if (saveButton_.Click) saveButton_.Click();
      break;
    case KeyAction::Cancel: PostMessageW(window_, WM_CLOSE, 0, 0); break;
    case KeyAction::PassOn: break;
  }
}

StopsEnabled SettingsDialog::EnabledStops() const {
  const auto on = [](HWND window) { return window && IsWindowEnabled(window); };
  return {true,
          on(pictureGroup_->chooseButton().window()),
          true,
          true,
          on(musicGroup_->repeatBox()),
          on(musicGroup_->chooseButton().window()),
          on(saveButton_.window()),
          on(cancelButton_.window())};
}

HWND SettingsDialog::WindowOfStop(Stop stop) const {
  switch (stop) {
    case Stop::ChoosePicture: return pictureGroup_->chooseButton().window();
    case Stop::RepeatBox: return musicGroup_->repeatBox();
    case Stop::ChooseSound: return musicGroup_->chooseButton().window();
    case Stop::Save: return saveButton_.window();
    case Stop::Cancel: return cancelButton_.window();
    // The option groups have no windows: the dialog holds their focus.
    case Stop::PictureOptions:
    case Stop::MonitorOptions:
    case Stop::MusicOptions: break;
  }
  return window_;
}

button::Command* SettingsDialog::ButtonOfStop(Stop stop) {
  switch (stop) {
    case Stop::ChoosePicture: return &pictureGroup_->chooseButton();
    case Stop::ChooseSound: return &musicGroup_->chooseButton();
    case Stop::Save: return &saveButton_;
    case Stop::Cancel: return &cancelButton_;
    default: return nullptr;
  }
}

void SettingsDialog::FocusStop(Stop stop) {
  focus_ = stop;
  ApplyFocus();
}

void SettingsDialog::ApplyFocus() {
  if (!window_) return;
  // A stop that went disabled hands the focus on rather than leaving the
  // dialog with none, where keys would stop arriving as keys.
  focus_ = EnabledStopFrom(focus_, EnabledStops());
  HWND target = WindowOfStop(focus_);
  if (!target) target = window_;
  if (GetFocus() != target) SetFocus(target);
  ShowFocusCues();
}

void SettingsDialog::SyncFocusFromSystem() {
  if (GetActiveWindow() != window_) return;
  HWND focused = GetFocus();
  if (!focused) {
    ApplyFocus();
    return;
  }
  Stop now = focus_;
  const HWND repeatBox = musicGroup_->repeatBox();
  if (repeatBox && (focused == repeatBox || IsChild(repeatBox, focused))) {
    now = Stop::RepeatBox;
  } else {
    for (Stop stop : {Stop::ChoosePicture, Stop::ChooseSound, Stop::Save, Stop::Cancel})
      if (focused == WindowOfStop(stop)) now = stop;
    if (focused == window_ && WindowOfStop(focus_) != window_) {
      // The window itself took the focus from a control (as activation
      // does): give it back.
      ApplyFocus();
      return;
    }
  }
  if (now != focus_) {
    focus_ = now;
    ShowFocusCues();
  }
}

void SettingsDialog::ShowFocusCues() {
  const bool show = keyboardUsed_ || SystemShowsKeyboardCues();
  const bool dialogHasFocus = GetFocus() == window_;
  pictureGroup_->ShowFocus(show && dialogHasFocus && focus_ == Stop::PictureOptions);
  monitorsGroup_->ShowFocus(show && dialogHasFocus && focus_ == Stop::MonitorOptions);
  musicGroup_->ShowFocus(show && dialogHasFocus && focus_ == Stop::MusicOptions);
  for (button::Command* button :
       {&pictureGroup_->chooseButton(), &musicGroup_->chooseButton(), &saveButton_, &cancelButton_})
    button->ShowFocusCue(show);
  AnnounceFocus();
}

}  // namespace ventalune::dialog
