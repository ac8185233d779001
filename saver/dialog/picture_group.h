#pragma once
// The dialog's picture group: "current desktop" or "picture file", the
// "..." button that chooses the file, the chosen path and its preview. It
// edits the settings' picture choice as the user acts.
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_elements.h"
#include "saver/dialog/dialog_texts.h"
#include "saver/dialog/option_marks.h"
#include "saver/dialog/path_boxes.h"
#include "saver/settings/settings_store.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

class PictureGroup {
 public:
  PictureGroup(settings::Settings& settings, const DialogTexts& texts, PathBoxes& paths)
      : settings_(settings), texts_(texts), paths_(paths) {}
  PictureGroup(const PictureGroup&) = delete;
  PictureGroup& operator=(const PictureGroup&) = delete;

  // The group's frame in the dialog window, then what it holds.
  void CreateFrame(DialogElements& elements, HWND dialog);
  void Build(DialogElements& elements);
  // The settings as loaded: the marks, the button, the path and the preview.
  void ShowChoices();

  // Index 0 the desktop, 1 a picture file; a press on the desktop's caption
  // also clears what is shown (see PressClearsPictureShown).
  void Select(int index, bool onCaption);
  // An arrow key: the next or previous option round the group; 0 selects
  // the one with the focus.
  void Step(int step);
  void ChoosePicture();

  void SetOptionMarks(const OptionMarks& marks);
  // The keyboard's focus frame round the selected option's caption.
  void ShowFocus(bool shown);
  // The option selected now, or -1 for a kind outside the group.
  int SelectedOption() const;

  // A press on an option: the keyboard goes to the group.
  std::function<void()> pressed;
  // After a selection: what the dialog shows and tells screen readers follows.
  std::function<void()> selectionChanged;

  toolkit::PicturePanel& frame() { return frame_; }
  const toolkit::Label& title() const { return *title_; }
  const toolkit::ImageElement& mark(size_t index) const { return *marks_[index]; }
  const toolkit::Label& caption(size_t index) const { return *captions_[index]; }
  const toolkit::Label& pathBox() const { return *pathShown_; }
  const std::wstring& fullPath() const { return paths_.FullPath(pathBoxIndex_); }
  button::Command& chooseButton() { return chooseButton_; }
  const button::Command& chooseButton() const { return chooseButton_; }

 private:
  void ShowMarks();
  void ShowPreview(const std::string& path);

  settings::Settings& settings_;
  const DialogTexts& texts_;
  PathBoxes& paths_;
  HWND dialog_ = nullptr;
  HINSTANCE instance_ = nullptr;
  int previewSide_ = 0;
  OptionMarks optionMarks_;

  toolkit::PicturePanel frame_;          // Pic_D(0)
  toolkit::PicturePanel preview_;        // Display: the chosen picture, fitted
  toolkit::PicturePanel previewScratch_; // Pic_Dummy: the picture loaded at its own size, hidden
  button::Command chooseButton_;         // Cmd_Pic
  toolkit::Label* title_ = nullptr;      // lbl(0)
  std::array<toolkit::ImageElement*, 2> marks_{};  // Img_Sel(0..1)
  std::array<toolkit::Label*, 2> captions_{};      // lbl_Sel(0..1)
  toolkit::Label* pathShown_ = nullptr;  // lbl_Fname(1)
  size_t pathBoxIndex_ = 0;
  toolkit::FocusFrame* focus_ = nullptr;
};

}  // namespace ventalune::dialog
