// The real ucAniGIF hosted in the test's own window: events, pausing while
// hidden, the AnimatedGIF picture read back, persisted properties, the
// designer's look, silence after release, handlers that end the control,
// and animations held until they are played.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "control_host.h"
#include "sample_gifs.h"
#include "saver/controls/anigif/anigif_control.h"
#include "saver/toolkit/twips.h"
#include "saver/controls/anigif/timer_binding.h"
#include "saver/toolkit/picture_panel.h"
#include "support/program_driver.h"

namespace ventalune::wine_test {
namespace {

using anigif::ucAniGIF;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// "Nothing happens" can only be seen by waiting a while for it.
constexpr auto kQuietSpell = std::chrono::milliseconds(400);

class AniGifControlTest : public testing::Test {
 protected:
  // One host for all: destroying a top-level window takes Wine a while.
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    sharedHost_ = std::make_unique<ControlHost>(50, 50, 200, 120);
  }
  static void TearDownTestSuite() {
    sharedHost_.reset();
    OleUninitialize();
  }
  void SetUp() override { host_ = sharedHost_.get(); }
  void TearDown() override { control_.reset(); }

  ucAniGIF& Make(bool runMode = true, const toolkit::PropertyBag& saved = {}) {
    control_ = std::make_unique<ucAniGIF>();
    toolkit::AmbientProperties ambient;
    ambient.userMode = runMode;
    EXPECT_TRUE(control_->Create(host_->window(), 10, 10, 60, 40, ambient, saved));
    control_->Painted = [this](HDC, int, int) { ++paints_; };
    control_->LoopsEnded = [this] { ++loopsEnded_; };
    return *control_;
  }
  bool FrameChangesWithin(std::chrono::milliseconds time) {
    const int frame = control_->currentFrame();
    return WaitFor([&] { return control_->currentFrame() != frame; }, time);
  }

  static inline std::unique_ptr<ControlHost> sharedHost_;
  ControlHost* host_ = nullptr;
  std::unique_ptr<ucAniGIF> control_;
  int paints_ = 0;
  int loopsEnded_ = 0;
};

TEST_F(AniGifControlTest, TwoLoopsEndOnceOnFrameOne) {
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({2, 2, 2}).bytes));
  control.SetMinFrameDelay(10);
  control.SetLoops(2);
  EXPECT_EQ(control.LoopsRemaining(), 2);
  ASSERT_TRUE(WaitFor([&] { return loopsEnded_ > 0; }, 5s));
  EXPECT_EQ(control.currentFrame(), 1);
  EXPECT_EQ(control.AnimationState(), anigif::kStopped);
  EXPECT_FALSE(FrameChangesWithin(kQuietSpell));
  EXPECT_EQ(loopsEnded_, 1);
}

TEST_F(AniGifControlTest, HidingPausesAndShowingResumes) {
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({5, 5, 5}).bytes));
  ASSERT_TRUE(FrameChangesWithin(2s));
  ShowWindow(control.window(), SW_HIDE);
  EXPECT_EQ(control.AnimationState(), anigif::kPaused);
  EXPECT_FALSE(FrameChangesWithin(kQuietSpell));
  ShowWindow(control.window(), SW_SHOW);
  EXPECT_EQ(control.AnimationState(), anigif::kPlaying);
  EXPECT_TRUE(FrameChangesWithin(2s));
}

TEST_F(AniGifControlTest, ReleasedControlHearsNoMoreTicks) {
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes));
  ASSERT_TRUE(FrameChangesWithin(2s));
  EXPECT_EQ(anigif::TimerBinding::ArmedOnThisThread(), 1u);
  control.Destroy();
  EXPECT_EQ(anigif::TimerBinding::ArmedOnThisThread(), 0u);
  const int paints = paints_;
  EXPECT_FALSE(WaitFor([&] { return paints_ != paints || loopsEnded_ != 0; }, kQuietSpell));
  EXPECT_EQ(control.FrameCount(), 0);
}

