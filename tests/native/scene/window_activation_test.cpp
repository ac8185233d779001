#include "scene/window_activation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "row_name.h"

namespace ventalune::scene {
namespace {

class RecordingWindow final : public WindowActivationPort {
 public:
  bool frontSucceeds = true;
  bool inFront = true;
  bool escapeFree = true;
  std::vector<std::string> calls;

  void Show() override { calls.push_back("show"); }
  bool BringToFront() override {
    calls.push_back("front");
    return frontSucceeds;
  }
  void TakeKeyboard() override { calls.push_back("keyboard"); }
  bool IsForeground() override { return inFront; }
  bool HoldEscape() override {
    calls.push_back("hold");
    return escapeFree;
  }
  void ReleaseEscape() override { calls.push_back("release"); }
};

using Calls = std::vector<std::string>;

struct ActivationRow {
  const char* name;
  bool coversScreen;
  bool frontSucceeds;
  bool inFront;
  Calls calls;  // Show, then the foreground, the keyboard, and Esc if held
};

class ActivationTest : public testing::TestWithParam<ActivationRow> {};

// Neither the foreground nor the keyboard can go to a window not yet shown;
// a covering scene left behind another window keeps Esc for itself.
TEST_P(ActivationTest, ShowsTakesTheForegroundAndTheKeyboardAndHoldsEscOnlyWhenLeftBehind) {
  const ActivationRow& row = GetParam();
  RecordingWindow window;
  window.frontSucceeds = row.frontSucceeds;
  window.inFront = row.inFront;
  SceneActivation activation;
  activation.Activate(window, row.coversScreen);
  EXPECT_EQ(window.calls, row.calls);
  EXPECT_EQ(activation.holdsEscape(), row.calls.back() == "hold");
}

INSTANTIATE_TEST_SUITE_P(
    Windows, ActivationTest,
    testing::Values(
        ActivationRow{"FullScreenInFront", true, true, true, {"show", "front", "keyboard"}},
        ActivationRow{"FullScreenRefused", true, false, false, {"show", "front", "keyboard", "hold"}},
        ActivationRow{"FullScreenReportedButNotInFront", true, true, false, {"show", "front", "keyboard", "hold"}},
        ActivationRow{"FullScreenRefusedButInFrontAlready", true, false, true, {"show", "front", "keyboard", "hold"}},
        ActivationRow{"WindowedRefused", false, false, false, {"show", "front", "keyboard"}}),
    testing_support::RowName{});

TEST(SceneActivationTest, FullScreenSceneHoldsEscOnceWhenItLosesTheForegroundAndLetsGoAtTheClose) {
  RecordingWindow window;
  SceneActivation activation;
  activation.Activate(window, true);
  activation.ForegroundLost(window);
  activation.ForegroundLost(window);
  EXPECT_TRUE(activation.holdsEscape());
  activation.Release(window);
  EXPECT_FALSE(activation.holdsEscape());
  // The loss a closing window is told of comes after its release.
  activation.ForegroundLost(window);
  EXPECT_EQ(window.calls, (Calls{"show", "front", "keyboard", "hold", "release"}));
}

TEST(SceneActivationTest, WindowedSceneNeverHoldsEsc) {
  RecordingWindow window;
  SceneActivation activation;
  activation.Activate(window, false);
  activation.ForegroundLost(window);
  activation.Release(window);
  EXPECT_EQ(window.calls, (Calls{"show", "front", "keyboard"}));
}

// Another program holds Esc: the next loss asks again, and the close has
// nothing to give back.
TEST(SceneActivationTest, EscHeldElsewhereIsAskedForAgainAndNotReleased) {
  RecordingWindow window;
  window.inFront = false;
  window.escapeFree = false;
  SceneActivation activation;
  activation.Activate(window, true);
  EXPECT_FALSE(activation.holdsEscape());
  window.escapeFree = true;
  activation.ForegroundLost(window);
  EXPECT_TRUE(activation.holdsEscape());
  activation.Release(window);
  EXPECT_EQ(window.calls, (Calls{"show", "front", "keyboard", "hold", "hold", "release"}));
}

// The window a display-mode switch makes starts afresh.
TEST(SceneActivationTest, WindowAfterASwitchDecidesAnew) {
  RecordingWindow window;
  window.inFront = false;
  SceneActivation activation;
  activation.Activate(window, true);
  activation.Release(window);
  activation.Activate(window, false);
  activation.ForegroundLost(window);
  EXPECT_FALSE(activation.holdsEscape());
  activation.Release(window);
  EXPECT_EQ(window.calls, (Calls{"show", "front", "keyboard", "hold", "release", "show", "front", "keyboard"}));
}

}  // namespace
}  // namespace ventalune::scene
