// The real settings dialog hosted in this test program, for what can only be
// asked from inside its process under Wine: its accessibility objects
// (Wine cannot read another process's), and high contrast (Wine keeps no
// high-contrast switch, so this program's own import of the system call
// that reports it is pointed at a stand-in).
#include <windows.h>
#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "common/window_dpi.h"
#include "saver/dialog/dialog_layout.h"
#include "saver/dialog/settings_dialog.h"
#include "saver/settings/settings_store.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

namespace ventalune::wine_test {
namespace {

using namespace std::chrono_literals;

// Runs the dialog modally on this thread; the checks run in turn from its
// message loop, each once a dialog window shows that the one before did not
// see, and the dialog is closed after the last.
std::vector<std::function<void(HWND)>> pendingChecks;
HWND checkedDialog = nullptr;

void RunDialogAndCheck(settings::Settings settings, std::vector<std::function<void(HWND)>> checks) {
  pendingChecks = std::move(checks);
  checkedDialog = nullptr;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = FindWindowW(L"Nubivola_P", nullptr);
    if (!dialog || dialog == checkedDialog || !IsWindowVisible(dialog) || pendingChecks.empty()) return;
    checkedDialog = dialog;
    // The opening zoom and the first paints finish first.
    WaitFor([] { return false; }, 700ms);
    const std::function<void(HWND)> check = std::move(pendingChecks.front());
    pendingChecks.erase(pendingChecks.begin());
    check(dialog);
    if (pendingChecks.empty()) PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  dialog::RunSettingsDialog(GetModuleHandleW(nullptr), settings);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(pendingChecks.empty()) << "a dialog the checks waited for never showed";
  pendingChecks.clear();
}

bool Japanese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

struct Heard {
  std::wstring name;
  long role = 0;
  long state = 0;
};

std::vector<Heard> ReadChildren(HWND dialog) {
  std::vector<Heard> heard;
  IAccessible* client = nullptr;
  // The oleacc import library also names the interface's identifier, and
  // linked first it would give a stub's address: __uuidof names the GUID.
  if (FAILED(AccessibleObjectFromWindow(dialog, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&client))) ||
      !client)
    return heard;
  long count = 0;
  client->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<size_t>(std::max(count, 0L)));
  long obtained = 0;
  if (count > 0 && SUCCEEDED(AccessibleChildren(client, 0, count, children.data(), &obtained))) {
    for (long i = 0; i < obtained; ++i) {
      VARIANT& child = children[static_cast<size_t>(i)];
      Heard entry;
      if (child.vt == VT_I4) {
        BSTR name = nullptr;
        if (client->get_accName(child, &name) == S_OK && name) entry.name = name;
        SysFreeString(name);
        VARIANT role, state;
        VariantInit(&role);
        VariantInit(&state);
        if (SUCCEEDED(client->get_accRole(child, &role)) && role.vt == VT_I4) entry.role = role.lVal;
        if (SUCCEEDED(client->get_accState(child, &state)) && state.vt == VT_I4) entry.state = state.lVal;
      }
      heard.push_back(entry);
      VariantClear(&child);
    }
  }
  client->Release();
  return heard;
}

TEST(HostedDialogTest, ScreenReaderHearsEveryControlByItsVisibleText) {
  CoInitialize(nullptr);
  settings::Settings settings;
  settings.PictureKind = 0;
  settings.BgmKind = settings::MusicKind::kAudioCd;
  settings.Monitors = settings::kMonitorsMainOnly;
  std::vector<Heard> heard;
  RunDialogAndCheck(settings, {[&](HWND dialog) { heard = ReadChildren(dialog); }});
  CoUninitialize();

  const bool ja = Japanese();
  const auto t = [&](const wchar_t* english, const wchar_t* japanese) { return std::wstring(ja ? japanese : english); };
  struct Expected {
    std::wstring name;  // empty for the path boxes, whose names are their (empty) paths
    long role;
    long state;  // the bits checked: checked, unavailable, read-only
  };
  const std::vector<Expected> expected{
      {t(L"Picture", L"画像の選択"), ROLE_SYSTEM_STATICTEXT, 0},
      {t(L"Current desktop", L"ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ"), ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_CHECKED},
      {t(L"Picture file", L"画像ﾌｧｲﾙを指定"), ROLE_SYSTEM_RADIOBUTTON, 0},
      {L"...", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE},
      {L"", ROLE_SYSTEM_TEXT, STATE_SYSTEM_READONLY},
      {t(L"Show on", L"表示するモニタ"), ROLE_SYSTEM_STATICTEXT, 0},
      {t(L"Every monitor", L"すべてのモニタ"), ROLE_SYSTEM_RADIOBUTTON, 0},
      {t(L"Main monitor only", L"メインモニタのみ"), ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_CHECKED},
      {t(L"Music", L"BGM"), ROLE_SYSTEM_STATICTEXT, 0},
      {t(L"Audio CD", L"音楽CD"), ROLE_SYSTEM_RADIOBUTTON, STATE_SYSTEM_CHECKED},
      {t(L"Repeat track", L"曲目をﾘﾋﾟｰﾄ"), ROLE_SYSTEM_COMBOBOX, 0},
      {t(L"None", L"無し"), ROLE_SYSTEM_RADIOBUTTON, 0},
      {t(L"MP3, WAV", L"MP3、WAV"), ROLE_SYSTEM_RADIOBUTTON, 0},
      {L"...", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE},
      {L"", ROLE_SYSTEM_TEXT, STATE_SYSTEM_READONLY},
      {t(L"Ventalune help", L"Ventalune ﾍﾙﾌﾟ"), ROLE_SYSTEM_LINK, 0},
      {L"Ventalune Ver.", ROLE_SYSTEM_STATICTEXT, 0},  // and the version
      {t(L"Save", L"設定"), ROLE_SYSTEM_PUSHBUTTON, 0},
      {t(L"Cancel", L"ｷｬﾝｾﾙ"), ROLE_SYSTEM_PUSHBUTTON, 0},
  };
  ASSERT_EQ(heard.size(), expected.size());
  constexpr long kChecked = STATE_SYSTEM_CHECKED | STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_READONLY;
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "child " << i + 1);
    EXPECT_EQ(heard[i].name.substr(0, expected[i].name.size()), expected[i].name);
    EXPECT_EQ(heard[i].role, expected[i].role);
    EXPECT_EQ(heard[i].state & kChecked, expected[i].state);
  }
}