TEST_F(AniGifControlTest, ParentDestroyedFirstStopsTheControl) {
  auto ownHost = std::make_unique<ControlHost>(300, 50, 100, 100);
  host_ = ownHost.get();
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({2, 2}).bytes));
  ownHost.reset();
  EXPECT_EQ(control.window(), nullptr);
  EXPECT_EQ(anigif::TimerBinding::ArmedOnThisThread(), 0u);
  const int paints = paints_;
  EXPECT_FALSE(WaitFor([&] { return paints_ != paints; }, kQuietSpell));
}

TEST_F(AniGifControlTest, PlayOnOneFrameStaysStopped) {
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(TransparentStillGif().bytes));
  // Its one frame is built after a moment, like any first frame.
  ASSERT_TRUE(WaitFor([] { return anigif::TimerBinding::ArmedOnThisThread() == 0; }, 2s));
  control.SetAction(anigif::kActionPlay);
  EXPECT_EQ(control.AnimationState(), anigif::kStopped);
  EXPECT_EQ(anigif::TimerBinding::ArmedOnThisThread(), 0u);
}

// The exported picture is the current frame: its indexes, palette and
// transparent index, readable by the platform's picture loader.
TEST_F(AniGifControlTest, AnimatedGifReadsBackTheCurrentFrame) {
  ucAniGIF& control = Make();
  EXPECT_EQ(control.AnimatedGIF(), nullptr);
  const SampleGif gif = DisposalsGif();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(gif.bytes));
  control.SetAction(anigif::kActionStep);  // frame 2, paused
  ASSERT_EQ(control.currentFrame(), 2);

  const auto picture = control.AnimatedGIF();
  ASSERT_NE(picture, nullptr);
  EXPECT_NE(picture->picture(), nullptr);
  EXPECT_EQ(picture->width(), 6);
  EXPECT_EQ(picture->height(), 5);

  gif::GifPicture original, exported;
  ASSERT_EQ(original.Load(gif.bytes), 4);
  ASSERT_EQ(exported.Load(picture->bytes()), 1);
  const gif::FrameRecord& frame = original.frames()[1];
  const gif::FrameRecord& back = exported.frames()[0];
  EXPECT_TRUE(back.transparent);
  EXPECT_EQ(back.transparentIndex, frame.transparentIndex);
  EXPECT_EQ(exported.PaletteOf(back), original.PaletteOf(frame));
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x)
      ASSERT_EQ(exported.strip().Row(y)[x], original.strip().Row(y)[frame.stripOffset + x]) << x << "," << y;

  // Given to another control, the picture loads as that frame.
  ucAniGIF other;
  ASSERT_TRUE(other.Create(host_->window(), 100, 10, 60, 40));
  other.SetAnimatedGIF(picture);
  EXPECT_EQ(other.FrameCount(), 1);
  EXPECT_EQ(other.ActualWidth(), toolkit::PixelsToTwipsRoundedDown(6, ScreenDpi()));
}

// Each paint of a paused frame shows the frame as composed, also for a
// frame that clears its area once drawn, where drawing it again would show
// the background through its transparent pixels.
TEST_F(AniGifControlTest, RepaintingAFrameShowsItAsComposed) {
  ucAniGIF& control = Make();
  control.SetStretch(4);  // natural size: pixels compare one to one
  std::vector<std::vector<COLORREF>> paints;
  control.Painted = [&paints](HDC dc, int width, int height) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
    paints.push_back(std::move(pixels));
  };
  const SampleGif gif = DisposalsGif();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(gif.bytes));
  control.SetAction(anigif::kActionStep);  // frame 2: transparent, cleared after drawing
  ASSERT_EQ(control.currentFrame(), 2);
  control.Refresh();
  control.SetMirrored(0);
  control.SetStretch(0);

  const gif::Surface expected = ComposeFrames(gif.bytes)[1];
  std::vector<COLORREF> want;
  const COLORREF hostGrey = RGB(128, 128, 128);  // the host's grey brush
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x) {
      const gif::Colour c = expected.colour[expected.At(x, y)];
      want.push_back(expected.background[expected.At(x, y)] ? hostGrey
                                                             : RGB(gif::RedOf(c), gif::GreenOf(c), gif::BlueOf(c)));
    }
  ASSERT_GE(paints.size(), 3u);
  for (size_t i = paints.size() - 3; i < paints.size(); ++i) EXPECT_EQ(paints[i], want) << "paint " << i;
}

