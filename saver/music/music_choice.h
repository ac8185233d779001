#pragma once
// Which of the music player's ways a run's music takes: the kind the user
// chose, and for a sound file the ending of its name.
#include <string_view>

#include "saver/settings/path_text.h"
#include "saver/settings/settings_store.h"

namespace ventalune::music {

// The player that plays: the CD watch, the looping sound (WAV) or the MCI
// file player (MP3); or none.
enum class MusicSource { kNone, kAudioCd, kWav, kMp3 };

// The audio CD for its kind; for a sound file its last three characters (in
// the code page `isLead` describes), upper-cased, choose WAV or MP3;
// anything else plays nothing.
MusicSource ChooseMusic(settings::MusicKind kind, std::string_view bgmFile, settings::LeadByteRule isLead);

}  // namespace ventalune::music
