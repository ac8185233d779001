#include "scene/scene_assets.h"

#include <gtest/gtest.h>

#include "row_name.h"

#include <string>
#include <vector>

#include "offscreen_gl.h"

namespace ventalune::scene {
namespace {

// A loader that hands out names 11, 12, … and fails for the paths listed.
struct FakeLoader {
  std::vector<std::wstring> failing;
  std::vector<std::wstring> asked;
  uint32_t next = 11;
  PictureTextureLoader Bind() {
    return [this](const wchar_t* path, uint32_t& name) {
      asked.emplace_back(path);
      for (const auto& f : failing)
        if (f == path) return false;
      name = next++;
      return true;
    };
  }
};

class SceneAssetsTest : public testing::Test {
 protected:
  offscreen::OffscreenGl gl_{8, 8};  // ApplyRingMaterial needs a context
  RingScene scene_;
  void SetUp() override {
    ASSERT_TRUE(gl_.ok());
    AdvanceScene(scene_, 1500);
  }
};

const PicturePaths kShared = PicturePathsIn(L"");

TEST_F(SceneAssetsTest, LoadsBothPicturesAndLevelsTheView) {
  FakeLoader loader;
  ASSERT_TRUE(LoadSceneAssets(scene_, kShared, loader.Bind()));
  EXPECT_EQ(loader.asked, (std::vector<std::wstring>{kShared.room, kShared.ring}));
  for (uint32_t slot : scene_.roomTextures) EXPECT_EQ(slot, 11u);
  EXPECT_EQ(scene_.ringTexture, 12u);
  EXPECT_EQ(scene_.viewAngleX, 0.0f);
  EXPECT_EQ(scene_.viewAngleY, 0.0f);
  EXPECT_EQ(scene_.viewAngleZ, 0.0f);
  EXPECT_FLOAT_EQ(scene_.clock, 1.5f);  // the first advance's time is kept
}

struct FailureCase {
  const char* name;
  std::wstring failingPath;
  std::vector<std::wstring> asked;
  uint32_t roomSlot;
  bool viewLevelled;
};

class SceneAssetsFailureTest : public SceneAssetsTest, public testing::WithParamInterface<FailureCase> {};

// The first failing picture stops the load; the room slots change only when
// the room picture loaded.
TEST_P(SceneAssetsFailureTest, StopsAtTheFirstFailure) {
  FakeLoader loader;
  loader.failing = {GetParam().failingPath};
  scene_.roomTextures.fill(7);
  EXPECT_FALSE(LoadSceneAssets(scene_, kShared, loader.Bind()));
  EXPECT_EQ(loader.asked, GetParam().asked);
  for (uint32_t slot : scene_.roomTextures) EXPECT_EQ(slot, GetParam().roomSlot);
  EXPECT_EQ(scene_.viewAngleX == 0.0f, GetParam().viewLevelled);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SceneAssetsFailureTest,
    testing::Values(FailureCase{"RoomPictureMissing", kShared.room, {kShared.room}, 7, false},
                    FailureCase{"RingPictureMissing", kShared.ring, {kShared.room, kShared.ring}, 11, true}),
    testing_support::RowName());

TEST_F(SceneAssetsTest, ReloadForANewContextKeepsTheSway) {
  FakeLoader loader;
  ASSERT_TRUE(LoadSceneAssets(scene_, kShared, loader.Bind()));
  AdvanceScene(scene_, 700);
  const float x = scene_.viewAngleX, y = scene_.viewAngleY, z = scene_.viewAngleZ;
  ASSERT_NE(x, 0.0f);
  ASSERT_TRUE(ReloadSceneAssets(scene_, kShared, loader.Bind()));
  EXPECT_EQ(scene_.roomTextures[5], 13u);
  EXPECT_EQ(scene_.ringTexture, 14u);
  EXPECT_EQ(scene_.viewAngleX, x);
  EXPECT_EQ(scene_.viewAngleY, y);
  EXPECT_EQ(scene_.viewAngleZ, z);
}

struct FolderCase {
  const char* name;
  std::wstring folder;
  PicturePaths paths;
};
class PictureFolderTest : public testing::TestWithParam<FolderCase> {};

// The folder the saver names, or the shared one when it names none.
TEST_P(PictureFolderTest, NamesBothPictures) { EXPECT_EQ(PicturePathsIn(GetParam().folder), GetParam().paths); }

INSTANTIATE_TEST_SUITE_P(
    Folders, PictureFolderTest,
    testing::Values(FolderCase{"NoneNamed", L"", {L"C:\\q_sarn\\Nubivola1.bmp", L"C:\\q_sarn\\Nubivola2.bmp"}},
                    FolderCase{"UsersOwn",
                               L"C:\\Users\\Ann\\AppData\\Local\\Ventalune",
                               {L"C:\\Users\\Ann\\AppData\\Local\\Ventalune\\Nubivola1.bmp",
                                L"C:\\Users\\Ann\\AppData\\Local\\Ventalune\\Nubivola2.bmp"}},
                    // A user name no ANSI code page spells reaches the file as it is.
                    FolderCase{"UserNameOutsideTheCodePage",
                               L"C:\\Users\\\u0410\u043d\u044f\u738b\\AppData\\Local\\Ventalune",
                               {L"C:\\Users\\\u0410\u043d\u044f\u738b\\AppData\\Local\\Ventalune\\Nubivola1.bmp",
                                L"C:\\Users\\\u0410\u043d\u044f\u738b\\AppData\\Local\\Ventalune\\Nubivola2.bmp"}}),
    testing_support::RowName());

}  // namespace
}  // namespace ventalune::scene
