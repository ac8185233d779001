#pragma once
// The saver run's decisions that do not need a window: where the scene
// program lives, and when the watch over the scene window ends the run.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ventalune::launcher {

// The scene program beside the saver: folder + "\Ventalune.dll". The folder
// is the module's own UTF-16 path: an ANSI spelling of a profile folder
// outside the code page names no file at all.
std::wstring ScenePath(std::wstring_view programFolder);

// Starting another program, as the run starts the scene.
class ProgramStartPort {
 public:
  virtual ~ProgramStartPort() = default;
  // Starts the program file with no arguments in a normal window; its
  // process id, or nothing when it could not be started.
  virtual std::optional<uint32_t> Start(const std::wstring& path) = 0;
  // Lets that process take the foreground. The saver shows no window, and
  // the system keeps a process that started without one (the scene) from
  // the foreground unless one that may pass the right on does so; without
  // it Esc, the only way out of a run, would reach another window.
  virtual void AllowForeground(uint32_t processId) = 0;
};

// Starts the scene program beside the saver and passes the foreground on
// to it. True when it started.
bool StartScene(ProgramStartPort& programs, std::wstring_view programFolder);

// Follows the scene window through the run. The run ends once the window has
// been seen and is gone again, or when it has not appeared within the grace
// period (the scene program did not start), or when the window has stopped
// answering for a while: a hung scene covers the screen and takes no keys, so
// only the saver can end it.
class SceneWatch {
 public:
  static constexpr uint32_t kStartGraceMs = 10000;
  static constexpr uint32_t kHangMs = 10000;

  // One look: whether the window exists now, and the milliseconds since the
  // run started. True when the run should end.
  bool RunIsOver(bool windowExists, uint32_t msSinceStart);
  // One look at an existing window: whether it answered a message in time.
  // True once it has not answered for kHangMs without a break.
  bool SceneHung(bool answered, uint32_t msSinceStart);
  bool windowSeen() const { return windowSeen_; }

 private:
  bool windowSeen_ = false;
  std::optional<uint32_t> silentSinceMs_;  // since when the window has not answered
};

}  // namespace ventalune::launcher
