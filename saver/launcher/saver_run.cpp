#include "saver/launcher/saver_run.h"

#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/saver_resources.h"
#include "common/display_monitors.h"
#include "common/handles.h"
#include "common/run_monitors.h"
#include "common/wide_text.h"
#include "common/window_of.h"
#include "saver/launcher/monitor_covers.h"
#include "saver/launcher/run_pictures.h"
#include "saver/launcher/run_plan.h"
#include "saver/music/music_choice.h"
#include "saver/music/music_player.h"
#include "saver/music/winmm_port.h"
#include "saver/pictures/mirror.h"
#include "saver/pictures/picture_surface.h"
#include "saver/settings/profile_file.h"

namespace ventalune::launcher {

using settings::Settings;

namespace {

enum TimerId : UINT_PTR { kMp3Watch = 1, kCdWatch = 2, kSceneWatch = 3 };
constexpr UINT kMp3WatchMs = 1000;
constexpr UINT kCdWatchMs = 200;
constexpr auto kRunWindowTitleWide = WideAscii(kRunWindowTitle);
constexpr auto kSceneWindowTitleWide = WideAscii(kSceneWindowTitle);

class SaverRun final : public ProgramStartPort {
 public:
  SaverRun(HINSTANCE instance, const Settings& settings)
      : instance_(instance), settings_(settings),
        music_(music::ChooseMusic(settings.BgmKind, settings.BgmFile, settings::IsSystemLeadByte)), covers_(instance) {}

  bool Create();
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<uint32_t> Start(const std::wstring& path) override;
  void AllowForeground(uint32_t processId) override;

 private:
  void WritePicturesAndStart();
  bool WriteDesktopCopies(const std::vector<DisplayMonitor>& shown, RunMonitors& run);
  void StartMusic();
  void StopMusic();
  void WatchSceneFromNow();
  void WatchScene();
  HWND SceneWindow() const;
  void EndScene();
  void EndHungScene();
  void RemoveDesktopCopies();
  void SetTimerOn(TimerId id, UINT periodMs, bool on);

  HINSTANCE instance_;
  const Settings& settings_;
  const music::MusicSource music_;
  HWND window_ = nullptr;
  pictures::PictureSurface roomPicture_;  // Display, texture 1: the user's picture (the desktop: one per monitor)
  pictures::PictureSurface ringPicture_;  // Display2, texture 2: the world map
  music::WinmmMci mci_;
  music::WinmmSound sound_;
  music::MusicState musicState_;
  bool cdWatchOn_ = false;
  bool mp3WatchOn_ = false;
  // Made once the scene was started: no look can end the run before that,
  // however long the picture takes.
  std::optional<SceneWatch> sceneWatch_;
  std::wstring folder_;     // the user's own, where the pictures go
  PicturePaths pictures_;   // in that folder
  std::vector<std::wstring> desktopCopies_;  // written by this run, one per monitor
  MonitorCovers covers_;  // the other monitors, dark while the scene shows
  // The scene program we started, kept to end it should it hang.
  OwnedHandle sceneProcess_;
};

// Whether the window takes a message within a moment. A hung scene never
// does, and the system gives up on it at once once it knows it hangs.
bool WindowAnswers(HWND window) {
  constexpr UINT kAnswerMs = 250;
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerMs, &result) != 0;
}

bool SaverRun::Create() {
  RegisterWindowClass({kRunWindowClass, instance_, WindowProcOf<SaverRun>});
  // Never shown: it carries the title the single-instance test looks for.
  window_ = CreateWindowExW(0, kRunWindowClass, kRunWindowTitleWide.data(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            instance_, this);
  if (!window_) return false;
  // Without a private folder there is nowhere safe for the desktop copy:
  // the run does not start.
  const std::optional<std::wstring> folder = PrepareRunPictureFolder();
  if (!folder) {
    DestroyWindow(window_);
    return false;
  }
  folder_ = *folder;
  pictures_ = PicturePathsIn(*folder);
  // The scene, started from here, inherits where its pictures are.
  SetEnvironmentVariableW(kPictureFolderVariable, folder->c_str());
  WritePicturesAndStart();
  return true;
}

void SaverRun::WritePicturesAndStart() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  RunMonitors run{settings_.Monitors == settings::kMonitorsMainOnly, {}};
  // Each shown monitor's own desktop, or the user's picture for them all.
  // Every file is complete before the scene program can read it, and the
  // desktop was copied before its window can cover it.
  bool roomWritten = false;
  if (settings_.PictureKind != settings::kPictureDesktop) {
    // A picture that cannot be read leaves a blank wall of the screen's size.
    if (!roomPicture_.LoadFile(settings_.PictureFile)) roomPicture_.Resize(width, height);
    roomWritten = WriteRunPicture(roomPicture_, pictures_.room);
  } else {
    roomWritten = WriteDesktopCopies(ShownMonitors(DisplayMonitors(), run.mainOnly), run);
  }
  // A room picture this run could not write is someone else's (another
  // program holds the file): the scene would show it on its walls.
  if (!roomWritten) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return;
  }
  ringPicture_.LoadResource(instance_, IDR_WORLD_MAP);
  WriteRunPicture(ringPicture_, pictures_.ring);
  // The scene, started from here, inherits which monitors show the room.
  SetEnvironmentVariableW(kRunMonitorsVariable, FormatRunMonitors(run).c_str());
  StartScene(*this, settings::ProgramFolder());
  WatchSceneFromNow();
  StartMusic();
}

