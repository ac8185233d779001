#include "saver/music/music_player.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "code_page_932.h"
#include "fake_mci.h"
#include "row_name.h"
#include "saver/music/music_texts.h"

namespace ventalune::music {
namespace {

using testing::FakeMp3Device;
using testing::FakeSound;
using testing::ScriptedMci;

// ---- Sending commands ---------------------------------------------------

struct SendRow {
  const char* name;
  std::string command;
  MciAnswer answer;
  std::optional<std::string> errorText;
  int32_t code;
  std::string reply;  // what MciReply holds afterwards
  std::string query;  // what QueryMci answers
};

class SendMciTest : public ::testing::TestWithParam<SendRow> {};

TEST_P(SendMciTest, ReportsCodeAndReplyText) {
  const SendRow& row = GetParam();
  ScriptedMci mci;
  mci.answer = row.answer;
  mci.errorText = row.errorText;

  MusicState state;
  EXPECT_EQ(SendMci(mci, row.command, state.MciReply), row.code);
  EXPECT_EQ(state.MciReply, row.reply);
  EXPECT_EQ(mci.sent.size(), row.command.empty() ? 0u : 1u);

  MusicState queried;
  EXPECT_EQ(QueryMci(mci, queried, row.command), row.query);
  EXPECT_EQ(queried.MciReply, row.reply);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SendMciTest,
    ::testing::Values(
        SendRow{"EmptyCommandIsNotSent", "", {}, std::nullopt, -1, kNoCommandText, "Error:-1"},
        SendRow{"ReplyUpToFirstNul",
                "status cdaudio mode",
                {0, std::string("playing\0\0old", 12)},
                std::nullopt,
                0,
                "playing",
                "playing"},
        SendRow{"FailureGivesPlatformText",
                "status cdaudio mode",
                {263, ""},
                "The specified device is not open.",
                263,
                "The specified device is not open.",
                "Error:263"},
        SendRow{"FailureWithoutPlatformText", "status cdaudio mode", {263, ""}, std::nullopt, 263, kNoErrorText,
                "Error:263"},
        SendRow{"ErrorTextUpToFirstNul", "play x", {275, ""}, std::string("not found\0xx", 12), 275, "not found",
                "Error:275"},
        // Driver-specific errors carry the device in the high word: the code is signed.
        SendRow{"DriverErrorCodeIsSigned", "play x", {0x80000105u, ""}, std::nullopt, -2147483387, kNoErrorText,
                "Error:-2147483387"}),
    testing_support::RowName());

struct MessageRow {
  const char* name;
  const char* stored;
  const char* unicode;
};

class MessageTest : public ::testing::TestWithParam<MessageRow> {};

TEST_P(MessageTest, IsTheShiftJisFormOfItsJapaneseText) {
  EXPECT_EQ(std::string(GetParam().stored), testing_support::ToCodePage932(GetParam().unicode));
}

INSTANTIATE_TEST_SUITE_P(Texts, MessageTest,
                         ::testing::Values(MessageRow{"NoCommand", kNoCommandText, "コマンド文字列が指定されていません"},
                                           MessageRow{"NoErrorText", kNoErrorText, "Error (文字列が取れません)"}),
                         testing_support::RowName());

// ---- MP3 ----------------------------------------------------------------

struct Mp3Row {
  const char* name;
  std::string file;
  bool playable;
  std::vector<std::string> sends;  // by Mp3Start and then one Mp3Poll
  bool playing;
};

class Mp3StartTest : public ::testing::TestWithParam<Mp3Row> {};

TEST_P(Mp3StartTest, OpensQuotedPathAndPlays) {
  FakeMp3Device device;
  if (GetParam().playable) device.playable.insert(GetParam().file);
  Mp3Start(device, GetParam().file);
  Mp3Poll(device);
  EXPECT_EQ(device.sent, GetParam().sends);
  EXPECT_EQ(device.open && device.mode == "playing", GetParam().playing);
}

const std::vector<std::string> kPollWhenNotPlaying = {"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"};

INSTANTIATE_TEST_SUITE_P(
    Files, Mp3StartTest,
    ::testing::Values(
        Mp3Row{"PathWithSpacesQuoted",
               "C:\\My Music\\a b.mp3",
               true,
               {"open \"C:\\My Music\\a b.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play", "status MP3Play mode"},
               true},
        // Nothing plays; the poll's commands fail quietly.
        Mp3Row{"UnreadableFileNothingPlays",
               "C:\\Music\\gone.mp3",
               false,
               {"open \"C:\\Music\\gone.mp3\" type MPEGVideo Alias MP3Play", kPollWhenNotPlaying[0],
                kPollWhenNotPlaying[1], kPollWhenNotPlaying[2]},
               false},
        // The quote would close the path and turn the rest into MCI keywords.
        Mp3Row{"QuoteInPathRefused", "C:\\x.mp3\" alias Other \"C:\\y.mp3", true, kPollWhenNotPlaying, false},
        Mp3Row{"NulInPathRefused", std::string("C:\\a.mp3\0.wav", 13), true, kPollWhenNotPlaying, false}),
    testing_support::RowName());

TEST(Mp3WatchTest, PlaysAgainFromTheStartAfterItEnds) {
  FakeMp3Device device;
  device.playable.insert("C:\\a.mp3");
  Mp3Start(device, "C:\\a.mp3");
  ASSERT_TRUE(Mp3IsPlaying(device));

  device.sent.clear();
  Mp3Poll(device);
  EXPECT_EQ(device.sent, std::vector<std::string>{"status MP3Play mode"});

  device.mode = "stopped";  // the file has ended
  device.sent.clear();
  Mp3Poll(device);
  EXPECT_EQ(device.sent, kPollWhenNotPlaying);
  EXPECT_TRUE(Mp3IsPlaying(device));

  device.sent.clear();
  Mp3Stop(device);
  EXPECT_EQ(device.sent, (std::vector<std::string>{"stop MP3Play", "close MP3Play"}));
  EXPECT_FALSE(device.open);
}

// ---- WAV ----------------------------------------------------------------

using Plays = std::vector<std::pair<std::optional<std::string>, uint32_t>>;

struct WavRow {
  const char* name;
  int32_t devices;
  Plays plays;  // by WavStart and then WavStop
};

class WavTest : public ::testing::TestWithParam<WavRow> {};

TEST_P(WavTest, LoopsTheFileUntilStopped) {
  FakeSound sound;
  sound.devices = GetParam().devices;
  WavStart(sound, "C:\\My Music\\a.wav");
  WavStop(sound);
  EXPECT_EQ(sound.plays, GetParam().plays);
}

INSTANTIATE_TEST_SUITE_P(Devices, WavTest,
                         ::testing::Values(WavRow{"LoopsAsynchronouslyWithoutDefaultSound", 2, {{"C:\\My Music\\a.wav", 11u}, {std::nullopt, 0u}}},
                                           WavRow{"NoOutputDeviceNothingPlays", 0, {{std::nullopt, 0u}}},
                                           WavRow{"NegativeDeviceCountNothingPlays", -1, {{std::nullopt, 0u}}}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::music
