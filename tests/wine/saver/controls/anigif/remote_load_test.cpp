// Remote loads from a web server on 127.0.0.1 that remote_load.sh starts:
// the complete load, Cancel, every failure, the size ceiling, and silence
// after the control is released mid-download; a body sent in pieces with
// pauses, a server trickling within the receive time-out, which the
// overall deadline ends, and a cancel while a read waits in WinINet. Then
// loads from ports that never answer: cancelled or timed out, they end
// without waiting for the network, and completion messages forged from
// outside do nothing.
#include "silent_port.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <malloc.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "control_host.h"
#include "gifview_runner.h"
#include "sample_gifs.h"
#include "saver/controls/anigif/anigif_control.h"
#include "saver/toolkit/twips.h"
#include "saver/controls/anigif/remote_download.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {

using anigif::ucAniGIF;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Url(const std::string& path, const char* portVariable = "ANIGIF_SERVER_PORT") {
  return "http://127.0.0.1:" + Environment(portVariable) + path;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

class RemoteLoadTest : public testing::Test {
 protected:
  void SetUp() override {
    if (Environment("ANIGIF_SERVER_PORT").empty()) GTEST_SKIP() << "run through remote_load.sh";
    if (!host_) {
      // One host for all: destroying a top-level window takes Wine a while.
      OleInitialize(nullptr);
      host_ = std::make_unique<ControlHost>(50, 50, 200, 120);
    }
    control_ = std::make_unique<ucAniGIF>();
    ASSERT_TRUE(control_->Create(host_->window(), 10, 10, 60, 40));
    control_->RemoteLoadComplete = [this](float width, float height, bool& cancel) {
      events_.push_back("Complete " + std::to_string(static_cast<int>(width)) + " " +
                        std::to_string(static_cast<int>(height)));
      cancel = cancel_;
    };
    control_->RemoteLoadFailure = [this] { events_.push_back("Failure"); };
    // The banner on the server: the 12 × 10 four-frame GIF.
    WriteRawFile(Environment("ANIGIF_SERVED_FOLDER") + "\\banner.gif", DisposalsGif().bytes);
  }
  void TearDown() override { control_.reset(); }
  static void TearDownTestSuite() { host_.reset(); }
  bool WaitForEvents(size_t count) { return WaitFor([&] { return events_.size() >= count; }, 20s); }
  std::string Twips(int pixels) const { return std::to_string(toolkit::PixelsToTwipsRoundedDown(pixels, ScreenDpi())); }

  static inline std::unique_ptr<ControlHost> host_;
  std::unique_ptr<ucAniGIF> control_;
  std::vector<std::string> events_;
  bool cancel_ = false;
};

TEST_F(RemoteLoadTest, CompleteLoadsThePicture) {
  control_->LoadAnimatedGIF_Remote(Wide(Url("/banner.gif")));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_, (std::vector<std::string>{"Complete " + Twips(12) + " " + Twips(10)}));
  EXPECT_EQ(control_->FrameCount(), 4);
}

TEST_F(RemoteLoadTest, CancelInCompleteKeepsTheOldPicture) {
  ASSERT_TRUE(control_->LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes));
  cancel_ = true;
  control_->LoadAnimatedGIF_Remote(Wide(Url("/banner.gif")));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_.front().rfind("Complete", 0), 0u);
  EXPECT_EQ(control_->FrameCount(), 2);
}

TEST_F(RemoteLoadTest, FileUrlLoadsToo) {
  std::string path = Environment("ANIGIF_SERVED_FOLDER") + "\\banner.gif";
  for (char& c : path)
    if (c == '\\') c = '/';
  control_->LoadAnimatedGIF_Remote(Wide("file:///" + path));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_.front().rfind("Complete", 0), 0u);
  EXPECT_EQ(control_->FrameCount(), 4);
}

struct FailureCase {
  std::string name;
  std::string url;  // a path on the server, or a whole URL
  int64_t ceiling;  // 0: the control's own
};

class RemoteFailureTest : public RemoteLoadTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(RemoteFailureTest, RaisesFailureOnlyAndLoadsNothing) {
  const FailureCase& row = GetParam();
  ASSERT_TRUE(control_->LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes));
  if (row.ceiling > 0) control_->SetDownloadCeiling(row.ceiling);
  std::string url = row.url;
  if (url == "GONE") url = Url("/banner.gif", "ANIGIF_GONE_PORT");
  else if (url.front() == '/') url = Url(url);
  control_->LoadAnimatedGIF_Remote(Wide(url));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_, (std::vector<std::string>{"Failure"}));
  EXPECT_EQ(control_->FrameCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RemoteFailureTest,
    testing::Values(FailureCase{"FourteenBytes", "/fourteen", 0}, FailureCase{"NotAGif", "/not-a-gif", 0},
                    FailureCase{"NotFound", "/no-such.gif", 0}, FailureCase{"ServerGone", "GONE", 0},
                    FailureCase{"UnknownScheme", "gopher://127.0.0.1/x.gif", 0},
                    FailureCase{"MissingFile", "file:///C:/no/such.gif", 0},
                    FailureCase{"OverALoweredCeiling", "/bytes/1048577", 1 << 20},
                    FailureCase{"OverTheFileCeiling", "/bytes/67108865", 0}),
    [](const testing::TestParamInfo<FailureCase>& row) { return row.param.name; });