// Each shown monitor's own desktop, mirrored, as the next room picture; one
// copy at a time is held. True when the main monitor's was written. A
// further monitor's that cannot be written gets no picture of its own (it
// shows the main one's room), and the next takes its number, so the
// pictures and the rooms named to the scene stay in step. Only a copy this
// run wrote is this run's to delete.
bool SaverRun::WriteDesktopCopies(const std::vector<DisplayMonitor>& shown, RunMonitors& run) {
  const WindowDc screen(GetDesktopWindow());
  for (size_t i = 0; i < shown.size(); ++i) {
    const MonitorRect& area = shown[i].area;
    pictures::PictureSurface copy;
    // A desktop that cannot be read leaves a blank wall.
    if (copy.Resize(area.width(), area.height()) && screen) {
      // A straight copy, mirrored in memory: a mirroring stretch (negative
      // width) lands one column off on some GDI implementations.
      BitBlt(copy.dc(), 0, 0, area.width(), area.height(), screen.get(), area.left, area.top, SRCCOPY);
      pictures::MirrorLeftRight(copy.pixels(), area.width(), area.height());
    }
    const std::wstring path = RoomPictureIn(folder_, run.rooms.size());
    if (!WriteRunPicture(copy, path)) {
      if (i == 0) return false;
      continue;
    }
    desktopCopies_.push_back(path);
    run.rooms.push_back(area);
  }
  // With no monitor to be found, the screen's size as before.
  if (shown.empty()) {
    pictures::PictureSurface copy;
    copy.Resize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (!WriteRunPicture(copy, pictures_.room)) return false;
    desktopCopies_.push_back(pictures_.room);
  }
  return true;
}

std::optional<uint32_t> SaverRun::Start(const std::wstring& path) {
  // The full path as the application name: a program folder with spaces
  // starts our file and nothing else.
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return std::nullopt;
  }
  const OwnedHandle thread(process.hThread);
  sceneProcess_.reset(process.hProcess);
  return process.dwProcessId;
}

void SaverRun::AllowForeground(uint32_t processId) { AllowSetForegroundWindow(processId); }

void SaverRun::StartMusic() {
  switch (music_) {
    case music::MusicSource::kAudioCd:
      music::CdOpen(mci_);
      SetTimerOn(kCdWatch, kCdWatchMs, true);
      break;
    case music::MusicSource::kWav:
      music::WavStart(sound_, settings_.BgmFile);
      break;
    case music::MusicSource::kMp3:
      music::Mp3Start(mci_, settings_.BgmFile);
      SetTimerOn(kMp3Watch, kMp3WatchMs, true);
      break;
    case music::MusicSource::kNone:
      break;
  }
}

void SaverRun::StopMusic() {
  if (cdWatchOn_) {
    SetTimerOn(kCdWatch, kCdWatchMs, false);
    music::CdClose(mci_);
  }
  if (music_ == music::MusicSource::kWav) music::WavStop(sound_);
  if (music_ == music::MusicSource::kMp3) {
    SetTimerOn(kMp3Watch, kMp3WatchMs, false);
    music::Mp3Stop(mci_);
  }
}

void SaverRun::SetTimerOn(TimerId id, UINT periodMs, bool on) {
  bool& state = id == kCdWatch ? cdWatchOn_ : mp3WatchOn_;
  if (on && !state) SetTimer(window_, id, periodMs, nullptr);
  if (!on && state) KillTimer(window_, id);
  state = on;
}

// The desktop copies show whatever was on the screens (mail, documents), and
// nothing needs them once the scene has gone: they go with the run. The user's
// own picture and the world map stay, as the next run overwrites them anyway.
void SaverRun::RemoveDesktopCopies() {
  for (const std::wstring& copy : desktopCopies_) DeleteFileW(copy.c_str());
  desktopCopies_.clear();
}

