#include "saver/controls/anigif/remote_download.h"

#include <shlwapi.h>
#include <wininet.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "common/whole_file.h"

namespace ventalune::anigif {

// What the worker and the cancelling thread share. The worker makes each
// WinINet call with a handle under the lock, after checking that no cancel
// came first; a cancel closes the handles under the same lock. So no call
// ever gets a handle that was closed (and its value perhaps given to a
// handle of another download).
struct RemoteDownload::Shared {
  std::mutex lock;
  bool cancelled = false;
  HANDLE wake = nullptr;  // manual reset: set by a cancel, ends the worker's waits
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  std::unique_ptr<DownloadResult> result;

  ~Shared() {
    if (wake) CloseHandle(wake);
  }
  // Children first. Closing aborts whatever WinINet is doing with them.
  void CloseHandlesLocked() {
    for (HINTERNET* handle : {&request, &connection, &session}) {
      if (*handle) InternetCloseHandle(*handle);
      *handle = nullptr;
    }
  }
};

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr wchar_t kAgent[] = L"Ventalune";

std::atomic<uint64_t> nextTicket{1};
std::atomic<int> runningWorkers{0};

// What WinINet's status callback reports for one transfer. The transfer's
// handles carry its id as their context, and the callback finds it in a
// table: WinINet may call back after the worker has gone (an operation it
// was cancelled in can run on inside WinINet until its own time-out), so
// the entry, and the buffers WinINet may still write, stay until both
// handles have closed.
struct Progress {
  HANDLE signal = nullptr;  // auto reset: something below changed
  bool connected = false;
  bool completed = false;  // the pending operation ended
  bool succeeded = false;  // … and how
  int openHandles = 0;
  bool workerDone = false;
  DWORD available = 0;  // written by a query for data
  std::vector<uint8_t> chunk = std::vector<uint8_t>(kChunk);

  ~Progress() {
    if (signal) CloseHandle(signal);
  }
};

std::mutex progressLock;
std::unordered_map<DWORD_PTR, std::shared_ptr<Progress>>& ProgressTable() {
  static std::unordered_map<DWORD_PTR, std::shared_ptr<Progress>> table;
  return table;
}
std::atomic<DWORD_PTR> nextContext{1};

void ForgetIfDoneLocked(DWORD_PTR context) {
  auto& table = ProgressTable();
  const auto found = table.find(context);
  if (found != table.end() && found->second->workerDone && found->second->openHandles <= 0) table.erase(found);
}

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD informationLength) {
  std::lock_guard<std::mutex> guard(progressLock);
  auto& table = ProgressTable();
  const auto found = table.find(context);
  if (found == table.end()) return;
  Progress& progress = *found->second;
  switch (status) {
    // A connection kept from an earlier request is not connected again: its
    // first sign of life is the request going out.
    case INTERNET_STATUS_CONNECTED_TO_SERVER:
    case INTERNET_STATUS_SENDING_REQUEST:
    case INTERNET_STATUS_REQUEST_SENT:
    case INTERNET_STATUS_RECEIVING_RESPONSE:
    case INTERNET_STATUS_RESPONSE_RECEIVED:
      progress.connected = true;
      SetEvent(progress.signal);
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE: {
      const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(information);
      progress.completed = true;
      progress.succeeded = result && informationLength >= sizeof(*result) && result->dwResult != 0;
      SetEvent(progress.signal);
      break;
    }
    case INTERNET_STATUS_HANDLE_CLOSING:
      --progress.openHandles;
      ForgetIfDoneLocked(context);
      break;
    default:
      break;
  }
}

enum class Waited { kDone, kCancelled, kTimedOut };

// Waits until `done` holds (asked under the progress lock), a cancel
// comes, or the time is up.
Waited WaitUntil(Progress& progress, HANDLE wake, uint32_t milliseconds,
                 const std::function<bool(const Progress&)>& done) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    {
      std::lock_guard<std::mutex> guard(progressLock);
      if (done(progress)) return Waited::kDone;
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return Waited::kTimedOut;
    const HANDLE handles[2] = {wake, progress.signal};
    if (WaitForMultipleObjects(2, handles, FALSE, static_cast<DWORD>(deadline - now)) == WAIT_OBJECT_0)
      return Waited::kCancelled;
  }
}

bool Completed(const Progress& progress) { return progress.completed; }

// Waits for the operation just started to end, and says whether it succeeded.
bool FinishPending(Progress& progress, HANDLE wake, uint32_t milliseconds) {
  if (WaitUntil(progress, wake, milliseconds, Completed) != Waited::kDone) return false;
  std::lock_guard<std::mutex> guard(progressLock);
  return progress.succeeded;
}