TEST_F(RemoteLoadTest, ExactlyTheCeilingStillArrives) {
  control_->SetDownloadCeiling(1 << 20);
  control_->LoadAnimatedGIF_Remote(Wide(Url("/bytes/1048576")));
  ASSERT_TRUE(WaitForEvents(1));
  // A GIF header and nothing else: it looks like a GIF, so Complete comes,
  // but it holds no frame to load.
  EXPECT_EQ(events_.front().rfind("Complete", 0), 0u);
  EXPECT_EQ(control_->FrameCount(), 0);
}

TEST_F(RemoteLoadTest, ReleasedMidDownloadHearsNothing) {
  control_->LoadAnimatedGIF_Remote(Wide(Url("/slow/banner.gif")));
  control_->Destroy();
  // The server finishes its answer after 3 s.
  EXPECT_FALSE(WaitFor([&] { return !events_.empty(); }, std::chrono::milliseconds(4000)));
}

TEST_F(RemoteLoadTest, NewLoadReplacesOneStillRunning) {
  control_->LoadAnimatedGIF_Remote(Wide(Url("/slow/banner.gif")));
  control_->LoadAnimatedGIF_Remote(Wide(Url("/fourteen")));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_FALSE(WaitFor([&] { return events_.size() > 1; }, std::chrono::milliseconds(4000)));
  EXPECT_EQ(events_, (std::vector<std::string>{"Failure"}));
}

// Each pause leaves the worker with a call waiting in WinINet (a query for
// data, or a read), which ends with the next piece: every piece must be
// kept, in order.
TEST_F(RemoteLoadTest, BodyInPiecesArrivesWhole) {
  const SampleGif gif = LargeAnimationGif();
  ASSERT_GT(gif.bytes.size(), 64u * 1024);
  WriteRawFile(Environment("ANIGIF_SERVED_FOLDER") + "\\pieces.gif", gif.bytes);
  const std::shared_ptr<anigif::RemoteDownload> download = anigif::RemoteDownload::Start(
      host_->window(), Wide(Url("/pieces/pieces.gif")), int64_t{1} << 26, anigif::DownloadTimeouts{});
  ASSERT_TRUE(download);
  std::unique_ptr<anigif::DownloadResult> result;
  ASSERT_TRUE(WaitFor([&] { return (result = download->TakeResult()) != nullptr; }, 30s));
  EXPECT_TRUE(result->ok);
  EXPECT_TRUE(result->bytes == gif.bytes) << result->bytes.size() << " bytes of " << gif.bytes.size();

  // And through the control, as a host loads it.
  control_->LoadAnimatedGIF_Remote(Wide(Url("/pieces/pieces.gif")));
  ASSERT_TRUE(WaitForEvents(1));
  EXPECT_EQ(events_, (std::vector<std::string>{"Complete " + Twips(300) + " " + Twips(200)}));
  EXPECT_EQ(control_->FrameCount(), 4);
}

// A byte every 2 s never lets the receive time-out (30 s) pass; the overall
// deadline ends the download as a failure.
TEST_F(RemoteLoadTest, TrickleEndsAtTheDeadline) {
  const int heldBefore = anigif::RemoteDownload::HeldTransfers();
  ASSERT_TRUE(control_->LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes));
  control_->SetDownloadTimeouts({15000, 30000, 3000});
  const auto start = std::chrono::steady_clock::now();
  control_->LoadAnimatedGIF_Remote(Wide(Url("/trickle")));
  ASSERT_TRUE(WaitForEvents(1));
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(events_, (std::vector<std::string>{"Failure"}));
  EXPECT_GE(took, 2500ms);
  EXPECT_LT(took, 11s);  // before the server's 12 s of bytes end by themselves
  EXPECT_EQ(control_->FrameCount(), 2);
  // WinINet lets go of the transfer once its call has ended, at the latest
  // when the trickle does.
  EXPECT_TRUE(WaitFor([&] { return anigif::RemoteDownload::HeldTransfers() <= heldBefore; }, 30s));
}

