#pragma once
// Saving the settings: the five writes of a save, in the form the settings
// file has always had, so files written by any version read alike.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "saver/settings/settings_store.h"

namespace ventalune::settings {

// A number as the settings file gets it: a blank before 0 and positive
// values (" 0", " 7"), a minus sign before negative ones.
std::string NumberText(int16_t value);

// The five writes of a save, in order: key and value. The choosers' start
// folders are never written.
std::array<std::pair<std::string, std::string>, 5> SettingsWrites(const Settings& choices);

// Writes the five keys to the settings file `iniFile`, in order, stopping at
// the first that cannot be written: true when all five were.
bool SaveSettings(const Settings& choices, ProfilePort& profile, std::wstring_view iniFile);

}  // namespace ventalune::settings