// On a picture panel (as on the settings dialog) the transparent pixels
// show the panel's own picture.
TEST_F(AniGifControlTest, TransparentPixelsShowAPanelParentsPicture) {
  toolkit::PicturePanel panel;
  ASSERT_TRUE(panel.Create(host_->window(), 0, 0, 100, 80));
  HBRUSH brush = CreateSolidBrush(RGB(200, 40, 160));
  RECT all{0, 0, panel.width(), panel.height()};
  FillRect(panel.dc(), &all, brush);
  DeleteObject(brush);
  ucAniGIF control;
  ASSERT_TRUE(control.Create(panel.window(), 20, 10, 40, 40));
  control.SetStretch(4);
  std::vector<COLORREF> pixels;
  int width = 0;
  control.Painted = [&](HDC dc, int w, int h) {
    width = w;
    pixels.clear();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels.push_back(GetPixel(dc, x, y));
  };
  const SampleGif gif = TransparentStillGif();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(gif.bytes));
  control.Refresh();
  const gif::Surface expected = ComposeFrames(gif.bytes)[0];
  ASSERT_EQ(width, expected.width);
  ASSERT_EQ(pixels.size(), expected.colour.size());
  int wrong = 0, shown = 0;
  for (size_t i = 0; i < pixels.size(); ++i) {
    const gif::Colour c = expected.colour[i];
    const COLORREF want = expected.background[i] ? RGB(200, 40, 160)
                                                 : RGB(gif::RedOf(c), gif::GreenOf(c), gif::BlueOf(c));
    wrong += pixels[i] != want;
    shown += expected.background[i];
  }
  EXPECT_GT(shown, 0);
  EXPECT_EQ(wrong, 0);
}

struct PersistedLoopsCase {
  std::string name;
  bool stored;
  int32_t storedLoops;
  int32_t loops;
};

class PersistedLoopsTest : public AniGifControlTest, public testing::WithParamInterface<PersistedLoopsCase> {};

// A file that says three loops: an unstored count leaves them, a stored
// one replaces them.
TEST_P(PersistedLoopsTest, PlaysTheLoopsItShould) {
  const PersistedLoopsCase& row = GetParam();
  toolkit::PropertyBag bag;
  bag.Write<toolkit::ByteArray>("GIF", DelaysGif({1, 1}, 3).bytes, {});
  bag.Write<int16_t>("Delay", 10, 50);
  if (row.stored) bag.Write<int32_t>("Loops", row.storedLoops, 0);
  ucAniGIF& control = Make(true, bag);
  EXPECT_EQ(control.Loops(), row.loops);
  int wraps = 0;
  int last = control.currentFrame();
  ASSERT_TRUE(WaitFor(
      [&] {
        if (control.currentFrame() == 1 && last != 1) ++wraps;
        last = control.currentFrame();
        return loopsEnded_ > 0;
      },
      10s));
  EXPECT_EQ(wraps, row.loops);
}

INSTANTIATE_TEST_SUITE_P(Loops, PersistedLoopsTest,
                         testing::Values(PersistedLoopsCase{"UnstoredPlaysTheFilesThree", false, 0, 3},
                                         PersistedLoopsCase{"StoredOnePlaysOnce", true, 1, 1}),
                         [](const testing::TestParamInfo<PersistedLoopsCase>& row) { return row.param.name; });

// A 32 × 32 two-colour cursor file with its hot spot at (5, 7).
std::vector<uint8_t> CursorFile() {
  std::vector<uint8_t> file = {0, 0, 2, 0, 1, 0,                      // cursor directory, one image
                               32, 32, 2, 0, 5, 0, 7, 0,              // size, colours, hot spot
                               0x30, 0x01, 0, 0, 22, 0, 0, 0,         // 304 bytes at offset 22
                               40, 0, 0, 0, 32, 0, 0, 0, 64, 0, 0, 0,  // header: 32 × (2 × 32)
                               1, 0, 1, 0};                          // one plane, one bit
  file.resize(file.size() + 24, 0);                                  // the header's rest
  const uint8_t palette[] = {0, 0, 0, 0, 255, 255, 255, 0};
  file.insert(file.end(), std::begin(palette), std::end(palette));
  file.resize(file.size() + 128, 0x0F);  // the picture
  file.resize(file.size() + 128, 0xF0);  // the mask
  return file;
}

