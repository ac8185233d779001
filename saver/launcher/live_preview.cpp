#include "saver/launcher/live_preview.h"

#include <cstring>

#include "common/preview_frames.h"

namespace ventalune::launcher {
namespace {

// A picture into its place in the shared memory, scaled down to fit, rows
// turned bottom first as the scene's textures take them.
bool PlacePicture(const pictures::PictureSurface& picture, PreviewPicture& size, std::byte* place) {
  if (picture.width() <= 0 || picture.height() <= 0) return false;
  // The frame rule serves the pictures too: the same size, or scaled down
  // with its shape kept.
  const PreviewPicture fitted = PreviewFrameSize(picture.width(), picture.height(), kPreviewPictureSide);
  const int32_t width = fitted.width, height = fitted.height;
  pictures::PictureSurface scaled;
  const pictures::PictureSurface* source = &picture;
  if (width != picture.width() || height != picture.height()) {
    if (!scaled.Resize(width, height)) return false;
    SetStretchBltMode(scaled.dc(), HALFTONE);
    SetBrushOrgEx(scaled.dc(), 0, 0, nullptr);
    StretchBlt(scaled.dc(), 0, 0, width, height, picture.dc(), 0, 0, picture.width(), picture.height(), SRCCOPY);
    source = &scaled;
  }
  const size_t row = static_cast<size_t>(width) * 4;
  const std::span<const uint8_t> pixels = source->pixels();
  for (int32_t y = 0; y < height; ++y)
    std::memcpy(place + static_cast<size_t>(height - 1 - y) * row, pixels.data() + static_cast<size_t>(y) * row, row);
  size = {width, height};
  return true;
}

}  // namespace

bool LivePreview::Start(HWND window, const std::wstring& sceneProgram, const pictures::PictureSurface& room,
                        const pictures::PictureSurface& ring) {
  // Inherited by the scene, and by nothing else: no other handle of ours
  // is inheritable.
  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  mapping_.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, &inherited, PAGE_READWRITE, 0,
                                    static_cast<DWORD>(kPreviewMappingBytes), nullptr));
  if (!mapping_) return false;
  view_ = static_cast<std::byte*>(MapViewOfFile(mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kPreviewMappingBytes));
  if (!view_) {
    Stop();
    return false;
  }
  PreviewHeader header;
  if (!PlacePicture(room, header.room, view_ + kRoomOffset) || !PlacePicture(ring, header.ring, view_ + kRingOffset)) {
    Stop();
    return false;
  }
  // The header is complete before the scene can read it.
  std::memcpy(view_, &header, sizeof(header));
  if (!StartScene(window, sceneProgram)) {
    Stop();
    return false;
  }
  return true;
}

bool LivePreview::StartScene(HWND window, const std::wstring& sceneProgram) {
  job_.reset(CreateJobObjectW(nullptr, nullptr));
  if (!job_) return false;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits))) return false;

  const PreviewArguments arguments{reinterpret_cast<uintptr_t>(window), reinterpret_cast<uintptr_t>(mapping_.get())};
  const std::string switches = FormatPreviewArguments(arguments);
  std::wstring commandLine = L"\"" + sceneProgram + L"\" " + std::wstring(switches.begin(), switches.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // Suspended until it is in the job, so no moment of it runs outside.
  if (!CreateProcessW(sceneProgram.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &process))
    return false;
  const OwnedHandle thread(process.hThread);
  const OwnedHandle scene(process.hProcess);
  if (!AssignProcessToJobObject(job_.get(), scene.get())) {
    // Outside a job it could outlive us: it does not run at all.
    TerminateProcess(scene.get(), 1);
    return false;
  }
  ResumeThread(thread.get());
  return true;
}

void LivePreview::Stop() {
  if (job_) TerminateJobObject(job_.get(), 0);
  job_.reset();
  if (view_) UnmapViewOfFile(view_);
  view_ = nullptr;
  mapping_.reset();
}

bool LivePreview::Paint(HDC dc, const RECT& client) const {
  if (!view_) return false;
  // The scene's word is copied, then checked, then used: it may change it
  // meanwhile.
  PreviewHeader header;
  std::memcpy(&header, view_, sizeof(header));
  if (!PreviewHeaderValid(header) || header.latestFrame < 0) return false;
  const int latest = header.latestFrame;
  const PreviewPicture size = header.frames[latest];
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = size.height;  // bottom row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  return StretchDIBits(dc, 0, 0, client.right - client.left, client.bottom - client.top, 0, 0, size.width, size.height,
                       view_ + FrameOffset(latest), &info, DIB_RGB_COLORS, SRCCOPY) != 0;
}

}  // namespace ventalune::launcher