// The scene's start grace counts from here, after the picture was loaded and
// written, which may take longer than the grace itself (a large file, a
// folder on the network). The watch's timer starts here too, so no tick can
// come while the load is still going, even should it pump messages.
void SaverRun::WatchSceneFromNow() {
  sceneWatch_.emplace(GetTickCount());
  SetTimer(window_, kSceneWatch, SceneWatch::kLookPeriodMs, nullptr);
}

// The scene window of the program this run started. Any program may open a
// window of the scene's title: one left over, or one of a stranger's, must
// neither keep the run (its covers and hidden cursor) alive nor hide a hang
// of our own scene.
HWND SaverRun::SceneWindow() const {
  if (!sceneProcess_) return nullptr;
  struct Search {
    DWORD processId;
    HWND found;
  } search{GetProcessId(sceneProcess_.get()), nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t title[std::size(kSceneWindowTitle) + 1] = {};
        if (owner != wanted.processId || GetWindowTextW(window, title, static_cast<int>(std::size(title))) == 0)
          return TRUE;
        if (std::wstring_view(title) != kSceneWindowTitleWide.data()) return TRUE;
        wanted.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SaverRun::WatchScene() {
  if (!sceneWatch_) return;
  // The run ends with the scene program, whatever windows remain.
  const bool sceneEnded = sceneProcess_ && WaitForSingleObject(sceneProcess_.get(), 0) != WAIT_TIMEOUT;
  HWND scene = sceneEnded ? nullptr : SceneWindow();
  // Over every monitor the scene covers them all itself.
  if (scene && settings_.Monitors == settings::kMonitorsMainOnly) covers_.Show(window_);
  const SceneLook look = !scene                ? SceneLook::kAbsent
                         : WindowAnswers(scene) ? SceneLook::kAnswering
                                                : SceneLook::kSilent;
  const SceneVerdict verdict = sceneEnded ? SceneVerdict::kGone : sceneWatch_->Look(look, GetTickCount());
  if (verdict == SceneVerdict::kWatching) return;
  if (verdict == SceneVerdict::kHung) EndHungScene();
  KillTimer(window_, kSceneWatch);
  SendMessageW(window_, WM_CLOSE, 0, 0);
}

// As Esc on the scene: the scene ends itself, restoring the display, and the
// run follows it. Without a scene the run ends directly.
void SaverRun::EndScene() {
  if (HWND scene = SceneWindow()) {
    PostMessageW(scene, WM_CLOSE, 0, 0);
  } else {
    SendMessageW(window_, WM_CLOSE, 0, 0);
  }
}

// The scene covers the screen and takes no keys: the user would be locked
// out. The system puts the display mode back when the process that changed
// it ends.
void SaverRun::EndHungScene() {
  if (!sceneProcess_) return;
  TerminateProcess(sceneProcess_.get(), 1);
  WaitForSingleObject(sceneProcess_.get(), 5000);
}

LRESULT SaverRun::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The window is known from its first message on, before CreateWindowEx returns.
  if (!window_) window_ = window;
  switch (message) {
    case WM_TIMER:
      if (wParam == kMp3Watch) music::Mp3Poll(mci_);
      if (wParam == kCdWatch) {
        music::CdPoll(mci_, musicState_, settings_.BgmRepeatTrack);
        SetTimerOn(kCdWatch, kCdWatchMs, musicState_.CdPolling);
      }
      if (wParam == kSceneWatch) WatchScene();
      return 0;
    case kEndRunRequest:
      EndScene();
      return 0;
    case WM_DISPLAYCHANGE:
      // Monitors came, went or moved, the scene's own mode switch included.
      covers_.Relayout();
      return 0;
    case WM_CLOSE:
      // The run ends whoever asks; it never returns to watching.
      KillTimer(window_, kSceneWatch);
      StopMusic();
      ShowCursor(TRUE);
      RemoveDesktopCopies();
      covers_.Remove();
      sceneProcess_.reset();
      DestroyWindow(window_);
      return 0;
    case WM_ENDSESSION:
      // The session ends and the process with it, without a closing step.
      if (wParam) RemoveDesktopCopies();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace

bool StartSaverRun(HINSTANCE instance, const Settings& settings) {
  // One run per process; it lives until the process ends.
  static std::optional<SaverRun> run;
  if (run) return false;
  run.emplace(instance, settings);
  return run->Create();
}

}  // namespace ventalune::launcher
