#pragma once
// Fetches an http, https or file URL on a worker thread and tells a window
// on its own thread when it has ended, by posting it the download's ticket.
// The bytes stay with the download until its owner takes them: nothing but
// the ticket travels in the message, so a message posted from outside can
// neither make the receiver read nor free memory.
//
// Web downloads go through the system's proxy settings, fail when they do
// not connect, or stop receiving, within their time-outs, or have not
// ended by their deadline, and end at once when cancelled, also while
// still connecting or waiting for data.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ventalune::anigif {

// Posted to the receiving window: wParam is the download's ticket, lParam 0.
inline constexpr UINT kDownloadDoneMessage = WM_APP + 0x3A1;

struct DownloadTimeouts {
  uint32_t connectMs = 15000;  // until connected to the server (or the proxy)
  uint32_t receiveMs = 30000;  // for the answer, and then for each piece of it
  // For all of it, from the start: a server trickling its pieces within
  // the receive time-out must not hold a worker for ever.
  uint32_t overallMs = 300000;
};

struct DownloadResult {
  bool ok = false;  // false: could not start, failed on the way, or over the ceiling
  std::vector<uint8_t> bytes;
};

class RemoteDownload {
 public:
  // Starts the worker. Null when no thread can be started.
  static std::shared_ptr<RemoteDownload> Start(HWND receiver, const std::wstring& url, int64_t ceilingBytes,
                                               const DownloadTimeouts& timeouts);
  ~RemoteDownload();
  RemoteDownload(const RemoteDownload&) = delete;
  RemoteDownload& operator=(const RemoteDownload&) = delete;

  uint64_t ticket() const { return ticket_; }
  // The result once the worker has posted this download's ticket; null
  // before that, after it was taken, and after a cancel.
  std::unique_ptr<DownloadResult> TakeResult();
  // After this returns nothing of this download reaches the receiver; the
  // worker closes its connection and ends without waiting for the network.
  void Cancel();

  // Download workers of this process still running.
  static int RunningWorkers();
  // Web transfers whose memory WinINet may still write into: a worker's
  // own until it ends, then until WinINet has closed its handles.
  static int HeldTransfers();

  // For the worker.
  struct Shared;

 private:
  RemoteDownload() = default;
  std::shared_ptr<Shared> shared_;
  uint64_t ticket_ = 0;
};

}  // namespace ventalune::anigif
