#include "saver/settings/settings_writes.h"

#include "saver/settings/settings_keys.h"

namespace ventalune::settings {

std::string NumberText(int16_t value) {
  std::string text(value < 0 ? "" : " ");
  text += std::to_string(value);
  return text;
}

std::array<std::pair<std::string, std::string>, 6> SettingsWrites(const Settings& choices) {
  return {{{kKeyPictureKind, NumberText(choices.PictureKind)},
           {kKeyPictureFile, choices.PictureFile},
           {kKeyBgmKind, NumberText(static_cast<int16_t>(choices.BgmKind))},
           {kKeyBgmRepeatTrack, NumberText(choices.BgmRepeatTrack)},
           {kKeyBgmFile, choices.BgmFile},
           {kKeyMonitors, NumberText(choices.Monitors)}}};
}

bool SaveSettings(const Settings& choices, ProfilePort& profile, FileReplacement& replacement,
                  std::wstring_view iniFile) {
  const std::wstring path(iniFile);
  const std::optional<std::wstring> copy = replacement.CopyBeside(path);
  if (!copy) return false;
  for (const auto& [key, value] : SettingsWrites(choices)) {
    if (!WriteIniValue(profile, kSettingsSection, key, value, *copy)) {
      replacement.Discard(*copy);
      return false;
    }
  }
  if (replacement.PutInPlace(*copy, path)) return true;
  replacement.Discard(*copy);
  return false;
}

}  // namespace ventalune::settings
