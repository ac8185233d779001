#pragma once
// The state of one web download, apart from WinINet: which call is under
// way and how it ended, a cancel, the download's overall deadline, and the
// body kept so far. The worker, WinINet's status callback and a cancelling
// thread share it; it guards itself.
//
// A call may go on in the background after it returned (asynchronously).
// The body is taken in turns: a query for data, which waits in the
// background until some has arrived and says how much, then a read of that
// much, which WinINet has at hand. A read too may end in the background,
// filling the state's own buffer; the worker keeps its bytes like those of
// a read that returned at once, in order, so no piece of the body is lost.
// While one call is under way no other is made, as the two would share
// the buffer. Only a read that succeeded with 0 bytes ends the body.
//
// WinINet may still write into the buffer after the worker gave up
// (cancelled, timed out, past the deadline): whoever hands WinINet the
// buffer keeps the state alive until WinINet has let go of the handle.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace ventalune::anigif {

// The end of a download, `overallMs` after its start; every wait is cut there.
class DownloadDeadline {
 public:
  DownloadDeadline(uint64_t startMs, uint32_t overallMs) : endMs_(startMs + overallMs) {}
  bool Passed(uint64_t nowMs) const { return nowMs >= endMs_; }
  // How long a wait of its own time-out `waitMs` may last from now.
  uint32_t Cut(uint64_t nowMs, uint32_t waitMs) const {
    return Passed(nowMs) ? 0 : static_cast<uint32_t>(std::min<uint64_t>(waitMs, endMs_ - nowMs));
  }

 private:
  uint64_t endMs_;
};

struct DownloadLimits {
  int64_t ceilingBytes = 0;  // a body above this fails
  uint32_t connectMs = 0;    // for the connection
  uint32_t receiveMs = 0;    // for the answer, then for each piece of the body
  uint32_t overallMs = 0;    // for all of it, from the state's making
};

class DownloadState {
 public:
  // The calls that may go on in the background.
  enum class Call { kNone, kSend, kRead, kQuery };
  enum class Outcome { kDone, kPending, kFailed };
  // What the worker does next.
  enum class Step { kSend, kCheckAnswer, kRead, kQuery, kWait, kEnd, kFail };
  enum class Failure { kNone, kCallFailed, kRefused, kTimedOut, kDeadlinePassed, kCancelled, kOverCeiling };

  DownloadState(const DownloadLimits& limits, uint32_t chunkBytes);
  DownloadState(const DownloadState&) = delete;
  DownloadState& operator=(const DownloadState&) = delete;

  // --- the worker
  Step Next();
  // Where the next read puts its bytes, as many as it asks for; WinINet's
  // while that read is under way.
  std::span<uint8_t> ReadBuffer() { return std::span<uint8_t>(buffer_).first(readLength_); }
  // Before the call, so that a completion coming before the call has even
  // returned finds it under way. False when one still is, or after a cancel:
  // make no call then.
  bool Begin(Call call);
  // How the call begun returned; `length` is what a read returned at once,
  // or the bytes a query says are there.
  void Returned(Outcome how, uint32_t length = 0);
  void Answered(bool accepted);
  // Waits for the call under way to end, a cancel, or its time-out (cut at
  // the deadline), and takes what the call brought.
  void Wait();
  Failure failure() const;
  // The body received; the worker's once its steps have ended.
  std::vector<uint8_t> TakeBody();

  // --- WinINet's status callback, on any thread
  void Connected();
  // The call under way ended; `length` is what a read put into the buffer.
  // Nothing when no call is under way.
  void Completed(bool succeeded, uint32_t length);

  // --- anyone
  void Cancel();

 private:
  using Clock = std::chrono::steady_clock;
  uint64_t NowMs() const;
  void FailLocked(Failure failure);
  void KeepLocked(uint32_t length);
  void SucceededLocked(Call call, uint32_t length);
  // Waits until `done` holds, a cancel, or `waitMs` (cut at the deadline);
  // false, with the failure set, unless `done`.
  template <class Done>
  bool WaitLocked(std::unique_lock<std::mutex>& lock, uint32_t waitMs, Done done);

  const DownloadLimits limits_;
  const Clock::time_point start_;
  const DownloadDeadline deadline_;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  Step step_ = Step::kSend;
  Failure failure_ = Failure::kNone;
  bool cancelled_ = false;
  Call pending_ = Call::kNone;
  bool connected_ = false;
  bool completed_ = false;        // the pending call ended …
  bool succeeded_ = false;        // … so …
  uint32_t completedLength_ = 0;  // … with so many bytes in the buffer
  std::vector<uint8_t> buffer_;
  size_t readLength_;
  std::vector<uint8_t> body_;
};

}  // namespace ventalune::anigif
