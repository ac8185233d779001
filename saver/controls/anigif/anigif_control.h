#pragma once
// `ucAniGIF`: the animated-picture control. A child window that shows an
// animated GIF, clickable, with the transparent parts of the picture showing
// the parent window's background. Everything runs on the thread that made
// the window; events are called on it too, from that thread's message loop.
//
//   ucAniGIF banner;
//   banner.Create(dialog, 10, 10, 120, 50, ambient, savedProperties);
//   banner.SetMouseIcon(CursorPicture::FromSystem(IDC_HAND));
//   banner.SetMousePointer(kCustomPointer);
//   banner.Click = [] { ... };
//
// The animation needs no help from the host: the control arms its own
// timers, and releasing (or destroying) it stops them and any download.
//
// Any event handler may release the control, destroy its window or delete
// the control: the control raises its events last, or checks after each
// that it is still there, and touches nothing of itself once it is not.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "saver/controls/anigif/animation_controller.h"
#include "saver/controls/anigif/control_persistence.h"
#include "saver/controls/anigif/event_lifetime.h"
#include "saver/controls/anigif/picture_objects.h"
#include "saver/controls/anigif/remote_download.h"
#include "saver/gif/gif_picture.h"
#include "saver/toolkit/property_bag.h"

namespace ventalune::anigif {

class FramePresenter;
class RemoteDownload;
class TimerBinding;

// MousePointer values: the system's shapes by number, and the custom one.
inline constexpr int32_t kDefaultPointer = 0;
inline constexpr int32_t kCustomPointer = 99;

// Mouse buttons and shift keys as the mouse events report them.
inline constexpr int16_t kLeftMouseButton = 1;
inline constexpr int16_t kRightMouseButton = 2;
inline constexpr int16_t kMiddleMouseButton = 4;
inline constexpr int16_t kShiftMask = 1;
inline constexpr int16_t kCtrlMask = 2;
inline constexpr int16_t kAltMask = 4;

struct MouseEventArgs {
  int16_t Button = 0;  // the button that changed (down, up), or those held (move)
  int16_t Shift = 0;
  float X = 0;  // in twips from the control's top-left corner, rounded down
  float Y = 0;
};

class ucAniGIF {
 public:
  ucAniGIF();
  ~ucAniGIF();
  ucAniGIF(const ucAniGIF&) = delete;
  ucAniGIF& operator=(const ucAniGIF&) = delete;

  // Makes the control window, a visible child of `parent` at (x, y) with
  // width × height pixels, then reads `saved` (an empty bag gives the
  // defaults; a "GIF" entry loads the picture). `ambient.userMode` false
  // makes a design-mode control: frame 1 only, no animation, a dotted frame.
  bool Create(HWND parent, int x, int y, int width, int height, const toolkit::AmbientProperties& ambient = {},
              const toolkit::PropertyBag& saved = {});
  HWND window() const { return window_; }
  // Releases everything and destroys the window; also done on destruction.
  void Destroy();

  // Properties. Writes with values out of range are ignored, as the
  // property's rule says; names are those the host's designer shows.
  //
  // The frame on show as a one-frame GIF; null when nothing is loaded. A
  // picture too large to animate at its own size (see kWorkingCanvasPixels)
  // gives its frame at the size it is composed at.
  std::shared_ptr<GifPictureObject> AnimatedGIF() const;
  void SetAnimatedGIF(const std::shared_ptr<const GifPictureObject>& aGif);
  bool Enabled() const;
  void SetEnabled(bool enable);
  int32_t FrameCount() const;
  int32_t ActualWidth() const;   // twips
  int32_t ActualHeight() const;  // twips
  int32_t Stretch() const { return properties_.stretch; }
  void SetStretch(int32_t newScale);
  int32_t MinFrameDelay() const { return properties_.minFrameDelay; }
  void SetMinFrameDelay(int32_t delay);
  int32_t Loops() const { return animation_.loopCount(); }
  void SetLoops(int32_t count);
  int32_t LoopsRemaining() const { return animation_.LoopsRemaining(); }
  int32_t Mirrored() const { return properties_.mirror; }
  void SetMirrored(int32_t mirrorStyle);
  // Written as Action: stop, play, pause, step or restart; read as the
  // state that leaves (kStopped, kPlaying or kPaused).
  int32_t AnimationState() const { return animation_.state(); }
  void SetAction(int32_t act);
  int32_t DelayAnimation() const { return properties_.delayMode; }
  void SetDelayAnimation(int32_t mode);
  std::shared_ptr<const CursorPicture> MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(const std::shared_ptr<const CursorPicture>& mousePic);
  int32_t MousePointer() const { return mousePointer_; }
  void SetMousePointer(int32_t pointer);

