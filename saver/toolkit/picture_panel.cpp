#include "saver/toolkit/picture_panel.h"

#include <windowsx.h>

#include "common/handles.h"
#include "common/window_of.h"
#include "saver/toolkit/parent_background.h"
#include "saver/toolkit/shift_state.h"

namespace ventalune::toolkit {
namespace {

constexpr wchar_t kPanelClass[] = L"VentalunePicturePanel";

}  // namespace

PicturePanel::~PicturePanel() {
  if (window_) {
    // The window may outlive nothing of ours: cut it loose first.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool PicturePanel::Create(HWND parent, int x, int y, int width, int height, const PanelStyle& style) {
  if (window_) return false;
  style_ = style;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterWindowClass({kPanelClass, instance, WindowProcOf<PicturePanel>, 0, ArrowCursor()})) return false;
  const DWORD windowStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (style.visible ? WS_VISIBLE : 0);
  const DWORD extended = style.border3d ? WS_EX_CLIENTEDGE : 0;
  window_ = CreateWindowExW(extended, kPanelClass, L"", windowStyle, x, y, width, height, parent, nullptr, instance,
                            this);
  if (!window_) return false;
  RECT client{};
  GetClientRect(window_, &client);
  ResizeImage(client.right, client.bottom);
  return true;
}

void PicturePanel::FillBackground(RECT area) {
  if (!dc()) return;
  const OwnedBrush brush(CreateSolidBrush(style_.background));
  FillRect(dc(), &area, brush.get());
}

void PicturePanel::ResizeImage(int width, int height) {
  if (image_ && image_->width() == width && image_->height() == height) return;
  if (width <= 0 || height <= 0) {
    image_.reset();
    return;
  }
  auto resized = std::make_unique<pictures::PictureSurface>();
  if (!resized->Resize(width, height)) return;
  std::unique_ptr<pictures::PictureSurface> previous = std::move(image_);
  image_ = std::move(resized);
  FillBackground({0, 0, width, height});
  if (previous) BitBlt(dc(), 0, 0, previous->width(), previous->height(), previous->dc(), 0, 0, SRCCOPY);
}

bool PicturePanel::AdoptPicture(std::unique_ptr<pictures::PictureSurface> picture) {
  if (!window_) return false;
  if (style_.sizeToPicture) {
    RECT outer{}, client{};
    GetWindowRect(window_, &outer);
    GetClientRect(window_, &client);
    Resize(picture->width() + (outer.right - outer.left) - client.right,
           picture->height() + (outer.bottom - outer.top) - client.bottom);
  }
  Clear();
  if (dc()) BitBlt(dc(), 0, 0, picture->width(), picture->height(), picture->dc(), 0, 0, SRCCOPY);
  InvalidateArea({0, 0, width(), height()});
  return true;
}

bool PicturePanel::LoadPicture(const std::string& path) {
  auto picture = std::make_unique<pictures::PictureSurface>();
  return picture->LoadFile(path) && AdoptPicture(std::move(picture));
}

bool PicturePanel::LoadPicture(HMODULE module, int resourceId) {
  auto picture = std::make_unique<pictures::PictureSurface>();
  return picture->LoadResource(module, resourceId) && AdoptPicture(std::move(picture));
}

bool PicturePanel::LoadPicture(std::span<const uint8_t> bytes) {
  auto picture = std::make_unique<pictures::PictureSurface>();
  return picture->LoadBytes(bytes) && AdoptPicture(std::move(picture));
}

void PicturePanel::Clear() {
  FillBackground({0, 0, width(), height()});
  InvalidateArea({0, 0, width(), height()});
}

void PicturePanel::Resize(int width, int height) {
  if (!window_) return;
  SetWindowPos(window_, nullptr, 0, 0, std::max(width, 0), std::max(height, 0),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PicturePanel::Move(int x, int y) {
  if (window_) SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PicturePanel::Refresh() {
  if (!window_) return;
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void PicturePanel::InvalidateArea(const RECT& area) {
  if (window_) InvalidateRect(window_, &area, FALSE);
}

void PicturePanel::SetTransparent(bool transparent) {
  transparent_ = transparent;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

Label& PicturePanel::AddLabel() {
  elements_.push_back(std::make_unique<Label>(*this));
  return static_cast<Label&>(*elements_.back());
}

ImageElement& PicturePanel::AddImage() {
  elements_.push_back(std::make_unique<ImageElement>(*this));
  return static_cast<ImageElement&>(*elements_.back());
}

FocusFrame& PicturePanel::AddFocusFrame() {
  elements_.push_back(std::make_unique<FocusFrame>(*this));
  FocusFrame& frame = static_cast<FocusFrame&>(*elements_.back());
  // Shown only while its control has the focus.
  frame.SetVisible(false);
  return frame;
}

Element* PicturePanel::ElementAt(POINT point) const {
  for (auto it = elements_.rbegin(); it != elements_.rend(); ++it)
    if ((*it)->visible() && (*it)->enabled() && PtInRect(&(*it)->bounds(), point)) return it->get();
  return nullptr;
}

void PicturePanel::Render(HDC target) const {
  RECT client{0, 0, width(), height()};
  if (window_) GetClientRect(window_, &client);
  if (transparent_ && window_) {
    PaintParentBackground(window_, target, client);
  } else if (dc()) {
    BitBlt(target, 0, 0, width(), height(), dc(), 0, 0, SRCCOPY);
  } else {
    const OwnedBrush brush(CreateSolidBrush(style_.background));
    FillRect(target, &client, brush.get());
  }
  for (const auto& element : elements_)
    if (element->visible()) element->Draw(target);
}

void PicturePanel::Paint() {
  const PaintScope paint(window_);
  HDC screen = paint.dc();
  RECT client{};
  GetClientRect(window_, &client);
  // Drawn off screen first so the elements never flicker over the image.
  const OwnedDc buffer(CreateCompatibleDC(screen));
  const OwnedBitmap bitmap(
      CreateCompatibleBitmap(screen, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
  if (!buffer || !bitmap) {
    Render(screen);
    return;
  }
  const SelectedObject selected(buffer.get(), bitmap.get());
  Render(buffer.get());
  BitBlt(screen, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

void PicturePanel::Mouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  int button = 0;
  bool down = false, up = false;
  switch (message) {
    case WM_LBUTTONDOWN: button = kLeftButton, down = true; break;
    case WM_RBUTTONDOWN: button = kRightButton, down = true; break;
    case WM_MBUTTONDOWN: button = kMiddleButton, down = true; break;
    case WM_LBUTTONUP: button = kLeftButton, up = true; break;
    case WM_RBUTTONUP: button = kRightButton, up = true; break;
    case WM_MBUTTONUP: button = kMiddleButton, up = true; break;
    default: break;
  }
  Element* target = capturing_ ? pressed_ : ElementAt(point);
  if (down && !capturing_) {
    // Holding the mouse keeps its events with the element pressed, also
    // when the pointer leaves the panel.
    pressed_ = target;
    SetCapture(window_);
    capturing_ = true;
  }
  MouseEvent event{target ? target->index() : 0, button, ShiftStateOf(wParam), point.x, point.y};
  if (target) event.x -= target->bounds().left, event.y -= target->bounds().top;
  const auto& handler = down ? (target ? target->onMouseDown : onMouseDown)
                             : up ? (target ? target->onMouseUp : onMouseUp)
                                  : (target ? target->onMouseMove : onMouseMove);
  if (handler) handler(event);
  if (up) {
    const bool clicked = target && target == pressed_ && PtInRect(&target->bounds(), point);
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && capturing_) ReleaseCapture();
    if (clicked && target->onClick) target->onClick(target->index());
  }
}

LRESULT PicturePanel::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Messages come already while CreateWindowEx runs, before it returns.
  window_ = window;
  if (message == WM_SIZE) ResizeImage(LOWORD(lParam), HIWORD(lParam));
  LRESULT result = 0;
  if (messageHook && messageHook(message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the image covers everything
    case WM_PAINT:
      Paint();
      return 0;
    case WM_PRINTCLIENT:
      Render(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      Mouse(message, wParam, lParam);
      return 0;
    case WM_CAPTURECHANGED:
      capturing_ = false;
      pressed_ = nullptr;
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace ventalune::toolkit