void StartingOperation(Progress& progress) {
  std::lock_guard<std::mutex> guard(progressLock);
  progress.completed = false;
  progress.succeeded = false;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  const size_t length = wcslen(prefix);
  return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

bool ReadLocalFile(const std::wstring& url, int64_t ceiling, std::vector<uint8_t>& bytes) {
  wchar_t path[MAX_PATH * 4];
  DWORD length = static_cast<DWORD>(std::size(path));
  if (FAILED(PathCreateFromUrlW(url.c_str(), path, &length, 0))) return false;
  if (ceiling < 0) return false;
  std::optional<std::vector<uint8_t>> read = ReadWholeFile(std::wstring(path), static_cast<uint64_t>(ceiling));
  if (!read) return false;
  bytes = std::move(*read);
  return true;
}

struct UrlParts {
  std::wstring host;
  std::wstring object;  // path and query
  INTERNET_PORT port = 0;
  bool secure = false;
};

std::optional<UrlParts> CrackUrl(const std::wstring& url) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  // Lengths without buffers: the fields point into the URL itself.
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts) || !parts.lpszHostName ||
      parts.dwHostNameLength == 0)
    return std::nullopt;
  UrlParts cracked;
  cracked.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  if (parts.lpszUrlPath) cracked.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  if (parts.lpszExtraInfo) cracked.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (cracked.object.empty()) cracked.object = L"/";
  cracked.port = parts.nPort;
  cracked.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return cracked;
}

void SetTimeouts(HINTERNET handle, const DownloadTimeouts& timeouts) {
  DWORD connect = timeouts.connectMs, receive = timeouts.receiveMs;
  InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
  InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof(receive));
  InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
}

class Transfer {
 public:
  Transfer(RemoteDownload::Shared& shared, const DownloadTimeouts& timeouts)
      : shared_(shared), timeouts_(timeouts), progress_(std::make_shared<Progress>()) {
    progress_->signal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::lock_guard<std::mutex> guard(progressLock);
    ProgressTable().emplace(context_, progress_);
  }
  ~Transfer() {
    {
      std::lock_guard<std::mutex> guard(shared_.lock);
      shared_.CloseHandlesLocked();
    }
    std::lock_guard<std::mutex> guard(progressLock);
    progress_->workerDone = true;
    ForgetIfDoneLocked(context_);
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  bool Run(const std::wstring& url, int64_t ceiling, std::vector<uint8_t>& bytes) {
    const std::optional<UrlParts> parts = CrackUrl(url);
    return parts && progress_->signal && Open(*parts) && Send() && StatusOk() && Receive(ceiling, bytes);
  }

 private:
  // Runs `call` under the lock unless a cancel came first; nothing when it did.
  template <class Call>
  auto Locked(Call call) -> std::optional<decltype(call())> {
    std::lock_guard<std::mutex> guard(shared_.lock);
    if (shared_.cancelled) return std::nullopt;
    return call();
  }

  void Counted(HINTERNET handle) {
    if (!handle) return;
    std::lock_guard<std::mutex> guard(progressLock);
    ++progress_->openHandles;
  }

  bool Open(const UrlParts& parts) {
    const auto opened = Locked([&] {
      shared_.session = InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
      if (!shared_.session) return false;
      InternetSetStatusCallbackW(shared_.session, OnStatus);
      SetTimeouts(shared_.session, timeouts_);
      shared_.connection = InternetConnectW(shared_.session, parts.host.c_str(), parts.port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, context_);
      Counted(shared_.connection);
      if (!shared_.connection) return false;
      DWORD flags = INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_RELOAD |
                    INTERNET_FLAG_NO_CACHE_WRITE;
      if (parts.secure) flags |= INTERNET_FLAG_SECURE;
      shared_.request = HttpOpenRequestW(shared_.connection, L"GET", parts.object.c_str(), nullptr, nullptr, nullptr,
                                         flags, context_);
      Counted(shared_.request);
      if (!shared_.request) return false;
      // Some WinINets take the time-outs only from the request itself.
      SetTimeouts(shared_.request, timeouts_);
      return true;
    });
    return opened.value_or(false);
  }

  // Connecting may take the connect time-out, the answer's head then the
  // receive time-out. Our own clock keeps both, whatever WinINet does with
  // its options.
  bool Send() {
    StartingOperation(*progress_);
    const auto sent = Locked([&] {
      const BOOL done = HttpSendRequestW(shared_.request, nullptr, 0, nullptr, 0);
      return done ? DWORD{ERROR_SUCCESS} : GetLastError();
    });
    if (!sent) return false;
    if (*sent == ERROR_SUCCESS) return true;
    if (*sent != ERROR_IO_PENDING) return false;
    const auto connected = [](const Progress& progress) { return progress.connected || progress.completed; };
    if (WaitUntil(*progress_, shared_.wake, timeouts_.connectMs, connected) != Waited::kDone) return false;
    return FinishPending(*progress_, shared_.wake, timeouts_.receiveMs);
  }

  bool StatusOk() {
    const auto ok = Locked([&] {
      DWORD status = 0, size = sizeof(status);
      return HttpQueryInfoW(shared_.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                            nullptr) &&
             status >= 200 && status < 300;
    });
    return ok.value_or(false);
  }

  // Takes what has arrived without waiting inside WinINet; when nothing
  // has, asks whether more is coming and waits for it on our own clock.
  bool Receive(int64_t ceiling, std::vector<uint8_t>& bytes) {
    for (;;) {
      struct Read {
        BOOL done;
        DWORD error;
        DWORD length;
      };
      const auto read = Locked([&] {
        INTERNET_BUFFERSA buffer{};
        buffer.dwStructSize = sizeof(buffer);
        buffer.lpvBuffer = progress_->chunk.data();
        buffer.dwBufferLength = kChunk;
        const BOOL done = InternetReadFileExA(shared_.request, &buffer, IRF_NO_WAIT, context_);
        return Read{done, done ? DWORD{ERROR_SUCCESS} : GetLastError(), buffer.dwBufferLength};
      });
      if (!read) return false;
      if (!read->done) {
        if (read->error != ERROR_IO_PENDING) return false;
        if (!FinishPending(*progress_, shared_.wake, timeouts_.receiveMs)) return false;
        continue;
      }
      if (read->length > 0) {
        if (static_cast<int64_t>(bytes.size()) + read->length > ceiling) return false;
        bytes.insert(bytes.end(), progress_->chunk.begin(), progress_->chunk.begin() + read->length);
        continue;
      }
      StartingOperation(*progress_);
      const auto queried = Locked([&] {
        const BOOL done = InternetQueryDataAvailable(shared_.request, &progress_->available, 0, 0);
        return Read{done, done ? DWORD{ERROR_SUCCESS} : GetLastError(), done ? progress_->available : DWORD{0}};
      });
      if (!queried) return false;
      if (queried->done) {
        if (queried->length == 0) return true;  // the end
        continue;
      }
      if (queried->error != ERROR_IO_PENDING) return false;
      // What the query ends with is read again above: more, the end, or
      // an error the next call reports at once.
      if (WaitUntil(*progress_, shared_.wake, timeouts_.receiveMs, Completed) != Waited::kDone) return false;
    }
  }

  RemoteDownload::Shared& shared_;
  const DownloadTimeouts timeouts_;
  std::shared_ptr<Progress> progress_;
  const DWORD_PTR context_ = nextContext++;
};

// Counts a worker from before its thread starts until it has finished.
class WorkerCount {
 public:
  WorkerCount() { ++runningWorkers; }
  ~WorkerCount() { --runningWorkers; }
  WorkerCount(const WorkerCount&) = delete;
  WorkerCount& operator=(const WorkerCount&) = delete;
};

}  // namespace

