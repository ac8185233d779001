// Remote loads from a web server on 127.0.0.1 that remote_load.sh starts:
// the complete load, Cancel, every failure, the size ceiling, and silence
// after the control is released mid-download.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "control_host.h"
#include "gifview_runner.h"
#include "sample_gifs.h"
#include "saver/controls/anigif/anigif_control.h"
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
  std::string Twips(int pixels) const { return std::to_string(anigif::PixelsToTwipsDown(pixels, ScreenDpi())); }

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

}  // namespace
}  // namespace ventalune::wine_test
