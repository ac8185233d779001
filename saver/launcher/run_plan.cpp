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

SceneVerdict SceneWatch::Look(SceneLook look, uint32_t nowMs) {
  if (look == SceneLook::kAbsent) {
    if (windowSeen_) return SceneVerdict::kGone;
    const bool graceOver = absence_.CountAndCheck(nowMs, kStartGraceMs, kStartGraceLooks);
    return graceOver ? SceneVerdict::kNeverCame : SceneVerdict::kWatching;
  }
  windowSeen_ = true;
  if (look == SceneLook::kAnswering) {
    silence_.reset();
    return SceneVerdict::kWatching;
  }
  if (!silence_) silence_ = Wait{nowMs};
  return silence_->CountAndCheck(nowMs, kHangMs, kHangLooks) ? SceneVerdict::kHung : SceneVerdict::kWatching;
}

}  // namespace ventalune::launcher