std::shared_ptr<RemoteDownload> RemoteDownload::Start(HWND receiver, const std::wstring& url, int64_t ceilingBytes,
                                                      const DownloadTimeouts& timeouts) {
  std::shared_ptr<RemoteDownload> download(new RemoteDownload());
  download->shared_ = std::make_shared<Shared>();
  download->shared_->wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!download->shared_->wake) return nullptr;
  download->ticket_ = nextTicket++;
  auto shared = download->shared_;
  const uint64_t ticket = download->ticket_;
  auto count = std::make_shared<WorkerCount>();
  try {
    std::thread([shared, ticket, receiver, url, ceilingBytes, timeouts, count] {
      auto result = std::make_unique<DownloadResult>();
      try {
        if (StartsWith(url, L"file:")) {
          result->ok = ReadLocalFile(url, ceilingBytes, result->bytes);
        } else if (StartsWith(url, L"http://") || StartsWith(url, L"https://")) {
          Transfer transfer(*shared, timeouts);
          result->ok = transfer.Run(url, ceilingBytes, result->bytes);
        }
      } catch (const std::bad_alloc&) {
        result->ok = false;
      }
      if (!result->ok) result->bytes.clear();
      std::lock_guard<std::mutex> guard(shared->lock);
      if (shared->cancelled) return;
      shared->result = std::move(result);
      PostMessageW(receiver, kDownloadDoneMessage, static_cast<WPARAM>(ticket), 0);
    }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return download;
}

std::unique_ptr<DownloadResult> RemoteDownload::TakeResult() {
  if (!shared_) return nullptr;
  std::lock_guard<std::mutex> guard(shared_->lock);
  return std::move(shared_->result);
}

void RemoteDownload::Cancel() {
  if (!shared_) return;
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->cancelled = true;
    shared_->CloseHandlesLocked();
    shared_->result.reset();
  }
  SetEvent(shared_->wake);
  shared_.reset();
}

RemoteDownload::~RemoteDownload() { Cancel(); }

int RemoteDownload::RunningWorkers() { return runningWorkers; }

}  // namespace ventalune::anigif
