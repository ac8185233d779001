#include "saver/launcher/start_up.h"

#include <cstdint>
#include <optional>

#include "saver/dialog/settings_dialog.h"
#include "saver/launcher/launch_mode.h"
#include "saver/launcher/preview_window.h"
#include "saver/launcher/run_plan.h"
#include "saver/launcher/saver_run.h"
#include "saver/settings/profile_file.h"

namespace ventalune::launcher {
namespace {

// The settings dialog's title; while it is open no other start may run.
constexpr char kSettingsDialogTitle[] = "<Ventalune>";

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int RunSaverProgram(HINSTANCE instance, const char* arguments) {
  const LaunchMode mode = ModeOf(arguments ? arguments : "");
  if (FindWindowA(nullptr, kRunWindowTitle)) return 0;
  if (HWND dialog = FindWindowA(nullptr, kSettingsDialogTitle)) {
    // The user asked for us again: show them the dialog that is open,
    // rather than nothing at all. A preview leaves it where it is.
    if (mode != LaunchMode::kPreview) SetForegroundWindow(dialog);
    return 0;
  }

  if (mode == LaunchMode::kPreview) {
    // Handles are 32-bit values, widened with their sign on 64-bit Windows.
    HWND host = reinterpret_cast<HWND>(static_cast<intptr_t>(PreviewHostHandle(arguments)));
    // The room the run would show: the user's picture where one is chosen
    // and there. A settings file that cannot be read shows the preview's own.
    const std::optional<settings::Settings> loaded = settings::LoadProgramSettings(settings::MissingFiles::Drop);
    LiveScene live{ScenePath(settings::ProgramFolder()), {}};
    if (loaded && loaded->PictureKind == settings::kPictureFile) live.userPicture = loaded->PictureFile;
    // Without a usable host there is nothing to draw into.
    if (!ShowPreview(instance, instance, host, live)) return 0;
    return RunMessageLoop();
  }

  // The dialog keeps a choice whose file is away for now, so that saving
  // does not erase it; the run has no use for one.
  const std::optional<settings::Settings> loaded = settings::LoadProgramSettings(
      mode == LaunchMode::kSettings ? settings::MissingFiles::Keep : settings::MissingFiles::Drop);
  // The settings dialog runs modally without an owner (a handle the host
  // appends to the switch is ignored), and the program ends after it.
  if (mode == LaunchMode::kSettings) {
    if (!loaded) {
      dialog::ReportSettingsUnreadable();
      return 0;
    }
    settings::Settings settings = *loaded;
    dialog::RunSettingsDialog(instance, settings);
    return 0;
  }
  if (mode == LaunchMode::kNone) return 0;

  // A run only reads: with its file unreadable it shows the desktop, in silence.
  ShowCursor(FALSE);
  if (!StartSaverRun(instance, loaded.value_or(settings::Settings{}))) {
    ShowCursor(TRUE);
    return 0;
  }
  return RunMessageLoop();
}

}  // namespace ventalune::launcher
