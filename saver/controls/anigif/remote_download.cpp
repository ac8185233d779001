#include "saver/controls/anigif/remote_download.h"

#include <shlwapi.h>
#include <wininet.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <unordered_map>

#include "common/whole_file.h"
#include "saver/controls/anigif/download_state.h"

namespace ventalune::anigif {

// What WinINet's status callback and the worker share for one web
// transfer: the download's state, with the buffer a read fills, and the
// read's and the query's own out-parameters, which WinINet may write when
// the call ends in the background. The transfer's handles carry its id as
// their context, and the callback finds it in a table: WinINet may call
// back after the worker has gone (an operation it was cancelled in can run
// on inside WinINet until its own time-out), so the entry, and with it
// everything WinINet may still write, stays until the worker has ended
// and WinINet has closed both handles.
struct TransferContext {
  TransferContext(const DownloadLimits& limits, uint32_t chunkBytes) : state(limits, chunkBytes) {}
  DownloadState state;
  INTERNET_BUFFERSA buffers{};
  DWORD available = 0;
  // Under the table's lock.
  int openHandles = 0;
  bool workerDone = false;
};

// What the worker and the cancelling thread share. The worker makes each
// WinINet call with a handle under the lock, after checking that no cancel
// came first; a cancel closes the handles under the same lock. So no call
// ever gets a handle that was closed (and its value perhaps given to a
// handle of another download).
struct RemoteDownload::Shared {
  std::mutex lock;
  bool cancelled = false;
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  std::unique_ptr<DownloadResult> result;
  std::shared_ptr<TransferContext> transfer;  // ends the worker's waits when cancelled

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

std::mutex contextsLock;
std::unordered_map<DWORD_PTR, std::shared_ptr<TransferContext>>& Contexts() {
  static std::unordered_map<DWORD_PTR, std::shared_ptr<TransferContext>> table;
  return table;
}
std::atomic<DWORD_PTR> nextContext{1};

void ForgetIfDoneLocked(DWORD_PTR id) {
  auto& table = Contexts();
  const auto found = table.find(id);
  if (found != table.end() && found->second->workerDone && found->second->openHandles <= 0) table.erase(found);
}

void CALLBACK OnStatus(HINTERNET, DWORD_PTR id, DWORD status, LPVOID information, DWORD informationLength) {
  std::shared_ptr<TransferContext> context;
  {
    std::lock_guard<std::mutex> guard(contextsLock);
    const auto found = Contexts().find(id);
    if (found == Contexts().end()) return;
    if (status == INTERNET_STATUS_HANDLE_CLOSING) {
      --found->second->openHandles;
      ForgetIfDoneLocked(id);
      return;
    }
    context = found->second;
  }
  switch (status) {
    // A connection kept from an earlier request is not connected again: its
    // first sign of life is the request going out.
    case INTERNET_STATUS_CONNECTED_TO_SERVER:
    case INTERNET_STATUS_SENDING_REQUEST:
    case INTERNET_STATUS_REQUEST_SENT:
    case INTERNET_STATUS_RECEIVING_RESPONSE:
    case INTERNET_STATUS_RESPONSE_RECEIVED:
      context->state.Connected();
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE: {
      // A read that ended in the background has written its length.
      const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(information);
      context->state.Completed(result && informationLength >= sizeof(*result) && result->dwResult != 0,
                               context->buffers.dwBufferLength);
      break;
    }
    default:
      break;
  }
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
  explicit Transfer(RemoteDownload::Shared& shared) : shared_(shared), context_(shared.transfer) {
    std::lock_guard<std::mutex> guard(contextsLock);
    Contexts().emplace(id_, context_);
  }
  ~Transfer() {
    {
      std::lock_guard<std::mutex> guard(shared_.lock);
      shared_.CloseHandlesLocked();
    }
    std::lock_guard<std::mutex> guard(contextsLock);
    context_->workerDone = true;
    ForgetIfDoneLocked(id_);
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  bool Run(const std::wstring& url, const DownloadTimeouts& timeouts) {
    const std::optional<UrlParts> parts = CrackUrl(url);
    if (!parts || !Open(*parts, timeouts)) return false;
    DownloadState& state = context_->state;
    for (;;) {
      switch (state.Next()) {
        case DownloadState::Step::kSend:
          Make(DownloadState::Call::kSend, [&] {
            return Made(HttpSendRequestW(shared_.request, nullptr, 0, nullptr, 0), 0);
          });
          break;
        case DownloadState::Step::kCheckAnswer:
          state.Answered(StatusOk());
          break;
        case DownloadState::Step::kRead: {
          // As much as the query said has arrived (or, at the end, a whole
          // buffer), so the read rarely has to go on in the background.
          // Not IRF_NO_WAIT: Wine ends such a read in the background
          // without filling the buffer or saying so.
          const std::span<uint8_t> buffer = state.ReadBuffer();
          INTERNET_BUFFERSA& buffers = context_->buffers;
          buffers = INTERNET_BUFFERSA{};
          buffers.dwStructSize = sizeof(buffers);
          buffers.lpvBuffer = buffer.data();
          buffers.dwBufferLength = static_cast<DWORD>(buffer.size());
          Make(DownloadState::Call::kRead, [&] {
            const BOOL done = InternetReadFileExA(shared_.request, &buffers, IRF_ASYNC, id_);
            return Made(done, done ? buffers.dwBufferLength : 0);
          });
          break;
        }
        case DownloadState::Step::kQuery:
          Make(DownloadState::Call::kQuery, [&] {
            const BOOL done = InternetQueryDataAvailable(shared_.request, &context_->available, 0, 0);
            return Made(done, done ? context_->available : 0);
          });
          break;
        case DownloadState::Step::kWait:
          state.Wait();
          break;
        case DownloadState::Step::kEnd:
          return true;
        case DownloadState::Step::kFail:
          return false;
      }
    }
  }

 private:
  using Outcome = DownloadState::Outcome;
  struct Return {
    Outcome how;
    DWORD length;
  };
  static Return Made(BOOL done, DWORD length) {
    if (done) return {Outcome::kDone, length};
    return {GetLastError() == ERROR_IO_PENDING ? Outcome::kPending : Outcome::kFailed, 0};
  }

  // Runs `call` under the lock unless a cancel came first; nothing when it did.
  template <class Call>
  auto Locked(Call call) -> std::optional<decltype(call())> {
    std::lock_guard<std::mutex> guard(shared_.lock);
    if (shared_.cancelled) return std::nullopt;
    return call();
  }

  // One call that may end in the background, marked under way before it is
  // made: its completion may come before it has returned.
  template <class Call>
  void Make(DownloadState::Call kind, Call call) {
    DownloadState& state = context_->state;
    if (!state.Begin(kind)) return;
    const std::optional<Return> made = Locked(call);
    state.Returned(made ? made->how : Outcome::kFailed, made ? made->length : 0);
  }

  void Counted(HINTERNET handle) {
    if (!handle) return;
    std::lock_guard<std::mutex> guard(contextsLock);
    ++context_->openHandles;
  }

  bool Open(const UrlParts& parts, const DownloadTimeouts& timeouts) {
    const auto opened = Locked([&] {
      shared_.session = InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
      if (!shared_.session) return false;
      InternetSetStatusCallbackW(shared_.session, OnStatus);
      SetTimeouts(shared_.session, timeouts);
      shared_.connection = InternetConnectW(shared_.session, parts.host.c_str(), parts.port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, id_);
      Counted(shared_.connection);
      if (!shared_.connection) return false;
      DWORD flags = INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_RELOAD |
                    INTERNET_FLAG_NO_CACHE_WRITE;
      if (parts.secure) flags |= INTERNET_FLAG_SECURE;
      shared_.request = HttpOpenRequestW(shared_.connection, L"GET", parts.object.c_str(), nullptr, nullptr, nullptr,
                                         flags, id_);
      Counted(shared_.request);
      if (!shared_.request) return false;
      // Some WinINets take the time-outs only from the request itself.
      SetTimeouts(shared_.request, timeouts);
      return true;
    });
    return opened.value_or(false);
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

  RemoteDownload::Shared& shared_;
  const std::shared_ptr<TransferContext> context_;
  const DWORD_PTR id_ = nextContext++;
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
  // The deadline counts from here.
  download->shared_->transfer = std::make_shared<TransferContext>(
      DownloadLimits{ceilingBytes, timeouts.connectMs, timeouts.receiveMs, timeouts.overallMs}, kChunk);
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
          Transfer transfer(*shared);
          result->ok = transfer.Run(url, timeouts);
          if (result->ok) result->bytes = shared->transfer->state.TakeBody();
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
  shared_->transfer->state.Cancel();
  shared_.reset();
}

RemoteDownload::~RemoteDownload() { Cancel(); }

int RemoteDownload::RunningWorkers() { return runningWorkers; }

int RemoteDownload::HeldTransfers() {
  std::lock_guard<std::mutex> guard(contextsLock);
  return static_cast<int>(Contexts().size());
}

}  // namespace ventalune::anigif
