#pragma once
// One saver run: the hidden window "Nubivola_Main" writes the scene's two
// pictures, starts the scene program and the music, then watches the scene
// window and ends the run once it has gone.
#include <windows.h>

#include "common/program_contract.h"
#include "saver/settings/settings_store.h"

namespace ventalune::launcher {

inline constexpr wchar_t kRunWindowClass[] = L"Nubivola_S";
inline constexpr char kRunWindowTitle[] = "Nubivola_Main";
// Posted to the run window by its covers (Esc, a click): the run asks its
// scene to end, or ends itself when there is none.
inline constexpr UINT kEndRunRequest = WM_APP + 1;

// Creates the hidden run window and runs its load step. The start-up has
// hidden the cursor; the end of the run shows it again. False when the
// window cannot be made (nothing was started then).
bool StartSaverRun(HINSTANCE instance, const settings::Settings& settings);

}  // namespace ventalune::launcher
