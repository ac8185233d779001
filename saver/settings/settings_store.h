#pragma once
// The user's six choices, kept in "Ventalune.ini" beside the program (or in
// the user's own copy, see settings_location.h): the record, the primitives
// that read and write one key, and the loader that repairs choices which can
// no longer be honoured.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "saver/settings/path_text.h"

namespace ventalune::settings {

// The platform's profile (INI) functions.
class ProfilePort {
 public:
  virtual ~ProfilePort() = default;
  // What the platform leaves in a reply buffer of `capacity` bytes for this
  // key: the value, or the empty default when the key or the file is
  // missing. The caller takes the text up to the first NUL. Section, key and
  // value are the file's bytes in the system code page; the file's path is
  // the system's UTF-16.
  virtual std::string ReadString(const std::string& section, const std::string& key, const std::wstring& path,
                                 std::size_t capacity) = 0;
  // Creates the file, section or key as needed; false when it could not.
  virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                           const std::wstring& path) = 0;
  // Whether what the file holds can be read now. The profile functions read
  // a file they cannot open as empty, which a later save would then write
  // over the user's choices: a file another program holds without sharing,
  // or one this user may not read, is refused. A missing file holds nothing
  // and is no refusal.
  virtual bool CanRead(const std::wstring& path) = 0;
};

// Whether a path names something the program can open as a file for reading.
// `path` is never empty and holds no NUL.
class FilePort {
 public:
  virtual ~FilePort() = default;
  // A path the user chose, as the settings file holds it (system code page).
  virtual bool CanOpenForReading(const std::string& path) = 0;
  // A path the system named (the program's folder, application data).
  virtual bool CanOpenForReading(const std::wstring& path) = 0;
};

// What the scene shows, as the settings file numbers it.
inline constexpr int16_t kPictureDesktop = 0;
inline constexpr int16_t kPictureFile = 1;

// The music a run plays, as the settings file numbers it. A file edited by
// hand may hold any other number: that plays nothing, selects no option in
// the dialog and is saved again as it was.
enum class MusicKind : int16_t { kNone = 0, kAudioCd = 1, kSoundFile = 2 };

// Which monitors a run shows the room on, as the settings file numbers it:
// every monitor (also for a file that names none), or the main monitor only,
// with the others dark. A file edited by hand may hold any other number: a
// run shows the room on every monitor, the dialog selects "every monitor",
// and the number is saved again as it was unless the user picks an option.
inline constexpr int16_t kMonitorsEvery = 0;
inline constexpr int16_t kMonitorsMainOnly = 1;

struct Settings {
  int16_t PictureKind = kPictureDesktop;
  std::string PictureFile;
  // Where the dialog's picture chooser starts; never stored in the file.
  std::string PictureFolder;
  MusicKind BgmKind = MusicKind::kNone;
  // 0: the whole disc, again and again; n: keep repeating CD track n.
  int16_t BgmRepeatTrack = 0;
  std::string BgmFile;
  // Where the dialog's sound chooser starts; never stored in the file.
  std::string BgmFolder;
  int16_t Monitors = kMonitorsEvery;
};

// The reply buffer of a read: a value is at most 255 bytes.
inline constexpr std::size_t kIniValueCapacity = 256;
// Only this many bytes of a section or key name take effect on a write.
inline constexpr std::size_t kIniNameField = 128;

// The settings file of a program folder (given without a trailing backslash).
std::wstring IniPath(std::wstring_view programFolder);

// The value of one key, at most 255 bytes; empty when the key or file is missing.
std::string ReadIniValue(ProfilePort& profile, std::string_view section, std::string_view key, std::wstring_view path);

// Writes one key, creating the file or section as needed; false when the
// platform could not.
bool WriteIniValue(ProfilePort& profile, std::string_view section, std::string_view key, std::string_view value,
                   std::wstring_view path);

// True when the path (one trailing backslash ignored) can be opened as a file
// for reading: false for an empty path, a folder or a missing file. The path
// is read by characters of the code page `isLead` describes.
bool FileExists(FilePort& files, std::string_view path, LeadByteRule isLead);
// The same for a path the system named.
bool FileExists(FilePort& files, std::wstring_view path);

// The folder part of a path, without a trailing backslash:
// C:\Music\a.mp3 → C:\Music, C:\a.mp3 → C:, a.mp3 → empty. Read by
// characters of the code page `isLead` describes.
std::string FolderOf(std::string_view path, LeadByteRule isLead);

// Where a file chooser starts: the folder of its file while that file is in
// use, the program's folder otherwise (empty where the code page cannot
// spell it: the chooser then starts there by the system's own name).
std::string ChooserFolder(std::string_view file, bool fileInUse, std::string_view programFolder,
                          LeadByteRule isLead);

// What loading does with a stored picture or sound path whose file cannot
// be opened now.
enum class MissingFiles {
  // The path is dropped and the kind that needs it falls back to 0: the
  // saver run cannot show or play what is not there.
  Drop,
  // The path and the kind stay as stored, and the file is not asked about:
  // the settings dialog must not erase, when it saves, a choice whose file
  // is only away for now (on a drive unplugged, say).
  Keep,
};

// Fills `settings` from the settings file `iniFile`: false, with `settings`
// untouched, when the file is there but refuses reading. A number that cannot be
// read keeps the value `settings` had; a picture or sound path that no longer
// names a readable file is dropped or kept as `missing` says. An empty path
// is no choice to keep: the kind that needs it falls back to 0 either way.
// The choosers start in the folder of a path kept, in `programFolder` when
// there is none. Paths are in the code page `isLead` describes.
bool LoadSettings(Settings& settings, ProfilePort& profile, FilePort& files, std::string_view programFolder,
                  std::wstring_view iniFile, LeadByteRule isLead, MissingFiles missing = MissingFiles::Drop);

}  // namespace ventalune::settings
