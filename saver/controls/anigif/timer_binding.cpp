#include "saver/controls/anigif/timer_binding.h"

#include "saver/controls/anigif/timer_registry.h"

namespace ventalune::anigif {
namespace {

// Timers and their procedure run on the thread that armed them.
TimerRegistry<TimerBinding>& Registry() {
  thread_local TimerRegistry<TimerBinding> registry;
  return registry;
}

}  // namespace

bool TimerBinding::Arm(TimerKind kind, UINT milliseconds) {
  Kill();
  if (!owner_) return false;
  const UINT_PTR id = Registry().Add(this);
  if (!SetTimer(owner_, id, kProbeTimerMs, Procedure)) {
    Registry().Remove(id);
    return false;
  }
  KillTimer(owner_, id);
  if (!SetTimer(owner_, id, milliseconds, Procedure)) {
    Registry().Remove(id);
    return false;
  }
  id_ = id;
  kind_ = kind;
  return true;
}

void TimerBinding::Kill() {
  if (id_ == 0) return;
  KillTimer(owner_, id_);
  Registry().Remove(id_);
  id_ = 0;
}

size_t TimerBinding::ArmedOnThisThread() { return Registry().size(); }

void CALLBACK TimerBinding::Procedure(HWND window, UINT, UINT_PTR id, DWORD) {
  TimerBinding* binding = Registry().Find(id);
  if (!binding) {
    // A tick of a timer its owner let go of: make sure it is gone.
    KillTimer(window, id);
    return;
  }
  // The handler may end the control, binding and all: it runs from a copy.
  const TimerKind kind = binding->kind_;
  const Handler handler = binding->handler_;
  handler(kind);
}

}  // namespace ventalune::anigif
