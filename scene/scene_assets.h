#pragma once
// Turning the two picture files into the scene's textures. Which decoder
// makes a texture from a file is the caller's: the program passes the
// platform's picture loader, tests pass their own.
#include <array>
#include <cstdint>
#include <functional>

#include "common/program_contract.h"
#include "scene/ring_scene.h"

namespace ventalune::scene {

// Makes a texture from a picture file and writes its name; false when the
// file cannot be turned into a texture.
using PictureTextureLoader = std::function<bool(const wchar_t* path, uint32_t& textureName)>;

// One texture serves all six walls: slot 1 is loaded, the rest copy it.
// On failure the slots keep what they had.
bool LoadRoomTexture(std::array<uint32_t, kRoomWallCount>& slots, const wchar_t* path,
                     const PictureTextureLoader& load);

// Once per process, after the first advance: both textures, then the rings'
// material. The view starts level (the first advance's sway is discarded).
// Stops at the first picture that fails.
bool LoadSceneAssets(RingScene& scene, const PicturePaths& pictures, const PictureTextureLoader& load);

// For a rendering context made after the first one: the same textures and
// material again, without disturbing the sway under way.
bool ReloadSceneAssets(RingScene& scene, const PicturePaths& pictures, const PictureTextureLoader& load);

}  // namespace ventalune::scene
