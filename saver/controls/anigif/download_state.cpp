#include "saver/controls/anigif/download_state.h"

namespace ventalune::anigif {

DownloadState::DownloadState(const DownloadLimits& limits, uint32_t chunkBytes)
    : limits_(limits), start_(Clock::now()), deadline_(0, limits.overallMs), buffer_(chunkBytes),
      readLength_(chunkBytes) {}

uint64_t DownloadState::NowMs() const {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
}

// The first failure is the one that counts; an ended body stays ended.
void DownloadState::FailLocked(Failure failure) {
  if (step_ == Step::kFail || step_ == Step::kEnd) return;
  step_ = Step::kFail;
  failure_ = failure;
}

void DownloadState::KeepLocked(uint32_t length) {
  if (static_cast<int64_t>(body_.size()) + length > limits_.ceilingBytes) {
    FailLocked(Failure::kOverCeiling);
    return;
  }
  body_.insert(body_.end(), buffer_.begin(), buffer_.begin() + length);
  step_ = Step::kQuery;
}

DownloadState::Step DownloadState::Next() {
  std::lock_guard<std::mutex> guard(lock_);
  if (cancelled_) FailLocked(Failure::kCancelled);
  else if (deadline_.Passed(NowMs())) FailLocked(Failure::kDeadlinePassed);
  return step_;
}

bool DownloadState::Begin(Call call) {
  std::lock_guard<std::mutex> guard(lock_);
  if (cancelled_ || pending_ != Call::kNone || call == Call::kNone) return false;
  pending_ = call;
  completed_ = succeeded_ = false;
  completedLength_ = 0;
  return true;
}

void DownloadState::Returned(Outcome how, uint32_t length) {
  std::lock_guard<std::mutex> guard(lock_);
  const Call call = pending_;
  if (call == Call::kNone || step_ == Step::kFail) return;
  if (how == Outcome::kPending) {
    step_ = Step::kWait;
    return;
  }
  pending_ = Call::kNone;
  if (how == Outcome::kFailed) {
    FailLocked(Failure::kCallFailed);
    return;
  }
  if (call == Call::kQuery) {
    // None is there only at the end, which a read of a whole buffer then
    // confirms; a read never asks for more than the query said is there,
    // so WinINet has it at hand.
    readLength_ = length == 0 ? buffer_.size() : std::min<size_t>(length, buffer_.size());
    step_ = Step::kRead;
    return;
  }
  SucceededLocked(call, length);
}

void DownloadState::Answered(bool accepted) {
  std::lock_guard<std::mutex> guard(lock_);
  if (step_ != Step::kCheckAnswer) return;
  if (accepted) step_ = Step::kQuery;
  else FailLocked(Failure::kRefused);
}

template <class Done>
bool DownloadState::WaitLocked(std::unique_lock<std::mutex>& lock, uint32_t waitMs, Done done) {
  const uint64_t waitEnd = NowMs() + waitMs;
  for (;;) {
    if (cancelled_) {
      FailLocked(Failure::kCancelled);
      return false;
    }
    if (done()) return true;
    const uint64_t now = NowMs();
    if (deadline_.Passed(now)) {
      FailLocked(Failure::kDeadlinePassed);
      return false;
    }
    if (now >= waitEnd) {
      FailLocked(Failure::kTimedOut);
      return false;
    }
    changed_.wait_for(lock, std::chrono::milliseconds(deadline_.Cut(now, static_cast<uint32_t>(waitEnd - now))));
  }
}

void DownloadState::Wait() {
  std::unique_lock<std::mutex> lock(lock_);
  if (pending_ == Call::kNone || step_ != Step::kWait) return;
  // A connection kept from an earlier request shows no connecting: any
  // sign of life, or the end of the call, ends the connect wait.
  if (pending_ == Call::kSend && !WaitLocked(lock, limits_.connectMs, [this] { return connected_ || completed_; }))
    return;
  if (!WaitLocked(lock, limits_.receiveMs, [this] { return completed_; })) return;
  const Call call = pending_;
  pending_ = Call::kNone;
  if (!succeeded_) {
    FailLocked(Failure::kCallFailed);
    return;
  }
  if (call == Call::kQuery) {
    step_ = Step::kQuery;  // data has come: asked again, the query says how much
    return;
  }
  SucceededLocked(call, completedLength_);
}

// A send or a read ended well, at once or in the background; `length` is
// what a read put into the buffer.
void DownloadState::SucceededLocked(Call call, uint32_t length) {
  if (call == Call::kSend) {
    step_ = Step::kCheckAnswer;
  } else if (call == Call::kRead) {
    if (length > readLength_) FailLocked(Failure::kCallFailed);
    else if (length > 0) KeepLocked(length);
    else step_ = Step::kEnd;
  }
}

std::vector<uint8_t> DownloadState::TakeBody() {
  std::lock_guard<std::mutex> guard(lock_);
  return std::move(body_);
}

DownloadState::Failure DownloadState::failure() const {
  std::lock_guard<std::mutex> guard(lock_);
  return failure_;
}

void DownloadState::Connected() {
  std::lock_guard<std::mutex> guard(lock_);
  connected_ = true;
  changed_.notify_all();
}

void DownloadState::Completed(bool succeeded, uint32_t length) {
  std::lock_guard<std::mutex> guard(lock_);
  if (pending_ == Call::kNone || completed_) return;
  completed_ = true;
  succeeded_ = succeeded && (pending_ != Call::kRead || length <= readLength_);
  completedLength_ = succeeded_ ? length : 0;
  changed_.notify_all();
}

void DownloadState::Cancel() {
  std::lock_guard<std::mutex> guard(lock_);
  cancelled_ = true;
  changed_.notify_all();
}

}  // namespace ventalune::anigif
