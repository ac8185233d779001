// Windowless images and labels on a picture panel, clicked with real mouse
// input: which element (and index) gets the press, the release and the
// click, and what falls through to the panel itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "control_host.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::wine_test {
namespace {

struct Press {
  POINT down;  // client pixels of the panel
  POINT up;
  DWORD downFlag, upFlag;
};

struct ElementCase {
  const char* name;
  Press press;
  bool secondImageEnabled;
  std::vector<std::string> events;
};

constexpr Press Left(POINT at) { return {at, at, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}; }

class PanelElementsTest : public testing::TestWithParam<ElementCase> {};

TEST_P(PanelElementsTest, ThePressedElementGetsItsEventsAndClick) {
  const ElementCase& row = GetParam();
  ControlHost host(200, 150, 300, 200);
  toolkit::PicturePanel panel;
  ASSERT_TRUE(panel.Create(host.window(), 0, 0, 300, 200));
  std::vector<std::string> events;
  auto record = [&](const char* what) {
    return [&events, what](const toolkit::MouseEvent& e) {
      events.push_back(std::string(what) + " " + std::to_string(e.index) + (e.button == toolkit::kRightButton ? " right" : ""));
    };
  };
  // Two images of one array (indexes 0 and 1) and a label with index 3.
  toolkit::ImageElement& first = panel.AddImage();
  first.SetBounds(10, 10, 50, 50);
  toolkit::ImageElement& second = panel.AddImage();
  second.SetBounds(100, 10, 50, 50);
  second.SetIndex(1);
  second.SetEnabled(row.secondImageEnabled);
  toolkit::Label& label = panel.AddLabel();
  label.SetBounds(10, 100, 120, 20);
  label.SetText("Choose");
  label.SetIndex(3);
  for (toolkit::Element* element : {static_cast<toolkit::Element*>(&first), static_cast<toolkit::Element*>(&second),
                                    static_cast<toolkit::Element*>(&label)}) {
    element->onMouseDown = record("down");
    element->onMouseUp = record("up");
    element->onClick = [&events](int index) { events.push_back("click " + std::to_string(index)); };
  }
  panel.onMouseDown = [&events](const toolkit::MouseEvent&) { events.push_back("panel down"); };
  panel.onMouseUp = [&events](const toolkit::MouseEvent&) { events.push_back("panel up"); };

  MovePointer(host.Screen(panel.window(), row.press.down.x, row.press.down.y));
  MouseButtonEvent(row.press.downFlag);
  MovePointer(host.Screen(panel.window(), row.press.up.x, row.press.up.y));
  MouseButtonEvent(row.press.upFlag);
  WaitFor([&] { return events.size() >= row.events.size(); }, 2s);
  WaitFor([] { return false; }, 100ms);  // nothing more arrives
  EXPECT_EQ(events, row.events);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, PanelElementsTest,
    testing::Values(
        ElementCase{"FirstImage", Left({30, 30}), true, {"down 0", "up 0", "click 0"}},
        ElementCase{"SecondImageCarriesItsIndex", Left({120, 30}), true, {"down 1", "up 1", "click 1"}},
        ElementCase{"Label", Left({40, 110}), true, {"down 3", "up 3", "click 3"}},
        ElementCase{"RightButtonClicksToo",
                    {{120, 30}, {120, 30}, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                    true,
                    {"down 1 right", "up 1 right", "click 1"}},
        ElementCase{"OutsideEveryElementIsThePanel", Left({250, 150}), true, {"panel down", "panel up"}},
        ElementCase{"DisabledImageLetsThePanelHaveIt", Left({120, 30}), false, {"panel down", "panel up"}},
        // Held on one image and let go over another: the first keeps the
        // mouse and no click happens anywhere.
        ElementCase{"ReleasedElsewhereIsNoClick",
                    {{30, 30}, {120, 30}, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                    true,
                    {"down 0", "up 0"}}),
    [](const testing::TestParamInfo<ElementCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ventalune::wine_test
