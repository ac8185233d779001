#pragma once
// What the saver program and the scene program agree on: where the saver
// writes the scene's two pictures just before it starts the scene, their
// names, and the title by which the saver finds the scene's window.
// Written once here; both programs and their tests read it from here.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/wide_text.h"

namespace ventalune {

// The saver writes the pictures to a folder of the user's own and names it
// to the scene in this environment variable, which the scene inherits. The
// scene started without it reads them from the shared data folder, as it
// always has.
inline constexpr wchar_t kPictureFolderVariable[] = L"VENTALUNE_PICTURES";
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

// The paths are the system's own UTF-16, from the known folder to the file
// opened: a user name outside the ANSI code page has no other spelling where
// the volume keeps no short names.
struct PicturePaths {
  std::wstring room, ring;
  bool operator==(const PicturePaths&) const = default;
};

// The two pictures in `folder`, named without a trailing backslash; an empty
// folder, the variable being unset, means the shared data folder.
inline PicturePaths PicturePathsIn(std::wstring_view folder) {
  if (folder.empty()) return {WideAscii(kRoomPicturePath).data(), WideAscii(kRingPicturePath).data()};
  const std::wstring base = std::wstring(folder) + L'\\';
  return {base + WideAscii(kRoomPictureName).data(), base + WideAscii(kRingPictureName).data()};
}

}  // namespace ventalune
