#include "saver/music/music_player.h"

#include <charconv>
#include <optional>

#include "saver/music/music_texts.h"

namespace ventalune::music {
namespace {

std::string UpToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

// A command whose reply (if any) is not used.
void SendDirect(MciPort& mci, const std::string& command) { mci.Send(command, 0); }

// The first characters of a mode reply, as the device left it in a buffer.
std::string ModeOf(MciPort& mci, const char* command, std::size_t capacity) {
  return UpToNul(mci.Send(command, capacity).reply).substr(0, kModeLength);
}

// Failed queries answer "Error:<code>"; the watch looks for that in any case.
bool ReportsError(std::string_view reply) {
  std::string upper(reply);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper.find("ERR") != std::string::npos;
}

// A track number reply: decimal digits and nothing else.
std::optional<int32_t> TrackNumber(std::string_view reply) {
  int32_t number = 0;
  const char* const end = reply.data() + reply.size();
  const auto [stop, error] = std::from_chars(reply.data(), end, number);
  if (reply.empty() || error != std::errc() || stop != end) return std::nullopt;
  return number;
}

void EndCdWatch(MusicState& state) { state.CdPolling = false; }

}  // namespace

int32_t SendMci(MciPort& mci, std::string_view command, std::string& replyTarget) {
  if (command.empty()) {
    replyTarget = kNoCommandText;
    return -1;
  }
  const MciAnswer answer = mci.Send(std::string(command), kReplyCapacity);
  if (answer.code != 0) {
    const std::optional<std::string> text = mci.ErrorText(answer.code, kErrorTextCapacity);
    replyTarget = text ? UpToNul(*text) : std::string(kNoErrorText);
    return static_cast<int32_t>(answer.code);
  }
  replyTarget = UpToNul(answer.reply);
  return 0;
}

std::string QueryMci(MciPort& mci, MusicState& state, std::string_view command) {
  const int32_t code = SendMci(mci, command, state.MciReply);
  if (code != 0) return kQueryErrorPrefix + std::to_string(code);
  return state.MciReply;
}

int32_t PlayMci(MciPort& mci, MusicState& state, std::string_view device, std::string_view from, std::string_view to) {
  std::string command = "play ";
  command += device;
  if (!from.empty()) (command += " from ") += from;
  if (!to.empty()) (command += " to ") += to;
  return SendMci(mci, command, state.MciReply);
}

void CdOpen(MciPort& mci) {
  SendDirect(mci, kCdOpen);
  SendDirect(mci, kCdTimeFormat);
}

void CdPoll(MciPort& mci, MusicState& state, int16_t repeatTrack) {
  state.CdPolling = true;

  // No drive or no disc: the first query already fails.
  const std::string track = QueryMci(mci, state, kCdCurrentTrack);
  if (ReportsError(track)) return EndCdWatch(state);
  if (ReportsError(QueryMci(mci, state, kCdTrackCount))) return EndCdWatch(state);

  const bool stopped = ModeOf(mci, kCdMode, kCdModeCapacity) == kModeStopped;

  if (repeatTrack == 0) {
    if (stopped) PlayMci(mci, state, kCdDevice, "", "");
    return;
  }

  const std::optional<int32_t> current = TrackNumber(track);
  if (!current) return EndCdWatch(state);
  if (!stopped && *current == repeatTrack) return;

  // A track the disc does not have has no position. Playing from the error
  // text would fail on every poll for the rest of the run; the CD cannot give
  // what was asked for, so the watch ends as it does without a disc.
  const std::string position = QueryMci(mci, state, kCdTrackPosition + std::to_string(repeatTrack));
  if (ReportsError(position)) return EndCdWatch(state);
  PlayMci(mci, state, kCdDevice, position, "");
}

void CdClose(MciPort& mci) {
  SendDirect(mci, kCdStop);
  SendDirect(mci, kCdClose);
}

void Mp3Start(MciPort& mci, std::string_view bgmFile) {
  // A quote would end the quoted path early and let the rest of the path be
  // read as MCI keywords; a NUL would cut the command short.
  if (bgmFile.find_first_of(std::string_view("\"\0", 2)) != std::string_view::npos) return;
  const std::string open = kMp3OpenBefore + std::string(bgmFile) + kMp3OpenAfter;
  if (mci.Send(open, 0).code == 0) SendDirect(mci, kMp3Play);
}

bool Mp3IsPlaying(MciPort& mci) { return ModeOf(mci, kMp3Mode, kMp3ModeCapacity) == kModePlaying; }

void Mp3Poll(MciPort& mci) {
  if (Mp3IsPlaying(mci)) return;
  SendDirect(mci, kMp3Stop);
  SendDirect(mci, kMp3Rewind);
}

void Mp3Stop(MciPort& mci) {
  SendDirect(mci, kMp3Stop);
  SendDirect(mci, kMp3Close);
}

void WavStart(SoundPort& sound, std::string_view bgmFile) {
  if (sound.WaveOutDeviceCount() <= 0) return;
  // Without a file-name flag the platform tries the name as a sound alias
  // first, then as a file.
  sound.Play(std::string(bgmFile), kSoundAsync | kSoundNoDefault | kSoundLoop);
}

void WavStop(SoundPort& sound) { sound.Play(std::nullopt, 0); }

}  // namespace ventalune::music
