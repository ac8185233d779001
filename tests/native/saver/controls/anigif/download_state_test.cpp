#include "saver/controls/anigif/download_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "row_name.h"

namespace ventalune::anigif {
namespace {

using Step = DownloadState::Step;
using Failure = DownloadState::Failure;
using Outcome = DownloadState::Outcome;
using Call = DownloadState::Call;
using namespace std::chrono_literals;

// What WinINet does at each step the worker asks for; a completion ends
// the call under way (in the background) before the worker waits for it.
struct Act {
  enum Kind { kSend, kAnswer, kRead, kQuery, kComplete, kStray, kCancel } kind;
  Outcome how = Outcome::kDone;
  std::string bytes;       // what a read returns or a completed read wrote
  uint32_t available = 0;  // what a query says; for an answer, 1 = accepted
};
Act Send(Outcome how = Outcome::kDone) { return {Act::kSend, how, "", 0}; }
Act Accept() { return {Act::kAnswer, Outcome::kDone, "", 1}; }
Act Read(const std::string& bytes) { return {Act::kRead, Outcome::kDone, bytes, 0}; }
Act ReadLater() { return {Act::kRead, Outcome::kPending, "", 0}; }
Act Query(uint32_t available) { return {Act::kQuery, Outcome::kDone, "", available}; }
Act QueryLater() { return {Act::kQuery, Outcome::kPending, "", 0}; }
Act Complete(const std::string& bytes = "", bool ok = true) {
  return {Act::kComplete, ok ? Outcome::kDone : Outcome::kFailed, bytes, 0};
}
// A completion when no call is under way.
Act Stray() { return {Act::kStray, Outcome::kDone, "", 0}; }
Act CancelNow() { return {Act::kCancel, Outcome::kDone, "", 0}; }

uint32_t Put(DownloadState& state, const std::string& bytes) {
  std::memcpy(state.ReadBuffer().data(), bytes.data(), bytes.size());
  return static_cast<uint32_t>(bytes.size());
}

struct SequenceCase {
  std::string name;
  std::vector<Act> acts;
  Step end;
  Failure failure;
  std::string body;  // when it ends
  int64_t ceiling = 1 << 20;
};

class SequenceTest : public testing::TestWithParam<SequenceCase> {};

TEST_P(SequenceTest, KeepsEveryPieceInOrder) {
  const SequenceCase& row = GetParam();
  // Time-outs far longer than the test: only the acts end the waits.
  DownloadState state({row.ceiling, 60000, 60000, 600000}, 16);
  const Step asked[] = {Step::kSend, Step::kCheckAnswer, Step::kRead, Step::kQuery};
  const Call calls[] = {Call::kSend, Call::kNone, Call::kRead, Call::kQuery};
  for (size_t i = 0; i < row.acts.size(); ++i) {
    const Act& act = row.acts[i];
    SCOPED_TRACE("act " + std::to_string(i));
    switch (act.kind) {
      case Act::kComplete:
        ASSERT_EQ(state.Next(), Step::kWait);
        state.Completed(act.how == Outcome::kDone, act.how == Outcome::kDone ? Put(state, act.bytes) : 0);
        state.Wait();
        continue;
      case Act::kStray:
        state.Completed(true, Put(state, "stray"));
        continue;
      case Act::kCancel:
        state.Cancel();
        continue;
      default:
        break;
    }
    ASSERT_EQ(state.Next(), asked[act.kind]);
    if (act.kind == Act::kAnswer) {
      state.Answered(act.available != 0);
      continue;
    }
    const uint32_t length = act.kind == Act::kRead ? Put(state, act.bytes) : act.available;
    ASSERT_TRUE(state.Begin(calls[act.kind]));
    state.Returned(act.how, length);
  }
  EXPECT_EQ(state.Next(), row.end);
  EXPECT_EQ(state.failure(), row.failure);
  const std::vector<uint8_t> body = state.TakeBody();
  if (row.end == Step::kEnd) {
    EXPECT_EQ(std::string(body.begin(), body.end()), row.body);
  }
}

const std::vector<Act> kStarted = {Send(), Accept()};
std::vector<Act> Started(std::vector<Act> acts) {
  acts.insert(acts.begin(), kStarted.begin(), kStarted.end());
  return acts;
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SequenceTest,
    testing::Values(
        SequenceCase{"PiecesReturnedAtOnceAndLater",
                     Started({Query(4), Read("GIF8"), QueryLater(), Complete(), Query(7), ReadLater(),
                              Complete("9a-firs"), Query(7), Read("tsecond"), Query(0), Read("")}),
                     Step::kEnd, Failure::kNone, "GIF89a-firstsecond"},
        SequenceCase{"ReadThatWaitedAndGotNothingIsTheEnd",
                     Started({Query(3), Read("all"), Query(0), ReadLater(), Complete("")}), Step::kEnd, Failure::kNone,
                     "all"},
        SequenceCase{"QueryFindingNothingIsNotTheEnd", Started({Query(0), Read("late"), Query(0), Read("")}),
                     Step::kEnd, Failure::kNone, "late"},
        SequenceCase{"SendEndingLater",
                     {Send(Outcome::kPending), Complete(), Accept(), Query(0), Read("")},
                     Step::kEnd,
                     Failure::kNone,
                     ""},
        SequenceCase{"CompletionOfNoCallChangesNothing",
                     Started({Query(2), Read("ab"), Stray(), QueryLater(), Complete(), Query(2), ReadLater(),
                              Complete("cd"), Stray(), Query(0), Read("")}),
                     Step::kEnd, Failure::kNone, "abcd"},
        SequenceCase{"ExactlyTheCeiling",
                     Started({Query(5), Read("12345"), Query(3), ReadLater(), Complete("678"), Query(0), Read("")}),
                     Step::kEnd, Failure::kNone, "12345678", 8},
        SequenceCase{"OverTheCeilingLater", Started({Query(5), Read("12345"), Query(4), ReadLater(), Complete("6789")}),
                     Step::kFail, Failure::kOverCeiling, "", 8},
        SequenceCase{"ReadFailingLater", Started({Query(2), Read("ab"), Query(2), ReadLater(), Complete("", false)}),
                     Step::kFail, Failure::kCallFailed, ""},
        SequenceCase{"QueryFailingLater", Started({QueryLater(), Complete("", false)}), Step::kFail,
                     Failure::kCallFailed, ""},
        // The read stays WinINet's: what it writes later is not kept.
        SequenceCase{"CancelWhileReading", Started({Query(2), Read("ab"), Query(2), ReadLater(), CancelNow()}),
                     Step::kFail, Failure::kCancelled, ""},
        SequenceCase{"CancelWhileWaitingForData", Started({QueryLater(), CancelNow()}), Step::kFail,
                     Failure::kCancelled, ""}),
    testing_support::RowName());

struct ReadLengthCase {
  std::string name;
  uint32_t available;  // what the query said
  size_t asked;        // what the read then asks for, of a 16-byte buffer
  uint32_t returned;   // and is given
  Step next;
};

class ReadLengthTest : public testing::TestWithParam<ReadLengthCase> {};

TEST_P(ReadLengthTest, AsksForWhatHasArrived) {
  const ReadLengthCase& row = GetParam();
  DownloadState state({1 << 20, 60000, 60000, 600000}, 16);
  ASSERT_TRUE(state.Begin(Call::kSend));
  state.Returned(Outcome::kDone);
  state.Answered(true);
  ASSERT_TRUE(state.Begin(Call::kQuery));
  state.Returned(Outcome::kDone, row.available);
  EXPECT_EQ(state.ReadBuffer().size(), row.asked);
  ASSERT_TRUE(state.Begin(Call::kRead));
  state.Returned(Outcome::kDone, row.returned);
  EXPECT_EQ(state.Next(), row.next);
}

INSTANTIATE_TEST_SUITE_P(Reads, ReadLengthTest,
                         testing::Values(ReadLengthCase{"WhatTheQuerySaid", 5, 5, 5, Step::kQuery},
                                         ReadLengthCase{"AtMostABuffer", 100, 16, 16, Step::kQuery},
                                         ReadLengthCase{"AWholeBufferToFindTheEnd", 0, 16, 0, Step::kEnd},
                                         ReadLengthCase{"GivenMoreThanAsked", 5, 5, 6, Step::kFail}),
                         testing_support::RowName());

TEST(DownloadStateTest, NoSecondCallWhileOneIsUnderWay) {
  DownloadState state({1 << 20, 60000, 60000, 600000}, 16);
  ASSERT_TRUE(state.Begin(Call::kSend));
  state.Returned(Outcome::kPending);
  EXPECT_FALSE(state.Begin(Call::kRead));
  state.Cancel();
  EXPECT_FALSE(state.Begin(Call::kRead));
}

struct WaitCase {
  std::string name;
  uint32_t connect, receive, overall;
  Call call;
  bool connected;  // the callback told of the connection
  Failure failure;
};

class WaitTest : public testing::TestWithParam<WaitCase> {};

// The time-out that matters is short, the others far longer than the test.
TEST_P(WaitTest, EndsByTheShortestTime) {
  const WaitCase& row = GetParam();
  DownloadState state({1 << 20, row.connect, row.receive, row.overall}, 16);
  if (row.call != Call::kSend) {
    ASSERT_TRUE(state.Begin(Call::kSend));
    state.Returned(Outcome::kDone);
    state.Answered(true);
  }
  ASSERT_TRUE(state.Begin(row.call));
  state.Returned(Outcome::kPending);
  if (row.connected) state.Connected();
  const auto start = std::chrono::steady_clock::now();
  state.Wait();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
  EXPECT_EQ(state.Next(), Step::kFail);
  EXPECT_EQ(state.failure(), row.failure);
}

INSTANTIATE_TEST_SUITE_P(
    Times, WaitTest,
    testing::Values(
        WaitCase{"NeverConnects", 200, 600000, 600000, Call::kSend, false, Failure::kTimedOut},
        WaitCase{"ConnectedButNoAnswer", 600000, 200, 600000, Call::kSend, true, Failure::kTimedOut},
        WaitCase{"NoPiece", 600000, 200, 600000, Call::kRead, false, Failure::kTimedOut},
        WaitCase{"DeadlineBeforeThePiece", 600000, 600000, 300, Call::kRead, false, Failure::kDeadlinePassed},
        WaitCase{"DeadlineWhileConnecting", 600000, 600000, 300, Call::kSend, false, Failure::kDeadlinePassed}),
    testing_support::RowName());

// Sent and answered: the body comes next.
void Answered(DownloadState& state) {
  state.Begin(Call::kSend);
  state.Returned(Outcome::kDone);
  state.Answered(true);
}

TEST(DownloadStateThreadsTest, TrickleWithinThePieceTimeOutEndsAtTheDeadline) {
  auto state = std::make_shared<DownloadState>(DownloadLimits{1 << 20, 60000, 5000, 800}, 16);
  Answered(*state);
  std::atomic<bool> stop{false};
  // WinINet on its own thread: a byte has come for each query waiting.
  std::thread server([state, &stop] {
    while (!stop) {
      std::this_thread::sleep_for(20ms);
      state->Completed(true, 0);
    }
  });
  const auto start = std::chrono::steady_clock::now();
  int bytes = 0;
  bool waited = false;
  for (Step step = state->Next(); step != Step::kEnd && step != Step::kFail; step = state->Next()) {
    if (step == Step::kWait) {
      state->Wait();
      waited = true;
    } else if (step == Step::kQuery && state->Begin(Call::kQuery)) {
      // Asked again after the wait, the query finds the byte.
      state->Returned(waited ? Outcome::kDone : Outcome::kPending, 1);
      waited = false;
    } else if (step == Step::kRead && state->Begin(Call::kRead)) {
      state->Returned(Outcome::kDone, 1);
      ++bytes;
    }
  }
  stop = true;
  server.join();
  EXPECT_GT(bytes, 4);
  EXPECT_EQ(state->failure(), Failure::kDeadlinePassed);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

// The worker gives up on a read (here cancelled) and lets go of the state;
// WinINet, which kept it, writes into the buffer afterwards and completes.
TEST(DownloadStateThreadsTest, ReadEndingAfterTheWorkerLeftWritesIntoLiveMemory) {
  auto state = std::make_shared<DownloadState>(DownloadLimits{1 << 20, 60000, 60000, 600000}, 1 << 16);
  Answered(*state);
  ASSERT_TRUE(state->Begin(Call::kQuery));
  state->Returned(Outcome::kDone, 1 << 16);
  ASSERT_TRUE(state->Begin(Call::kRead));
  state->Returned(Outcome::kPending);
  std::thread wininet([kept = state] {
    std::this_thread::sleep_for(100ms);
    std::memset(kept->ReadBuffer().data(), 0x47, kept->ReadBuffer().size());
    kept->Completed(true, static_cast<uint32_t>(kept->ReadBuffer().size()));
  });
  std::thread cancel([state] { state->Cancel(); });
  state->Wait();
  cancel.join();
  EXPECT_EQ(state->failure(), Failure::kCancelled);
  EXPECT_TRUE(state->TakeBody().empty());
  state.reset();
  wininet.join();
}

}  // namespace
}  // namespace ventalune::anigif
