#pragma once
// One control's timer: ticks go to this object's handler on the window
// thread, never after Kill or destruction. The system's timer procedure is
// told only a timer id, so each arming takes a fresh id from a registry of
// the thread's armed timers and the procedure finds its binding there.
#include <windows.h>

#include <cstdint>
#include <functional>

#include "saver/controls/anigif/animation_controller.h"

namespace ventalune::anigif {

class TimerBinding {
 public:
  using Handler = std::function<void(TimerKind kind)>;
  TimerBinding(HWND owner, Handler handler) : owner_(owner), handler_(std::move(handler)) {}
  ~TimerBinding() { Kill(); }
  TimerBinding(const TimerBinding&) = delete;
  TimerBinding& operator=(const TimerBinding&) = delete;

  // Replaces an armed timer. A 60 s probe is armed and killed first: if the
  // system gives no timer, nothing is armed and the result is false.
  bool Arm(TimerKind kind, UINT milliseconds);
  void Kill();
  bool armed() const { return id_ != 0; }

  // How many timers this thread has armed through bindings.
  static size_t ArmedOnThisThread();

 private:
  static void CALLBACK Procedure(HWND window, UINT message, UINT_PTR id, DWORD time);

  HWND owner_;
  Handler handler_;
  UINT_PTR id_ = 0;
  TimerKind kind_ = TimerKind::Animate;
};

}  // namespace ventalune::anigif
