#include "scene/scene_assets.h"

#include "scene/scene_drawing.h"

namespace ventalune::scene {

bool LoadRoomTexture(std::array<uint32_t, kRoomWallCount>& slots, const wchar_t* path,
                     const PictureTextureLoader& load) {
  uint32_t name = 0;
  if (!load(path, name)) return false;
  slots.fill(name);
  return true;
}

bool LoadSceneAssets(RingScene& scene, const PicturePaths& pictures, const PictureTextureLoader& load) {
  if (!LoadRoomTexture(scene.roomTextures, pictures.room.c_str(), load)) return false;
  scene.viewAngleX = scene.viewAngleY = scene.viewAngleZ = 0.0f;
  if (!load(pictures.ring.c_str(), scene.ringTexture)) return false;
  ApplyRingMaterial();
  return true;
}

bool ReloadSceneAssets(RingScene& scene, const PicturePaths& pictures, const PictureTextureLoader& load) {
  const float x = scene.viewAngleX, y = scene.viewAngleY, z = scene.viewAngleZ;
  const bool loaded = LoadSceneAssets(scene, pictures, load);
  scene.viewAngleX = x;
  scene.viewAngleY = y;
  scene.viewAngleZ = z;
  return loaded;
}

}  // namespace ventalune::scene
