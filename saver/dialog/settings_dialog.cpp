#include "saver/dialog/settings_dialog.h"

#include "saver/dialog/settings_dialog_window.h"

#include <shellapi.h>

#include <array>
#include <map>
#include <memory>
#include <string>

#include "common/window_of.h"
#include "saver/controls/anigif/anigif_control.h"
#include "saver/controls/anigif/control_persistence.h"
#include "saver/controls/button/command.h"
#include "saver/dialog/dialog_art.h"
#include "saver/dialog/dialog_drawing.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/dialog/dialog_rules.h"
#include "saver/dialog/dialog_texts.h"
#include "saver/dialog/file_chooser.h"
#include "saver/dialog/zoom.h"
#include "saver/settings/profile_file.h"
#include "saver/settings/settings_keys.h"
#include "saver/toolkit/screen_units.h"
#include "common/wide_text.h"
#include "saver_resources.h"

#ifndef VENTALUNE_HOMEPAGE
#define VENTALUNE_HOMEPAGE L""
#endif

namespace ventalune::dialog {
namespace {

using toolkit::PicturePanel;
using toolkit::PanelStyle;
using enum ElementId;

// The dialog speaks Japanese where Windows' display language is Japanese,
// English everywhere else.
const DialogTexts& TextsForUser() {
  return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? kJapaneseTexts : kEnglishTexts;
}

// Japanese: the Japanese UI face as it has always been drawn. English: the
// face the system uses for its own dialogs and messages.
toolkit::FontDescription DialogFontFor(const DialogTexts& texts) {
  if (&texts == &kJapaneseTexts) return {DialogFace(), kDialogFontHundredths, kShiftJisCharset, 400};
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  std::string face = "Tahoma";
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) && metrics.lfMessageFont.lfFaceName[0])
    face = Utf8FromWide(metrics.lfMessageFont.lfFaceName);
  return {face, kEnglishFontHundredths, DEFAULT_CHARSET, 400};
}

// Child windows carry their element as their control number, so the window
// tree tells them apart while their texts are what a person reads.
void NumberWindow(HWND window, ElementId id) {
  if (window) SetWindowLongPtrW(window, GWLP_ID, static_cast<LONG_PTR>(id) + 1);
}

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance, settings::Settings& settings,
                               const std::optional<Relayout>& again)
    : instance_(instance),
      settings_(settings),
      again_(again),
      dpi_(again ? again->dpi : ReadScreenDpi().y),
      texts_(TextsForUser()),
      dialogFont_(DialogFontFor(texts_)) {
  if (again_) {
    focus_ = again_->focus;
    keyboardUsed_ = again_->keyboardUsed;
  }
}

SettingsDialog::~SettingsDialog() {
  if (pathTips_) DestroyWindow(pathTips_);
}

bool SettingsDialog::Create() {
  const auto icon = [this](int width, int height) {
    return static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_SAVER), IMAGE_ICON, width, height, 0));
  };
  const HICON bigIcon = icon(32, 32);
  const HICON smallIcon = icon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
  // Grey under the tiled panel, seen only if the tiles cannot be drawn.
  RegisterWindowClass({kDialogClass, instance_, WindowProcOf<SettingsDialog>, 0, ArrowCursor(),
                       static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)), bigIcon, smallIcon});
  // A fixed window with a title bar and a close box; size and place come at load.
  window_ = CreateWindowExW(0, kDialogClass, kDialogTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                            0, 0, 0, 0, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  // Also as the window's own icons, which the task switcher and others ask for.
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  return true;
}

toolkit::Label& SettingsDialog::AddLabel(PicturePanel& panel, ElementId id, const char* text, COLORREF colour) {
  toolkit::Label& label = panel.AddLabel();
  const PixelRect r = At(id);
  label.SetBounds(r.x, r.y, r.width, r.height);
  label.SetFont(labelFont_);
  label.SetColour(colour);
  labelColours_.emplace_back(&label, colour);
  label.SetText(text);
  // Captions stay on their one line also in a wider stand-in face.
  label.SetWordWrap(false);
  return label;
}

toolkit::ImageElement& SettingsDialog::AddMark(PicturePanel& panel, ElementId id, int index) {
  toolkit::ImageElement& mark = panel.AddImage();
  const PixelRect r = At(id);
  mark.SetBounds(r.x, r.y, r.width, r.height);
  mark.SetIndex(index);
  return mark;
}