  // Methods. The loads report failure only by their result.
  bool LoadAnimatedGIF_File(const std::wstring& fileName);
  bool LoadAnimatedGIF_Array(std::span<const uint8_t> bytes);
  // Starts fetching an http, https or file URL through the system's proxy
  // settings; the result comes as RemoteLoadComplete (then the load) or
  // RemoteLoadFailure, later, on this thread. A new call replaces a
  // download still running, and releasing the control ends one, also while
  // it is still connecting.
  void LoadAnimatedGIF_Remote(const std::wstring& remotePath);
  void Refresh();

  // Events, in their fixed order. Unset ones are not raised.
  std::function<void()> Click;
  std::function<void(const MouseEventArgs&)> MouseDown;
  std::function<void(const MouseEventArgs&)> MouseUp;
  std::function<void(const MouseEventArgs&)> MouseMove;
  std::function<void()> LoopsEnded;
  // gifWidth and gifHeight in twips; setting Cancel keeps the download out.
  std::function<void(float gifWidth, float gifHeight, bool& Cancel)> RemoteLoadComplete;
  std::function<void()> RemoteLoadFailure;

  // Tells the host that a persisted property changed ("Stretch", …).
  std::function<void(const char* property)> PropertyChanged;
  // Called after every paint with the pixels just put on screen (a memory
  // device context holding the client area): for tools that record the
  // control.
  std::function<void(HDC client, int width, int height)> Painted;

  // The host's property store: read in the fixed order (the picture loads
  // on the way), written with the defaults left out.
  void ReadProperties(const toolkit::PropertyBag& bag);
  void WriteProperties(toolkit::PropertyBag& bag) const;

  // The frame on show, 1-based; 0 when nothing is loaded.
  int32_t currentFrame() const { return animation_.currentFrame(); }
  bool designMode() const { return !ambient_.userMode; }
  // Bytes above which a download is stopped and reported as failed.
  void SetDownloadCeiling(int64_t bytes) { downloadCeiling_ = bytes; }
  // How long a download may take to connect, to wait for data once
  // connected, and in all, before it fails; applies to downloads started
  // afterwards.
  void SetDownloadTimeouts(const DownloadTimeouts& timeouts) { downloadTimeouts_ = timeouts; }

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  class Port;
  friend class Port;

  int32_t Load(std::span<const uint8_t> file);
  void Release();
  void Resize();
  void Paint(HWND window);
  void ShowFrame();
  // False when a paint handler ended the control: the caller returns at once.
  bool Repaint();
  void Notify(const char* property);
  void Mouse(UINT message, WPARAM wParam, LPARAM lParam);
  bool SetCursorShape();
  void DownloadFinished(WPARAM ticket);
  void CancelDownload();
  float ToTwipsX(int32_t pixels) const;
  float ToTwipsY(int32_t pixels) const;

  // Ends when the control is released, its window destroyed or the control
  // deleted; code that raised an event checks it before going on.
  Lifetime life_;
  HWND window_ = nullptr;
  toolkit::AmbientProperties ambient_;
  ControlProperties properties_;
  gif::GifPicture picture_;
  std::unique_ptr<Port> port_;  // before the controller, which holds on to it
  AnimationController animation_;
  std::unique_ptr<FramePresenter> presenter_;
  std::unique_ptr<TimerBinding> timer_;
  std::shared_ptr<RemoteDownload> download_;
  std::shared_ptr<const CursorPicture> mouseIcon_;
  int32_t mousePointer_ = kDefaultPointer;
  float scaleX_ = 1.0f;
  float scaleY_ = 1.0f;
  bool resizing_ = false;
  bool pressed_ = false;
  int64_t downloadCeiling_;
  DownloadTimeouts downloadTimeouts_;
};

}  // namespace ventalune::anigif
