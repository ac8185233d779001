#include "scene/frame_timer.h"

#include <mmsystem.h>

namespace ventalune::scene {
namespace {

// Known to Windows 10 1803 and later; older systems refuse the flag.
constexpr DWORD kHighResolutionTimer = 0x00000002;

}  // namespace

FrameTimer::FrameTimer() {
  LARGE_INTEGER frequency{};
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0)
    ticksPerSecond_ = static_cast<uint64_t>(frequency.QuadPart);
  timer_ = CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
  if (!timer_) {
    // An ordinary timer fires on the system tick (15.6 ms by default), which
    // would halve the frame rate: ask for a 1 ms tick while we run.
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    raisedSystemTimerRate_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  }
}

FrameTimer::~FrameTimer() {
  if (timer_) CloseHandle(timer_);
  if (raisedSystemTimerRate_) timeEndPeriod(1);
}

uint64_t FrameTimer::Now() const {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<uint64_t>(counter.QuadPart);
}

void FrameTimer::WaitForFrameOrMessage(uint64_t ticks) {
  // Relative due times are negative, in units of 100 ns.
  const uint64_t hundredNs = ticks * 10'000'000 / ticksPerSecond_;
  LARGE_INTEGER due{};
  due.QuadPart = -static_cast<LONGLONG>(hundredNs > 0 ? hundredNs : 1);
  if (timer_ && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
    // Without MWMO_INPUTAVAILABLE only messages that arrived since the loop
    // last looked wake us, so a message for another window of the thread,
    // which the loop leaves alone, cannot keep us spinning.
    MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, 0);
  } else {
    const DWORD ms = static_cast<DWORD>((hundredNs + 9'999) / 10'000);
    MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT, 0);
  }
}

bool RequestSwapInterval(int interval) {
  using SwapIntervalProc = BOOL(WINAPI*)(int);
  // Drivers without WGL_EXT_swap_control give no entry point.
  const PROC entry = wglGetProcAddress("wglSwapIntervalEXT");
  if (!entry) return false;
  return reinterpret_cast<SwapIntervalProc>(reinterpret_cast<void*>(entry))(interval) != FALSE;
}

}  // namespace ventalune::scene
