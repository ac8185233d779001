#pragma once
// A picture panel: a child window that shows a persistent image, a memory
// bitmap it keeps and repaints from, with windowless labels and images over
// it. Drawing routines draw into its device context at any time, also
// before the window is first shown or while it is hidden; the window shows
// the result whenever it paints.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "saver/pictures/picture_surface.h"
#include "saver/toolkit/panel_elements.h"

namespace ventalune::toolkit {

struct PanelStyle {
  bool border3d = false;                     // the standard sunken 3D border
  COLORREF background = RGB(192, 192, 192);  // what an empty image shows
  bool sizeToPicture = false;                // the window takes a loaded picture's size
  bool visible = true;
};

class PicturePanel {
 public:
  PicturePanel() = default;
  PicturePanel(const PicturePanel&) = delete;
  PicturePanel& operator=(const PicturePanel&) = delete;
  ~PicturePanel();

  // A child of `parent` at (x, y), width × height pixels including the
  // border. The image takes the client area's size, filled with the
  // background colour.
  bool Create(HWND parent, int x, int y, int width, int height, const PanelStyle& style = {});
  HWND window() const { return window_; }

  // The persistent image: its device context (null while the panel has no
  // area) and its size in pixels.
  HDC dc() const { return image_ ? image_->dc() : nullptr; }
  int width() const { return image_ ? image_->width() : 0; }
  int height() const { return image_ ? image_->height() : 0; }
  const pictures::PictureSurface* image() const { return image_.get(); }

  // Decodes a picture (BMP, JPEG, GIF, ICO) and makes it the image, on the
  // background colour, sizing the window to it when the style says so.
  // A picture that cannot be decoded changes nothing and gives false.
  bool LoadPicture(const std::string& path);
  bool LoadPicture(HMODULE module, int resourceId);
  bool LoadPicture(std::span<const uint8_t> bytes);
  // Takes the picture away together with everything drawn: the background
  // colour only.
  void Clear();

  // Outer size in pixels; the top-left corner stays. The image keeps what
  // fits of its drawing; new parts show the background colour.
  void Resize(int width, int height);
  void Move(int x, int y);
  // Marks the whole window for painting and paints it now.
  void Refresh();
  // Marks part of the client area for painting.
  void InvalidateArea(const RECT& area);

  void SetBackground(COLORREF colour) { style_.background = colour; }
  COLORREF background() const { return style_.background; }
  // A transparent panel shows what lies under it in its parent instead of
  // its image; its elements still show.
  void SetTransparent(bool transparent);
  bool transparent() const { return transparent_; }

  Label& AddLabel();
  ImageElement& AddImage();
  FocusFrame& AddFocusFrame();
  // The topmost visible, enabled element at a client point, or null.
  Element* ElementAt(POINT point) const;

  // Mouse events on the panel where no element takes them (client pixels).
  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseUp;
  std::function<void(const MouseEvent&)> onMouseMove;
  // Sees every message first; returns true when it has handled it.
  std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> messageHook;

  // Paints image (or what is under a transparent panel) and elements into
  // `dc` at the client area's origin.
  void Render(HDC dc) const;

  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void ResizeImage(int width, int height);
  void FillBackground(RECT area);
  bool AdoptPicture(std::unique_ptr<pictures::PictureSurface> picture);
  void Paint();
  void Mouse(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  PanelStyle style_;
  bool transparent_ = false;
  std::unique_ptr<pictures::PictureSurface> image_;
  std::vector<std::unique_ptr<Element>> elements_;
  // The element a mouse button went down on, while the panel holds the
  // mouse; null for the panel itself.
  Element* pressed_ = nullptr;
  bool capturing_ = false;
};

}  // namespace ventalune::toolkit
