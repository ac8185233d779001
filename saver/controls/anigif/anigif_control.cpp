#include "saver/controls/anigif/anigif_control.h"

#include <algorithm>

#include "common/screen_dpi.h"
#include "common/whole_file.h"
#include "common/window_of.h"
#include "saver/controls/anigif/frame_presenter.h"
#include "saver/controls/anigif/mouse_pointers.h"
#include "saver/controls/anigif/remote_download.h"
#include "saver/controls/anigif/timer_binding.h"
#include "saver/gif/fit.h"
#include "saver/gif/gif_exporter.h"
#include "saver/toolkit/twips.h"

namespace ventalune::anigif {
namespace {

constexpr wchar_t kControlClass[] = L"ucAniGIF";

bool SupportedPointer(int32_t pointer) {
  return pointer == kDefaultPointer || pointer == kCustomPointer || SystemPointer(pointer) != nullptr;
}

}  // namespace

// What the animation rules ask of the window.
class ucAniGIF::Port : public AnimationPort {
 public:
  explicit Port(ucAniGIF& control) : control_(control) {}
  bool ArmTimer(TimerKind kind, uint32_t milliseconds) override {
    return control_.timer_ && control_.timer_->Arm(kind, milliseconds);
  }
  void KillTimer() override {
    if (control_.timer_) control_.timer_->Kill();
  }
  // A new current frame: composed once, then painted as often as asked.
  bool Repaint() override {
    control_.ShowFrame();
    return control_.Repaint();
  }
  void RaiseLoopsEnded() override { Raise(control_.life_, control_.LoopsEnded); }
  void BuildRemainingFrames() override { control_.picture_.BuildRemainingFrames(); }

 private:
  ucAniGIF& control_;
};

ucAniGIF::ucAniGIF()
    : port_(std::make_unique<Port>(*this)),
      animation_(*port_),
      presenter_(std::make_unique<FramePresenter>()),
      downloadCeiling_(gif::Limits{}.maxFileBytes) {}

ucAniGIF::~ucAniGIF() { Destroy(); }

bool ucAniGIF::Create(HWND parent, int x, int y, int width, int height, const toolkit::AmbientProperties& ambient,
                      const toolkit::PropertyBag& saved) {
  if (window_) return false;
  ambient_ = ambient;
  animation_.SetRunMode(ambient.userMode);
  animation_.SetMinFrameDelay(properties_.minFrameDelay);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass({kControlClass, instance, WindowProcOf<ucAniGIF>, CS_DBLCLKS, ArrowCursor()})) return false;
  const HWND made = CreateWindowExW(0, kControlClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                                    std::max(width, 0), std::max(height, 0), parent, nullptr, instance, this);
  if (!made) return false;
  window_ = made;
  // A tick may end the control through an event: nothing follows the call.
  timer_ = std::make_unique<TimerBinding>(window_, [this](TimerKind kind) {
    if (kind == TimerKind::Animate) animation_.AnimationTick();
    else animation_.DeferredBuildTick();
  });
  ReadProperties(saved);
  return true;
}

