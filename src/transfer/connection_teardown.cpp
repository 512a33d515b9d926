#include "transfer/connection_teardown.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace holvex {

namespace {

// Socket handles are small handle values; a process of ours holds few handles.
constexpr UINT_PTR kLastHandleValue = 0x10000;

bool IsConnectedTo(SOCKET s, const std::string& address, std::uint16_t port) {
  int type = 0, length = sizeof type;
  if (getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) != 0 || type != SOCK_STREAM)
    return false;
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

}  // namespace

int ShutDownConnectionsTo(const std::string& address, std::uint16_t port) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
  int count = 0;
  for (UINT_PTR value = 4; value < kLastHandleValue; value += 4) {
    const auto s = static_cast<SOCKET>(value);
    if (!IsConnectedTo(s, address, port)) continue;
    shutdown(s, SD_BOTH);
    ++count;
  }
  WSACleanup();
  return count;
}

}  // namespace holvex
