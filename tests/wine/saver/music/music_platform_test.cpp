// The music player on the real multimedia library. The tone tests play files
// that tests/wine/saver/music/hear_music.sh generates and names in the
// environment; the script records the sound server meanwhile and checks what
// was heard. Run alone, they are skipped.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "saver/music/music_player.h"
#include "saver/music/winmm_port.h"
#include "support/program_driver.h"

namespace ventalune::music {
namespace {

using namespace std::chrono_literals;

// Lets time pass the way the saver run's GUI thread does: handling messages.
void RunMessages(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(10);
  }
}

std::string ToneFile(const char* variable) {
  const char* path = std::getenv(variable);
  return path ? path : "";
}

// How long the tone tests keep quiet after stopping, for the recording to
// show that the sound ended with the stop and not with the program.
constexpr auto kQuietAfterStop = 2500ms;

TEST(CdOnThisPlatformTest, WatchWithoutDriveEndsAfterFirstPoll) {
  for (const int16_t repeatTrack : {int16_t{0}, int16_t{3}}) {
    WinmmMci mci;
    MusicState state;
    CdOpen(mci);
    CdPoll(mci, state, repeatTrack);
    EXPECT_FALSE(state.CdPolling) << "repeat track " << repeatTrack;
    EXPECT_FALSE(state.MciReply.empty());
    CdClose(mci);
  }
}

TEST(HeardToneTest, WavLoopsUntilStopped) {
  const std::string wav = ToneFile("VENTALUNE_TONE_WAV");
  if (wav.empty()) GTEST_SKIP() << "run by hear_music.sh, which records the sound";
  WinmmSound sound;
  ASSERT_GT(sound.WaveOutDeviceCount(), 0);

  // The file lasts one second; four seconds of tone show that it loops.
  WavStart(sound, wav);
  RunMessages(4000ms);
  WavStop(sound);
  RunMessages(kQuietAfterStop);
}

TEST(HeardToneTest, Mp3PlaysAgainAfterItEndsUntilStopped) {
  const std::string mp3 = ToneFile("VENTALUNE_TONE_MP3");
  if (mp3.empty()) GTEST_SKIP() << "run by hear_music.sh, which records the sound";
  WinmmMci mci;

  Mp3Start(mci, mp3);
  ASSERT_TRUE(wine_test::WaitFor([&] { return Mp3IsPlaying(mci); }, 5s)) << "the MP3 did not start";

  // The file lasts 1.5 seconds; the one-second watch must restart it.
  bool ended = false;
  bool playedAgain = false;
  for (int tick = 0; tick < 8; ++tick) {
    RunMessages(1000ms);
    const bool playing = Mp3IsPlaying(mci);
    if (!playing) ended = true;
    if (playing && ended) playedAgain = true;
    Mp3Poll(mci);
  }
  EXPECT_TRUE(ended);
  EXPECT_TRUE(playedAgain);

  Mp3Stop(mci);
  EXPECT_FALSE(Mp3IsPlaying(mci));
  RunMessages(kQuietAfterStop);
}

}  // namespace
}  // namespace ventalune::music
