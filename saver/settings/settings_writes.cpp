#include "saver/settings/settings_writes.h"

#include "saver/settings/settings_keys.h"

namespace ventalune::settings {

std::string NumberText(int16_t value) {
  std::string text(value < 0 ? "" : " ");
  text += std::to_string(value);
  return text;
}

std::array<std::pair<std::string, std::string>, 5> SettingsWrites(const Settings& choices) {
  return {{{kKeyPictureKind, NumberText(choices.PictureKind)},
           {kKeyPictureFile, choices.PictureFile},
           {kKeyBgmKind, NumberText(static_cast<int16_t>(choices.BgmKind))},
           {kKeyBgmRepeatTrack, NumberText(choices.BgmRepeatTrack)},
           {kKeyBgmFile, choices.BgmFile}}};
}

bool SaveSettings(const Settings& choices, ProfilePort& profile, std::wstring_view iniFile) {
  for (const auto& [key, value] : SettingsWrites(choices))
    if (!WriteIniValue(profile, kSettingsSection, key, value, iniFile)) return false;
  return true;
}

}  // namespace ventalune::settings
