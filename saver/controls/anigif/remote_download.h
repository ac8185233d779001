#pragma once
// Fetches an http, https or file URL on a worker thread and hands the bytes
// to a window on its own thread, as a posted message. Cancelling (or letting
// the last reference go) means nothing is delivered afterwards.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ventalune::anigif {

// Posted to the receiving window: wParam is the download's ticket, lParam a
// DownloadResult* that the receiver takes with TakeDownloadResult.
inline constexpr UINT kDownloadDoneMessage = WM_APP + 0x3A1;

struct DownloadResult {
  uint64_t ticket = 0;
  bool ok = false;  // false: could not start, failed on the way, or over the ceiling
  std::vector<uint8_t> bytes;
};

std::unique_ptr<DownloadResult> TakeDownloadResult(LPARAM lParam);

class RemoteDownload {
 public:
  // Starts the worker. Null when no thread can be started.
  static std::shared_ptr<RemoteDownload> Start(HWND receiver, const std::wstring& url, int64_t ceilingBytes);
  ~RemoteDownload();

  uint64_t ticket() const { return ticket_; }
  // After this returns no result of this download reaches the receiver; one
  // already posted is removed from the receiver's queue.
  void Cancel();

  // For the worker.
  struct Shared;

 private:
  RemoteDownload() = default;
  std::shared_ptr<Shared> shared_;
  uint64_t ticket_ = 0;
  HWND receiver_ = nullptr;
};

}  // namespace ventalune::anigif
