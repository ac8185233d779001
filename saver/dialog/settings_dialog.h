#pragma once
// `Nubivola_P`, the settings dialog: the user picks the picture the scene
// shows, the monitors it shows on and the music of the run; "設定" writes
// the six settings, "ｷｬﾝｾﾙ", the close box and Esc leave the file alone. It
// opens and closes with the zoom effect.
#include <windows.h>

#include "saver/settings/settings_store.h"

namespace ventalune::dialog {

// Shows the dialog for `settings` (already loaded) as a window without an
// owner and handles its messages until it has closed. The dialog edits
// `settings` as the user acts.
void RunSettingsDialog(HINSTANCE instance, settings::Settings& settings);

// Tells the user the settings file could not be read, in place of the dialog,
// which would save over the choices in it what it could not show.
void ReportSettingsUnreadable();

}  // namespace ventalune::dialog