// The server stalls after half the body; the worker's call waits in WinINet
// for the rest when the control goes. The rest comes 6 s into the stall,
// into memory WinINet was given: the transfer's, kept until WinINet lets go
// of it.
TEST_F(RemoteLoadTest, ReleasedWhileAReadWaitsHearsNothing) {
  const std::string served = Environment("ANIGIF_SERVED_FOLDER") + "\\stalled.gif";
  WriteRawFile(served, LargeAnimationGif().bytes);
  const int workersBefore = anigif::RemoteDownload::RunningWorkers();
  const int heldBefore = anigif::RemoteDownload::HeldTransfers();
  control_->LoadAnimatedGIF_Remote(Wide(Url("/stall/stalled.gif")));
  const std::wstring stalled = Wide(served + ".stalled");
  ASSERT_TRUE(WaitFor([&] { return GetFileAttributesW(stalled.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20s));
  WaitFor([] { return false; }, 700ms);  // the worker takes the first half and waits for more
  EXPECT_EQ(anigif::RemoteDownload::RunningWorkers(), workersBefore + 1);
  control_->Destroy();
  // Well before the rest comes: the cancel, not the data, ends the worker.
  EXPECT_TRUE(WaitFor([&] { return anigif::RemoteDownload::RunningWorkers() == workersBefore; }, 4s));
  // Past the stall: the rest arrives and WinINet ends its read.
  EXPECT_FALSE(WaitFor([&] { return !events_.empty(); }, 7s));
  EXPECT_TRUE(WaitFor([&] { return anigif::RemoteDownload::HeldTransfers() <= heldBefore; }, 30s));
  EXPECT_EQ(_heapchk(), _HEAPOK);
  EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
  DeleteFileW(stalled.c_str());
}

TEST_F(RemoteLoadTest, GifviewReportsTheRemoteEvents) {
  // The loop count asked for holds for the downloaded picture, too.
  const GifviewRun loaded = RunGifview("--loops 1 --exit-after 3000 " + Url("/banner.gif"), false, 20s);
  EXPECT_EQ(loaded.Count("RemoteLoadComplete " + Twips(12) + " " + Twips(10)), 1);
  EXPECT_EQ(loaded.Count("LoopsEnded"), 1);
  const GifviewRun cancelled = RunGifview("--cancel-remote 1 --loops 1 --exit-after 2000 " + Url("/banner.gif"), false, 20s);
  EXPECT_EQ(cancelled.Count("LoopsEnded"), 0);
  const GifviewRun failed = RunGifview("--exit-after 3000 " + Url("/fourteen"), false, 20s);
  EXPECT_EQ(failed.Count("RemoteLoadFailure"), 1);
}

// --- ports that never answer ---------------------------------------------------------

using anigif::RemoteDownload;

class UnansweredLoadTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    host_ = std::make_unique<ControlHost>(50, 50, 200, 120);
  }
  static void TearDownTestSuite() { host_.reset(); }
  void SetUp() override {
    workersBefore_ = RemoteDownload::RunningWorkers();
    control_ = std::make_unique<ucAniGIF>();
    ASSERT_TRUE(control_->Create(host_->window(), 10, 10, 60, 40));
    control_->RemoteLoadComplete = [this](float, float, bool&) { events_.push_back("Complete"); };
    control_->RemoteLoadFailure = [this] { events_.push_back("Failure"); };
  }
  void TearDown() override { control_.reset(); }
  bool WorkersBackToBefore(std::chrono::milliseconds timeout) {
    return WaitFor([&] { return RemoteDownload::RunningWorkers() == workersBefore_; }, timeout);
  }

  static inline std::unique_ptr<ControlHost> host_;
  std::unique_ptr<ucAniGIF> control_;
  std::vector<std::string> events_;
  int workersBefore_ = 0;
};

struct CancelCase {
  std::string name;
  SilentPort::Kind port;
  std::function<void(std::unique_ptr<ucAniGIF>&)> cancel;
  std::vector<std::string> events;  // what the control raises afterwards
};
void PrintTo(const CancelCase& row, std::ostream* out) { *out << row.name; }

class CancelTest : public UnansweredLoadTest, public testing::WithParamInterface<CancelCase> {};

