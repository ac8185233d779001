#include "saver/controls/button/button_state.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::button {
namespace {

// One letter per event, so a row reads like what a person did:
// I Initialize, F focus gained, f focus lost, D/U left button down/up,
// R right button up, M mouse move, T tick with the pointer away,
// t tick with the pointer still over the control, X disable, E enable.
struct Outcome {
  std::vector<Skin> paints;
  int clicks = 0;
};

Outcome Drive(ButtonStateMachine& machine, const std::string& events) {
  Outcome outcome;
  for (char event : events) {
    ButtonStep step;
    switch (event) {
      case 'I': step = machine.Initialize(); break;
      case 'F': step = machine.FocusGained(); break;
      case 'f': step = machine.FocusLost(); break;
      case 'D': step = machine.ButtonDown(MouseButton::Left); break;
      case 'd': step = machine.ButtonDown(MouseButton::Right); break;
      case 'U': step = machine.ButtonUp(MouseButton::Left); break;
      case 'R': step = machine.ButtonUp(MouseButton::Right); break;
      case 'M': step = machine.MouseMove(); break;
      case 'T': step = machine.TimerTick(false); break;
      case 't': step = machine.TimerTick(true); break;
      case 'X': machine.SetEnabled(false); break;
      case 'E': machine.SetEnabled(true); break;
      default: ADD_FAILURE() << "unknown event " << event;
    }
    if (step.paint) outcome.paints.push_back(*step.paint);
    if (step.click) ++outcome.clicks;
  }
  return outcome;
}

struct StateRow {
  std::string name;
  std::string events;
  ButtonState state;
  std::vector<Skin> paints;
  int clicks;
};

class ButtonStateTest : public testing::TestWithParam<StateRow> {};

TEST_P(ButtonStateTest, LooksAndClicksFollowTheEvents) {
  const StateRow& row = GetParam();
  ButtonStateMachine machine;
  const Outcome outcome = Drive(machine, row.events);
  EXPECT_EQ(machine.state(), row.state);
  EXPECT_EQ(outcome.paints, row.paints);
  EXPECT_EQ(outcome.clicks, row.clicks);
}

using enum Skin;
using S = ButtonState;
INSTANTIATE_TEST_SUITE_P(
    Events, ButtonStateTest,
    testing::Values(
        StateRow{"PointerOverMakesHot", "IM", S::Hot, {HighLight}, 0},
        StateRow{"SecondMoveRepaintsNothing", "IMM", S::Hot, {HighLight}, 0},
        StateRow{"FocusOnANormalButton", "IF", S::Focused, {Selected}, 0},
        StateRow{"FocusWhileHotShowsPressed", "IMF", S::HotFocused, {HighLight, Pressed}, 0},
        StateRow{"PointerOverAFocusedButton", "IFM", S::HotFocused, {Selected, HighLightSelect}, 0},
        StateRow{"LosingFocusGoesBackToNormal", "IFMf", S::Normal, {Selected, HighLightSelect, Normal}, 0},
        StateRow{"LosingFocusWhenNormalPaintsNothing", "If", S::Normal, {}, 0},
        StateRow{"PressKeepsTheState", "IMD", S::Hot, {HighLight, Pressed}, 0},
        // A press is over the button whether or not a move said so first.
        StateRow{"PressWithoutAMoveClicks", "IDU", S::Hot, {Pressed, Normal}, 1},
        StateRow{"PressOnAFocusedButtonWithoutAMoveClicks", "IFDU",
                 S::HotFocused, {Selected, Pressed, HighLightSelect}, 1},
        StateRow{"FocusBackAfterDeactivationThenPressClicks", "IMFfFDU",
                 S::HotFocused, {HighLight, Pressed, Normal, Selected, Pressed, HighLightSelect}, 1},
        StateRow{"ClickWithFocus", "IMFDU", S::HotFocused, {HighLight, Pressed, Pressed, HighLightSelect}, 1},
        StateRow{"ReleaseOnAHotButtonShowsNormalAndClicks", "IMDU", S::Hot, {HighLight, Pressed, Normal}, 1},
        StateRow{"RightReleaseOnAHotButtonClicks", "IMR", S::Hot, {HighLight}, 1},
        StateRow{"RightPressChangesNothing", "IMd", S::Hot, {HighLight}, 0},
        StateRow{"NoClickFromAFocusedButtonThePointerLeft", "IMFDTU",
                 S::Focused, {HighLight, Pressed, Pressed, Selected}, 0},
        StateRow{"ComingBackWhileHeldKeepsItUnhot", "IMFDTMU",
                 S::Focused, {HighLight, Pressed, Pressed, Selected}, 0},
        StateRow{"PointerLeavingEndsHover", "IMT", S::Normal, {HighLight, Normal}, 0},
        StateRow{"PointerLeavingAFocusedHotButton", "IFMT", S::Focused, {Selected, HighLightSelect, Selected}, 0},
        StateRow{"PointerOnTheControlKeepsHover", "IMt", S::Hot, {HighLight}, 0},
        StateRow{"TickOnANormalButtonPaintsNothing", "IT", S::Normal, {}, 0},
        StateRow{"NoHotLookBeforeInitialize", "MT", S::Uninitialised, {}, 0},
        StateRow{"FocusBeforeInitializeThenPressClicks", "FDU", S::HotFocused, {Selected, Pressed, HighLightSelect}, 1},
        StateRow{"ReleaseBeforeInitializeClicks", "DU", S::Uninitialised, {Pressed}, 1},
        StateRow{"LosingFocusBeforeInitializeGivesNormal", "f", S::Normal, {Normal}, 0},
        StateRow{"DisabledIgnoresEverything", "IXMFDUTRf", S::Normal, {}, 0},
        StateRow{"DisabledHotButtonStaysHot", "IMXTFU", S::Hot, {HighLight}, 0},
        StateRow{"EnabledAgainReactsAgain", "IXMEM", S::Hot, {HighLight}, 0}),
    testing_support::RowName());

struct HotFaceRow {
  std::string name;
  std::string events;
  bool hotFace;
};

class HotFaceTest : public testing::TestWithParam<HotFaceRow> {};

// The painter asks before each paint; the answer is decided by the state
// then, and the hot-and-focused state keeps what the last paint had.
TEST_P(HotFaceTest, GradientDirectionFollowsTheState) {
  const HotFaceRow& row = GetParam();
  ButtonStateMachine machine;
  for (size_t i = 0; i < row.events.size(); ++i) {
    Drive(machine, row.events.substr(i, 1));
    machine.UpdateHotFace();
  }
  EXPECT_EQ(machine.hotFace(), row.hotFace);
}

INSTANTIATE_TEST_SUITE_P(States, HotFaceTest,
                         testing::Values(HotFaceRow{"Normal", "I", false}, HotFaceRow{"Hot", "IM", true},
                                         HotFaceRow{"Focused", "IF", false},
                                         HotFaceRow{"HotFocusedFromHotKeepsReversed", "IMF", true},
                                         HotFaceRow{"HotFocusedFromFocusedKeepsPlain", "IFM", false},
                                         HotFaceRow{"BeforeInitialize", "", false}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::button
