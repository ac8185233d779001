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

const PicturePaths kPictures = PicturePathsIn(L"C:\\Users\\me\\AppData\\Local\\Ventalune");

TEST_F(SceneAssetsTest, LoadsBothPicturesAndLevelsTheView) {
  FakeLoader loader;
  ASSERT_TRUE(LoadSceneAssets(scene_, kPictures, loader.Bind()));
  EXPECT_EQ(loader.asked, (std::vector<std::wstring>{kPictures.room, kPictures.ring}));
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
  EXPECT_FALSE(LoadSceneAssets(scene_, kPictures, loader.Bind()));
  EXPECT_EQ(loader.asked, GetParam().asked);
  for (uint32_t slot : scene_.roomTextures) EXPECT_EQ(slot, GetParam().roomSlot);
  EXPECT_EQ(scene_.viewAngleX == 0.0f, GetParam().viewLevelled);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SceneAssetsFailureTest,
    testing::Values(FailureCase{"RoomPictureMissing", kPictures.room, {kPictures.room}, 7, false},
                    FailureCase{"RingPictureMissing", kPictures.ring, {kPictures.room, kPictures.ring}, 11, true}),
    testing_support::RowName());

TEST_F(SceneAssetsTest, ReloadForANewContextKeepsTheSway) {
  FakeLoader loader;
  ASSERT_TRUE(LoadSceneAssets(scene_, kPictures, loader.Bind()));
  AdvanceScene(scene_, 700);
  const float x = scene_.viewAngleX, y = scene_.viewAngleY, z = scene_.viewAngleZ;
  ASSERT_NE(x, 0.0f);
  ASSERT_TRUE(ReloadSceneAssets(scene_, kPictures, loader.Bind()));
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

// The folder the saver names; none, no pictures.
TEST_P(PictureFolderTest, NamesBothPictures) { EXPECT_EQ(PicturePathsIn(GetParam().folder), GetParam().paths); }

INSTANTIATE_TEST_SUITE_P(
    Folders, PictureFolderTest,
    testing::Values(FolderCase{"NoneNamed", L"", {}},
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
