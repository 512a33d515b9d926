#include "net/socket_transport.h"

#include <algorithm>

#include "net/net_errors.h"
#include "platform/text.h"

namespace holvex {

TSocketHandle& TSocketHandle::operator=(TSocketHandle&& other) noexcept {
  if (this != &other) {
    Reset();
    handle_ = other.Release();
  }
  return *this;
}

sockets::Handle TSocketHandle::Release() {
  sockets::Handle h = handle_;
  handle_ = sockets::kInvalidHandle;
  return h;
}

void TSocketHandle::Reset() {
  if (!valid()) return;
  sockets::ShutdownSend(handle_);
  sockets::Close(handle_);
  handle_ = sockets::kInvalidHandle;
}

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text) {
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) {
    size_t dot = text.find('.');
    std::string_view part = i < 3 ? text.substr(0, dot) : text;
    if ((i < 3 && dot == std::string_view::npos) || part.empty()) return std::nullopt;
    unsigned value = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(c - '0');
      if (value > 255) return std::nullopt;
    }
    bytes[i] = static_cast<unsigned char>(value);
    if (i < 3) text.remove_prefix(dot + 1);
  }
  std::uint32_t address;
  static_assert(sizeof address == sizeof bytes);
  std::copy(bytes, bytes + 4, reinterpret_cast<unsigned char*>(&address));  // already network order
  return address;
}

namespace {

std::uint32_t ResolveHost(const std::string& host) {
  std::string name = EqualsIgnoreCase(host, "localhost") ? "127.0.0.1" : host;
  if (auto dotted = ParseDottedQuad(name)) return *dotted;
  // An empty name would make some resolvers answer with the local machine.
  if (name.empty()) throw ESocketError(sockets::kHostNotFound);
  std::uint32_t address = 0;
  if (int e = sockets::LookUpHost(name, address)) throw ESocketError(e);
  return address;
}

}  // namespace

std::unique_ptr<TSocketTransport> TSocketTransport::Connect(const std::string& host, std::uint16_t port,
                                                            int timeoutMs) {
  TSocketHandle socket(sockets::Open());
  if (!socket.valid()) throw EInvalidSocket();
  if (int e = sockets::BindAny(socket.get())) {
    if (e == sockets::kAddressInUse) throw ECouldNotBindSocket();
    throw ESocketError(e);
  }
  std::uint32_t address = ResolveHost(host);
  bool timedOut = false;
  int e = sockets::Connect(socket.get(), address, port, timeoutMs, timedOut);
  if (timedOut) throw EConnectTimeout();
  if (e != 0) {
    if (timeoutMs > 0) throw EConnectFailed(e);
    throw ESocketError(e);
  }
  return std::make_unique<TSocketTransport>(std::move(socket));
}

bool TSocketTransport::WaitReadable(int timeoutMs) {
  int r = sockets::WaitReadable(socket_.get(), timeoutMs);
  if (r < 0) throw ESocketError(sockets::LastError());
  return r > 0;
}

int TSocketTransport::Receive(char* buffer, int size, int& error) {
  int n = sockets::Receive(socket_.get(), buffer, size);
  if (n < 0) error = sockets::LastError();
  return n;
}

int TSocketTransport::Send(const char* bytes, int size, int& error) {
  int n = sockets::Send(socket_.get(), bytes, size);
  if (n < 0) error = sockets::LastError();
  return n;
}

}  // namespace holvex
