// What the settings dialog shows and writes under one system code page, kept
// for comparison with a run under another (code_pages.sh): the labels are
// drawn through the wide API, so a Western system shows the same Japanese
// texts as a Japanese one, and the settings file gets the same bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "control_host.h"
#include "dialog_driver.h"
#include "saver/settings/settings_keys.h"
#include "support/bitmap_file.h"

namespace ventalune::wine_test {
namespace {

TEST(CodePageRecordTest, WhatTheDialogShowsAndWrites) {
  const char* folder = std::getenv("VENTALUNE_RECORD_FOLDER");
  const char* expectedCodePage = std::getenv("VENTALUNE_EXPECT_ACP");
  if (!folder || !expectedCodePage) GTEST_SKIP() << "run by code_pages.sh";
  ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expectedCodePage)));
  const std::string run = std::string(folder) + "\\" + expectedCodePage;

  const std::string picture = DialogRun::Installed("sky.bmp");
  WriteBmpFile(picture, 160, 120, [](int x, int) { return x < 80 ? Rgb{255, 0, 0} : Rgb{0, 0, 255}; });
  const std::string ini = IniText({{settings::kKeyPictureKind, "1"},
                                   {settings::kKeyPictureFile, picture},
                                   {settings::kKeyBgmKind, "1"},
                                   {settings::kKeyBgmRepeatTrack, "0"},
                                   {settings::kKeyBgmFile, ""}});
  DialogRun::SetIni(&ini);
  // Keyboard cues as Windows sets them out of the box (Wine's are on): the
  // focus shows only once a key has moved it, so a mouse user sees the
  // dialog as it has always looked.
  BOOL cues = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(FALSE), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
  struct RestoreCues {
    BOOL cues;
    ~RestoreCues() { SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(cues)), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE); }
  } restore{cues};
  DialogRun dialog;
  ASSERT_TRUE(dialog.Open());

  // The client area as shown, the animated banner left out.
  RECT client{}, banner{};
  GetClientRect(dialog.window(), &client);
  MapWindowPoints(dialog.window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  GetWindowRect(dialog.Element("ucAniGIF1"), &banner);
  const ScreenPicture screen = CaptureScreen();
  ASSERT_TRUE(WriteBmpFile(run + "-dialog.bmp", client.right - client.left, client.bottom - client.top,
                           [&](int x, int y) {
                             const POINT at{client.left + x, client.top + y};
                             return PtInRect(&banner, at) ? Rgb{0, 0, 0} : screen.at(at.x, at.y);
                           }));

  // A change, then save: the file's bytes.
  SendMessageW(dialog.RepeatBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"7"));
  dialog.Click(dialog.Centre(dialog::ElementId::CmdSet));
  ASSERT_TRUE(dialog.Ended());
  std::ofstream(run + "-settings.ini", std::ios::binary) << DialogRun::IniBytes();
}

}  // namespace
}  // namespace ventalune::wine_test
