#pragma once
// One saver run: the hidden window "Nubivola_Main" writes the scene's two
// pictures, starts the scene program and the music, then watches the scene
// window and ends the run once it has gone.
#include <windows.h>

#include "saver/launcher/settings_store.h"

namespace ventalune::launcher {

inline constexpr char kRunWindowClass[] = "Nubivola_S";
inline constexpr char kRunWindowTitle[] = "Nubivola_Main";
inline constexpr char kSceneWindowTitle[] = "Nubivola_VC";
inline constexpr char kDataFolder[] = "C:\\q_sarn";
inline constexpr char kRoomPictureFile[] = "C:\\q_sarn\\Nubivola1.bmp";
inline constexpr char kRingPictureFile[] = "C:\\q_sarn\\Nubivola2.bmp";

// Creates the hidden run window and runs its load step. `cursorHidden`: the
// start-up hid the cursor, so the end shows it again. False when the window
// cannot be made (nothing was started then).
bool StartSaverRun(HINSTANCE instance, const Settings& settings, bool cursorHidden);

}  // namespace ventalune::launcher
