#include "saver/settings/settings_store.h"

#include "common/wide_text.h"
#include "saver/settings/setting_number.h"
#include "saver/settings/settings_keys.h"

namespace ventalune::settings {
namespace {

// The platform reads names up to their first NUL; so does everything here.
template <class Char>
std::basic_string<Char> UpToNul(std::basic_string_view<Char> text) {
  return std::basic_string<Char>(text.substr(0, text.find(Char{0})));
}
std::string UpToNul(std::string_view text) { return UpToNul<char>(text); }
std::wstring UpToNul(std::wstring_view text) { return UpToNul<wchar_t>(text); }

// A number key: empty gives 0, unreadable text keeps what was there.
template <class Field>
void LoadNumber(Field& field, ProfilePort& profile, const char* key, const std::wstring& iniPath) {
  const std::string text = ReadIniValue(profile, kSettingsSection, key, iniPath);
  if (text.empty()) {
    field = Field{0};
    return;
  }
  if (const auto number = ReadSettingNumber(text)) field = static_cast<Field>(*number);
}

// A path key: the path is kept when it names a readable file or `missing`
// keeps it regardless; without one, the kind that needs a file falls back to
// 0. True when the path was kept.
template <class Kind>
bool LoadPath(std::string& field, Kind& kind, Kind kindNeedingFile, ProfilePort& profile, FilePort& files,
              LeadByteRule isLead, MissingFiles missing, const char* key, const std::wstring& iniPath) {
  field = ReadIniValue(profile, kSettingsSection, key, iniPath);
  if (!field.empty() && (missing == MissingFiles::Keep || FileExists(files, field, isLead))) return true;
  field.clear();
  if (kind == kindNeedingFile) kind = Kind{0};
  return false;
}

}  // namespace

std::wstring IniPath(std::wstring_view programFolder) {
  return std::wstring(programFolder) + WideAscii(kSettingsFileName).data();
}

std::string ReadIniValue(ProfilePort& profile, std::string_view section, std::string_view key, std::wstring_view path) {
  const std::string buffer = profile.ReadString(UpToNul(section), UpToNul(key), UpToNul(path), kIniValueCapacity);
  // However the platform filled the buffer, the last byte stays a NUL.
  return UpToNul(std::string_view(buffer).substr(0, kIniValueCapacity - 1));
}

bool WriteIniValue(ProfilePort& profile, std::string_view section, std::string_view key, std::string_view value,
                   std::wstring_view path) {
  return profile.WriteString(UpToNul(section.substr(0, kIniNameField)), UpToNul(key.substr(0, kIniNameField)),
                      UpToNul(value), UpToNul(path));
}

bool FileExists(FilePort& files, std::string_view path, LeadByteRule isLead) {
  if (EndsWithCharacter(path, '\\', isLead)) path.remove_suffix(1);
  // A NUL would make the platform look at a shorter, different path.
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  return files.CanOpenForReading(std::string(path));
}

bool FileExists(FilePort& files, std::wstring_view path) {
  if (path.ends_with(L'\\')) path.remove_suffix(1);
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return false;
  return files.CanOpenForReading(std::wstring(path));
}

std::string FolderOf(std::string_view path, LeadByteRule isLead) {
  const size_t separator = FindLastCharacterOf(path, ":\\", isLead);
  if (separator == std::string_view::npos) return {};
  std::string_view folder = path.substr(0, separator + 1);
  // The separator found is a character of its own, never a trail byte.
  if (folder.back() == '\\') folder.remove_suffix(1);
  return std::string(folder);
}

std::string ChooserFolder(std::string_view file, bool fileInUse, std::string_view programFolder,
                          LeadByteRule isLead) {
  return fileInUse && !file.empty() ? FolderOf(file, isLead) : std::string(programFolder);
}

bool LoadSettings(Settings& settings, ProfilePort& profile, FilePort& files, std::string_view programFolder,
                  std::wstring_view iniFile, LeadByteRule isLead, MissingFiles missing) {
  // The profile port takes whole strings; make the one copy here.
  const std::wstring iniPath(iniFile);
  if (!profile.CanRead(iniPath)) return false;

  LoadNumber(settings.PictureKind, profile, kKeyPictureKind, iniPath);
  const bool pictureKept = LoadPath(settings.PictureFile, settings.PictureKind, kPictureFile, profile, files, isLead,
                                    missing, kKeyPictureFile, iniPath);
  settings.PictureFolder = ChooserFolder(settings.PictureFile, pictureKept, programFolder, isLead);

  LoadNumber(settings.BgmKind, profile, kKeyBgmKind, iniPath);
  LoadNumber(settings.BgmRepeatTrack, profile, kKeyBgmRepeatTrack, iniPath);
  const bool soundKept = LoadPath(settings.BgmFile, settings.BgmKind, MusicKind::kSoundFile, profile, files, isLead,
                                  missing, kKeyBgmFile, iniPath);
  settings.BgmFolder = ChooserFolder(settings.BgmFile, soundKept, programFolder, isLead);

  // Files saved before there was a choice of monitors have no key, which
  // reads as 0: every monitor.
  LoadNumber(settings.Monitors, profile, kKeyMonitors, iniPath);
  return true;
}

}  // namespace ventalune::settings
