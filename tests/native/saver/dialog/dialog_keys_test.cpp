#include "saver/dialog/dialog_keys.h"

#include <gtest/gtest.h>

#include <string>

#include "row_name.h"

namespace ventalune::dialog {
namespace {

using enum Stop;
constexpr StopsEnabled kAll{true, true, true, true, true, true, true, true};
// The desktop picture and no music: both "..." and the repeat box are off.
constexpr StopsEnabled kDesktopNoMusic{true, false, true, true, false, false, true, true};

struct TabRow {
  std::string name;
  StopsEnabled enabled;
  Stop from;
  bool backwards;
  Stop to;
};
class TabOrderTest : public testing::TestWithParam<TabRow> {};
TEST_P(TabOrderTest, WalksEnabledStopsInReadingOrder) {
  EXPECT_EQ(NextStop(GetParam().from, GetParam().backwards, GetParam().enabled), GetParam().to);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, TabOrderTest,
    testing::Values(TabRow{"PictureOptionsToItsButton", kAll, PictureOptions, false, ChoosePicture},
                    TabRow{"RepeatBoxToSoundButton", kAll, RepeatBox, false, ChooseSound},
                    TabRow{"CancelRoundToTheStart", kAll, Cancel, false, PictureOptions},
                    TabRow{"BackFromTheStartToCancel", kAll, PictureOptions, true, Cancel},
                    TabRow{"BackFromSaveToSoundButton", kAll, Save, true, ChooseSound},
                    TabRow{"PictureButtonToTheMonitors", kAll, ChoosePicture, false, MonitorOptions},
                    TabRow{"MonitorsToTheMusic", kAll, MonitorOptions, false, MusicOptions},
                    TabRow{"BackFromTheMusicToTheMonitors", kAll, MusicOptions, true, MonitorOptions},
                    TabRow{"SkipsDisabledButton", kDesktopNoMusic, PictureOptions, false, MonitorOptions},
                    TabRow{"SkipsRepeatBoxAndSoundButton", kDesktopNoMusic, MusicOptions, false, Save},
                    TabRow{"BackSkipsThemToo", kDesktopNoMusic, Save, true, MusicOptions},
                    TabRow{"BackFromTheMonitorsSkipsTheButton", kDesktopNoMusic, MonitorOptions, true, PictureOptions},
                    TabRow{"FromADisabledStopToo", kDesktopNoMusic, ChooseSound, false, Save},
                    TabRow{"NothingElseEnabledStays", StopsEnabled{false, false, false, false, false, false, true, false},
                           Save, false, Save}),
    testing_support::RowName());

TEST(EnabledStopTest, LeavesADisabledStopForTheNextEnabledOne) {
  EXPECT_EQ(EnabledStopFrom(ChooseSound, kDesktopNoMusic), Save);
  EXPECT_EQ(EnabledStopFrom(MusicOptions, kDesktopNoMusic), MusicOptions);
}

struct KeyRow {
  std::string name;
  Key key;
  bool shift;
  Stop focused;
  bool listOpen;
  KeyAction action;
};
class KeyRoutingTest : public testing::TestWithParam<KeyRow> {};
TEST_P(KeyRoutingTest, EachKeyWhereTheFocusIs) {
  EXPECT_EQ(RouteKey(GetParam().key, GetParam().shift, GetParam().focused, GetParam().listOpen), GetParam().action);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, KeyRoutingTest,
    testing::Values(
        KeyRow{"TabMovesOn", Key::Tab, false, MusicOptions, false, KeyAction::FocusNext},
        KeyRow{"ShiftTabMovesBack", Key::Tab, true, Save, false, KeyAction::FocusPrevious},
        KeyRow{"TabLeavesTheOpenList", Key::Tab, false, RepeatBox, true, KeyAction::FocusNext},
        KeyRow{"EnterOnAButtonPressesIt", Key::Enter, false, ChooseSound, false, KeyAction::PressFocused},
        KeyRow{"EnterOnCancelCancels", Key::Enter, false, Cancel, false, KeyAction::PressFocused},
        KeyRow{"EnterInAGroupSaves", Key::Enter, false, PictureOptions, false, KeyAction::PressSave},
        KeyRow{"EnterInTheClosedRepeatBoxSaves", Key::Enter, false, RepeatBox, false, KeyAction::PressSave},
        KeyRow{"EnterInTheOpenListPicks", Key::Enter, false, RepeatBox, true, KeyAction::PassOn},
        KeyRow{"EscCancelsFromAButton", Key::Escape, false, ChoosePicture, false, KeyAction::Cancel},
        KeyRow{"EscCancelsFromTheRepeatBox", Key::Escape, false, RepeatBox, false, KeyAction::Cancel},
        KeyRow{"EscClosesTheOpenListOnly", Key::Escape, false, RepeatBox, true, KeyAction::PassOn},
        KeyRow{"SpacePressesAButton", Key::Space, false, Save, false, KeyAction::PressFocused},
        KeyRow{"SpaceSelectsAnOption", Key::Space, false, MusicOptions, false, KeyAction::SelectFocused},
        KeyRow{"SpaceIsTypedInTheRepeatBox", Key::Space, false, RepeatBox, false, KeyAction::PassOn},
        KeyRow{"UpInAGroupSelectsPrevious", Key::Up, false, PictureOptions, false, KeyAction::SelectPrevious},
        KeyRow{"LeftInAGroupSelectsPrevious", Key::Left, false, MusicOptions, false, KeyAction::SelectPrevious},
        KeyRow{"DownInAGroupSelectsNext", Key::Down, false, MusicOptions, false, KeyAction::SelectNext},
        KeyRow{"DownAmongTheMonitorsSelectsNext", Key::Down, false, MonitorOptions, false, KeyAction::SelectNext},
        KeyRow{"SpaceSelectsAMonitorsOption", Key::Space, false, MonitorOptions, false, KeyAction::SelectFocused},
        KeyRow{"RightInAGroupSelectsNext", Key::Right, false, PictureOptions, false, KeyAction::SelectNext},
        KeyRow{"DownStaysWithTheRepeatBox", Key::Down, false, RepeatBox, false, KeyAction::PassOn},
        KeyRow{"ArrowsDoNothingOnAButton", Key::Right, false, Save, false, KeyAction::PassOn},
        KeyRow{"LettersGoToTheFocusedWindow", Key::Other, false, RepeatBox, false, KeyAction::PassOn}),
    testing_support::RowName());

struct StepRow {
  std::string name;
  int current, count, step, to;
};
class StepOptionTest : public testing::TestWithParam<StepRow> {};
TEST_P(StepOptionTest, RoundTheEnds) {
  EXPECT_EQ(StepOption(GetParam().current, GetParam().count, GetParam().step), GetParam().to);
}
INSTANTIATE_TEST_SUITE_P(Rows, StepOptionTest,
                         testing::Values(StepRow{"Next", 0, 3, 1, 1}, StepRow{"NextRound", 2, 3, 1, 0},
                                         StepRow{"PreviousRound", 0, 3, -1, 2}, StepRow{"PairFlips", 1, 2, 1, 0},
                                         StepRow{"NothingSelectedStartsAtFirst", -1, 3, -1, 0},
                                         StepRow{"OutOfRangeStartsAtFirst", 7, 2, 1, 0},
                                         StepRow{"EmptyGroup", 0, 0, 1, -1}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::dialog
