#include "saver/launcher/run_plan.h"

namespace ventalune::launcher {

std::wstring ScenePath(std::wstring_view programFolder) {
  return std::wstring(programFolder) + L"\\Ventalune.dll";
}

bool StartScene(ProgramStartPort& programs, std::wstring_view programFolder) {
  const std::optional<uint32_t> processId = programs.Start(ScenePath(programFolder));
  if (!processId) return false;
  programs.AllowForeground(*processId);
  return true;
}

bool SceneWatch::RunIsOver(bool windowExists, uint32_t msSinceStart) {
  if (windowExists) {
    windowSeen_ = true;
    return false;
  }
  return windowSeen_ || msSinceStart >= kStartGraceMs;
}

bool SceneWatch::SceneHung(bool answered, uint32_t msSinceStart) {
  if (answered) {
    silentSinceMs_.reset();
    return false;
  }
  if (!silentSinceMs_) silentSinceMs_ = msSinceStart;
  return msSinceStart - *silentSinceMs_ >= kHangMs;
}

}  // namespace ventalune::launcher
