#include "support/program_driver.h"

#include <shlobj.h>

#include <thread>
#include <utility>

namespace ventalune::wine_test {

std::wstring RunPictureFolder() {
  wchar_t local[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return {};
  return std::wstring(local) + L"\\Ventalune";
}

PicturePaths RunPictures() { return PicturePathsIn(RunPictureFolder()); }

std::string ProductFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  folder.resize(folder.find_last_of('\\'));
  folder.resize(folder.find_last_of('\\'));
  return folder + "\\bin";
}

std::string ProductPath(const char* fileName) { return ProductFolder() + "\\" + fileName; }

bool InstallPrograms(const std::string& folder, std::string* failed) {
  CreateDirectoryA(folder.c_str(), nullptr);
  for (const char* program : {"Ventalune.scr", "Ventalune.dll"}) {
    const std::string target = folder + "\\" + program;
    if (!WaitFor([&] { return CopyFileA(ProductPath(program).c_str(), target.c_str(), FALSE) != FALSE; }, 10s)) {
      if (failed) *failed = program;
      return false;
    }
  }
  return true;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    PumpMessages();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    // Wakes early for messages: a test's own windows may be asked things
    // by the program under test while we wait.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

RunningProgram::RunningProgram(RunningProgram&& other) noexcept : info_(std::exchange(other.info_, {})) {}

RunningProgram& RunningProgram::operator=(RunningProgram&& other) noexcept {
  if (this != &other) {
    Close();
    info_ = std::exchange(other.info_, {});
  }
  return *this;
}

RunningProgram::~RunningProgram() { Close(); }

void RunningProgram::Close() {
  if (!info_.hProcess) return;
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

bool RunningProgram::Start(const std::string& path, const std::string& arguments) {
  Close();
  std::string commandLine = "\"" + path + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  return CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_) != 0;
}

bool RunningProgram::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) const {
  if (!info_.hProcess) return false;
  if (!WaitFor([this] { return !running(); }, timeout)) return false;
  if (exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return true;
}

HWND FindTopLevelWindow(const char* title) { return FindWindowA(nullptr, title); }

HWND WaitForTopLevelWindow(const char* title, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindTopLevelWindow(title)) != nullptr; }, timeout);
  return found;
}

std::vector<HWND> WindowsOfProcess(DWORD processId) {
  struct Search {
    DWORD processId;
    std::vector<HWND> found;
  } search{processId, {}};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->processId && IsWindowVisible(window)) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {
void SendKey(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}
}  // namespace

void KeyDown(WORD virtualKey) { SendKey(virtualKey, 0); }
void KeyUp(WORD virtualKey) { SendKey(virtualKey, KEYEVENTF_KEYUP); }

void PressKey(WORD virtualKey, std::chrono::milliseconds hold) {
  KeyDown(virtualKey);
  std::this_thread::sleep_for(hold);
  KeyUp(virtualKey);
}

}  // namespace ventalune::wine_test