// Time-outs far longer than the wait: only the cancel can end the load in time.
TEST_P(CancelTest, EndsTheLoadAtOnce) {
  const CancelCase& row = GetParam();
  SilentPort server(row.port);
  control_->SetDownloadTimeouts({60000, 60000});
  control_->LoadAnimatedGIF_Remote(server.Url());
  if (row.port == SilentPort::kNeverAnswers) {
    ASSERT_TRUE(server.WaitForConnection(10s));
  }
  EXPECT_EQ(RemoteDownload::RunningWorkers(), workersBefore_ + 1);
  row.cancel(control_);
  EXPECT_TRUE(WorkersBackToBefore(5s));
  WaitFor([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(events_, row.events);
}

INSTANTIATE_TEST_SUITE_P(
    Cancels, CancelTest,
    testing::Values(CancelCase{"ReleasingTheControlAwaitingAnswer", SilentPort::kNeverAnswers,
                               [](std::unique_ptr<ucAniGIF>& c) { c->Destroy(); }, {}},
                    CancelCase{"DeletingTheControlAwaitingAnswer", SilentPort::kNeverAnswers,
                               [](std::unique_ptr<ucAniGIF>& c) { c.reset(); }, {}},
                    CancelCase{"StartingAnotherLoadAwaitingAnswer", SilentPort::kNeverAnswers,
                               [](std::unique_ptr<ucAniGIF>& c) {
                                 c->LoadAnimatedGIF_Remote(L"file:///C:/no/such.gif");
                               },
                               {"Failure"}},
                    CancelCase{"ReleasingTheControlWhileConnecting", SilentPort::kNeverConnects,
                               [](std::unique_ptr<ucAniGIF>& c) { c->Destroy(); }, {}},
                    CancelCase{"DeletingTheControlWhileConnecting", SilentPort::kNeverConnects,
                               [](std::unique_ptr<ucAniGIF>& c) { c.reset(); }, {}}),
    [](const testing::TestParamInfo<CancelCase>& row) { return row.param.name; });

struct TimeoutCase {
  std::string name;
  SilentPort::Kind port;
  anigif::DownloadTimeouts timeouts;  // the one that matters is short, the other far longer than the wait
};
void PrintTo(const TimeoutCase& row, std::ostream* out) { *out << row.name; }

class TimeoutTest : public UnansweredLoadTest, public testing::WithParamInterface<TimeoutCase> {};

TEST_P(TimeoutTest, EndsTheLoadAsAFailure) {
  const TimeoutCase& row = GetParam();
  SilentPort server(row.port);
  control_->SetDownloadTimeouts(row.timeouts);
  control_->LoadAnimatedGIF_Remote(server.Url());
  ASSERT_TRUE(WaitFor([&] { return !events_.empty(); }, 20s));
  EXPECT_EQ(events_, (std::vector<std::string>{"Failure"}));
  EXPECT_TRUE(WorkersBackToBefore(5s));
}

INSTANTIATE_TEST_SUITE_P(Timeouts, TimeoutTest,
                         testing::Values(TimeoutCase{"NeverConnects", SilentPort::kNeverConnects, {1000, 120000}},
                                         TimeoutCase{"NeverAnswers", SilentPort::kNeverAnswers, {120000, 1000}}),
                         [](const testing::TestParamInfo<TimeoutCase>& row) { return row.param.name; });

struct ForgedCase {
  std::string name;
  WPARAM firstTicket, lastTicket;  // one message for each
  LPARAM lParam;
};
void PrintTo(const ForgedCase& row, std::ostream* out) { *out << row.name; }

class ForgedMessageTest : public UnansweredLoadTest, public testing::WithParamInterface<ForgedCase> {};

// What another program can post to the control's window: tickets it guesses
// (the one of the download under way among them) and any lParam. The
// control reads nothing at lParam and frees nothing; a ticket of a download
// that has not finished finds no result.
TEST_P(ForgedMessageTest, ChangesNothing) {
  const ForgedCase& row = GetParam();
  ASSERT_TRUE(control_->LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes));
  const auto post = [&] {
    for (WPARAM ticket = row.firstTicket;; ++ticket) {
      PostMessageW(control_->window(), anigif::kDownloadDoneMessage, ticket, row.lParam);
      if (ticket == row.lastTicket) break;
    }
    WaitFor([] { return false; }, std::chrono::milliseconds(300));
  };
  post();  // no download
  SilentPort server(SilentPort::kNeverAnswers);
  control_->LoadAnimatedGIF_Remote(server.Url());
  ASSERT_TRUE(server.WaitForConnection(10s));
  post();  // one under way
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(control_->FrameCount(), 2);
  EXPECT_EQ(RemoteDownload::RunningWorkers(), workersBefore_ + 1);
  control_->Destroy();
  EXPECT_TRUE(WorkersBackToBefore(5s));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ForgedMessageTest,
    testing::Values(ForgedCase{"ZeroTicketNoPointer", 0, 0, 0},
                    ForgedCase{"SmallTicketsWildPointer", 1, 2000, static_cast<LPARAM>(0x12345678)},
                    ForgedCase{"SmallTicketsHeapLikePointer", 1, 2000, static_cast<LPARAM>(0x10000)},
                    ForgedCase{"LargestTicketsAllBitsSet", ~WPARAM{0} - 16, ~WPARAM{0}, static_cast<LPARAM>(-1)}),
    [](const testing::TestParamInfo<ForgedCase>& row) { return row.param.name; });

}  // namespace
}  // namespace ventalune::wine_test
