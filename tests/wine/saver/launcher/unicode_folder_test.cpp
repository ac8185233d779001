// A user whose folders the system's ANSI code page cannot spell: the programs
// installed under a Cyrillic name, the user's application data moved (as a
// profile of a Cyrillic or Chinese user name has it) to a folder of Cyrillic
// and CJK letters. Run under an English locale (code page 1252), where the
// ANSI functions would hand out "?" for every one of those letters. Wine
// invents short names where Windows may have none, so nothing here may rest
// on them: tools/check_ansi_calls keeps the product on the wide functions.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/program_contract.h"
#include "saver/launcher/saver_run.h"
#include "saver/settings/settings_keys.h"
#include "support/bitmap_file.h"
#include "support/program_driver.h"
#include "support/screen_capture.h"

#include "preview_host.h"

namespace ventalune::wine_test {
namespace {

// "Program Files\Вентилюн", and the user's data under "Пользователь 王明".
const std::wstring kInstallFolder = L"C:\\Program Files\\\u0412\u0435\u043d\u0442\u0438\u043b\u044e\u043d";
const std::wstring kProfileFolder =
    L"C:\\users\\\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c \u738b\u660e";
constexpr wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring Installed(const wchar_t* file) { return kInstallFolder + L"\\" + file; }

bool IsRed(Rgb c) { return c.r > 200 && c.g < 60 && c.b < 60; }

// One value of the user's shell folders, set for the test and put back after.
class RedirectedShellFolder {
 public:
  RedirectedShellFolder(const wchar_t* name, const std::wstring& folder) : name_(name) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    wchar_t value[MAX_PATH * 2] = {};
    DWORD type = 0, size = sizeof(value) - sizeof(wchar_t);
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS) {
      saved_ = std::wstring(value);
      savedType_ = type;
    }
    CreateDirectoryW(folder.substr(0, folder.find_last_of(L'\\')).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    RegSetValueExW(key_, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  ~RedirectedShellFolder() {
    if (saved_) {
      RegSetValueExW(key_, name_, 0, savedType_, reinterpret_cast<const BYTE*>(saved_->c_str()),
                     static_cast<DWORD>((saved_->size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteValueW(key_, name_);
    }
    RegCloseKey(key_);
  }
  RedirectedShellFolder(const RedirectedShellFolder&) = delete;
  RedirectedShellFolder& operator=(const RedirectedShellFolder&) = delete;

 private:
  const wchar_t* name_;
  HKEY key_ = nullptr;
  std::optional<std::wstring> saved_;
  DWORD savedType_ = REG_EXPAND_SZ;
};

// Starts a program by its wide path, as the shell does.
class WideProgram {
 public:
  ~WideProgram() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Start(const std::wstring& path, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_) != 0;
  }
  bool Ended(std::chrono::milliseconds within) {
    return WaitFor([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, within);
  }

 private:
  PROCESS_INFORMATION info_{};
};

class UnicodeFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 1252u) << "the test needs an English system locale";
    ASSERT_EQ(FindTopLevelWindow(launcher::kRunWindowTitle), nullptr) << "a saver run is left over";
    ASSERT_EQ(FindTopLevelWindow(kSceneWindowTitle), nullptr) << "a scene is left over";
    CreateDirectoryW(kProfileFolder.c_str(), nullptr);
    CreateDirectoryW(kInstallFolder.c_str(), nullptr);
    for (const wchar_t* program : {L"Ventalune.scr", L"Ventalune.dll"}) {
      const std::wstring source = WidePath(ProductFolder()) + L"\\" + program;
      ASSERT_TRUE(WaitFor([&] { return CopyFileW(source.c_str(), Installed(program).c_str(), FALSE) != FALSE; }, 10s));
    }
    DeleteFileW(Installed(L"Ventalune.ini").c_str());
  }

  void TearDown() override {
    if (HWND scene = FindTopLevelWindow(kSceneWindowTitle)) PostMessageW(scene, WM_CLOSE, 0, 0);
    WaitFor([] { return !FindTopLevelWindow(kSceneWindowTitle); }, 5s);
  }

  // The settings file's bytes: the profile functions write it in the code page.
  std::string IniBytes() const {
    const std::vector<uint8_t> bytes = ReadRawFile(Installed(L"Ventalune.ini"));
    return std::string(bytes.begin(), bytes.end());
  }

  RedirectedShellFolder local_{L"Local AppData", kProfileFolder + L"\\Local"};
  RedirectedShellFolder roaming_{L"AppData", kProfileFolder + L"\\Roaming"};
};

TEST_F(UnicodeFolderTest, RunShowsTheChosenPictureFromPicturesWrittenInTheUsersFolder) {
  ASSERT_EQ(RunPictureFolder(), kProfileFolder + L"\\Local\\Ventalune") << "the redirection did not take";
  // The user's own picture keeps its ANSI path, as the settings file stores it.
  const std::string photo = ProductFolder() + "\\..\\tests-bin\\data\\red-320x240.jpg";
  const std::wstring ini = Installed(L"Ventalune.ini");
  WritePrivateProfileStringW(L"Section", WidePath(settings::kKeyPictureKind).c_str(), L"1", ini.c_str());
  WritePrivateProfileStringW(L"Section", WidePath(settings::kKeyPictureFile).c_str(), WidePath(photo).c_str(),
                             ini.c_str());

  WideProgram saver;
  ASSERT_TRUE(saver.Start(Installed(L"Ventalune.scr"), L"/s"));
  HWND scene = WaitForTopLevelWindow(kSceneWindowTitle, 20s);
  ASSERT_NE(scene, nullptr) << "the scene did not start from the Cyrillic folder";
  const BitmapPicture room = ReadBmpFile(RunPictures().room);
  EXPECT_EQ(room.width, 320) << "no picture in the user's folder";
  EXPECT_EQ(room.height, 240);
  EXPECT_GT(ReadBmpFile(RunPictures().ring).width, 0);
  // The scene read them from there: its walls show the red picture.
  EXPECT_TRUE(WaitFor([] { return CaptureScreen().Count(IsRed) > 20000; }, 15s)) << "the walls are not the picture";

  PostMessageW(scene, WM_CLOSE, 0, 0);
  EXPECT_TRUE(saver.Ended(10s));
}

TEST_F(UnicodeFolderTest, SettingsSaveBesideTheProgram) {
  WideProgram saver;
  ASSERT_TRUE(saver.Start(Installed(L"Ventalune.scr"), L"/c"));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (dialog = FindWindowW(nullptr, L"<Ventalune>")) != nullptr; }, 20s));
  ASSERT_TRUE(WaitFor([&] { SetForegroundWindow(dialog); return GetForegroundWindow() == dialog; }, 5s));
  // Enter away from the buttons presses the default one: Save.
  PressKey(VK_RETURN);
  ASSERT_TRUE(saver.Ended(10s)) << "the dialog did not save and close";
  const std::string bytes = IniBytes();
  for (const char* key : {settings::kKeyPictureKind, settings::kKeyPictureFile, settings::kKeyBgmKind,
                          settings::kKeyBgmRepeatTrack, settings::kKeyBgmFile, settings::kKeyMonitors}) {
    EXPECT_NE(bytes.find(std::string(key) + "="), std::string::npos) << "a key is missing from:\n" << bytes;
  }
}

TEST_F(UnicodeFolderTest, PreviewShowsInTheHostsArea) {
  PreviewHost host;
  const auto handle = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(host.area()));
  WideProgram saver;
  ASSERT_TRUE(saver.Start(Installed(L"Ventalune.scr"), L"/p " + std::to_wstring(handle)));
  EXPECT_TRUE(WaitFor(
      [&] {
        HWND preview = FindWindowExW(host.area(), nullptr, nullptr, L"Preview Window");
        return preview && IsWindowVisible(preview);
      },
      10s));
  host.DestroyArea();
  EXPECT_TRUE(saver.Ended(5s));
}

}  // namespace
}  // namespace ventalune::wine_test