TEST_F(AniGifControlTest, MouseIconFromTheBagIsShownAndSavedAgain) {
  toolkit::PropertyBag bag;
  bag.Write<toolkit::ByteArray>("MouseIcon", CursorFile(), {});
  bag.Write<int16_t>("MousePointer", 99, 0);
  bag.Write<toolkit::ByteArray>("GIF", DelaysGif({5, 5}).bytes, {});
  ucAniGIF& control = Make(true, bag);
  ASSERT_NE(control.MouseIcon(), nullptr);
  EXPECT_NE(control.MouseIcon()->cursor(), nullptr);
  EXPECT_EQ(control.MousePointer(), 99);
  toolkit::PropertyBag saved;
  control.WriteProperties(saved);
  EXPECT_EQ(saved.Read<toolkit::ByteArray>("MouseIcon", {}), CursorFile());
  EXPECT_EQ(saved.Read<int16_t>("MousePointer", 0), 99);
}

TEST_F(AniGifControlTest, DamagedPersistedValuesLoadNothingBroken) {
  std::vector<uint8_t> cutCursor = CursorFile();
  cutCursor.resize(100);  // the image's bytes reach past the end
  std::vector<uint8_t> cutGif = DisposalsGif().bytes;
  cutGif.resize(cutGif.size() / 2);  // the later frames are cut off
  toolkit::PropertyBag bag;
  bag.Write<toolkit::ByteArray>("MouseIcon", cutCursor, {});
  bag.Write<int16_t>("MousePointer", 77, 0);  // no such pointer
  bag.Write<int32_t>("Stretch", 12, 1);
  bag.Write<toolkit::ByteArray>("GIF", cutGif, {});
  ucAniGIF& control = Make(true, bag);
  EXPECT_EQ(control.MouseIcon(), nullptr);
  EXPECT_EQ(control.MousePointer(), 0);
  EXPECT_EQ(control.Stretch(), 1);
  EXPECT_GE(control.FrameCount(), 1);  // the frames before the cut
}

TEST_F(AniGifControlTest, DesignModeKeepsTheGifDrawsItsFrameAndNeverAnimates) {
  ucAniGIF& control = Make(false);
  // How much of the top edge the dotted frame covers, at each paint.
  const COLORREF frameColour = GetSysColor(COLOR_WINDOWFRAME);
  std::vector<int> dots;
  control.Painted = [&dots, frameColour](HDC dc, int width, int) {
    int count = 0;
    for (int x = 0; x < width; ++x) count += GetPixel(dc, x, 0) == frameColour;
    dots.push_back(count * 100 / std::max(width, 1));
  };
  const SampleGif gif = DelaysGif({1, 1});
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(gif.bytes));
  EXPECT_FALSE(FrameChangesWithin(kQuietSpell));
  EXPECT_EQ(anigif::TimerBinding::ArmedOnThisThread(), 0u);
  control.Refresh();
  ASSERT_FALSE(dots.empty());
  EXPECT_GE(dots.back(), 30);  // percent
  EXPECT_LE(dots.back(), 70);

  // A designer saves the file itself; a missing file reloads it.
  toolkit::PropertyBag bag;
  control.WriteProperties(bag);
  EXPECT_EQ(bag.Read<toolkit::ByteArray>("GIF", {}), gif.bytes);
  EXPECT_TRUE(control.LoadAnimatedGIF_File(L"C:\\no\\such.gif"));
}

TEST_F(AniGifControlTest, DesignModePictureMakesTheControlItsSize) {
  ucAniGIF& control = Make(false);  // 60 × 40
  const SampleGif gif = DisposalsGif();
  control.SetAnimatedGIF(anigif::GifPictureObject::FromBytes(gif.bytes));
  ASSERT_EQ(control.FrameCount(), 4);
  RECT area{};
  GetClientRect(control.window(), &area);
  EXPECT_EQ(area.right, 12);
  EXPECT_EQ(area.bottom, 10);
  EXPECT_EQ(control.Stretch(), 1);
}

