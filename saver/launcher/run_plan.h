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

// What one look at the scene window finds.
enum class SceneLook {
  kAbsent,     // no scene window
  kAnswering,  // there, and it took a message in time
  kSilent,     // there, and it did not
};

// What the watch makes of the scene after a look.
enum class SceneVerdict {
  kWatching,   // the run goes on
  kGone,       // the window was there and has gone: the scene ended
  kNeverCame,  // no window within the start grace: the scene did not start
  kHung,       // the window stopped answering: the run must end the scene
};

// Follows the scene window from the moment the scene program was started.
// A hung scene covers the screen and takes no keys, so only the saver can
// end it.
//
// The tick count runs on while the machine sleeps, so time alone cannot tell
// a long silence from a short one with a sleep in the middle: a look just
// before a sleep and one just after are hours apart. Both waits (the start
// grace and the hang) therefore also need enough looks in a row to cover
// their time at the look period; looks only happen while the machine is awake.
class SceneWatch {
 public:
  static constexpr uint32_t kLookPeriodMs = 500;
  static constexpr uint32_t kStartGraceMs = 10000;
  static constexpr uint32_t kHangMs = 10000;
  static constexpr uint32_t kStartGraceLooks = kStartGraceMs / kLookPeriodMs;
  static constexpr uint32_t kHangLooks = kHangMs / kLookPeriodMs;

  // Watches a scene started at tick `sceneStartedMs`: the grace counts from
  // there, never from before (the run may have spent long on the picture).
  explicit SceneWatch(uint32_t sceneStartedMs) : absence_{sceneStartedMs} {}

  // One look, at tick `nowMs` (a tick count that may wrap).
  SceneVerdict Look(SceneLook look, uint32_t nowMs);

 private:
  // A wait for the window to come or to answer: over once it has lasted `ms`
  // and taken `neededLooks` looks.
  struct Wait {
    uint32_t sinceMs;
    uint32_t looks = 0;
    bool CountAndCheck(uint32_t nowMs, uint32_t ms, uint32_t neededLooks) {
      ++looks;
      return looks >= neededLooks && nowMs - sinceMs >= ms;
    }
  };

  bool windowSeen_ = false;
  Wait absence_;                 // from the scene's start until its window is first seen
  std::optional<Wait> silence_;  // from the first of the silent looks in a row
};

}  // namespace ventalune::launcher
