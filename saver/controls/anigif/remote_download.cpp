#include "saver/controls/anigif/remote_download.h"

#include <shlwapi.h>
#include <wininet.h>

#include <atomic>
#include <optional>
#include <thread>

#include "common/whole_file.h"

namespace ventalune::anigif {

struct RemoteDownload::Shared {
  std::mutex lock;
  bool cancelled = false;
  HINTERNET request = nullptr;  // closed on cancel, which ends a blocked read
};

namespace {

constexpr DWORD kChunk = 64 * 1024;
constexpr wchar_t kAgent[] = L"Ventalune";

std::atomic<uint64_t> nextTicket{1};

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

bool ReadInternet(const std::wstring& url, int64_t ceiling, RemoteDownload::Shared& shared, std::vector<uint8_t>& bytes) {
  HINTERNET session = InternetOpenW(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!session) return false;
  HINTERNET request = InternetOpenUrlW(session, url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_RELOAD, 0);
  bool ok = request != nullptr;
  bool registered = false;
  {
    std::lock_guard<std::mutex> guard(shared.lock);
    if (shared.cancelled) {
      ok = false;
    } else if (request) {
      shared.request = request;
      registered = true;
    }
  }
  if (ok && StartsWith(url, L"http")) {
    DWORD status = 0, size = sizeof(status);
    ok = HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
         status >= 200 && status < 300;
  }
  std::vector<uint8_t> chunk(kChunk);
  while (ok) {
    DWORD read = 0;
    if (!InternetReadFile(request, chunk.data(), kChunk, &read)) ok = false;
    else if (read == 0) break;
    else if (static_cast<int64_t>(bytes.size()) + read > ceiling) ok = false;
    else bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + read);
  }
  {
    std::lock_guard<std::mutex> guard(shared.lock);
    // A cancel closes a registered handle itself and forgets it.
    if (registered ? shared.request == request : request != nullptr) InternetCloseHandle(request);
    shared.request = nullptr;
  }
  InternetCloseHandle(session);
  return ok;
}

}  // namespace

std::unique_ptr<DownloadResult> TakeDownloadResult(LPARAM lParam) {
  return std::unique_ptr<DownloadResult>(reinterpret_cast<DownloadResult*>(lParam));
}

std::shared_ptr<RemoteDownload> RemoteDownload::Start(HWND receiver, const std::wstring& url, int64_t ceilingBytes) {
  std::shared_ptr<RemoteDownload> download(new RemoteDownload());
  download->shared_ = std::make_shared<Shared>();
  download->ticket_ = nextTicket++;
  download->receiver_ = receiver;
  auto shared = download->shared_;
  const uint64_t ticket = download->ticket_;
  try {
    std::thread([shared, ticket, receiver, url, ceilingBytes] {
      auto result = std::make_unique<DownloadResult>();
      result->ticket = ticket;
      try {
        if (StartsWith(url, L"file:")) {
          result->ok = ReadLocalFile(url, ceilingBytes, result->bytes);
        } else if (StartsWith(url, L"http://") || StartsWith(url, L"https://")) {
          result->ok = ReadInternet(url, ceilingBytes, *shared, result->bytes);
        }
      } catch (const std::bad_alloc&) {
        result->ok = false;
      }
      if (!result->ok) result->bytes.clear();
      std::lock_guard<std::mutex> guard(shared->lock);
      if (shared->cancelled) return;
      if (PostMessageW(receiver, kDownloadDoneMessage, static_cast<WPARAM>(ticket),
                       reinterpret_cast<LPARAM>(result.get())))
        result.release();
    }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return download;
}

void RemoteDownload::Cancel() {
  if (!shared_) return;
  {
    std::lock_guard<std::mutex> guard(shared_->lock);
    shared_->cancelled = true;
    if (shared_->request) {
      InternetCloseHandle(shared_->request);
      shared_->request = nullptr;
    }
  }
  // A result posted before the cancel is still queued: take it out. Results
  // of other downloads go back in the queue for their own handling.
  std::vector<std::unique_ptr<DownloadResult>> others;
  MSG message;
  while (receiver_ && PeekMessageW(&message, receiver_, kDownloadDoneMessage, kDownloadDoneMessage, PM_REMOVE)) {
    std::unique_ptr<DownloadResult> result = TakeDownloadResult(message.lParam);
    if (result && result->ticket != ticket_) others.push_back(std::move(result));
  }
  for (auto& other : others) {
    const WPARAM ticket = static_cast<WPARAM>(other->ticket);
    if (PostMessageW(receiver_, kDownloadDoneMessage, ticket, reinterpret_cast<LPARAM>(other.get()))) other.release();
  }
  shared_.reset();
}

RemoteDownload::~RemoteDownload() { Cancel(); }

}  // namespace ventalune::anigif