TEST_F(AniGifControlTest, RunModeForgetsTheFileSoAMissingFileFails) {
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({1, 1}).bytes));
  ASSERT_TRUE(FrameChangesWithin(2s));
  EXPECT_FALSE(control.LoadAnimatedGIF_File(L"C:\\no\\such.gif"));
  EXPECT_EQ(control.FrameCount(), 0);
  EXPECT_EQ(control.LoopsRemaining(), -1);
  toolkit::PropertyBag bag;
  control.WriteProperties(bag);
  EXPECT_FALSE(bag.Contains("GIF"));
}

TEST_F(AniGifControlTest, AnnouncesExactlyThePersistedChanges) {
  ucAniGIF& control = Make();
  std::vector<std::string> notices;
  control.PropertyChanged = [&notices](const char* name) { notices.emplace_back(name); };
  control.SetStretch(2);
  control.SetStretch(9);   // out of range
  control.SetMinFrameDelay(5);
  control.SetLoops(-3);
  control.SetMirrored(1);
  control.SetDelayAnimation(3);
  control.SetEnabled(false);
  control.SetMousePointer(99);  // no notice
  control.SetMouseIcon(anigif::CursorPicture::FromSystem(IDC_HAND));
  control.SetAnimatedGIF(nullptr);
  EXPECT_EQ(notices, (std::vector<std::string>{"Stretch", "Delay", "Loops", "Mirrored", "DelayAnimation", "Enabled",
                                               "MouseIcon", "AnimatedGIF"}));
  EXPECT_EQ(control.MinFrameDelay(), 10);
  EXPECT_EQ(control.Loops(), 3);
  EXPECT_FALSE(control.Enabled());
  EXPECT_EQ(control.MousePointer(), 99);
  // Taking the icon away takes the custom pointer with it.
  control.SetMouseIcon(nullptr);
  EXPECT_EQ(control.MousePointer(), 0);
}

TEST_F(AniGifControlTest, ClickAndMouseEventsFromRealInput) {
  ucAniGIF& control = Make();
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes));
  control.SetMouseIcon(anigif::CursorPicture::FromSystem(IDC_HAND));
  control.SetMousePointer(anigif::kCustomPointer);
  std::vector<std::string> events;
  anigif::MouseEventArgs down;
  control.MouseDown = [&](const anigif::MouseEventArgs& args) {
    events.emplace_back("MouseDown");
    down = args;
  };
  control.MouseUp = [&](const anigif::MouseEventArgs&) { events.emplace_back("MouseUp"); };
  control.Click = [&] { events.emplace_back("Click"); };
  RECT area{};
  GetWindowRect(control.window(), &area);
  const POINT inside = host_->Screen(control.window(), 3, 2);
  MovePointer(inside);
  ASSERT_TRUE(WaitFor([&] { return WindowFromPoint(inside) == control.window(); }, 2s));
  CURSORINFO cursor{};
  cursor.cbSize = sizeof(cursor);
  EXPECT_TRUE(WaitFor([&] { return GetCursorInfo(&cursor) && cursor.hCursor == LoadCursor(nullptr, IDC_HAND); }, 2s));
  MouseButtonEvent(MOUSEEVENTF_LEFTDOWN);
  MouseButtonEvent(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitFor([&] { return events.size() >= 3; }, 2s)) << testing::PrintToString(events);
  EXPECT_EQ(events, (std::vector<std::string>{"MouseDown", "MouseUp", "Click"}));
  EXPECT_EQ(down.Button, anigif::kLeftMouseButton);
  EXPECT_EQ(down.X, static_cast<float>(toolkit::PixelsToTwipsRoundedDown(3, ScreenDpi())));

  // A disabled control hears nothing.
  events.clear();
  control.SetEnabled(false);
  MouseButtonEvent(MOUSEEVENTF_LEFTDOWN);
  MouseButtonEvent(MOUSEEVENTF_LEFTUP);
  EXPECT_FALSE(WaitFor([&] { return !events.empty(); }, kQuietSpell));
  MovePointer({0, 0});
}