void SettingsDialog::AddButton(button::Command& command, PicturePanel& panel, ElementId id, const char* caption) {
  const PixelRect r = At(id);
  toolkit::AmbientProperties ambient;
  ambient.font = dialogFont_;
  ambient.dpi = dpi_;
  command.Create(panel.window(), r.x, r.y, r.width, r.height, art_.skins, ambient);
  command.SetFont(dialogFont_);
  command.SetCaption(caption);
  SetWindowTextW(command.window(), WideFromUtf8(caption).c_str());
  NumberWindow(command.window(), id);
}

void SettingsDialog::CreateElements() {
  labelFont_ = toolkit::MakeFont(dialogFont_, dpi_);
  boxFont_ = toolkit::MakeFont({kDefaultFace, kDefaultFontHundredths, 1, 400}, dpi_);
  const auto create = [&](PicturePanel& panel, HWND parent, ElementId id, const PanelStyle& style) {
    const PixelRect r = At(id);
    panel.Create(parent, r.x, r.y, r.width, r.height, style);
    NumberWindow(panel.window(), id);
  };
  PanelStyle plain;
  create(basePanel_, window_, PicBase, plain);
  PanelStyle frame;
  frame.border3d = true;
  frame.background = RGB(192, 192, 192);
  create(pictureFrame_, window_, PicD0, frame);
  create(musicFrame_, window_, PicD1, frame);
  // The frames lie above the background panel.
  SetWindowPos(pictureFrame_.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(musicFrame_.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // Sources of the drawing, hidden outside the client area.
  PanelStyle hidden;
  hidden.visible = false;
  art_.FillHidden(tileSource_, window_, art_.tile.get());
  art_.FillHidden(plateSource_, window_, art_.plate.get());
  art_.FillHidden(plateMaskSource_, window_, art_.mask.get());
  hidden.sizeToPicture = true;
  hidden.background = GetSysColor(COLOR_WINDOW);
  previewScratch_.Create(window_, -2000, 0, Scaled(57), Scaled(53), hidden);

  const COLORREF buttonText = GetSysColor(COLOR_BTNTEXT);
  // The picture frame.
  pictureTitle_ = &AddLabel(pictureFrame_, Lbl0, texts_.pictureFrameTitle, GetSysColor(COLOR_WINDOWTEXT));
  pictureTitle_->SetAlignment(toolkit::Alignment::Centre);
  SetWindowTextW(pictureFrame_.window(), WideFromUtf8(texts_.pictureFrameTitle).c_str());
  for (int i = 0; i < 2; ++i) {
    pictureMarks_[i] = &AddMark(pictureFrame_, i == 0 ? ImgSel0 : ImgSel1, i);
    pictureMarks_[i]->onMouseDown = [this](const toolkit::MouseEvent& e) {
      FocusStop(Stop::PictureOptions);
      SelectPictureKind(e.index, false);
    };
    pictureCaptions_[i] = &AddLabel(pictureFrame_, i == 0 ? LblSel0 : LblSel1,
                                    i == 0 ? texts_.desktopCaption : texts_.pictureFileCaption, buttonText);
    pictureCaptions_[i]->SetIndex(i);
    pictureCaptions_[i]->onMouseDown = [this](const toolkit::MouseEvent& e) {
      FocusStop(Stop::PictureOptions);
      SelectPictureKind(e.index, true);
    };
  }
  pictureShown_ = &AddLabel(pictureFrame_, LblFname1, "", buttonText);
  pictureShown_->SetBorder(true);
  pictureShown_->SetWordWrap(true);
  pictureShown_->SetDataText(true);
  pictureFocus_ = &pictureFrame_.AddFocusFrame();
  PanelStyle displayStyle;
  displayStyle.background = GetSysColor(COLOR_WINDOW);
  create(picturePreview_, pictureFrame_.window(), Display, displayStyle);
  AddButton(choosePictureButton_, pictureFrame_, CmdPic, kChooseCaption);
  choosePictureButton_.Click = [this] { ChoosePicture(); };

  // The music frame.
  musicTitle_ = &AddLabel(musicFrame_, Lbl1, texts_.musicFrameTitle, buttonText);
  musicTitle_->SetAlignment(toolkit::Alignment::Centre);
  SetWindowTextW(musicFrame_.window(), WideFromUtf8(texts_.musicFrameTitle).c_str());
  constexpr std::array<ElementId, 3> kMarks{ImgBgm0, ImgBgm1, ImgBgm2};
  constexpr std::array<ElementId, 3> kCaptions{LblBgm0, LblBgm1, LblBgm2};
  const std::array<const char*, 3> captions{texts_.noMusicCaption, texts_.audioCdCaption, texts_.soundFileCaption};
  for (int i = 0; i < 3; ++i) {
    musicMarks_[i] = &AddMark(musicFrame_, kMarks[i], i);
    musicMarks_[i]->onClick = [this](int index) {
      FocusStop(Stop::MusicOptions);
      SelectBgmKind(index);
    };
    musicCaptions_[i] = &AddLabel(musicFrame_, kCaptions[i], captions[i], buttonText);
    musicCaptions_[i]->SetIndex(i);
    musicCaptions_[i]->onClick = musicMarks_[i]->onClick;
  }
  repeatCaption_ = &AddLabel(musicFrame_, Lbl2, texts_.repeatCaption, buttonText);
  const PixelRect box = At(BgmRepeat);
  // The height given is the dropped list's; the box itself takes its height
  // from the font and the item height set below.
  repeatBox_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN,
                               box.x, box.y, box.width, box.height * 8, musicFrame_.window(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(BgmRepeat) + 1), instance_, nullptr);
  if (repeatBox_) {
    SendMessageW(repeatBox_, WM_SETFONT, reinterpret_cast<WPARAM>(boxFont_->handle()), FALSE);
    // The selection field: the box's height less its 3D edge.
    SendMessageW(repeatBox_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), box.height - 6);
  }
  soundShown_ = &AddLabel(musicFrame_, LblFname0, "", buttonText);
  soundShown_->SetBorder(true);
  soundShown_->SetWordWrap(true);
  soundShown_->SetDataText(true);
  musicFocus_ = &musicFrame_.AddFocusFrame();
  AddButton(chooseSoundButton_, musicFrame_, CmdBgm, kChooseCaption);
  chooseSoundButton_.Click = [this] { ChooseSound(); };

  // The bottom row.
  credit_ = &AddLabel(basePanel_, Lbl9, (std::string(kCreditPrefix) + kVersion).c_str(), RGB(0, 0, 0));
  AddButton(saveButton_, basePanel_, CmdSet, texts_.saveCaption);
  saveButton_.Click = [this] { SaveSettings(); };
  AddButton(cancelButton_, basePanel_, CmdCan, texts_.cancelCaption);
  cancelButton_.Click = [this] { PostMessageW(window_, WM_CLOSE, 0, 0); };
  // The banner keeps its GIF and its custom pointer as persisted settings.
  toolkit::PropertyBag banner;
  banner.Write<toolkit::ByteArray>(anigif::kGifKey, art_.banner, {});
  banner.Write<int32_t>(anigif::kMousePointerKey, anigif::kCustomPointer, anigif::kDefaultPointer);
  const PixelRect bannerRect = At(UcAniGif1);
  if (banner_.Create(basePanel_.window(), bannerRect.x, bannerRect.y, bannerRect.width, bannerRect.height, {},
                        banner)) {
    SetWindowTextW(banner_.window(), texts_.bannerName);
    NumberWindow(banner_.window(), UcAniGif1);
  }
  banner_.Click = [this] { OpenHomepage(); };
}

