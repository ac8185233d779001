#pragma once
// The dialog's path boxes: a path that fits shows as it always has, wrapped;
// one that does not shows on one line with its middle left out, and the
// full path is the box's tooltip (one tooltip window for all the boxes).
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

class PathBoxes {
 public:
  PathBoxes(HINSTANCE instance, HWND dialog) : instance_(instance), dialog_(dialog) {}
  PathBoxes(const PathBoxes&) = delete;
  PathBoxes& operator=(const PathBoxes&) = delete;
  ~PathBoxes();

  // A box: its label on its panel. Boxes are added before any is shown.
  size_t Add(toolkit::PicturePanel& panel, toolkit::Label& label);
  // Shows a path in the system code page, as the settings hold it.
  void Show(size_t box, const std::string& ansiPath);
  // What a screen reader reads: the whole path, however the box shows it.
  const std::wstring& FullPath(size_t box) const { return boxes_[box].fullPath; }

 private:
  struct Box {
    toolkit::PicturePanel* panel;
    toolkit::Label* label;
    std::wstring fullPath;
  };
  void CreateTips();

  HINSTANCE instance_;
  HWND dialog_;
  HWND tips_ = nullptr;
  std::vector<Box> boxes_;
};

}  // namespace ventalune::dialog