// This program's own import of SystemParametersInfoW, pointed at a stand-in
// that reports high contrast on while `highContrast` is set.
using SystemParametersInfoFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersInfoFunction realSystemParametersInfo = nullptr;
bool highContrast = false;

BOOL WINAPI StandInSystemParametersInfo(UINT action, UINT parameter, PVOID data, UINT flags) {
  const BOOL done = realSystemParametersInfo(action, parameter, data, flags);
  if (done && action == SPI_GETHIGHCONTRAST && highContrast && data)
    static_cast<HIGHCONTRASTW*>(data)->dwFlags |= HCF_HIGHCONTRASTON;
  return done;
}

void* ReplaceImport(const char* module, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name; ++entry) {
    if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), module) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection);
      void* original = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &protection);
      return original;
    }
  }
  return nullptr;
}

// WCAG's relative luminance and contrast ratio.
double Luminance(Rgb colour) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(colour.r) + 0.7152 * channel(colour.g) + 0.0722 * channel(colour.b);
}
double Contrast(Rgb a, Rgb b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

HWND ChildNumbered(HWND parent, int number) {
  std::pair<int, HWND> search{number, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<std::pair<int, HWND>*>(param);
        if (GetDlgCtrlID(child) != s->first) return TRUE;
        s->second = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

TEST(HostedDialogTest, HighContrastDrawsEveryLabelInTheSystemColours) {
  realSystemParametersInfo = reinterpret_cast<SystemParametersInfoFunction>(
      ReplaceImport("user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(&StandInSystemParametersInfo)));
  ASSERT_NE(realSystemParametersInfo, nullptr);
  // A high-contrast scheme: white on black, as Windows' own.
  const std::vector<int> elements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HIGHLIGHT,
                                  COLOR_GRAYTEXT};
  const std::vector<COLORREF> scheme{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 255),
                                     RGB(26, 235, 255), RGB(63, 242, 63)};
  std::vector<COLORREF> before;
  for (int element : elements) before.push_back(GetSysColor(element));

  using enum dialog::ElementId;
  const std::vector<dialog::ElementId> labels{Lbl0,    LblSel0, LblSel1, LblFname1, Lbl1,    LblBgm1, LblBgm0,
                                              LblBgm2, Lbl2,    LblFname0, Lbl9,   Lbl3,    LblMon0, LblMon1};
  settings::Settings settings;
  settings.PictureKind = 0;
  settings.BgmKind = settings::MusicKind::kAudioCd;
  RunDialogAndCheck(settings, {[&](HWND dialog) {
    // Switched while the dialog is open: it follows.
    highContrast = true;
    SetSysColors(static_cast<int>(elements.size()), elements.data(), scheme.data());
    SendMessageW(dialog, WM_SYSCOLORCHANGE, 0, 0);
    WaitFor([] { return false; }, 700ms);
    const ScreenPicture screen = CaptureScreen();
    const Rgb ground{0, 0, 0};
    for (dialog::ElementId id : labels) {
      const dialog::ElementPlace& place = dialog::PlaceOf(id);
      SCOPED_TRACE(std::string(place.name));
      HWND container = ChildNumbered(dialog, static_cast<int>(place.container == dialog::Container::PicBase ? PicBase
                                                              : place.container == dialog::Container::PicD0 ? PicD0
                                                              : place.container == dialog::Container::PicD2 ? PicD2
                                                                                                             : PicD1) +
                                                 1);
      ASSERT_NE(container, nullptr);
      const dialog::PixelRect r = dialog::ElementRect(id, 96);
      POINT origin{r.x, r.y};
      ClientToScreen(container, &origin);
      // Every pixel is the background or contrasts with it; some is text.
      double strongest = 1;
      int background = 0;
      for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
          const Rgb p = screen.at(origin.x + x, origin.y + y);
          if (p.r == ground.r && p.g == ground.g && p.b == ground.b) ++background;
          strongest = std::max(strongest, Contrast(p, ground));
        }
      EXPECT_GT(background, r.width * r.height / 2) << "the label stands on the window colour";
      EXPECT_GE(strongest, 4.5);
    }
  }});
  SetSysColors(static_cast<int>(elements.size()), elements.data(), before.data());
  highContrast = false;
}

// Moved to a monitor of 144 dpi, the dialog is laid out again there as it
// would be at its start, keeping the repeat box's text.
TEST(HostedDialogTest, AnotherMonitorsResolutionLaysTheDialogOutAgain) {
  settings::Settings settings;
  settings.BgmKind = settings::MusicKind::kAudioCd;
  RECT suggested{};
  RunDialogAndCheck(settings, {[&](HWND dialog) {
                                 SetWindowTextW(FindWindowExW(ChildNumbered(dialog, static_cast<int>(dialog::ElementId::PicD1) + 1),
                                                              nullptr, L"ComboBox", nullptr),
                                                L"7");
                                 RECT outer{};
                                 GetWindowRect(dialog, &outer);
                                 suggested = {outer.left, outer.top, outer.left + (outer.right - outer.left) * 3 / 2,
                                              outer.top + (outer.bottom - outer.top) * 3 / 2};
                                 SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144),
                                              reinterpret_cast<LPARAM>(&suggested));
                               },
                               [&](HWND dialog) {
                                 using enum dialog::ElementId;
                                 // Where the system suggested, and every frame at its 144 dpi size.
                                 RECT outer{};
                                 GetWindowRect(dialog, &outer);
                                 EXPECT_TRUE(EqualRect(&outer, &suggested));
                                 for (dialog::ElementId id : {PicD0, PicD1, PicD2, PicBase}) {
                                   HWND element = ChildNumbered(dialog, static_cast<int>(id) + 1);
                                   const dialog::PixelRect expected = dialog::ElementRect(id, 144);
                                   RECT r{};
                                   GetWindowRect(element, &r);
                                   EXPECT_EQ(r.right - r.left, expected.width) << dialog::PlaceOf(id).name;
                                   EXPECT_EQ(r.bottom - r.top, expected.height) << dialog::PlaceOf(id).name;
                                 }
                                 wchar_t repeat[16] = {};
                                 GetWindowTextW(FindWindowExW(ChildNumbered(dialog, static_cast<int>(PicD1) + 1),
                                                              nullptr, L"ComboBox", nullptr),
                                                repeat, 16);
                                 EXPECT_STREQ(repeat, L"7");
                               }});
}