// --- pictures larger than the control's space ----------------------------------------

// Taking the picture's own size, the control reaches past its parent on
// every side; only the part that shows is drawn, and it must be the
// picture's own pixels at the right place.
TEST_F(AniGifControlTest, ControlLargerThanItsParentShowsThePartInView) {
  control_ = std::make_unique<ucAniGIF>();
  ASSERT_TRUE(control_->Create(host_->window(), -50, -30, 60, 40));
  control_->SetStretch(4);
  const SampleGif gif = LargeStillGif();
  ASSERT_TRUE(control_->LoadAnimatedGIF_Array(gif.bytes));
  RECT area{};
  GetClientRect(control_->window(), &area);
  ASSERT_EQ(area.right, 300);
  control_->Refresh();
  PumpMessages();
  RECT view{};
  GetClientRect(host_->window(), &view);
  MapWindowPoints(host_->window(), nullptr, reinterpret_cast<POINT*>(&view), 2);
  const ScreenPicture screen = CaptureScreenArea(view);
  ASSERT_FALSE(screen.empty());
  const gif::Surface expected = ComposeFrames(gif.bytes)[0];
  int wrong = 0;
  for (int y = 0; y < screen.height(); ++y)
    for (int x = 0; x < screen.width(); ++x) {
      const gif::Colour c = expected.colour[expected.At(x + 50, y + 30)];
      const Rgb seen = screen.at(x, y);
      wrong += seen.r != gif::RedOf(c) || seen.g != gif::GreenOf(c) || seen.b != gif::BlueOf(c);
    }
  EXPECT_EQ(wrong, 0) << "of " << screen.width() * screen.height();
}

// Sixteen frames of 4096 × 4096 animate, composed at a working size, and
// the control lays them out at their declared size.
TEST_F(AniGifControlTest, HugeFramesAnimate) {
  ucAniGIF& control = Make();
  control.SetMinFrameDelay(10);
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(HugeFramesGif().bytes));
  EXPECT_EQ(control.FrameCount(), 16);
  EXPECT_EQ(control.ActualWidth(), toolkit::PixelsToTwipsRoundedDown(4096, ScreenDpi()));
  EXPECT_TRUE(FrameChangesWithin(5s));
  const auto frame = control.AnimatedGIF();
  ASSERT_NE(frame, nullptr);
  EXPECT_LE(int64_t{frame->width()} * frame->height(), anigif::kWorkingCanvasPixels);
}

// --- handlers that end the control ------------------------------------------------

// The control in pages of its own. Deleting it runs its destructor and then
// makes the pages unreadable, so a later touch of the control faults at once
// instead of reading memory that happens to be left there. The fault ends
// this program with a message: a window procedure's caller might otherwise
// swallow it, or a debugger wait for someone.
class GuardedControl {
 public:
  GuardedControl() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    size_ = (sizeof(ucAniGIF) + system.dwPageSize - 1) / system.dwPageSize * system.dwPageSize;
    memory_ = VirtualAlloc(nullptr, size_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    guarded_ = {static_cast<const char*>(memory_), size_};
    watcher_ = AddVectoredExceptionHandler(1, &CatchTouch);
    control_ = new (memory_) ucAniGIF();
  }
  ~GuardedControl() {
    if (control_) control_->~ucAniGIF();
    RemoveVectoredExceptionHandler(watcher_);
    VirtualFree(memory_, 0, MEM_RELEASE);
  }
  GuardedControl(const GuardedControl&) = delete;
  GuardedControl& operator=(const GuardedControl&) = delete;

  ucAniGIF& control() { return *control_; }
  void Delete() {
    control_->~ucAniGIF();
    control_ = nullptr;
    DWORD before = 0;
    VirtualProtect(memory_, size_, PAGE_NOACCESS, &before);
  }