void SettingsDialog::SetButtonEnabled(button::Command& command, bool enabled) {
  command.SetEnabled(enabled);
  // The window too, so the system keeps the mouse from a disabled button.
  if (command.window()) EnableWindow(command.window(), enabled);
}

void SettingsDialog::SetRepeatEnabled(bool enabled) {
  if (repeatBox_) EnableWindow(repeatBox_, enabled);
}

void SettingsDialog::Load() {
  if (again_) {
    const RECT& r = again_->window;
    SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    // Outer size from twips, centred across with a third of the free height above.
    const int width = toolkit::TwipsToPixelsX(kWindowWidthTwips);
    const int height = toolkit::TwipsToPixelsY(kWindowHeightTwips);
    const TwipsPoint corner = WindowCornerTwips(toolkit::PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)),
                                                toolkit::PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)));
    SetWindowPos(window_, nullptr, toolkit::TwipsToPixelsX(corner.x), toolkit::TwipsToPixelsY(corner.y), width,
                 height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  art_.Load(instance_, dpi_);
  CreateElements();

  // Every button, in the order the elements stand.
  const std::map<ElementId, button::Command*> buttons{
      {CmdPic, &choosePictureButton_}, {CmdBgm, &chooseSoundButton_}, {CmdSet, &saveButton_}, {CmdCan, &cancelButton_}};
  for (const ElementPlace& place : kLayout)
    if (const auto found = buttons.find(place.id); found != buttons.end()) found->second->Initialize();

  ApplyLook();

  const PictureGroupView pictures = PictureGroupFor(settings_.PictureKind);
  ShowPictureMarks();
  SetButtonEnabled(choosePictureButton_, pictures.choosePictureEnabled);
  ShowPath(*pictureShown_, 0, settings_.PictureFile);
  const bool pictureInUse = settings_.PictureKind == settings::kPictureFile;
  if (pictureInUse) ShowPicturePreview(settings_.PictureFile);
  settings_.PictureFolder = settings::ChooserFolder(settings_.PictureFile, pictureInUse);

  banner_.SetMouseIcon(anigif::CursorPicture::FromFileBytes(art_.handCursor));

  const BgmGroupView music = BgmGroupFor(settings_.BgmKind);
  ShowMusicMarks();
  SetButtonEnabled(chooseSoundButton_, music.chooseSoundEnabled);
  SetRepeatEnabled(music.repeatEnabled);
  if (repeatBox_)
    SetWindowTextW(repeatBox_, again_ ? again_->repeatText.c_str()
                                      : WideFromUtf8(RepeatBoxText(settings_.BgmRepeatTrack)).c_str());
  ShowPath(*soundShown_, 1, settings_.BgmFile);
  // The list under the text; adding items leaves the text as it is.
  if (repeatBox_)
    for (const std::string& item : RepeatBoxItems())
      SendMessageW(repeatBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromUtf8(item).c_str()));

  // Built again on another monitor, the dialog is simply there.
  if (again_) return;
  TakeZoomOriginFromCursor();
  ZoomOpen(window_);
}

