#include "saver/controls/button/button_properties.h"

#include <gtest/gtest.h>

#include <string>

#include "row_name.h"

namespace ventalune::button {
namespace {

const toolkit::FontDescription kAmbient{"MS Sans Serif", 825, 1, 400};
const toolkit::FontDescription kLabel{"Label Face", 975, 128, 700, true};

struct SaveCase {
  std::string name;
  ButtonProperties saved;
  ButtonProperties expected;  // what a load of the saved bag gives
  size_t storedKeys;
};

ButtonProperties With(void (*change)(ButtonProperties&)) {
  ButtonProperties properties;
  properties.font = kAmbient;
  change(properties);
  return properties;
}

class ButtonPropertiesTest : public testing::TestWithParam<SaveCase> {};

// Saved into a bag, through bytes, and loaded again, as the host does it
// between design and run.
TEST_P(ButtonPropertiesTest, SaveThenLoad) {
  const SaveCase& row = GetParam();
  toolkit::PropertyBag bag;
  WriteButtonProperties(bag, row.saved, kAmbient);
  EXPECT_EQ(bag.size(), row.storedKeys);
  const auto reloaded = toolkit::PropertyBag::Deserialise(bag.Serialise());
  ASSERT_TRUE(reloaded);
  const ButtonProperties loaded = ReadButtonProperties(*reloaded, kAmbient, kLabel);
  EXPECT_EQ(loaded.enabled, row.expected.enabled);
  EXPECT_EQ(loaded.caption, row.expected.caption);
  EXPECT_EQ(loaded.font.face, row.expected.font.face);
  EXPECT_EQ(loaded.firstRun, row.expected.firstRun);
  EXPECT_EQ(loaded.fontColour, row.expected.fontColour);
  EXPECT_EQ(loaded.visible, row.expected.visible);
}

INSTANTIATE_TEST_SUITE_P(
    Bags, ButtonPropertiesTest,
    testing::Values(
        SaveCase{"DesignCaptionComesBackAsCommand1", With([](ButtonProperties&) {}),
                 With([](ButtonProperties& p) { p.caption = "Command1"; }), 0},
        SaveCase{"OtherCaptionSurvives", With([](ButtonProperties& p) { p.caption = "\x90\xdd\x92\xe8"; }),
                 With([](ButtonProperties& p) { p.caption = "\x90\xdd\x92\xe8"; }), 1},
        SaveCase{"EmptyCaptionSurvives", With([](ButtonProperties& p) { p.caption.clear(); }),
                 With([](ButtonProperties& p) { p.caption.clear(); }), 1},
        SaveCase{"Disabled", With([](ButtonProperties& p) { p.enabled = false; }),
                 With([](ButtonProperties& p) { p.enabled = false, p.caption = "Command1"; }), 1},
        SaveCase{"ColourAndTransparency",
                 With([](ButtonProperties& p) { p.fontColour = 0x00FF8040, p.visible = 0, p.firstRun = 0; }),
                 With([](ButtonProperties& p) {
                   p.fontColour = 0x00FF8040, p.visible = 0, p.firstRun = 0, p.caption = "Command1";
                 }),
                 3},
        SaveCase{"OwnFontFace", With([](ButtonProperties& p) { p.font.face = "Gothic"; }),
                 With([](ButtonProperties& p) { p.font.face = "Gothic", p.caption = "Command1"; }), 1}),
    testing_support::RowName());

TEST(ButtonPropertiesTest, EmptyBagGivesTheReadDefaults) {
  const ButtonProperties loaded = ReadButtonProperties({}, kAmbient, kLabel);
  EXPECT_TRUE(loaded.enabled);
  EXPECT_EQ(loaded.caption, kUnsavedCaption);
  EXPECT_EQ(loaded.firstRun, 1);
  EXPECT_EQ(loaded.fontColour, 0);
  EXPECT_EQ(loaded.visible, 1);
  // The ambient face on the label's size and style.
  toolkit::FontDescription expected = kLabel;
  expected.face = kAmbient.face;
  EXPECT_EQ(loaded.font, expected);
}

TEST(ButtonPropertiesTest, StoredFontGivesOnlyItsFace) {
  toolkit::PropertyBag bag;
  bag.Write<toolkit::FontDescription>(kFontKey, {"Stored", 2400, 2, 900, false, true, true}, kAmbient);
  toolkit::FontDescription expected = kLabel;
  expected.face = "Stored";
  EXPECT_EQ(ReadButtonProperties(bag, kAmbient, kLabel).font, expected);
}

TEST(ButtonPropertiesTest, KeysAreWrittenInTheirOrder) {
  toolkit::PropertyBag bag;
  ButtonProperties properties{false, "Go", {"Face"}, 0, 5, 0};
  WriteButtonProperties(bag, properties, kAmbient);
  EXPECT_EQ(bag.Keys(), (std::vector<std::string>{kEnabledKey, kCaptionKey, kFontKey, kFirstRunKey, kFontColourKey,
                                                   kVisibleKey}));
}

}  // namespace
}  // namespace ventalune::button
