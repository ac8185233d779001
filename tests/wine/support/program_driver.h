#pragma once
// Starting the real programs the way Windows would, and watching them.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/program_contract.h"

namespace ventalune::wine_test {

using namespace std::chrono_literals;

// The folder the two programs are built into (..\bin beside the tests).
std::string ProductFolder();
std::string ProductPath(const char* fileName);

// Where a saver run writes the scene's two pictures: the user's own folder.
std::wstring RunPictureFolder();
PicturePaths RunPictures();
// The folder every account may write where earlier versions kept those
// pictures: nothing of ours may read or write there now.
inline constexpr char kSharedDataFolder[] = "C:\\q_sarn";
inline std::string SharedDataPicture(const char* name) { return std::string(kSharedDataFolder) + "\\" + name; }

// Makes `folder` and copies both programs into it, as an install would. A
// program of an earlier test may still be on its way out, holding its file:
// each copy is tried for a while. False, with the file's name in `failed`,
// when a copy never succeeds.
bool InstallPrograms(const std::string& folder, std::string* failed = nullptr);

// Handles the messages of this thread's windows.
void PumpMessages();

// Polls the condition every 20 ms until it holds or the time is up, handling
// this thread's messages meanwhile.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// A started process; terminated on destruction if still running.
class RunningProgram {
 public:
  RunningProgram() = default;
  RunningProgram(RunningProgram&& other) noexcept;
  RunningProgram& operator=(RunningProgram&& other) noexcept;
  ~RunningProgram();

  // Starts `path` with the given command line text (after the program
  // name), with a normal window. False when the process cannot start.
  bool Start(const std::string& path, const std::string& arguments = "");
  bool running() const;
  // Waits for the end; returns the exit code, or nothing on time-out.
  bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr) const;
  DWORD processId() const { return info_.dwProcessId; }
  HANDLE process() const { return info_.hProcess; }

 private:
  void Close();
  PROCESS_INFORMATION info_{};
};

// Top-level windows with this exact title, of any process.
HWND FindTopLevelWindow(const char* title);
HWND WaitForTopLevelWindow(const char* title, std::chrono::milliseconds timeout);
// Visible top-level windows of one process.
std::vector<HWND> WindowsOfProcess(DWORD processId);

// Presses and, after `hold`, releases a key through the system's input queue,
// as a person would; the foreground window receives it.
void PressKey(WORD virtualKey, std::chrono::milliseconds hold = 150ms);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);

}  // namespace ventalune::wine_test