void SettingsDialog::ShowPictureMarks() {
  const PictureGroupView view = PictureGroupFor(settings_.PictureKind);
  // A kind outside the group selects nothing and shows no mark.
  if (view.selected[0] || view.selected[1])
    for (size_t i = 0; i < pictureMarks_.size(); ++i) ShowMark(pictureMarks_[i], view.selected[i]);
}

void SettingsDialog::ShowMusicMarks() {
  const BgmGroupView view = BgmGroupFor(settings_.BgmKind);
  for (size_t i = 0; i < musicMarks_.size(); ++i) ShowMark(musicMarks_[i], view.selected[i]);
}

// A picture too large for memory loads as an unreadable one: no preview.
void SettingsDialog::ShowPicturePreview(const std::string& path) {
  ShowPreview(path, picturePreview_, previewScratch_, Scaled(kPreviewSide));
}

void SettingsDialog::SelectPictureKind(int index, bool onCaption) {
  if (index < 0 || index > 1) return;
  settings_.PictureKind = static_cast<int16_t>(index);
  const PictureGroupView view = PictureGroupFor(settings_.PictureKind);
  ShowPictureMarks();
  SetButtonEnabled(choosePictureButton_, view.choosePictureEnabled);
  if (PressClearsPictureShown(index, onCaption)) {
    // What is shown goes; the setting keeps its file and is saved with it.
    ShowPath(*pictureShown_, 0, "");
    picturePreview_.Clear();
    picturePreview_.Resize(Scaled(kPreviewSide), Scaled(kPreviewSide));
    picturePreview_.Refresh();
  }
  ShowFocusCues();
  AnnounceChecked({kDesktopOption, kPictureFileOption, kChoosePicture});
}

