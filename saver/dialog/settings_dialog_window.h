#pragma once
// The settings dialog's window and everything on it, shared by the files
// that build it (settings_dialog.cpp), take it through the keyboard
// (dialog_keyboard.cpp), draw it in the system's or its own colours and fit
// its paths (dialog_look.cpp), and describe it to screen readers
// (dialog_screen_reader.cpp).
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "saver/controls/anigif/anigif_control.h"
#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_accessible.h"
#include "saver/dialog/dialog_art.h"
#include "saver/dialog/dialog_keys.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/dialog/dialog_texts.h"
#include "saver/settings/settings_store.h"
#include "saver/toolkit/picture_panel.h"

namespace ventalune::dialog {

// Asks the dialog to do a control's default action for a screen reader,
// after the reader's call has returned: wParam is the control's index.
inline constexpr UINT kDefaultActionMessage = WM_APP + 1;

// A dialog moved to a monitor of another resolution is built again there,
// laid out at that resolution as any dialog is at its start; what the user
// had typed and where the keyboard was go with it.
struct Relayout {
  int dpi = 96;
  RECT window{};  // the outer rectangle the system suggests
  std::wstring repeatText;
  Stop focus = Stop::PictureOptions;
  bool keyboardUsed = false;
};

class SettingsDialog final : public AccessibleDialogSource {
 public:
  SettingsDialog(HINSTANCE instance, settings::Settings& settings, const std::optional<Relayout>& again);
  ~SettingsDialog() override;

  bool Create();
  void Load();
  void RunModal();
  // Set when the dialog closed to be built again at another resolution.
  const std::optional<Relayout>& relayout() const { return relayout_; }
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<AccessibleControl> AccessibleControls() override;
  void DoDefaultAction(size_t index) override;

 private:
  // settings_dialog.cpp
  PixelRect At(ElementId id) const { return ElementRect(id, dpi_); }
  int Scaled(int length) const { return ScaleToDpi(length, dpi_); }
  toolkit::Label& AddLabel(toolkit::PicturePanel& panel, ElementId id, const char* text, COLORREF colour);
  toolkit::ImageElement& AddMark(toolkit::PicturePanel& panel, ElementId id, int index);
  void AddButton(button::Command& command, toolkit::PicturePanel& panel, ElementId id, const char* caption);
  void CreateElements();
  void ShowMark(toolkit::ImageElement* mark, bool selected);
  void SetButtonEnabled(button::Command& command, bool enabled);
  void SetRepeatEnabled(bool enabled);
  void SelectPictureKind(int index, bool onCaption);
  void SelectBgmKind(int index);
  void ShowPictureMarks();
  void ShowMusicMarks();
  void ShowPicturePreview(const std::string& path);
  void ChoosePicture();
  void ChooseSound();
  void SaveSettings();
  void OpenHomepage();
  void Close();
  std::string RepeatText() const;

  // dialog_keyboard.cpp
  bool TranslateDialogKey(const MSG& message);
  void DoKeyAction(KeyAction action);
  StopsEnabled EnabledStops() const;
  HWND WindowOfStop(Stop stop) const;
  button::Command* ButtonOfStop(Stop stop);
  void FocusStop(Stop stop);
  void ApplyFocus();
  void SyncFocusFromSystem();
  void ShowFocusCues();
  void StepSelection(int step);
  int SelectedPictureOption() const;
  int SelectedMusicOption() const;

  // dialog_screen_reader.cpp: the controls in the order a reader lists them.
  enum AccessibleIndex : size_t {
    kPictureTitle, kDesktopOption, kPictureFileOption, kChoosePicture, kPicturePath, kMusicTitle, kAudioCdOption,
    kRepeat, kNoMusicOption, kSoundFileOption, kChooseSound, kSoundPath, kBanner, kCredit, kSave, kCancel
  };
  void RunDefaultAction(size_t index);
  void AnnounceFocus();
  void AnnounceChecked(std::initializer_list<size_t> options);

  // dialog_look.cpp
  void ApplyLook();
  void ShowPath(toolkit::Label& label, int tool, const std::string& ansiPath);
  void CreatePathTips();

  HINSTANCE instance_;
  settings::Settings& settings_;
  std::optional<Relayout> again_;
  std::optional<Relayout> relayout_;
  int dpi_;
  const DialogTexts& texts_;
  HWND window_ = nullptr;
  bool closed_ = false;
  DialogArtwork art_;
  toolkit::FontDescription dialogFont_;
  toolkit::SharedFont labelFont_;
  toolkit::SharedFont boxFont_;

  // Members are named for their job; the layout's element names follow.
  toolkit::PicturePanel basePanel_;       // Pic_Base: the tiled ground and the bottom row
  toolkit::PicturePanel pictureFrame_;    // Pic_D(0): the picture group
  toolkit::PicturePanel musicFrame_;      // Pic_D(1): the music group
  toolkit::PicturePanel picturePreview_;  // Display: the chosen picture, fitted
  // Sources of the drawing, kept hidden outside the client area.
  toolkit::PicturePanel tileSource_;       // Pic_Mbl: the background tile
  toolkit::PicturePanel plateSource_;      // Img_T1: the frame title plate
  toolkit::PicturePanel plateMaskSource_;  // Img_T2: the plate's mask
  toolkit::PicturePanel previewScratch_;   // Pic_Dummy: the picture loaded at its own size
  button::Command choosePictureButton_;    // Cmd_Pic
  button::Command chooseSoundButton_;      // Cmd_BGM
  button::Command saveButton_;             // Cmd_Set
  button::Command cancelButton_;           // Cmd_Can
  std::array<toolkit::ImageElement*, 2> pictureMarks_{};  // Img_Sel(0..1)
  std::array<toolkit::ImageElement*, 3> musicMarks_{};    // Img_BGM(0..2)
  std::array<toolkit::Label*, 2> pictureCaptions_{};      // lbl_Sel(0..1)
  std::array<toolkit::Label*, 3> musicCaptions_{};        // lbl_BGM(0..2)
  toolkit::Label* pictureTitle_ = nullptr;  // lbl(0)
  toolkit::Label* musicTitle_ = nullptr;    // lbl(1)
  toolkit::Label* repeatCaption_ = nullptr; // lbl(2)
  toolkit::Label* credit_ = nullptr;        // lbl(9)
  toolkit::Label* pictureShown_ = nullptr;  // lbl_Fname(1)
  toolkit::Label* soundShown_ = nullptr;    // lbl_Fname(0)
  HWND repeatBox_ = nullptr;                // BGM_Repeat
  anigif::ucAniGIF banner_;                 // ucAniGIF1: opens the homepage
  toolkit::FocusFrame* pictureFocus_ = nullptr;
  toolkit::FocusFrame* musicFocus_ = nullptr;

  // Where the keyboard is, and whether focus is shown: always when the
  // system asks for keyboard cues, else once a key has moved it.
  Stop focus_ = Stop::PictureOptions;
  bool keyboardUsed_ = false;
  size_t announcedFocus_ = SIZE_MAX;

  // The look: the artwork, or the system's colours in high contrast.
  bool highContrast_ = false;
  std::vector<std::pair<toolkit::Label*, COLORREF>> labelColours_;
  std::shared_ptr<pictures::PictureSurface> systemOptionOn_, systemOptionOff_;
  // The full paths behind the path boxes, shown as their tooltips.
  HWND pathTips_ = nullptr;
  std::array<std::wstring, 2> pathTipTexts_;
};

}  // namespace ventalune::dialog
