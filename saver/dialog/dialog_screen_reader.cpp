// The settings dialog as a screen reader hears it: every control with the
// text a person sees, the role it plays and its state, in reading order.
#include <windows.h>
#include <oleacc.h>

#include "saver/dialog/settings_dialog_window.h"
#include "common/wide_text.h"

namespace ventalune::dialog {
namespace {

// A rectangle of a window's client area on the screen.
RECT OnScreen(HWND window, RECT area) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

RECT WindowOnScreen(HWND window) {
  RECT area{};
  if (window) GetWindowRect(window, &area);
  return area;
}

std::wstring Wide(const std::string& utf8) { return WideFromUtf8(utf8); }

}  // namespace

std::vector<AccessibleControl> SettingsDialog::AccessibleControls() {
  std::vector<AccessibleControl> controls;
  const auto text = [&](const toolkit::Label* label, HWND panel) {
    AccessibleControl control;
    control.name = Wide(label->text());
    control.role = ROLE_SYSTEM_STATICTEXT;
    control.focusable = false;
    control.screen = OnScreen(panel, label->bounds());
    controls.push_back(control);
  };
  const auto option = [&](const toolkit::ImageElement* mark, const toolkit::Label* caption, HWND panel, bool checked,
                          Stop group) {
    AccessibleControl control;
    control.name = Wide(caption->text());
    control.role = ROLE_SYSTEM_RADIOBUTTON;
    control.defaultAction = L"Check";
    control.checked = checked;
    control.focused = checked && focus_ == group && GetFocus() == window_;
    RECT area{};
    UnionRect(&area, &mark->bounds(), &caption->bounds());
    control.screen = OnScreen(panel, area);
    controls.push_back(control);
  };
  const auto button = [&](button::Command& command, Stop stop) {
    AccessibleControl control;
    control.name = Wide(command.Caption());
    control.role = ROLE_SYSTEM_PUSHBUTTON;
    control.defaultAction = L"Press";
    control.enabled = command.window() && IsWindowEnabled(command.window());
    control.focused = focus_ == stop && GetFocus() == command.window();
    control.screen = WindowOnScreen(command.window());
    controls.push_back(control);
  };
  // The path boxes read as read-only text holding the whole path, even
  // when the box shows it shortened.
  const auto path = [&](const toolkit::Label* label, HWND panel, const std::wstring& full) {
    AccessibleControl control;
    control.name = full;
    control.value = full;
    control.role = ROLE_SYSTEM_TEXT;
    control.readOnly = true;
    control.focusable = false;
    control.screen = OnScreen(panel, label->bounds());
    controls.push_back(control);
  };

  const HWND pictures = pictureFrame_.window();
  text(pictureTitle_, pictures);
  for (size_t i = 0; i < pictureMarks_.size(); ++i)
    option(pictureMarks_[i], pictureCaptions_[i], pictures, settings_.PictureKind == static_cast<int>(i),
           Stop::PictureOptions);
  button(choosePictureButton_, Stop::ChoosePicture);
  path(pictureShown_, pictures, pathTipTexts_[0]);

  const HWND music = musicFrame_.window();
  text(musicTitle_, music);
  // Top to bottom: audio CD with its repeat box, none, sound file.
  option(musicMarks_[1], musicCaptions_[1], music, settings_.BgmKind == static_cast<settings::MusicKind>(1), Stop::MusicOptions);
  AccessibleControl repeat;
  repeat.name = Wide(repeatCaption_->text());
  repeat.role = ROLE_SYSTEM_COMBOBOX;
  repeat.value = Wide(RepeatText());
  repeat.enabled = repeatBox_ && IsWindowEnabled(repeatBox_);
  repeat.focused = focus_ == Stop::RepeatBox && repeatBox_ && (GetFocus() == repeatBox_ || IsChild(repeatBox_, GetFocus()));
  repeat.screen = WindowOnScreen(repeatBox_);
  controls.push_back(repeat);
  option(musicMarks_[0], musicCaptions_[0], music, settings_.BgmKind == static_cast<settings::MusicKind>(0), Stop::MusicOptions);
  option(musicMarks_[2], musicCaptions_[2], music, settings_.BgmKind == static_cast<settings::MusicKind>(2), Stop::MusicOptions);
  button(chooseSoundButton_, Stop::ChooseSound);
  path(soundShown_, music, pathTipTexts_[1]);

  AccessibleControl banner;
  banner.name = texts_.bannerName;
  banner.role = ROLE_SYSTEM_LINK;
  banner.defaultAction = L"Jump";
  banner.focusable = false;
  banner.screen = WindowOnScreen(banner_.window());
  controls.push_back(banner);
  text(credit_, basePanel_.window());
  button(saveButton_, Stop::Save);
  button(cancelButton_, Stop::Cancel);
  return controls;
}

void SettingsDialog::DoDefaultAction(size_t index) {
  // Later, from the message loop: an action may open a modal chooser, which
  // must not run inside the reader's call.
  if (window_) PostMessageW(window_, kDefaultActionMessage, index, 0);
}

void SettingsDialog::AnnounceFocus() {
  const std::vector<AccessibleControl> controls = AccessibleControls();
  for (size_t i = 0; i < controls.size(); ++i) {
    if (!controls[i].focused) continue;
    if (i != announcedFocus_) NotifyFocus(window_, i);
    announcedFocus_ = i;
    return;
  }
}

void SettingsDialog::AnnounceChecked(std::initializer_list<size_t> options) {
  for (size_t option : options) NotifyStateChange(window_, option);
}

void SettingsDialog::RunDefaultAction(size_t index) {
  const auto press = [](button::Command& command) {
    if (command.window() && IsWindowEnabled(command.window()) && command.Click) command.Click();
  };
  switch (index) {
    case kDesktopOption: FocusStop(Stop::PictureOptions); SelectPictureKind(0, false); break;
    case kPictureFileOption: FocusStop(Stop::PictureOptions); SelectPictureKind(1, false); break;
    case kChoosePicture: press(choosePictureButton_); break;
    case kAudioCdOption: FocusStop(Stop::MusicOptions); SelectBgmKind(1); break;
    case kNoMusicOption: FocusStop(Stop::MusicOptions); SelectBgmKind(0); break;
    case kSoundFileOption: FocusStop(Stop::MusicOptions); SelectBgmKind(2); break;
    case kChooseSound: press(chooseSoundButton_); break;
    case kBanner: OpenHomepage(); break;
    case kSave: press(saveButton_); break;
    case kCancel: press(cancelButton_); break;
    default: break;
  }
}

}  // namespace ventalune::dialog
