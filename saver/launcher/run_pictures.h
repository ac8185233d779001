#pragma once
// Where the run puts the scene's two pictures. The desktop copy shows
// whatever the user had open, so it goes to a folder of the user's own
// (under their local application data, which other accounts cannot open),
// never to a folder every account can read and replace. Nothing is written
// through a junction or symbolic link: a folder or file that is one is
// refused, so a link planted there cannot turn the run's writes (and the
// deletion at its end) onto other files.
#include <windows.h>

#include <optional>
#include <string>

#include "saver/pictures/picture_surface.h"

namespace ventalune::launcher {

// The user's picture folder, made if need be, as the system names it;
// nothing when there is no such folder to be had or it is a reparse point.
std::optional<std::wstring> PrepareRunPictureFolder();

// Writes the picture as a bitmap file at `path`, unless the file there is a
// reparse point or another program holds it (no write sharing). True only
// when every byte was written.
bool WriteRunPicture(const pictures::PictureSurface& picture, const std::wstring& path);

}  // namespace ventalune::launcher