 private:
  static LONG CALLBACK CatchTouch(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2)
      return EXCEPTION_CONTINUE_SEARCH;
    const auto* address = reinterpret_cast<const char*>(record.ExceptionInformation[1]);
    if (address < guarded_.first || address >= guarded_.first + guarded_.second) return EXCEPTION_CONTINUE_SEARCH;
    std::fprintf(stderr, "FAILED: the deleted control was touched at offset %lld\n",
                 static_cast<long long>(address - guarded_.first));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_CONTINUE_SEARCH;
  }

  static inline std::pair<const char*, SIZE_T> guarded_{nullptr, 0};
  void* memory_ = nullptr;
  SIZE_T size_ = 0;
  PVOID watcher_ = nullptr;
  ucAniGIF* control_ = nullptr;
};

std::string FileUrl(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return "file:///" + path;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

using End = std::function<void()>;
using MouseArgs = anigif::MouseEventArgs;

struct EventCase {
  std::string name;
  // Makes `end` the handler of the event (it may look at the control first).
  std::function<void(ucAniGIF&, const End& end)> attach;
  // Makes the control raise it; touches the control no more once it has.
  std::function<void(ucAniGIF&)> trigger;
};
void PrintTo(const EventCase& row, std::ostream* out) { *out << row.name; }

enum class Ending { kDelete, kRelease, kDestroyWindow };

void SendMouse(HWND window, UINT message, WPARAM keys) { SendMessageW(window, message, keys, MAKELPARAM(3, 2)); }

void PressAndRelease(ucAniGIF& c) {
  const HWND window = c.window();
  SendMouse(window, WM_LBUTTONDOWN, MK_LBUTTON);
  SendMouse(window, WM_LBUTTONUP, 0);
}

const EventCase kEvents[] = {
    {"PaintedDuringALoad", [](ucAniGIF& c, const End& end) { c.Painted = [end](HDC, int, int) { end(); }; },
     [](ucAniGIF& c) { c.LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes); }},
    {"PaintedOnAFrameChange",
     [](ucAniGIF& c, const End& end) {
       c.Painted = [&c, end](HDC, int, int) {
         if (c.currentFrame() == 2) end();
       };
     },
     [](ucAniGIF& c) {
       c.SetMinFrameDelay(10);
       c.LoadAnimatedGIF_Array(DelaysGif({1, 1}).bytes);
     }},
    {"LoopsEnded", [](ucAniGIF& c, const End& end) { c.LoopsEnded = end; },
     [](ucAniGIF& c) {
       c.SetMinFrameDelay(10);
       c.LoadAnimatedGIF_Array(DelaysGif({1, 1}, 1).bytes);
     }},
    {"MouseDown", [](ucAniGIF& c, const End& end) { c.MouseDown = [end](const MouseArgs&) { end(); }; },
     [](ucAniGIF& c) { SendMouse(c.window(), WM_LBUTTONDOWN, MK_LBUTTON); }},
    {"MouseUp", [](ucAniGIF& c, const End& end) { c.MouseUp = [end](const MouseArgs&) { end(); }; }, PressAndRelease},
    {"Click", [](ucAniGIF& c, const End& end) { c.Click = end; }, PressAndRelease},
    {"MouseMove", [](ucAniGIF& c, const End& end) { c.MouseMove = [end](const MouseArgs&) { end(); }; },
     [](ucAniGIF& c) { SendMouse(c.window(), WM_MOUSEMOVE, 0); }},
    {"PropertyChanged", [](ucAniGIF& c, const End& end) { c.PropertyChanged = [end](const char*) { end(); }; },
     [](ucAniGIF& c) {
       c.LoadAnimatedGIF_Array(DelaysGif({5, 5}).bytes);
       c.SetStretch(2);
     }},
    {"RemoteLoadComplete",
     [](ucAniGIF& c, const End& end) { c.RemoteLoadComplete = [end](float, float, bool&) { end(); }; },
     [](ucAniGIF& c) { c.LoadAnimatedGIF_Remote(Wide(FileUrl(WriteTempGif(DisposalsGif())))); }},
    {"RemoteLoadFailure", [](ucAniGIF& c, const End& end) { c.RemoteLoadFailure = end; },
     [](ucAniGIF& c) { c.LoadAnimatedGIF_Remote(L"file:///C:/no/such.gif"); }},
};

using EndingRow = std::tuple<EventCase, Ending>;

