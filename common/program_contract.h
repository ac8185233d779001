#pragma once
// What the saver program and the scene program agree on: where the saver
// writes the scene's two pictures just before it starts the scene, their
// names, and the title by which the saver finds the scene's window.
// Written once here; both programs and their tests read it from here.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace ventalune {

// The saver writes the pictures to a folder of the user's own and names it
// to the scene in this environment variable, which the scene inherits. The
// scene started without it reads them from the shared data folder, as it
// always has.
inline constexpr char kPictureFolderVariable[] = "VENTALUNE_PICTURES";
inline constexpr char kDataFolder[] = "C:\\q_sarn";
// The user's own folder: this name under the user's local application data.
inline constexpr wchar_t kUserFolderName[] = L"Ventalune";
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

struct PicturePaths {
  std::string room, ring;
  bool operator==(const PicturePaths&) const = default;
};

// The two pictures in `folder`, named without a trailing backslash (one
// cannot be told from the second byte of a double-byte character without
// the code page); an empty folder, the variable being unset, means the
// shared data folder.
inline PicturePaths PicturePathsIn(std::string_view folder) {
  if (folder.empty()) return {kRoomPicturePath.data(), kRingPicturePath.data()};
  const std::string base = std::string(folder) + '\\';
  return {base + kRoomPictureName, base + kRingPictureName};
}

}  // namespace ventalune
