#pragma once
// What the dialog's option groups have in common: a framed panel with a
// title, option marks the user picks from, a "..." button choosing a file,
// the chosen path in a path box, and the keyboard's focus frame. The
// monitors group chooses no file and uses neither the button nor a path box.
#include <windows.h>

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

class ChoiceGroup {
 public:
  ChoiceGroup(settings::Settings& settings, const DialogTexts& texts, PathBoxes& paths)
      : settings_(settings), texts_(texts), paths_(paths) {}
  ChoiceGroup(const ChoiceGroup&) = delete;
  ChoiceGroup& operator=(const ChoiceGroup&) = delete;
  virtual ~ChoiceGroup() = default;

  // The group's frame in the dialog window, above the background panel.
  void CreateFrame(DialogElements& elements, HWND dialog, ElementId id);
  void SetOptionMarks(const OptionMarks& marks);

  // A press on an option: the keyboard goes to the group.
  std::function<void()> pressed;
  // After a selection: what the dialog shows and tells screen readers follows.
  std::function<void()> selectionChanged;

  toolkit::PicturePanel& frame() { return frame_; }
  const toolkit::Label& title() const { return *title_; }
  const toolkit::Label& pathBox() const { return *pathShown_; }
  const std::wstring& fullPath() const { return paths_.FullPath(pathBoxIndex_); }
  button::Command& chooseButton() { return chooseButton_; }
  const button::Command& chooseButton() const { return chooseButton_; }

 protected:
  // The path box under the options, a border round it, paths as data.
  void AddPathBox(DialogElements& elements, ElementId id, COLORREF colour);
  void ShowPath(const std::string& ansiPath) { paths_.Show(pathBoxIndex_, ansiPath); }
  // The focus frame round `caption`, or hidden.
  void ShowFocusRound(const toolkit::Label& caption, bool shown);
  virtual void ShowMarks() = 0;

  settings::Settings& settings_;
  const DialogTexts& texts_;
  HWND dialog_ = nullptr;
  HINSTANCE instance_ = nullptr;
  OptionMarks optionMarks_;
  toolkit::PicturePanel frame_;      // Pic_D(n)
  button::Command chooseButton_;     // Cmd_Pic, Cmd_BGM
  toolkit::Label* title_ = nullptr;  // lbl(n)
  toolkit::FocusFrame* focus_ = nullptr;

 private:
  PathBoxes& paths_;
  toolkit::Label* pathShown_ = nullptr;  // lbl_Fname(n)
  size_t pathBoxIndex_ = 0;
};

}  // namespace ventalune::dialog
