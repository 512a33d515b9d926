#include "transfer/wine_workarounds.h"

#include <map>
#include <mutex>
#include <optional>

#include <winsock2.h>
#include <ws2tcpip.h>
#include <wininet.h>

#include "net/socket_api.h"
#include "transfer/internet_worker.h"

namespace holvex::wine {

namespace {

std::optional<bool> forced;

bool DetectWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine hands out sockets as small handle values; a process of ours holds few handles.
constexpr UINT_PTR kLastHandleValue = 0x10000;

bool IsStreamSocket(SOCKET s) {
  int type = 0, length = sizeof type;
  return getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) == 0 &&
         type == SOCK_STREAM;
}

bool IsConnectedTo(SOCKET s, const std::string& address, std::uint16_t port) {
  if (!IsStreamSocket(s)) return false;
  sockaddr_storage peer{};
  int peerLength = sizeof peer;
  if (getpeername(s, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) return false;
  char host[NI_MAXHOST] = {}, service[NI_MAXSERV] = {};
  if (getnameinfo(reinterpret_cast<sockaddr*>(&peer), peerLength, host, sizeof host, service, sizeof service,
                  NI_NUMERICHOST | NI_NUMERICSERV) != 0)
    return false;
  if (std::to_string(port) != service) return false;
  return address.empty() || address == host;
}

bool EndedByPeer(SOCKET s) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval now{0, 0};
  if (select(0, &readable, nullptr, nullptr, &now) != 1) return false;  // nothing arrived, no end
  char byte = 0;
  const int n = recv(s, &byte, 1, MSG_PEEK);  // leaves what it sees for WinInet
  if (n == 0) return true;
  const int error = n < 0 ? WSAGetLastError() : 0;
  return error == WSAECONNRESET || error == WSAECONNABORTED;
}

// Calls f(socket) for each stream socket of this process while f returns true.
template <typename F>
void ForEachStreamSocket(F f) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  for (UINT_PTR value = 4; value < kLastHandleValue; value += 4) {
    const auto s = static_cast<SOCKET>(value);
    if (IsStreamSocket(s) && !f(s)) break;
  }
  WSACleanup();
}

// Calls f(socket) for each of WinInet's TCP connections to address:port while f returns true.
template <typename F>
void ForEachWinInetConnectionTo(const std::string& address, std::uint16_t port, F f) {
  ForEachStreamSocket([&](SOCKET s) {
    if (sockets::IsOwn(static_cast<sockets::Handle>(s)) || !IsConnectedTo(s, address, port)) return true;
    return f(s);
  });
}

// WinInet names the server's numeric address as text; anything else is ignored.
std::string AddressText(const char* info) {
  std::string text;
  for (size_t i = 0; i < 64 && info[i]; ++i) {
    const char c = info[i];
    const bool addressChar =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == '.' || c == ':';
    if (!addressChar) return {};
    text += c;
  }
  return text;
}

// The calls being watched, by context. Deliberately never destroyed: WinInet may still call back
// while the program's static objects are being torn down.
struct Watched {
  std::mutex lock;
  std::map<std::uintptr_t, std::weak_ptr<InternetCall>> calls;
  std::uintptr_t next = 1;
};

Watched& TheWatched() {
  static Watched* watched = new Watched;
  return *watched;
}

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
  // Records only, and never throws.
  if (context == 0) return;
  std::shared_ptr<InternetCall> call;
  {
    Watched& watched = TheWatched();
    std::lock_guard<std::mutex> guard(watched.lock);
    auto it = watched.calls.find(context);
    if (it != watched.calls.end()) call = it->second.lock();
  }
  if (!call) return;
  if (status == INTERNET_STATUS_CONNECTION_CLOSED)
    call->SetConnectionClosed(true);
  else if (status == INTERNET_STATUS_CONNECTED_TO_SERVER && info)
    call->SetConnectedTo(AddressText(static_cast<const char*>(info)));
}

}  // namespace

void WatchConnections(void* root) {
  if (Active()) InternetSetStatusCallbackA(root, OnStatus);
}

std::uintptr_t Watch(const std::shared_ptr<InternetCall>& call) {
  if (!Active()) return 0;
  Watched& watched = TheWatched();
  std::lock_guard<std::mutex> guard(watched.lock);
  const std::uintptr_t context = watched.next++;
  watched.calls[context] = call;
  return context;
}

void Unwatch(std::uintptr_t context) {
  if (context == 0) return;
  Watched& watched = TheWatched();
  std::lock_guard<std::mutex> guard(watched.lock);
  watched.calls.erase(context);
}

bool Active() {
  static const bool underWine = DetectWine();
  return forced.value_or(underWine);
}

ForcedPlatform::ForcedPlatform(bool underWine) : before_(forced) { forced = underWine; }
ForcedPlatform::~ForcedPlatform() { forced = before_; }

bool ConnectionEndedByPeer(const std::string& address, std::uint16_t port) {
  if (!Active()) return false;
  bool ended = false;
  ForEachWinInetConnectionTo(address, port, [&](SOCKET s) {
    ended = EndedByPeer(s);
    return !ended;
  });
  return ended;
}

int ShutDownConnectionsTo(const std::string& address, std::uint16_t port) {
  if (!Active()) return 0;
  int count = 0;
  ForEachWinInetConnectionTo(address, port, [&](SOCKET s) {
    shutdown(s, SD_BOTH);
    ++count;
    return true;
  });
  return count;
}

}  // namespace holvex::wine
