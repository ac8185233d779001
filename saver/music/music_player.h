#pragma once
// Background music for a saver run: an audio CD, an MP3 file or a WAV file.
// There is no window and no timer here: the saver run calls the start and
// stop operations and drives the two watches from its own timers, CdPoll
// every 200 ms and Mp3Poll every 1000 ms. The watches do the looping.
#include <cstdint>
#include <string>
#include <string_view>

#include "saver/music/music_ports.h"

namespace ventalune::music {

// What the saver run's timers need between calls. A new run starts from a
// value-initialised state.
struct MusicState {
  // Whether the CD watch goes on: set by every CdPoll, cleared when the CD
  // cannot be used. The run keeps its 200 ms timer only while this holds.
  bool CdPolling = false;
  // The reply of the last command sent through SendMci into it, or the text
  // of its failure. Never shown.
  std::string MciReply;
};

// Sends a command with a reply buffer; `replyTarget` gets the reply or the
// failure's text. Returns the platform's code (signed), or -1 for an empty
// command, which is not sent.
int32_t SendMci(MciPort& mci, std::string_view command, std::string& replyTarget);

// The reply to a status command, or "Error:" and the code when it fails.
std::string QueryMci(MciPort& mci, MusicState& state, std::string_view command);

// "play <device>[ from <from>][ to <to>]"; returns the code.
int32_t PlayMci(MciPort& mci, MusicState& state, std::string_view device, std::string_view from, std::string_view to);

void CdOpen(MciPort& mci);
// One look at the CD. With `repeatTrack` 0 the whole disc plays again once it
// has stopped; with n it plays from track n whenever the disc has stopped or
// is on another track. Ends the watch (CdPolling false) when there is no
// drive or disc, a reply is not what it should be, or track n does not exist.
void CdPoll(MciPort& mci, MusicState& state, int16_t repeatTrack);
void CdClose(MciPort& mci);

// Opens and plays the MP3 file. A path holding a double quote cannot be put
// inside the quoted command safely and is refused: nothing plays.
void Mp3Start(MciPort& mci, std::string_view bgmFile);
bool Mp3IsPlaying(MciPort& mci);
// Plays the file again from its start when it is no longer playing.
void Mp3Poll(MciPort& mci);
void Mp3Stop(MciPort& mci);

// Loops the WAV sound until WavStop; nothing without a wave output device.
void WavStart(SoundPort& sound, std::string_view bgmFile);
void WavStop(SoundPort& sound);

}  // namespace ventalune::music
