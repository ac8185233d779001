#include "saver/settings/settings_keys.h"

#include <gtest/gtest.h>

#include "code_page_932.h"
#include "row_name.h"

namespace ventalune::settings {
namespace {

struct KeyRow {
  const char* name;
  const char* stored;   // the bytes the program uses
  const char* unicode;  // the name as people write it, in UTF-8
};

class SettingsKeyTest : public testing::TestWithParam<KeyRow> {};

TEST_P(SettingsKeyTest, IsTheShiftJisFormOfItsJapaneseName) {
  EXPECT_EQ(std::string(GetParam().stored), testing_support::ToCodePage932(GetParam().unicode));
}

INSTANTIATE_TEST_SUITE_P(Keys, SettingsKeyTest,
                         testing::Values(KeyRow{"PictureKind", kKeyPictureKind, "画像"},
                                         KeyRow{"PictureFile", kKeyPictureFile, "画像ﾌｧｲﾙ"},
                                         KeyRow{"BgmKind", kKeyBgmKind, "BGM区分"},
                                         KeyRow{"BgmRepeatTrack", kKeyBgmRepeatTrack, "BGMﾘﾋﾟｰﾄ"},
                                         KeyRow{"BgmFile", kKeyBgmFile, "BGMﾌｧｲﾙ"},
                                         KeyRow{"Monitors", kKeyMonitors, "ﾓﾆﾀ"}),
                         testing_support::RowName());

}  // namespace
}  // namespace ventalune::settings