void ucAniGIF::Destroy() {
  // First, so that code of ours still on the stack (a handler of one of our
  // events called this) stops where it is.
  life_.End();
  Release();
  CancelDownload();
  timer_.reset();
  if (window_) {
    HWND window = window_;
    window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
}

void ucAniGIF::Release() {
  animation_.Released();
  picture_.Release();
  presenter_->Release();
}

void ucAniGIF::CancelDownload() {
  if (download_) download_->Cancel();
  download_.reset();
}

// Always the last step of a property write: the handler may end the control.
void ucAniGIF::Notify(const char* property) {
  if (property) Raise(life_, PropertyChanged, property);
}

float ucAniGIF::ToTwipsX(int32_t pixels) const { return static_cast<float>(toolkit::PixelsToTwipsRoundedDown(pixels, ReadScreenDpi().x)); }
float ucAniGIF::ToTwipsY(int32_t pixels) const { return static_cast<float>(toolkit::PixelsToTwipsRoundedDown(pixels, ReadScreenDpi().y)); }

int32_t ucAniGIF::Load(std::span<const uint8_t> file) {
  // Copied first: the bytes may be the picture's own, which the release empties.
  std::vector<uint8_t> bytes(file.begin(), file.end());
  Release();
  // Frames take the stored mirror style as they are built.
  picture_.SetMirror(properties_.mirror, false, false);
  gif::LoadOptions options;
  options.firstFrameOnly = designMode();
  options.deferRemainingFrames = !designMode() && DefersRemainingFrames(properties_.delayMode);
  options.maxWorkingPixels = kWorkingCanvasPixels;
  const int32_t frames = picture_.Load(bytes, options);
  if (frames == 0) {
    Repaint();
    return 0;
  }
  std::vector<int32_t> delays;
  for (const gif::FrameRecord& frame : picture_.frames()) delays.push_back(frame.delayMs);
  animation_.Loaded(std::move(delays), picture_.loopCount());
  if (window_) {
    RECT client{};
    GetClientRect(window_, &client);
    if (const auto fit = gif::Fit(properties_.stretch, client.right, client.bottom, picture_.logicalWidth(),
                             picture_.logicalHeight())) {
      scaleX_ = fit->scaleX;
      scaleY_ = fit->scaleY;
    }
  }
  ShowFrame();
  if (!Repaint()) return frames;
  animation_.AfterLoad(picture_.remainingPending(), properties_.delayMode);
  return frames;
}

void ucAniGIF::Resize() {
  if (resizing_ || !window_ || FrameCount() == 0) return;
  RECT client{};
  GetClientRect(window_, &client);
  const auto fit = gif::Fit(properties_.stretch, client.right, client.bottom, picture_.logicalWidth(), picture_.logicalHeight());
  if (!fit) return;
  scaleX_ = fit->scaleX;
  scaleY_ = fit->scaleY;
  // Our own size change comes back as a resize: it must not run this again.
  resizing_ = true;
  SetWindowPos(window_, nullptr, 0, 0, fit->width, fit->height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  resizing_ = false;
  InvalidateRect(window_, nullptr, FALSE);
}

void ucAniGIF::ShowFrame() {
  const int32_t frame = animation_.currentFrame();
  if (frame < 1) {
    presenter_->Release();
    return;
  }
  presenter_->Show(picture_, static_cast<size_t>(frame - 1));
}

// Paints the frame composed last. Composing again would not do: a frame
// that clears its area afterwards has already cleared it. The paint raises
// Painted at once, whose handler may end the control.
bool ucAniGIF::Repaint() {
  if (!window_) return true;
  const Lifetime::Witness witness = life_.Watch();
  const HWND window = window_;
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
  return witness.alive();
}

void ucAniGIF::Refresh() { Repaint(); }

std::shared_ptr<GifPictureObject> ucAniGIF::AnimatedGIF() const {
  const int32_t frame = animation_.currentFrame();
  if (frame < 1 || static_cast<size_t>(frame) > picture_.builtFrames()) return nullptr;
  const gif::FrameRecord& record = picture_.frames()[static_cast<size_t>(frame - 1)];
  return GifPictureObject::FromBytes(gif::ExportFrame(picture_.strip(), record, picture_.PaletteOf(record)));
}

void ucAniGIF::SetAnimatedGIF(const std::shared_ptr<const GifPictureObject>& aGif) {
  const Lifetime::Witness witness = life_.Watch();
  int32_t frames = 0;
  if (!aGif) {
    Release();
    if (!Repaint()) return;
  } else {
    frames = Load(aGif->bytes());
    if (!witness.alive()) return;
  }
  if (frames > 0 && designMode()) {
    // In a designer the control takes the picture's own size.
    const int32_t stretch = properties_.stretch;
    properties_.stretch = gif::kNaturalAdopted;
    Resize();
    properties_.stretch = stretch;
    scaleX_ = scaleY_ = 1.0f;
  }
  if (!Repaint()) return;
  Notify(kAnimatedGifProperty);
}

bool ucAniGIF::Enabled() const { return window_ && IsWindowEnabled(window_); }

void ucAniGIF::SetEnabled(bool enable) {
  if (window_) EnableWindow(window_, enable ? TRUE : FALSE);
  Notify(kEnabledProperty);
}

int32_t ucAniGIF::FrameCount() const { return animation_.frameCount(); }
int32_t ucAniGIF::ActualWidth() const { return toolkit::PixelsToTwipsRoundedDown(picture_.logicalWidth(), ReadScreenDpi().x); }
int32_t ucAniGIF::ActualHeight() const { return toolkit::PixelsToTwipsRoundedDown(picture_.logicalHeight(), ReadScreenDpi().y); }

void ucAniGIF::SetStretch(int32_t newScale) {
  const char* changed = WriteStretch(properties_, newScale);
  if (!changed) return;
  // Held for the resize, then armed again as it was: a deferred build stays
  // a build, and an animation the delay mode holds stays held.
  const AnimationController::Suspension suspended = animation_.Suspend();
  Resize();
  animation_.Resume(suspended);
  if (animation_.state() != kPlaying && !Repaint()) return;
  Notify(changed);
}

void ucAniGIF::SetMinFrameDelay(int32_t delay) {
  const char* changed = WriteMinFrameDelay(properties_, delay);
  animation_.SetMinFrameDelay(properties_.minFrameDelay);
  Notify(changed);
}

void ucAniGIF::SetLoops(int32_t count) {
  int32_t loops = animation_.loopCount();
  const char* changed = WriteLoops(loops, count);
  animation_.SetLoopCount(loops);
  Notify(changed);
}

void ucAniGIF::SetMirrored(int32_t mirrorStyle) {
  const int32_t before = properties_.mirror;
  const bool loaded = FrameCount() > 0;
  const char* changed = WriteMirror(properties_, mirrorStyle, loaded);
  if (!changed) return;
  if (!loaded) {
    picture_.SetMirror(properties_.mirror, false, false);
    Notify(changed);
    return;
  }
  const AnimationController::Suspension suspended = animation_.Suspend();
  picture_.SetMirror(properties_.mirror, designMode(), !designMode());
  presenter_->Mirror(before ^ properties_.mirror);
  animation_.Resume(suspended);
  if (animation_.state() != kPlaying && !Repaint()) return;
  Notify(changed);
}

void ucAniGIF::SetAction(int32_t act) { animation_.SetAction(act); }

void ucAniGIF::SetDelayAnimation(int32_t mode) { Notify(WriteDelayAnimation(properties_, mode)); }

void ucAniGIF::SetMouseIcon(const std::shared_ptr<const CursorPicture>& mousePic) {
  mouseIcon_ = mousePic;
  if (!mouseIcon_) mousePointer_ = kDefaultPointer;
  Notify(kMouseIconProperty);
}

void ucAniGIF::SetMousePointer(int32_t pointer) {
  if (SupportedPointer(pointer)) mousePointer_ = pointer;
}

bool ucAniGIF::LoadAnimatedGIF_File(const std::wstring& fileName) {
  // A missing or unreadable file leaves the source as it was: in a designer
  // that reloads the current picture, in a run (no source kept) it fails.
  const std::vector<uint8_t> bytes =
      ReadWholeFile(fileName, static_cast<uint64_t>(gif::Limits{}.maxFileBytes)).value_or(picture_.source());
  return LoadAnimatedGIF_Array(bytes);
}

bool ucAniGIF::LoadAnimatedGIF_Array(std::span<const uint8_t> bytes) {
  const Lifetime::Witness witness = life_.Watch();
  const bool loaded = Load(bytes) > 0;
  if (loaded && witness.alive() && ResizesAfterLoad(properties_.stretch)) Resize();
  return loaded;
}

void ucAniGIF::LoadAnimatedGIF_Remote(const std::wstring& remotePath) {
  if (remotePath.empty() || !window_) return;
  CancelDownload();
  download_ = RemoteDownload::Start(window_, remotePath, downloadCeiling_, downloadTimeouts_);
  if (!download_) Raise(life_, RemoteLoadFailure);
}

// The message carries only a ticket. The data comes from our own download,
// and only when the ticket is its own and it has finished: a message posted
// from outside, or one left over from a cancelled download, finds nothing.
void ucAniGIF::DownloadFinished(WPARAM ticket) {
  if (!download_ || static_cast<uint64_t>(ticket) != download_->ticket()) return;
  std::unique_ptr<DownloadResult> result = download_->TakeResult();
  if (!result) return;
  download_.reset();
  const std::optional<gif::GifScreen> screen = result->ok ? RemoteGifScreen(result->bytes) : std::nullopt;
  if (!screen) {
    Raise(life_, RemoteLoadFailure);
    return;
  }
  bool cancel = false;
  if (!Raise(life_, RemoteLoadComplete, ToTwipsX(screen->width), ToTwipsY(screen->height), cancel)) return;
  // A load the handler started itself is the one the host wants now.
  if (cancel || !window_ || download_) return;
  LoadAnimatedGIF_Array(result->bytes);
}

void ucAniGIF::ReadProperties(const toolkit::PropertyBag& bag) {
  PersistedControl current;
  current.gif = picture_.source();
  current.properties = properties_;
  current.enabled = Enabled();
  current.mousePointer = mousePointer_;
  current.loops = animation_.loopCount();
  const Lifetime::Witness witness = life_.Watch();
  const PersistedControl read = ReadControlProperties(bag, current, [this, &witness](const PersistedControl& soFar) {
    properties_ = soFar.properties;
    animation_.SetMinFrameDelay(properties_.minFrameDelay);
    if (window_) EnableWindow(window_, soFar.enabled ? TRUE : FALSE);
    if (!soFar.mouseIcon.empty()) mouseIcon_ = CursorPicture::FromFileBytes(soFar.mouseIcon);
    if (SupportedPointer(soFar.mousePointer)) mousePointer_ = soFar.mousePointer;
    LoadOutcome outcome;
    outcome.frames = soFar.gif.empty() ? 0 : Load(soFar.gif);
    if (witness.alive()) outcome.fileLoopCount = picture_.loopCount();
    return outcome;
  });
  if (witness.alive() && FrameCount() > 0) animation_.SetLoopCount(read.loops);
}

void ucAniGIF::WriteProperties(toolkit::PropertyBag& bag) const {
  PersistedControl control;
  control.gif = picture_.source();
  control.properties = properties_;
  control.enabled = Enabled();
  if (mouseIcon_) control.mouseIcon = mouseIcon_->bytes();
  control.mousePointer = mousePointer_;
  control.loops = animation_.loopCount();
  WriteControlProperties(bag, control);
}

}  // namespace ventalune::anigif
