#pragma once
// What the saver program and the scene program agree on: the folder the
// saver writes the scene's two pictures to just before it starts the scene,
// their names, and the title by which the saver finds the scene's window.
// Written once here; both programs and their tests read it from here.
#include <array>
#include <cstddef>

namespace ventalune {

inline constexpr char kDataFolder[] = "C:\\q_sarn";
// The walls' picture: the desktop copy or the user's own picture.
inline constexpr char kRoomPictureName[] = "Nubivola1.bmp";
// The rings' picture: the world map.
inline constexpr char kRingPictureName[] = "Nubivola2.bmp";
inline constexpr char kSceneWindowTitle[] = "Nubivola_VC";

// folder + "\" + name as one NUL-terminated text, made at compile time.
template <std::size_t FolderSize, std::size_t NameSize>
constexpr std::array<char, FolderSize + NameSize> JoinedPath(const char (&folder)[FolderSize],
                                                             const char (&name)[NameSize]) {
  std::array<char, FolderSize + NameSize> path{};
  std::size_t at = 0;
  for (std::size_t i = 0; i + 1 < FolderSize; ++i) path[at++] = folder[i];
  path[at++] = '\\';
  for (std::size_t i = 0; i + 1 < NameSize; ++i) path[at++] = name[i];
  return path;  // the rest, the NUL included, stays zero
}

inline constexpr auto kRoomPicturePath = JoinedPath(kDataFolder, kRoomPictureName);
inline constexpr auto kRingPicturePath = JoinedPath(kDataFolder, kRingPictureName);

}  // namespace ventalune
