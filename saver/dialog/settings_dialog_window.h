#pragma once
// The settings dialog's window and everything on it, shared by the files
// that make it: settings_dialog.cpp (building, opening, saving, closing),
// settings_dialog_keyboard.cpp (the keyboard), settings_dialog_look.cpp (its
// own colours or the system's), settings_dialog_screen_reader.cpp (what a
// screen reader hears). The picture, monitors and music groups are classes of
// their own.
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "saver/controls/anigif/anigif_control.h"
#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_art.h"
#include "saver/dialog/dialog_elements.h"
#include "saver/dialog/dialog_keys.h"
#include "saver/dialog/dialog_texts.h"
#include "saver/dialog/monitors_group.h"
#include "saver/dialog/music_group.h"
#include "saver/dialog/option_marks.h"
#include "saver/dialog/path_boxes.h"
#include "saver/dialog/picture_group.h"
#include "saver/settings/settings_store.h"
#include "saver/toolkit/accessible_object.h"
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

class SettingsDialog final : public toolkit::AccessibleChildren {
 public:
  SettingsDialog(HINSTANCE instance, settings::Settings& settings, const std::optional<Relayout>& again);

  bool Create();
  // Places, builds and shows the dialog with the settings it was given.
  void Open();
  void RunModal();
  // Set when the dialog closed to be built again at another resolution.
  const std::optional<Relayout>& relayout() const { return relayout_; }
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  std::vector<toolkit::AccessibleControl> AccessibleControls() override;
  void DoDefaultAction(size_t index) override;

 private:
  // settings_dialog.cpp
  void Place();
  void Build();
  void BuildBottomRow();
  void SaveSettings();
  void OpenHomepage();
  void Close();

  // settings_dialog_keyboard.cpp
  bool TranslateDialogKey(const MSG& message);
  void DoKeyAction(KeyAction action);
  StopsEnabled EnabledStops() const;
  HWND WindowOfStop(Stop stop) const;
  button::Command* ButtonOfStop(Stop stop);
  void FocusStop(Stop stop);
  void ApplyFocus();
  void SyncFocusFromSystem();
  void ShowFocusCues();

  // settings_dialog_screen_reader.cpp: the controls in the order a reader lists them.
  enum AccessibleIndex : size_t {
    kPictureTitle, kDesktopOption, kPictureFileOption, kChoosePicture, kPicturePath, kMonitorsTitle,
    kEveryMonitorOption, kMainMonitorOption, kMusicTitle, kAudioCdOption, kRepeat, kNoMusicOption, kSoundFileOption,
    kChooseSound, kSoundPath, kBanner, kCredit, kSave, kCancel
  };
  void RunDefaultAction(size_t index);
  void AnnounceFocus();
  void AnnounceChecked(std::initializer_list<size_t> options);

  // settings_dialog_look.cpp
  void ApplyLook();

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
  std::unique_ptr<DialogElements> elements_;
  std::unique_ptr<PathBoxes> paths_;
  std::unique_ptr<PictureGroup> pictureGroup_;
  std::unique_ptr<MonitorsGroup> monitorsGroup_;
  std::unique_ptr<MusicGroup> musicGroup_;

  // Members are named for their job; the layout's element names follow.
  toolkit::PicturePanel basePanel_;        // Pic_Base: the tiled ground and the bottom row
  // Sources of the drawing, kept hidden outside the client area.
  toolkit::PicturePanel tileSource_;       // Pic_Mbl: the background tile
  toolkit::PicturePanel plateSource_;      // Img_T1: the frame title plate
  toolkit::PicturePanel plateMaskSource_;  // Img_T2: the plate's mask
  button::Command saveButton_;             // Cmd_Set
  button::Command cancelButton_;           // Cmd_Can
  toolkit::Label* credit_ = nullptr;       // lbl(9)
  anigif::ucAniGIF banner_;                // ucAniGIF1: opens the homepage

  // Where the keyboard is, and whether focus is shown: always when the
  // system asks for keyboard cues, else once a key has moved it.
  Stop focus_ = Stop::PictureOptions;
  bool keyboardUsed_ = false;
  size_t announcedFocus_ = SIZE_MAX;

  // The look: the artwork, or the system's colours in high contrast.
  bool highContrast_ = false;
  OptionMarks systemMarks_;
};

}  // namespace ventalune::dialog
