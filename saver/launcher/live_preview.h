#pragma once
// The live preview's half in the saver: the shared memory holding the two
// pictures and the frames, and the scene program drawing into it. The scene
// runs in a job that kills it when the job's last handle closes, so it ends
// with this process however that ends (the host may end it outright).
#include <windows.h>

#include <cstddef>
#include <string>

#include "common/handles.h"
#include "saver/pictures/picture_surface.h"

namespace ventalune::launcher {

class LivePreview {
 public:
  LivePreview() = default;
  ~LivePreview() { Stop(); }
  LivePreview(const LivePreview&) = delete;
  LivePreview& operator=(const LivePreview&) = delete;

  // Starts `sceneProgram` drawing frames for `window`, `room` on the walls
  // and `ring` on the rings. False, with nothing left started, when any part
  // cannot be had (the window keeps its still then).
  bool Start(HWND window, const std::wstring& sceneProgram, const pictures::PictureSurface& room,
             const pictures::PictureSurface& ring);
  // Ends the scene program and lets the memory go. Nothing after it paints.
  void Stop();
  // Paints the latest frame stretched over `client`; false before the first.
  bool Paint(HDC dc, const RECT& client) const;

 private:
  bool StartScene(HWND window, const std::wstring& sceneProgram);

  OwnedHandle mapping_;
  OwnedHandle job_;
  std::byte* view_ = nullptr;
};

}  // namespace ventalune::launcher
