// The settings dialog as a screen reader hears it: every control with the
// text a person sees, the role it plays and its state, in reading order.
#include <windows.h>
#include <oleacc.h>

#include "common/wide_text.h"
#include "saver/dialog/settings_dialog_window.h"

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

std::vector<toolkit::AccessibleControl> SettingsDialog::AccessibleControls() {
  std::vector<toolkit::AccessibleControl> controls;
  const PictureGroup& pictureGroup = *pictureGroup_;
  const MusicGroup& musicGroup = *musicGroup_;
  const auto text = [&](const toolkit::Label* label, HWND panel) {
    toolkit::AccessibleControl control;
    control.name = Wide(label->text());
    control.role = ROLE_SYSTEM_STATICTEXT;
    control.focusable = false;
    control.screen = OnScreen(panel, label->bounds());
    controls.push_back(control);
  };
  const auto option = [&](const toolkit::ImageElement* mark, const toolkit::Label* caption, HWND panel, bool checked,
                          Stop group) {
    toolkit::AccessibleControl control;
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
  const auto button = [&](const button::Command& command, Stop stop) {
    toolkit::AccessibleControl control;
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
    toolkit::AccessibleControl control;
    control.name = full;
    control.value = full;
    control.role = ROLE_SYSTEM_TEXT;
    control.readOnly = true;
    control.focusable = false;
    control.screen = OnScreen(panel, label->bounds());
    controls.push_back(control);
  };

  const HWND pictures = pictureGroup_->frame().window();
  text(&pictureGroup.title(), pictures);
  for (size_t i = 0; i < 2; ++i)
    option(&pictureGroup.mark(i), &pictureGroup.caption(i), pictures, settings_.PictureKind == static_cast<int>(i),
           Stop::PictureOptions);
  button(pictureGroup.chooseButton(), Stop::ChoosePicture);
  path(&pictureGroup.pathBox(), pictures, pictureGroup.fullPath());

  const MonitorsGroup& monitorsGroup = *monitorsGroup_;
  const HWND monitors = monitorsGroup_->frame().window();
  text(&monitorsGroup.title(), monitors);
  // As shown: a number the group does not know reads as "every monitor".
  for (size_t i = 0; i < 2; ++i)
    option(&monitorsGroup.mark(i), &monitorsGroup.caption(i), monitors,
           monitorsGroup.SelectedOption() == static_cast<int>(i), Stop::MonitorOptions);

  using settings::MusicKind;
  const HWND music = musicGroup_->frame().window();
  text(&musicGroup.title(), music);
  // Top to bottom: audio CD with its repeat box, none, sound file.
  const auto musicOption = [&](MusicKind kind) {
    const size_t index = static_cast<size_t>(kind);
    option(&musicGroup.mark(index), &musicGroup.caption(index), music, settings_.BgmKind == kind, Stop::MusicOptions);
  };
  musicOption(MusicKind::kAudioCd);
  const HWND repeatBox = musicGroup.repeatBox();
  toolkit::AccessibleControl repeat;
  repeat.name = Wide(musicGroup.repeatCaption().text());
  repeat.role = ROLE_SYSTEM_COMBOBOX;
  repeat.value = Wide(musicGroup.RepeatText());
  repeat.enabled = repeatBox && IsWindowEnabled(repeatBox);
  repeat.focused =
      focus_ == Stop::RepeatBox && repeatBox && (GetFocus() == repeatBox || IsChild(repeatBox, GetFocus()));
  repeat.screen = WindowOnScreen(repeatBox);
  controls.push_back(repeat);
  musicOption(MusicKind::kNone);
  musicOption(MusicKind::kSoundFile);
  button(musicGroup.chooseButton(), Stop::ChooseSound);
  path(&musicGroup.pathBox(), music, musicGroup.fullPath());

  toolkit::AccessibleControl banner;
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
  const std::vector<toolkit::AccessibleControl> controls = AccessibleControls();
  for (size_t i = 0; i < controls.size(); ++i) {
    if (!controls[i].focused) continue;
    if (i != announcedFocus_) toolkit::NotifyFocus(window_, i);
    announcedFocus_ = i;
    return;
  }
}

void SettingsDialog::AnnounceChecked(std::initializer_list<size_t> options) {
  for (size_t option : options) toolkit::NotifyStateChange(window_, option);
}

void SettingsDialog::RunDefaultAction(size_t index) {
  const auto press = [](button::Command& command) {
    if (command.window() && IsWindowEnabled(command.window()) && command.Click) command.Click();
  };
  switch (index) {
    case kDesktopOption: FocusStop(Stop::PictureOptions); pictureGroup_->Select(0, false); break;
    case kPictureFileOption: FocusStop(Stop::PictureOptions); pictureGroup_->Select(1, false); break;
    case kChoosePicture: press(pictureGroup_->chooseButton()); break;
    case kEveryMonitorOption: FocusStop(Stop::MonitorOptions); monitorsGroup_->Select(0); break;
    case kMainMonitorOption: FocusStop(Stop::MonitorOptions); monitorsGroup_->Select(1); break;
    case kAudioCdOption: FocusStop(Stop::MusicOptions); musicGroup_->Select(1); break;
    case kNoMusicOption: FocusStop(Stop::MusicOptions); musicGroup_->Select(0); break;
    case kSoundFileOption: FocusStop(Stop::MusicOptions); musicGroup_->Select(2); break;
    case kChooseSound: press(musicGroup_->chooseButton()); break;
    case kBanner: OpenHomepage(); break;
    case kSave: press(saveButton_); break;
    case kCancel: press(cancelButton_); break;
    default: break;
  }
}

}  // namespace ventalune::dialog
