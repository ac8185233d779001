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

// The music options from top to bottom: audio CD, none, sound file (the
// kinds 1, 0, 2), the order the arrows walk.
constexpr std::array<int, 3> kMusicOptionOrder{1, 0, 2};

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
  const bool listOpen = repeatBox_ && SendMessageW(repeatBox_, CB_GETDROPPEDSTATE, 0, 0);
  const KeyAction action = RouteKey(key, GetKeyState(VK_SHIFT) < 0, focus_, listOpen);
  if (action == KeyAction::PassOn) return false;
  keyboardUsed_ = true;
  DoKeyAction(action);
  if (window_) ShowFocusCues();
  return true;
}

void SettingsDialog::DoKeyAction(KeyAction action) {
  switch (action) {
    case KeyAction::FocusNext:
    case KeyAction::FocusPrevious:
      FocusStop(NextStop(focus_, action == KeyAction::FocusPrevious, EnabledStops()));
      break;
    case KeyAction::SelectPrevious: StepSelection(-1); break;
    case KeyAction::SelectNext: StepSelection(1); break;
    case KeyAction::SelectFocused: StepSelection(0); break;
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

int SettingsDialog::SelectedPictureOption() const {
  return settings_.PictureKind == 0 || settings_.PictureKind == 1 ? settings_.PictureKind : -1;
}

int SettingsDialog::SelectedMusicOption() const {
  for (size_t i = 0; i < kMusicOptionOrder.size(); ++i)
    if (kMusicOptionOrder[i] == static_cast<int>(settings_.BgmKind)) return static_cast<int>(i);
  return -1;
}

void SettingsDialog::StepSelection(int step) {
  // Step 0 selects the option with the focus: the selected one, or the
  // first while none is.
  if (focus_ == Stop::PictureOptions) {
    const int current = SelectedPictureOption();
    SelectPictureKind(step == 0 && current >= 0 ? current : StepOption(current, 2, step), false);
  } else if (focus_ == Stop::MusicOptions) {
    const int current = SelectedMusicOption();
    const int next = step == 0 && current >= 0 ? current : StepOption(current, 3, step);
    SelectBgmKind(kMusicOptionOrder[static_cast<size_t>(next)]);
  }
}

StopsEnabled SettingsDialog::EnabledStops() const {
  const auto on = [](HWND window) { return window && IsWindowEnabled(window); };
  return {true,
          on(choosePictureButton_.window()),
          true,
          on(repeatBox_),
          on(chooseSoundButton_.window()),
          on(saveButton_.window()),
          on(cancelButton_.window())};
}

HWND SettingsDialog::WindowOfStop(Stop stop) const {
  switch (stop) {
    case Stop::ChoosePicture: return choosePictureButton_.window();
    case Stop::RepeatBox: return repeatBox_;
    case Stop::ChooseSound: return chooseSoundButton_.window();
    case Stop::Save: return saveButton_.window();
    case Stop::Cancel: return cancelButton_.window();
    // The option groups have no windows: the dialog holds their focus.
    case Stop::PictureOptions:
    case Stop::MusicOptions: break;
  }
  return window_;
}

button::Command* SettingsDialog::ButtonOfStop(Stop stop) {
  switch (stop) {
    case Stop::ChoosePicture: return &choosePictureButton_;
    case Stop::ChooseSound: return &chooseSoundButton_;
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
  if (repeatBox_ && (focused == repeatBox_ || IsChild(repeatBox_, focused))) {
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
  const auto around = [](toolkit::FocusFrame* frame, const toolkit::Label* caption, bool shown) {
    if (!frame) return;
    if (shown && caption) {
      const RECT& r = caption->bounds();
      frame->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    if (frame->visible() != shown) frame->SetVisible(shown);
  };
  const int picture = SelectedPictureOption();
  around(pictureFocus_, pictureCaptions_[static_cast<size_t>(picture < 0 ? 0 : picture)],
         show && dialogHasFocus && focus_ == Stop::PictureOptions);
  const int music = SelectedMusicOption();
  around(musicFocus_, musicCaptions_[static_cast<size_t>(kMusicOptionOrder[static_cast<size_t>(music < 0 ? 0 : music)])],
         show && dialogHasFocus && focus_ == Stop::MusicOptions);
  for (button::Command* button : {&choosePictureButton_, &chooseSoundButton_, &saveButton_, &cancelButton_})
    button->ShowFocusCue(show);
  AnnounceFocus();
}

}  // namespace ventalune::dialog
