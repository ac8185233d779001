#pragma once
// Ports on 127.0.0.1 that never answer, for downloads that must end without
// an answer. One listens and never accepts: the system completes each
// connection and the request waits for an answer that never comes. The
// other has its queue filled first, so the system drops new connection
// attempts and they never complete.
// Winsock 2 before anything that may bring in the first Winsock.
#include <winsock2.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace ventalune::wine_test {

class SilentPort {
 public:
  enum Kind { kNeverAnswers, kNeverConnects };

  explicit SilentPort(Kind kind) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    listen(listener_, kind == kNeverConnects ? 0 : 8);
    int length = sizeof(address);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    if (kind == kNeverConnects) {
      // A queue of none still takes one connection; these fill it.
      for (int i = 0; i < 3; ++i) {
        SOCKET filler = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(filler, FIONBIO, &nonBlocking);
        connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        fillers_.push_back(filler);
      }
      WaitForConnection(std::chrono::milliseconds(2000));
    }
  }
  ~SilentPort() {
    for (SOCKET filler : fillers_) closesocket(filler);
    closesocket(listener_);
    WSACleanup();
  }
  SilentPort(const SilentPort&) = delete;
  SilentPort& operator=(const SilentPort&) = delete;

  std::wstring Url() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/banner.gif"; }

  // True once a connection waits in the queue.
  bool WaitForConnection(std::chrono::milliseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait{static_cast<long>(timeout.count() / 1000), static_cast<long>(timeout.count() % 1000 * 1000)};
    return select(0, &readable, nullptr, nullptr, &wait) == 1;
  }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  std::vector<SOCKET> fillers_;
  int port_ = 0;
};

}  // namespace ventalune::wine_test
