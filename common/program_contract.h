#pragma once
// What the saver program and the scene program agree on: where the saver
// writes the scene's two pictures just before it starts the scene, their
// names, and the title by which the saver finds the scene's window.
// Written once here; both programs and their tests read it from here.
#include <cstddef>
#include <string>
#include <string_view>

#include "common/wide_text.h"

namespace ventalune {

// The saver writes the pictures to a folder of the user's own
// (user_picture_folder.h) and names it to the scene in this environment
// variable, which the scene inherits.
inline constexpr wchar_t kPictureFolderVariable[] = L"VENTALUNE_PICTURES";
// The user's own folder: this name under the user's local application data.
inline constexpr wchar_t kUserFolderName[] = L"Ventalune";
// The walls' picture: the desktop copy or the user's own picture.
inline constexpr char kRoomPictureName[] = "Nubivola1.bmp";
// The rings' picture: the world map.
inline constexpr char kRingPictureName[] = "Nubivola2.bmp";
inline constexpr char kSceneWindowTitle[] = "Nubivola_VC";

// The paths are the system's own UTF-16, from the known folder to the file
// opened: a user name outside the ANSI code page has no other spelling where
// the volume keeps no short names.
struct PicturePaths {
  std::wstring room, ring;
  bool operator==(const PicturePaths&) const = default;
};

// The two pictures in `folder`, named without a trailing backslash; none for
// no folder (the walls and rings stay blank).
inline PicturePaths PicturePathsIn(std::wstring_view folder) {
  if (folder.empty()) return {};
  const std::wstring base = std::wstring(folder) + L'\\';
  return {base + WideAscii(kRoomPictureName).data(), base + WideAscii(kRingPictureName).data()};
}

// Room picture `index` of a run (see run_monitors.h): the first is the room
// picture above, the others "Nubivola1-2.bmp", "Nubivola1-3.bmp" … for the
// further monitors. Empty for no folder.
inline std::wstring RoomPictureIn(std::wstring_view folder, std::size_t index) {
  if (index == 0) return PicturePathsIn(folder).room;
  if (folder.empty()) return {};
  std::wstring name = WideAscii(kRoomPictureName).data();
  name.insert(name.size() - 4, L"-" + std::to_wstring(index + 1));
  return std::wstring(folder) + L'\\' + name;
}

}  // namespace ventalune
