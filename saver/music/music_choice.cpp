#include "saver/music/music_choice.h"

#include <cctype>
#include <string>

namespace ventalune::music {

MusicSource ChooseMusic(settings::MusicKind kind, std::string_view bgmFile, settings::LeadByteRule isLead) {
  if (kind == settings::MusicKind::kAudioCd) return MusicSource::kAudioCd;
  if (kind != settings::MusicKind::kSoundFile) return MusicSource::kNone;
  // An ending with a two-byte character in it is longer than three bytes and
  // matches neither; its trail bytes are never upper-cased into letters.
  std::string ending(settings::LastCharacters(bgmFile, 3, isLead));
  for (char& c : ending) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (ending == "WAV") return MusicSource::kWav;
  if (ending == "MP3") return MusicSource::kMp3;
  return MusicSource::kNone;
}

}  // namespace ventalune::music
