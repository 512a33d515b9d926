#include "transfer/connection_teardown.h"

#include <cstdlib>
#include <optional>

#include <winsock2.h>
#include <ws2tcpip.h>

namespace holvex {

namespace {

// Socket handles are small handle values; a process of ours holds few handles.
constexpr UINT_PTR kLastHandleValue = 0x10000;

bool IsStreamSocket(SOCKET s) {
  int type = 0, length = sizeof type;
  return getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) == 0 &&
         type == SOCK_STREAM;
}

std::optional<std::uint16_t> LocalPort(SOCKET s) {
  sockaddr_storage local{};
  int length = sizeof local;
  if (getsockname(s, reinterpret_cast<sockaddr*>(&local), &length) != 0) return std::nullopt;
  char service[NI_MAXSERV] = {};
  if (getnameinfo(reinterpret_cast<sockaddr*>(&local), length, nullptr, 0, service, sizeof service,
                  NI_NUMERICSERV) != 0)
    return std::nullopt;
  return static_cast<std::uint16_t>(std::strtoul(service, nullptr, 10));
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

// Calls f(socket) for each TCP connection to address:port that was not there `before`.
template <typename F>
void ForEachNewConnectionTo(const std::string& address, std::uint16_t port,
                            const std::set<std::uint16_t>& before, F f) {
  ForEachStreamSocket([&](SOCKET s) {
    if (!IsConnectedTo(s, address, port)) return true;
    const std::optional<std::uint16_t> local = LocalPort(s);
    return !local || before.count(*local) ? true : f(s);
  });
}

}  // namespace

std::set<std::uint16_t> ConnectionsBefore() {
  std::set<std::uint16_t> ports;
  ForEachStreamSocket([&](SOCKET s) {
    if (std::optional<std::uint16_t> local = LocalPort(s)) ports.insert(*local);
    return true;
  });
  return ports;
}

bool AnyConnectionEndedByPeer(const std::string& address, std::uint16_t port,
                              const std::set<std::uint16_t>& before) {
  bool ended = false;
  ForEachNewConnectionTo(address, port, before, [&](SOCKET s) {
    ended = EndedByPeer(s);
    return !ended;
  });
  return ended;
}

int ShutDownConnectionsTo(const std::string& address, std::uint16_t port,
                          const std::set<std::uint16_t>& before) {
  int count = 0;
  ForEachNewConnectionTo(address, port, before, [&](SOCKET s) {
    shutdown(s, SD_BOTH);
    ++count;
    return true;
  });
  return count;
}

}  // namespace holvex
