#pragma once
// Owners for the system handles both programs make: each releases its handle
// the way the system asks for that kind, once, whichever path the code
// leaves by. Written once here so no caller releases by hand.
#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <type_traits>
#include <utility>

namespace ventalune {

namespace handle_release {
struct DeleteDc {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct DeleteGdiObject {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct DestroyCursorHandle {
  void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};
struct ReleaseCom {
  void operator()(IUnknown* object) const { object->Release(); }
};
}  // namespace handle_release

// A memory device context (CreateCompatibleDC).
using OwnedDc = std::unique_ptr<std::remove_pointer_t<HDC>, handle_release::DeleteDc>;
// A GDI object: bitmap, brush, pen or font.
template <class Handle>
using OwnedGdi = std::unique_ptr<std::remove_pointer_t<Handle>, handle_release::DeleteGdiObject>;
using OwnedBitmap = OwnedGdi<HBITMAP>;
using OwnedBrush = OwnedGdi<HBRUSH>;
using OwnedPen = OwnedGdi<HPEN>;
using OwnedFont = OwnedGdi<HFONT>;
// A process, thread or event: null when there is none.
using OwnedHandle = std::unique_ptr<void, handle_release::CloseKernelHandle>;
// A cursor the program made itself (not a shared system cursor).
using OwnedCursor = std::unique_ptr<std::remove_pointer_t<HCURSOR>, handle_release::DestroyCursorHandle>;
// A COM interface pointer holding one reference.
template <class Interface>
using ComPtr = std::unique_ptr<Interface, handle_release::ReleaseCom>;

// An open file. CreateFile reports failure as INVALID_HANDLE_VALUE rather
// than null, so it has an owner of its own.
class OwnedFile {
 public:
  OwnedFile() = default;
  explicit OwnedFile(HANDLE file) : file_(file == INVALID_HANDLE_VALUE ? nullptr : file) {}
  OwnedFile(OwnedFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}
  OwnedFile& operator=(OwnedFile&& other) noexcept {
    if (this != &other) {
      Close();
      file_ = std::exchange(other.file_, nullptr);
    }
    return *this;
  }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  ~OwnedFile() { Close(); }

  explicit operator bool() const { return file_ != nullptr; }
  HANDLE get() const { return file_; }
  void Close() {
    if (file_) CloseHandle(std::exchange(file_, nullptr));
  }

 private:
  HANDLE file_ = nullptr;
};

// A window's (or the screen's, with no window) device context, given back
// with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// An object selected into a device context for a while; the one it replaced
// goes back at the end.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint to EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace ventalune
