#include "saver/settings/settings_writes.h"

#include <gtest/gtest.h>

#include <string>

#include "saver/settings/settings_keys.h"

namespace ventalune::settings {
namespace {

TEST(NumberTextTest, BlankBeforeZeroAndPositiveMinusBeforeNegative) {
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(7), " 7");
  EXPECT_EQ(NumberText(32767), " 32767");
  EXPECT_EQ(NumberText(-1), "-1");
  EXPECT_EQ(NumberText(-32768), "-32768");
}

TEST(SettingsWritesTest, SixKeysInOrderFoldersNotWritten) {
  Settings choices;
  choices.PictureKind = 1;
  choices.PictureFile = "C:\\p\\sky.jpg";
  choices.PictureFolder = "C:\\p";
  choices.BgmKind = static_cast<MusicKind>(5);  // as a hand-edited file may hold
  choices.BgmRepeatTrack = 0;
  choices.BgmFile = "";
  choices.BgmFolder = "C:\\m";
  choices.Monitors = 7;  // a number the dialog kept from a hand-edited file
  const auto writes = SettingsWrites(choices);
  ASSERT_EQ(writes.size(), 6u);
  using Pair = std::pair<std::string, std::string>;
  EXPECT_EQ(writes[0], Pair(kKeyPictureKind, " 1"));
  EXPECT_EQ(writes[1], Pair(kKeyPictureFile, "C:\\p\\sky.jpg"));
  EXPECT_EQ(writes[2], Pair(kKeyBgmKind, " 5"));
  EXPECT_EQ(writes[3], Pair(kKeyBgmRepeatTrack, " 0"));
  EXPECT_EQ(writes[4], Pair(kKeyBgmFile, ""));
  EXPECT_EQ(writes[5], Pair(kKeyMonitors, " 7"));
}

}  // namespace
}  // namespace ventalune::settings