std::string EndingRowName(const testing::TestParamInfo<EndingRow>& row) {
  static const char* const kEndings[] = {"Deletes", "Releases", "DestroysTheWindow"};
  return std::get<0>(row.param).name + kEndings[static_cast<int>(std::get<1>(row.param))];
}

class EndingHandlerTest : public AniGifControlTest, public testing::WithParamInterface<EndingRow> {};

// A touch of a deleted control faults and ends this program; a released
// one must raise nothing more and leave no timer.
TEST_P(EndingHandlerTest, NothingOfTheControlIsTouchedAfterwards) {
  const auto& [event, ending] = GetParam();
  GuardedControl guarded;
  ucAniGIF& control = guarded.control();
  ASSERT_TRUE(control.Create(host_->window(), 10, 10, 60, 40));
  bool ended = false;
  int raisedAfter = 0;
  const End end = [&guarded, &ended, &raisedAfter, ending = ending] {
    if (ended) {
      ++raisedAfter;
      return;
    }
    ended = true;
    switch (ending) {
      case Ending::kDelete: guarded.Delete(); break;
      case Ending::kRelease: guarded.control().Destroy(); break;
      case Ending::kDestroyWindow: DestroyWindow(guarded.control().window()); break;
    }
  };
  event.attach(control, end);
  event.trigger(control);
  ASSERT_TRUE(WaitFor([&] { return ended; }, 5s));
  // Whatever is still queued or armed for the control comes now.
  WaitFor([] { return false; }, std::chrono::milliseconds(300));
  EXPECT_EQ(raisedAfter, 0);
  EXPECT_EQ(anigif::TimerBinding::ArmedOnThisThread(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Events, EndingHandlerTest,
    testing::Combine(testing::ValuesIn(kEvents),
                     testing::Values(Ending::kDelete, Ending::kRelease, Ending::kDestroyWindow)),
    EndingRowName);

// --- animations held until played --------------------------------------------------

struct HeldCase {
  std::string name;
  int32_t delayMode;
  // Done at once after the load, while the rest of the frames waits to be built.
  std::function<void(ucAniGIF&)> during;
};

void PrintTo(const HeldCase& row, std::ostream* out) { *out << row.name; }

class HeldAnimationTest : public AniGifControlTest, public testing::WithParamInterface<HeldCase> {};

TEST_P(HeldAnimationTest, StaysOnFrameOneUntilPlayed) {
  const HeldCase& row = GetParam();
  ucAniGIF& control = Make();
  control.SetMinFrameDelay(10);
  control.SetDelayAnimation(row.delayMode);
  ASSERT_TRUE(control.LoadAnimatedGIF_Array(DelaysGif({1, 1, 1}).bytes));
  row.during(control);
  // The frames are built once the deferred build has run and disarmed.
  ASSERT_TRUE(WaitFor([] { return anigif::TimerBinding::ArmedOnThisThread() == 0; }, 2s));
  EXPECT_FALSE(FrameChangesWithin(kQuietSpell));
  EXPECT_EQ(control.currentFrame(), 1);
  EXPECT_EQ(control.AnimationState(), anigif::kStopped);
  control.SetAction(anigif::kActionPlay);
  EXPECT_TRUE(FrameChangesWithin(2s));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, HeldAnimationTest,
    testing::Values(HeldCase{"Mode2Stretch", 2, [](ucAniGIF& c) { c.SetStretch(2); }},
                    HeldCase{"Mode3Stretch", 3, [](ucAniGIF& c) { c.SetStretch(0); }},
                    HeldCase{"Mode2Mirrored", 2, [](ucAniGIF& c) { c.SetMirrored(1); }},
                    HeldCase{"Mode3MirroredBothWays", 3, [](ucAniGIF& c) { c.SetMirrored(3); }},
                    HeldCase{"Mode2HiddenAndShown",
                             2,
                             [](ucAniGIF& c) {
                               ShowWindow(c.window(), SW_HIDE);
                               ShowWindow(c.window(), SW_SHOW);
                             }}),
    [](const testing::TestParamInfo<HeldCase>& row) { return row.param.name; });

}  // namespace
}  // namespace ventalune::wine_test
