#pragma once
// Saving the settings: the six writes of a save, in the form the settings
// file has always had, so files written by any version read alike.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "saver/settings/settings_store.h"

namespace ventalune::settings {

// A number as the settings file gets it: a blank before 0 and positive
// values (" 0", " 7"), a minus sign before negative ones.
std::string NumberText(int16_t value);

// The six writes of a save, in order: key and value. The choosers' start
// folders are never written.
std::array<std::pair<std::string, std::string>, 6> SettingsWrites(const Settings& choices);

// Saving a file whole. Written in place, key by key, a file that fails or is
// killed part way holds old and new values mixed, or is cut short; so the
// writes go to a copy beside the file, which takes the file's place in one
// step once every write is in.
class FileReplacement {
 public:
  virtual ~FileReplacement() = default;
  // A copy of the file at `path` beside it, for the writes (nothing there
  // where the file does not exist yet, so the writes create it as they would
  // the file); nothing when no copy could be made.
  virtual std::optional<std::wstring> CopyBeside(const std::wstring& path) = 0;
  // Puts the written copy in the file's place in one step, on the disk
  // before it returns; false, with the file as it was, when it could not.
  virtual bool PutInPlace(const std::wstring& copy, const std::wstring& path) = 0;
  // Removes a copy that will not take the file's place.
  virtual void Discard(const std::wstring& copy) = 0;
};

// Writes the six keys, in order, into a copy of the settings file `iniFile`
// and puts the copy in the file's place: true when all six are saved. When
// any step fails the file is left exactly as it was.
bool SaveSettings(const Settings& choices, ProfilePort& profile, FileReplacement& replacement,
                  std::wstring_view iniFile);

}  // namespace ventalune::settings
