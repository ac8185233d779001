// VentaluneSettings.exe: opens the saver's settings, for the Start menu.
//
// A shortcut is opened through the shell, and the shell starts a .scr with
// its file type's open command, "%1" /S, which drops the shortcut's
// arguments: a shortcut to "Ventalune.scr /c" would start a run. A shortcut
// to this program keeps its place on the command line; it starts the
// Ventalune.scr beside it with /c and ends.
//
// Exit codes: 0 the settings were started, 1 this program's own path could
// not be read, 2 Ventalune.scr could not be started (missing, for one).
#include <windows.h>

#include <cwchar>
#include <iterator>

namespace {

constexpr wchar_t kSaverFileName[] = L"Ventalune.scr";
constexpr wchar_t kSettingsSwitch[] = L" /c";

constexpr int kStarted = 0;
constexpr int kNoOwnPath = 1;
constexpr int kSaverNotStarted = 2;

// The longest path Windows has, in characters with the terminating zero.
// Plain buffers keep the program a few kilobytes of code: a string class
// would bring in the C++ library's exception machinery.
constexpr DWORD kPathCapacity = 32768;
wchar_t saverPath[kPathCapacity];
wchar_t saverFolder[kPathCapacity];
// The quoted path and the switch.
wchar_t commandLine[kPathCapacity + std::size(kSettingsSwitch) + 2];

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A path that fills the buffer was cut short: refuse it.
  const DWORD length = GetModuleFileNameW(nullptr, saverPath, kPathCapacity);
  if (length == 0 || length >= kPathCapacity) return kNoOwnPath;
  wchar_t* const fileName = std::wcsrchr(saverPath, L'\\');
  if (!fileName) return kNoOwnPath;
  const size_t folderLength = static_cast<size_t>(fileName - saverPath);
  if (folderLength + 1 + std::size(kSaverFileName) > kPathCapacity) return kSaverNotStarted;
  std::wmemcpy(saverFolder, saverPath, folderLength);
  saverFolder[folderLength] = L'\0';
  std::wcscpy(fileName + 1, kSaverFileName);

  // Quoted, for a folder with blanks; CreateProcessW may write into the
  // command line, so it is a buffer of our own.
  std::wcscpy(commandLine, L"\"");
  std::wcscat(commandLine, saverPath);
  std::wcscat(commandLine, L"\"");
  std::wcscat(commandLine, kSettingsSwitch);

  // The saver finds its settings beside itself, whatever the working
  // folder; it gets its own folder, as Explorer would give it.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(saverPath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, saverFolder, &startup,
                      &process)) {
    return kSaverNotStarted;
  }
  // We end at once: hand the saver our right to bring its dialog to the
  // front, which the user's click on the Start menu gave us.
  AllowSetForegroundWindow(process.dwProcessId);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return kStarted;
}