// Stand-ins for the run-time lookups: one that answers 120, and ones that
// fail the way a broken or partial system might.
UINT WINAPI WindowDpi120(HWND) { return 120; }
UINT WINAPI WindowDpiZero(HWND) { return 0; }
HRESULT WINAPI MonitorDpi120(HMONITOR, int, UINT* x, UINT* y) {
  *x = *y = 120;
  return S_OK;
}
HRESULT WINAPI MonitorDpiFails(HMONITOR, int, UINT*, UINT*) { return E_FAIL; }

struct DpiLookupRow {
  const char* name;
  DpiLookups lookups;
  int expected;  // 0: the screen's LOGPIXELSY
};

class DpiLookupTest : public testing::TestWithParam<DpiLookupRow> {};

// The window's own answer first, then its monitor's, then LOGPIXELSY; a
// lookup that fails or answers 0 counts as missing.
TEST_P(DpiLookupTest, WindowResolutionFallsBackInTurn) {
  const DpiLookupRow& row = GetParam();
  HDC screen = GetDC(nullptr);
  const int logPixels = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  HWND window = CreateWindowExW(0, L"STATIC", L"dpi", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ReadWindowDpi(window, row.lookups), row.expected ? row.expected : logPixels);
  EXPECT_EQ(ReadPrimaryMonitorDpi(row.lookups), row.lookups.forMonitor == MonitorDpi120 ? 120 : logPixels);
  DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, DpiLookupTest,
    testing::Values(DpiLookupRow{"NoneExist", {}, 0},
                    DpiLookupRow{"WindowsOwn", {WindowDpi120, MonitorDpiFails}, 120},
                    DpiLookupRow{"WindowsZeroGivesTheMonitors", {WindowDpiZero, MonitorDpi120}, 120},
                    DpiLookupRow{"OnlyTheMonitors", {nullptr, MonitorDpi120}, 120},
                    DpiLookupRow{"BothFail", {WindowDpiZero, MonitorDpiFails}, 0},
                    // Wine has both; with one scale for every monitor they
                    // agree with LOGPIXELSY, so the dialog sizes as before.
                    DpiLookupRow{"TheSystemsOwn", SystemDpiLookups(), 0}),
    [](const testing::TestParamInfo<DpiLookupRow>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ventalune::wine_test
