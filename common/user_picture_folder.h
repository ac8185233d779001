#pragma once
// Where a run's two pictures live: a folder of the user's own, "Ventalune"
// under the user's local application data, which no other account can
// write. The saver writes them there and names the folder to the scene; the
// scene started alone reads them from the same folder.
#include <string>

namespace ventalune {

// The folder's path, without a trailing backslash; empty when the system
// names no local application data for this user. The folder itself is not
// made here.
std::wstring UserPictureFolder();

}  // namespace ventalune
