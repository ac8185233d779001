#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_mci.h"
#include "row_name.h"
#include "saver/music/music_player.h"

namespace ventalune::music {
namespace {

using testing::FakeCdDrive;

// One timer tick: what the drive reports, then what the poll should send
// beyond its three status queries, and whether the watch goes on.
struct Tick {
  std::string track;
  std::string mode;
  std::vector<std::string> sends;
  bool polling;
};

struct CdRow {
  const char* name;
  int16_t repeatTrack;
  bool hasDrive;
  bool hasDisc;
  std::vector<Tick> ticks;
};

bool IsStatusQuery(const std::string& command) {
  return command == "status cdaudio current track" || command == "status cdaudio number of tracks" ||
         command == "status cdaudio mode";
}

class CdWatchTest : public ::testing::TestWithParam<CdRow> {};

TEST_P(CdWatchTest, PlaysAsChosenOrEndsTheWatch) {
  FakeCdDrive drive;
  drive.hasDrive = GetParam().hasDrive;
  drive.hasDisc = GetParam().hasDisc;
  MusicState state;

  CdOpen(drive);
  for (size_t tick = 0; tick < GetParam().ticks.size(); ++tick) {
    const Tick& want = GetParam().ticks[tick];
    drive.currentTrack = want.track;
    drive.mode = want.mode;
    drive.sent.clear();

    CdPoll(drive, state, GetParam().repeatTrack);

    std::vector<std::string> sends;
    for (const std::string& command : drive.sent) {
      if (!IsStatusQuery(command)) sends.push_back(command);
    }
    EXPECT_EQ(sends, want.sends) << "tick " << tick;
    ASSERT_EQ(state.CdPolling, want.polling) << "tick " << tick;
    // The saver run stops its timer once the watch has ended.
    if (!state.CdPolling) return;
  }

  // At the end of a run whose watch is still on, the device is stopped and closed.
  drive.sent.clear();
  CdClose(drive);
  EXPECT_EQ(drive.sent, (std::vector<std::string>{"stop cdaudio", "close cdaudio"}));
  EXPECT_FALSE(drive.open);
}

const std::vector<std::string> kPlayDisc = {"play cdaudio"};
const std::vector<std::string> kJumpToTrack3 = {"status cdaudio position track 3", "play cdaudio from 03:00:00:00"};

INSTANTIATE_TEST_SUITE_P(
    Discs, CdWatchTest,
    ::testing::Values(
        CdRow{"WholeDiscPlaysAndReplaysWhenStopped",
              0,
              true,
              true,
              {{"1", "stopped", kPlayDisc, true},
               {"1", "playing", {}, true},
               {"10", "playing", {}, true},
               {"10", "stopped", kPlayDisc, true}}},
        CdRow{"RepeatTrack3FromTrack1ThenBackWhenTrack4Begins",
              3,
              true,
              true,
              {{"1", "playing", kJumpToTrack3, true},
               {"3", "playing", {}, true},
               {"4", "playing", kJumpToTrack3, true},
               {"3", "playing", {}, true}}},
        CdRow{"RepeatTrackRestartsWhenDiscStops",
              3,
              true,
              true,
              {{"3", "stopped", kJumpToTrack3, true}, {"3", "playing", {}, true}}},
        CdRow{"NoDriveEndsWatchAtFirstPoll", 0, false, true, {{"1", "stopped", {}, false}}},
        CdRow{"NoDiscEndsWatchAtFirstPoll", 3, true, false, {{"1", "stopped", {}, false}}},
        // The disc has ten tracks: there is no position to play from.
        CdRow{"RepeatTrackBeyondDiscEndsWatch",
              12,
              true,
              true,
              {{"1", "stopped", {"status cdaudio position track 12"}, false}}},
        CdRow{"NegativeRepeatTrackEndsWatch",
              -1,
              true,
              true,
              {{"1", "playing", {"status cdaudio position track -1"}, false}}},
        CdRow{"TrackReplyNotANumberEndsWatch", 3, true, true, {{"one", "playing", {}, false}}},
        CdRow{"TrackReplyUnusedForWholeDisc", 0, true, true, {{"one", "stopped", kPlayDisc, true}}}),
    testing_support::RowName());

TEST(CdWatchTest, OpenSetsTrackTimeFormatForPositions) {
  FakeCdDrive drive;
  CdOpen(drive);
  EXPECT_EQ(drive.sent, (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf"}));
  EXPECT_TRUE(drive.timeFormatTmsf);
}

}  // namespace
}  // namespace ventalune::music
