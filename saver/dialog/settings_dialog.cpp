#include "saver/dialog/settings_dialog.h"

#include <shellapi.h>

#include <array>
#include <map>
#include <string>

#include "common/wide_text.h"
#include "common/window_dpi.h"
#include "common/window_of.h"
#include "saver/controls/anigif/control_persistence.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/dialog/settings_dialog_window.h"
#include "saver/dialog/zoom.h"
#include "saver/settings/profile_file.h"
#include "saver/toolkit/twips.h"
#include "saver_resources.h"

#ifndef VENTALUNE_HOMEPAGE
#define VENTALUNE_HOMEPAGE L""
#endif

namespace ventalune::dialog {
namespace {

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

// The window's rectangle at its place, its size taken from resolution
// `from` to `to`.
RECT ScaledWindowRect(HWND window, int from, int to) {
  RECT rect{};
  GetWindowRect(window, &rect);
  rect.right = rect.left + MulDiv(rect.right - rect.left, to, from);
  rect.bottom = rect.top + MulDiv(rect.bottom - rect.top, to, from);
  return rect;
}

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance, settings::Settings& settings,
                               const std::optional<Relayout>& again)
    : instance_(instance),
      settings_(settings),
      again_(again),
      // The primary monitor's scale as it is now: the dialog opens there.
      dpi_(again ? again->dpi : ReadPrimaryMonitorDpi()),
      texts_(TextsForUser()),
      dialogFont_(DialogFontFor(texts_)) {
  if (again_) {
    focus_ = again_->focus;
    keyboardUsed_ = again_->keyboardUsed;
  }
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
  // A fixed window with a title bar and a close box; size and place come when it opens.
  window_ = CreateWindowExW(0, kDialogClass, kDialogTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                            0, 0, 0, 0, nullptr, nullptr, instance_, this);
  if (!window_) return false;
  // Also as the window's own icons, which the task switcher and others ask for.
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
  paths_ = std::make_unique<PathBoxes>(instance_, window_);
  pictureGroup_ = std::make_unique<PictureGroup>(settings_, texts_, *paths_);
  monitorsGroup_ = std::make_unique<MonitorsGroup>(settings_, texts_, *paths_);
  musicGroup_ = std::make_unique<MusicGroup>(settings_, texts_, *paths_);
  pictureGroup_->pressed = [this] { FocusStop(Stop::PictureOptions); };
  pictureGroup_->selectionChanged = [this] {
    ShowFocusCues();
    AnnounceChecked({kDesktopOption, kPictureFileOption, kChoosePicture});
  };
  monitorsGroup_->pressed = [this] { FocusStop(Stop::MonitorOptions); };
  monitorsGroup_->selectionChanged = [this] {
    ShowFocusCues();
    AnnounceChecked({kEveryMonitorOption, kMainMonitorOption});
  };
  musicGroup_->pressed = [this] { FocusStop(Stop::MusicOptions); };
  musicGroup_->selectionChanged = [this] {
    ShowFocusCues();
    AnnounceChecked({kAudioCdOption, kRepeat, kNoMusicOption, kSoundFileOption, kChooseSound});
  };
  return true;
}

void SettingsDialog::Place() {
  if (again_) {
    const RECT& r = again_->window;
    SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // Outer size from twips at the dialog's own scale, centred across with a
  // third of the free height above.
  using toolkit::PixelsToTwips;
  using toolkit::TwipsToPixels;
  const int width = TwipsToPixels(kWindowWidthTwips, dpi_);
  const int height = TwipsToPixels(kWindowHeightTwips, dpi_);
  const TwipsPoint corner = WindowCornerTwips(PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi_),
                                              PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi_));
  SetWindowPos(window_, nullptr, TwipsToPixels(corner.x, dpi_), TwipsToPixels(corner.y, dpi_), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SettingsDialog::Build() {
  art_.Load(instance_, dpi_);
  elements_ = std::make_unique<DialogElements>(instance_, dpi_, dialogFont_, art_);
  elements_->CreatePanel(basePanel_, window_, PicBase, {});
  pictureGroup_->CreateFrame(*elements_, window_, PicD0);
  musicGroup_->CreateFrame(*elements_, window_, PicD1);
  monitorsGroup_->CreateFrame(*elements_, window_, PicD2);
  art_.FillHidden(tileSource_, window_, art_.tile.get());
  art_.FillHidden(plateSource_, window_, art_.plate.get());
  art_.FillHidden(plateMaskSource_, window_, art_.mask.get());
  pictureGroup_->Build(*elements_);
  musicGroup_->Build(*elements_);
  monitorsGroup_->Build(*elements_);
  BuildBottomRow();
}

void SettingsDialog::BuildBottomRow() {
  credit_ = &elements_->AddLabel(basePanel_, Lbl9, (std::string(kCreditPrefix) + kVersion).c_str(), RGB(0, 0, 0));
  elements_->AddButton(saveButton_, basePanel_, CmdSet, texts_.saveCaption);
  saveButton_.Click = [this] { SaveSettings(); };
  elements_->AddButton(cancelButton_, basePanel_, CmdCan, texts_.cancelCaption);
  cancelButton_.Click = [this] { PostMessageW(window_, WM_CLOSE, 0, 0); };
  // The banner keeps its GIF and its custom pointer as persisted settings.
  toolkit::PropertyBag banner;
  banner.Write<toolkit::ByteArray>(anigif::kGifKey, art_.banner, {});
  banner.Write<int32_t>(anigif::kMousePointerKey, anigif::kCustomPointer, anigif::kDefaultPointer);
  const PixelRect bannerRect = elements_->At(UcAniGif1);
  if (banner_.Create(basePanel_.window(), bannerRect.x, bannerRect.y, bannerRect.width, bannerRect.height, {},
                     banner)) {
    SetWindowTextW(banner_.window(), texts_.bannerName);
    NumberWindow(banner_.window(), UcAniGif1);
  }
  banner_.Click = [this] { OpenHomepage(); };
}

void SettingsDialog::Open() {
  Place();
  Build();
  // Every button, in the order the elements stand.
  const std::map<ElementId, button::Command*> buttons{{CmdPic, &pictureGroup_->chooseButton()},
                                                      {CmdBgm, &musicGroup_->chooseButton()},
                                                      {CmdSet, &saveButton_},
                                                      {CmdCan, &cancelButton_}};
  for (const ElementPlace& place : kLayout)
    if (const auto found = buttons.find(place.id); found != buttons.end()) found->second->Initialize();

  ApplyLook();
  pictureGroup_->ShowChoices();
  monitorsGroup_->ShowChoices();
  banner_.SetMouseIcon(anigif::CursorPicture::FromFileBytes(art_.handCursor));
  musicGroup_->ShowChoices(again_ ? &again_->repeatText : nullptr);

  // Built again on another monitor, the dialog is simply there.
  if (again_) return;
  TakeZoomOriginFromCursor();
  ZoomOpen(window_);
}

void SettingsDialog::SaveSettings() {
  musicGroup_->TakeRepeatTrack();
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
    // The page in the dialog's language, else the English one; a copy of
    // the programs without their pages has nothing to open.
    const std::wstring folder = settings::ProgramFolder();
    const auto missing = [](const std::wstring& path) {
      return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    };
    target = folder + texts_.helpPage;
    if (missing(target)) target = folder + kEnglishTexts.helpPage;
    if (missing(target)) return;
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
      toolkit::DisconnectAccessible(window);
      window_ = nullptr;
      // The modal loop looks at the window between messages it takes from
      // the queue; a message sent from another thread never comes out of it.
      PostMessageW(nullptr, WM_NULL, 0, 0);
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
        if (InSendMessageEx(nullptr) == ISMEX_NOSEND) {
          again.dpi = HIWORD(wParam);
          again.window = *reinterpret_cast<const RECT*>(lParam);
        } else {
          // From another thread or program the rectangle's address means
          // nothing here, nor need the resolution be true: both come from
          // the window's monitor as it is.
          again.dpi = ReadWindowDpi(window_);
          again.window = ScaledWindowRect(window_, dpi_, again.dpi);
        }
        again.repeatText = WideFromUtf8(musicGroup_->RepeatText());
        again.focus = focus_;
        again.keyboardUsed = keyboardUsed_;
        relayout_ = again;
        Close();
      }
      return 0;
    case WM_GETOBJECT:
      return toolkit::AnswerGetObject(window, wParam, lParam, *this);
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
    dialog.Open();
    dialog.RunModal();
    again = dialog.relayout();
  } while (again);
}

void ReportSettingsUnreadable() {
  MessageBoxW(nullptr, TextsForUser().loadFailed, kDialogTitle, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace ventalune::dialog
