#include "scene/window_activation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ventalune::scene {
namespace {

class RecordingWindow final : public WindowActivationPort {
 public:
  std::vector<std::string> calls;
  void Show() override { calls.push_back("show"); }
  void BringToFront() override { calls.push_back("front"); }
  void TakeKeyboard() override { calls.push_back("keyboard"); }
};

// Neither the foreground nor the keyboard can go to a window not yet shown.
TEST(ActivateSceneWindowTest, ShowsThenTakesTheForegroundThenTheKeyboard) {
  RecordingWindow window;
  ActivateSceneWindow(window);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"show", "front", "keyboard"}));
}

}  // namespace
}  // namespace ventalune::scene
