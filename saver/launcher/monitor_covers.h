#pragma once
// During a run that shows the room on the main monitor only, every other
// monitor goes dark: a borderless black topmost window over each of them. The covers never take the keyboard, hide
// the cursor as the scene does, and follow the monitors when they change.
#include <windows.h>

#include <vector>

namespace ventalune::launcher {

class MonitorCovers {
 public:
  explicit MonitorCovers(HINSTANCE instance) : instance_(instance) {}
  ~MonitorCovers() { Remove(); }
  MonitorCovers(const MonitorCovers&) = delete;
  MonitorCovers& operator=(const MonitorCovers&) = delete;

  // Covers the monitors; `owner` is the run window, which the covers ask to
  // end the run (kEndRunRequest). Only the first call counts.
  void Show(HWND owner);
  // Lays the covers again for the monitors as they are now; nothing before
  // Show or after Remove.
  void Relayout();
  // Takes the covers away for good.
  void Remove();

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  enum class State { kWaiting, kShown, kRemoved };
  HWND CreateCover(const RECT& rect);
  void EndRun();

  HINSTANCE instance_;
  HWND owner_ = nullptr;
  State state_ = State::kWaiting;
  std::vector<HWND> covers_;
};

}  // namespace ventalune::launcher
