#pragma once
// The command strings the music player sends and the texts it leaves in
// MciReply. The texts are never shown; they are Shift-JIS, the ANSI code
// page the MCI error texts come in on the systems this saver was made for.
#include <cstddef>
#include <cstdint>

namespace ventalune::music {

// Audio CD, addressed by its device type name.
inline constexpr char kCdDevice[] = "cdaudio";
inline constexpr char kCdOpen[] = "open cdaudio";
inline constexpr char kCdTimeFormat[] = "set cdaudio time format tmsf";
inline constexpr char kCdStop[] = "stop cdaudio";
inline constexpr char kCdClose[] = "close cdaudio";
inline constexpr char kCdCurrentTrack[] = "status cdaudio current track";
inline constexpr char kCdTrackCount[] = "status cdaudio number of tracks";
inline constexpr char kCdMode[] = "status cdaudio mode";
inline constexpr char kCdTrackPosition[] = "status cdaudio position track ";

// MP3 file, opened under a fixed alias.
inline constexpr char kMp3OpenBefore[] = "open \"";
inline constexpr char kMp3OpenAfter[] = "\" type MPEGVideo Alias MP3Play";
inline constexpr char kMp3Play[] = "play MP3Play";
inline constexpr char kMp3Mode[] = "status MP3Play mode";
inline constexpr char kMp3Stop[] = "stop MP3Play";
inline constexpr char kMp3Rewind[] = "play MP3Play from 0";
inline constexpr char kMp3Close[] = "close MP3Play";

// Mode replies, compared on their first seven characters.
inline constexpr char kModeStopped[] = "stopped";
inline constexpr char kModePlaying[] = "playing";
inline constexpr std::size_t kModeLength = 7;

// コマンド文字列が指定されていません (no command string was given)
inline constexpr char kNoCommandText[] =
    "\x83\x52\x83\x7D\x83\x93\x83\x68\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\x77\x92\xE8\x82\xB3\x82\xEA\x82\xC4\x82\xA2"
    "\x82\xDC\x82\xB9\x82\xF1";
// Error (文字列が取れません) (the platform has no text for the code)
inline constexpr char kNoErrorText[] = "Error (\x95\xB6\x8E\x9A\x97\xF1\x82\xAA\x8E\xE6\x82\xEA\x82\xDC\x82\xB9\x82\xF1)";
// A failed query answers this followed by the code in decimal.
inline constexpr char kQueryErrorPrefix[] = "Error:";

// Buffer sizes of the platform calls, in bytes including the final NUL.
inline constexpr std::size_t kReplyCapacity = 512;
inline constexpr std::size_t kErrorTextCapacity = 256;
inline constexpr std::size_t kCdModeCapacity = 255;
inline constexpr std::size_t kMp3ModeCapacity = 30;

// PlaySound flags: play asynchronously, loop until stopped, and never fall
// back to the system's default sound: a file that cannot be played would
// otherwise ring the default sound over and over for the whole run.
inline constexpr uint32_t kSoundAsync = 0x0001;
inline constexpr uint32_t kSoundNoDefault = 0x0002;
inline constexpr uint32_t kSoundLoop = 0x0008;

}  // namespace ventalune::music