void SettingsDialog::SelectBgmKind(int index) {
  if (index < 0 || index > 2) return;
  settings_.BgmKind = static_cast<settings::MusicKind>(index);
  const BgmGroupView view = BgmGroupFor(settings_.BgmKind);
  ShowMusicMarks();
  SetRepeatEnabled(view.repeatEnabled);
  SetButtonEnabled(chooseSoundButton_, view.chooseSoundEnabled);
  ShowFocusCues();
  AnnounceChecked({kAudioCdOption, kRepeat, kNoMusicOption, kSoundFileOption, kChooseSound});
}

void SettingsDialog::ChoosePicture() {
  const std::optional<std::string> path = ChooseFile(
      window_, instance_,
      {texts_, texts_.pictureFilterDescription, kPicturePattern, settings_.PictureFolder});
  if (!path) return;
  settings_.PictureFile = *path;
  ShowPath(*pictureShown_, 0, *path);
  settings_.PictureFolder = settings::ChooserFolder(*path, true);
  ShowPicturePreview(*path);
}

void SettingsDialog::ChooseSound() {
  const std::optional<std::string> path =
      ChooseFile(window_, instance_, {texts_, texts_.soundFilterDescription, kSoundPattern, settings_.BgmFolder});
  if (!path) return;
  settings_.BgmFile = *path;
  ShowPath(*soundShown_, 1, *path);
  settings_.BgmFolder = settings::ChooserFolder(settings_.BgmFile, true);
}

std::string SettingsDialog::RepeatText() const {
  if (!repeatBox_) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(repeatBox_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(repeatBox_, text.data(), static_cast<int>(text.size()))));
  return Utf8FromWide(text);
}

void SettingsDialog::SaveSettings() {
  settings_.BgmRepeatTrack = RepeatTrackFromText(RepeatText(), settings_.BgmRepeatTrack);
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const bool saved = settings::SaveProgramSettings(settings_);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  if (!saved) {
    // The dialog stays, with every choice, so nothing is lost.
    MessageBoxW(window_, texts_.saveFailed, kDialogTitle, MB_OK | MB_ICONWARNING);
    return;
  }
  // Closed once the button has finished with this click.
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void SettingsDialog::OpenHomepage() {
  std::wstring target = VENTALUNE_HOMEPAGE;
  if (target.empty()) {
    target = WideFromAnsi(settings::ProgramFolder()) + kHelpPage;
    // Until the help page ships, there is nothing to open.
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  }
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  ShellExecuteW(window_, L"open", target.c_str(), L"", L"", SW_SHOWNORMAL);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void SettingsDialog::Close() {
  if (closed_) return;
  closed_ = true;
  // Back to the point the opening started from, not to where the pointer is now.
  if (!relayout_) ZoomClose(window_);
  DestroyWindow(window_);
}

void SettingsDialog::RunModal() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
  ApplyFocus();
  MSG message;
  while (window_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TranslateDialogKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    if (window_) SyncFocusFromSystem();
  }
}

LRESULT SettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      DisconnectAccessible(window);
      window_ = nullptr;
      return 0;
    case WM_ACTIVATE:
      // The focus goes back where the keyboard left it, not to the window.
      if (LOWORD(wParam) != WA_INACTIVE && window_) {
        ApplyFocus();
        return 0;
      }
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SYSCOLORCHANGE:
      if (window_) ApplyLook();
      return 0;
    case WM_SETTINGCHANGE:
      if (window_ && wParam == SPI_SETHIGHCONTRAST) ApplyLook();
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED:
      if (window_ && lParam) {
        Relayout again;
        again.dpi = HIWORD(wParam);
        again.window = *reinterpret_cast<const RECT*>(lParam);
        again.repeatText = WideFromUtf8(RepeatText());
        again.focus = focus_;
        again.keyboardUsed = keyboardUsed_;
        relayout_ = again;
        Close();
      }
      return 0;
    case WM_GETOBJECT:
      return AnswerGetObject(window, wParam, lParam, *this);
    case kDefaultActionMessage:
      RunDefaultAction(static_cast<size_t>(wParam));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void RunSettingsDialog(HINSTANCE instance, settings::Settings& settings) {
  std::optional<Relayout> again;
  do {
    SettingsDialog dialog(instance, settings, again);
    if (!dialog.Create()) return;
    dialog.Load();
    dialog.RunModal();
    again = dialog.relayout();
  } while (again);
}

}  // namespace ventalune::dialog
