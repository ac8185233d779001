#pragma once
// Where the settings live: the file name beside the program, its one section
// and the six key names.
namespace ventalune::settings {

inline constexpr char kSettingsFileName[] = "\\Ventalune.ini";
inline constexpr char kSettingsSection[] = "Section";

// The key names are Japanese, and settings files written by the dialog on
// Japanese systems hold them in Shift-JIS. The profile functions pass key
// bytes through unchanged whatever the system's code page is, so keeping the
// names as those exact bytes (rather than as source text, which the compiler
// would encode as UTF-8) lets every system read and write the same file.
inline constexpr char kKeyPictureKind[] = "\x89\xE6\x91\x9C";                  // 画像
inline constexpr char kKeyPictureFile[] = "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9";  // 画像ﾌｧｲﾙ
inline constexpr char kKeyBgmKind[] = "BGM\x8B\xE6\x95\xAA";                   // BGM区分
inline constexpr char kKeyBgmRepeatTrack[] = "BGM\xD8\xCB\xDF\xB0\xC4";        // BGMﾘﾋﾟｰﾄ
inline constexpr char kKeyBgmFile[] = "BGM\xCC\xA7\xB2\xD9";                   // BGMﾌｧｲﾙ
inline constexpr char kKeyMonitors[] = "\xD3\xC6\xC0";                         // ﾓﾆﾀ

}  // namespace ventalune::settings
